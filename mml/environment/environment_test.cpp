#include "mml/environment/environment.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

#include "mml/environment/number_parse.h"

namespace {

int code(int result, const int& err) { return result != 0 ? 0 : err; }  // err read after the call

// The live process environment as a fresh state's start-up sees it.
std::map<std::string, std::string> gLive;
const char* fake_getenv(const char* name) {
  const auto it = gLive.find(name);
  return it == gLive.end() ? nullptr : it->second.c_str();
}

class EnvironmentInitTest : public ::testing::Test {
 protected:
  void SetUp() override { gLive.clear(); }
  int Init(char** envp = nullptr) { return code(mml::env_init(m_state, envp, fake_getenv, &m_err), m_err); }
  mml::sProcessState m_state;
  int m_err = -1;
};

// A refused setting fails start-up with its code, leaves the state as if
// never started (so start-up may be repeated) and is named with its value.
TEST_F(EnvironmentInitTest, RefusedMapSettingsAreNamedAndChangeNothing) {
  const std::string kMapSize = "\": it must be a whole number from 1 to 2147483647\n";
  const struct {
    const char* pBuild;
    const char* pSize;  // nullptr: unset
    int nCode;
    std::string said;
  } cases[] = {
      {"YES", nullptr, 5, "MML_BUILD_MEMORY_MAP=\"YES\": it must be exactly yes or no\n"},
      {"perhaps\x01", nullptr, 5, "MML_BUILD_MEMORY_MAP=\"perhaps?\": it must be exactly yes or no\n"},
      {"yes", "0", 5, "MML_MEMORY_MAP_SIZE=\"0" + kMapSize},
      {"yes", "12a", 9, "MML_MEMORY_MAP_SIZE=\"12a" + kMapSize},
  };
  for (const auto& c : cases) {
    gLive = {{"MML_BUILD_MEMORY_MAP", c.pBuild}};
    if (c.pSize != nullptr) gLive["MML_MEMORY_MAP_SIZE"] = c.pSize;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Init(), c.nCode) << c.pBuild << " " << (c.pSize ? c.pSize : "");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "mml: environment start-up refused " + c.said);
    EXPECT_EQ(m_state.nRefCount, 0u);
    EXPECT_FALSE(m_state.table.has_value());
    EXPECT_EQ(m_state.memory.pMap, nullptr);
  }
  gLive = {{"MML_BUILD_MEMORY_MAP", "no"}};
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(m_state.memory.pMap, nullptr);
}

TEST_F(EnvironmentInitTest, MapSizeDefaultsAndFollowsTheSetting) {
  gLive = {{"MML_BUILD_MEMORY_MAP", "yes"}};
  ASSERT_EQ(Init(), 0);
  ASSERT_NE(m_state.memory.pMap, nullptr);
  EXPECT_EQ(m_state.memory.pMap->Buckets(), 100003u);
  EXPECT_EQ(m_state.memory.nRecording.load(), 1u);

  mml::sProcessState sized;
  gLive["MML_MEMORY_MAP_SIZE"] = "+17";
  ASSERT_NE(mml::env_init(sized, nullptr, fake_getenv, &m_err), 0);
  EXPECT_EQ(sized.memory.pMap->Buckets(), 17u);
}

// Typed lookups through the C interface, on the settings that this
// executable's start-up captured (test_environment_test.cpp).
TEST(SettingsTest, TypedLookups) {
  int err = -1;
  int32_t n = 0;
  ASSERT_NE(mml_get_int_setting("MML_TEST_INT", &n, &err), 0);
  EXPECT_EQ(n, INT32_MIN) << "signed, with a leading zero, at the negative limit";
  EXPECT_EQ(code(mml_get_int_setting("MML_TEST_BAD_INT", &n, &err), err), 2) << "one past INT32_MAX";
  EXPECT_EQ(code(mml_get_int_setting("MML_TEST_MISSING", &n, &err), err), 5);
  EXPECT_EQ(code(mml_get_int_setting(nullptr, &n, &err), err), 1);

  int32_t flag = -1;
  ASSERT_NE(mml_get_bool_setting("MML_TEST_YES", &flag, &err), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(code(mml_get_bool_setting("MML_TEST_CAPITAL", &flag, &err), err), 2);

  double real = 0;
  ASSERT_NE(mml_get_real_setting("MML_TEST_REAL", &real, &err), 0);
  EXPECT_EQ(real, -1.5);
  EXPECT_EQ(code(mml_get_real_setting("MML_TEST_YES", &real, &err), err), 2);

  mml_data value{};
  ASSERT_NE(mml_get_setting(&value, "MML_TEST_EQ", &err), 0);
  EXPECT_EQ(std::string(value.data, static_cast<size_t>(value.len)), "a=b");
  EXPECT_EQ(code(mml_get_setting(&value, "MML_TEST_EMPTY", &err), err), 4);
  EXPECT_EQ(code(mml_get_setting(&value, nullptr, &err), err), 5);
  ASSERT_NE(mml_get_setting(&value, "MML_TEST_DUP", &err), 0);
  EXPECT_EQ(std::string(value.data, static_cast<size_t>(value.len)), "first");
}

TEST(NumberParseTest, RealsAndFractions) {
  const std::pair<const char*, double> good[] = {
      {"1", 1},       {"-2.5", -2.5}, {" \t.5 ", 0.5}, {"3.", 3},        {"6.02e23", 6.02e23},
      {"1E-3", 1e-3}, {"+4e+2", 400}, {"3/4", 0.75},   {"-1 1/2", -1.5}, {"2  1/4\t", 2.25}};
  for (const auto& [text, value] : good) {
    double out = 0;
    ASSERT_TRUE(mml::parse_real(text, &out)) << text;
    EXPECT_DOUBLE_EQ(out, value) << text;
  }
  for (const char* bad : {"", " ", ".", "e5", "1e", "1e+", "1.2.3", "1/0", "1/", "/2", "1 /2", "1.5/2", "inf", "nan",
                          "1,5", "- 1", "1e999", "1 2"}) {
    double out = 0;
    EXPECT_FALSE(mml::parse_real(bad, &out)) << '"' << bad << '"';
  }
  double out = 0;
  EXPECT_FALSE(mml::parse_real(std::string_view("1e+5", 2), &out)) << "a sign past the end is not the exponent's";
}

}  // namespace
