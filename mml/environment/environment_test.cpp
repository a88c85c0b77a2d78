#include "mml/environment/environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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
  const std::string kLong(250, 'y');  // shown cut at 200 characters
  const struct {
    const char* pBuild;
    const char* pSize;  // nullptr: unset
    int nCode;
    std::string said;
  } cases[] = {
      {"YES", nullptr, 5, "MML_BUILD_MEMORY_MAP=\"YES\": it must be exactly yes or no\n"},
      {"perhaps\x01", nullptr, 5, "MML_BUILD_MEMORY_MAP=\"perhaps?\": it must be exactly yes or no\n"},
      {kLong.c_str(), nullptr, 5,
       "MML_BUILD_MEMORY_MAP=\"" + kLong.substr(0, 200) + "\": it must be exactly yes or no\n"},
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
  // Accepted: no map, the default size, the least size given.
  for (const auto& [build, size, buckets] : {std::tuple{"no", "", 0u}, {"yes", "", 100003u}, {"yes", "+1", 1u}}) {
    gLive = {{"MML_BUILD_MEMORY_MAP", build}};
    if (*size != '\0') gLive["MML_MEMORY_MAP_SIZE"] = size;
    mml::sProcessState state;
    ASSERT_EQ(code(mml::env_init(state, nullptr, fake_getenv, &m_err), m_err), 0);
    EXPECT_EQ(state.memory.pMap == nullptr ? 0u : state.memory.pMap->Buckets(), buckets) << build << size;
    EXPECT_EQ(state.memory.nRecording.load(), buckets != 0 ? 1u : 0u);
  }
}

// Settings lines written and read back. Random blocks of "name=value" lines
// (names repeated, values holding "=", lines with no "=", an empty value or
// a leading "=", which are skipped) are captured by a fresh start-up; each
// name then reads what a model of the block says: its first line with a
// value, else not set. Whole numbers written with any sign and leading zeros
// read back as themselves, and one past the 32 bits is refused; reals
// written exactly, or as "[-]whole num/den", read back as their value.
TEST_F(EnvironmentInitTest, SettingsLinesWrittenAreReadBack) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    std::vector<std::string> lines;
    std::map<std::string, std::string> model;
    for (int i = 0; i < 12; ++i) {
      const std::string name = "MML_S" + std::to_string(rng() % 8);
      const uint32_t magnitude = rng() % 4 == 0 ? 2147483647u + rng() % 2 : rng() % 2 == 0 ? rng() : rng() % 100;
      const std::string sign = rng() % 2 == 0 ? "-" : rng() % 2 == 0 ? "+" : "";
      const std::string forms[] = {sign + std::string(rng() % 3, '0') + std::to_string(magnitude),
                                   sign + std::to_string(magnitude % 100) + " " + std::to_string(rng() % 9) + "/" +
                                       std::to_string(1 + rng() % 9),
                                   sign + std::to_string(std::ldexp(magnitude, static_cast<int>(rng() % 40) - 20)),
                                   "x=" + sign, ""};
      const std::string value = forms[rng() % 5];
      lines.push_back(rng() % 6 == 0 ? "=" + name : name + (rng() % 6 == 0 ? "" : "=") + value);
      if (lines.back() == name + "=" + value && !value.empty()) model.try_emplace(name, value);
    }
    std::vector<char*> envp;
    for (std::string& line : lines) envp.push_back(line.data());
    envp.push_back(nullptr);
    mml::sProcessState state;
    ASSERT_EQ(code(mml::env_init(state, envp.data(), fake_getenv, &m_err), m_err), 0);
    for (int n = 0; n < 8; ++n) {
      const std::string name = "MML_S" + std::to_string(n);
      const auto it = model.find(name);
      mml_data value{};
      ASSERT_EQ(code(mml::env_lookup(state, name, &value, &m_err), m_err), it == model.end() ? 4 : 0) << name;
      if (it == model.end()) continue;
      const std::string text(value.data, static_cast<size_t>(value.len));
      ASSERT_EQ(text, it->second);
      const int64_t exact = text.find_first_of(" .x") == std::string::npos ? std::stoll(text) : INT64_MAX;
      const bool fits = exact >= INT32_MIN && exact <= INT32_MAX;
      int32_t number = 0;
      EXPECT_EQ(code(mml_parse_int(&number, &value, &m_err), m_err), fits ? 0 : 2) << text;
      EXPECT_TRUE(!fits || number == exact) << text << " read " << number;
      double real = 0;
      ASSERT_EQ(mml::parse_real(text, &real), text[0] != 'x') << text;
      const std::string body = text.substr(text[0] == '-' || text[0] == '+' ? 1 : 0);
      const size_t blank = body.find(' ');
      const double whole = std::strtod(body.c_str(), nullptr);
      const double sum = blank == std::string::npos
                             ? whole
                             : whole + std::stod(body.substr(blank + 1)) / std::stod(body.substr(body.find('/') + 1));
      EXPECT_TRUE(text[0] == 'x' || real == (text[0] == '-' ? -sum : sum)) << text << " read " << real;
    }
  }
}

// Typed lookups through the C interface, on the settings that this
// executable's start-up captured (test_environment_test.cpp).
TEST(SettingsTest, TypedLookups) {
  int err = -1;
  int32_t n = 0;
  ASSERT_NE(mml_get_int_setting("MML_TEST_INT", &n, &err), 0);
  EXPECT_EQ(n, INT32_MIN);
  EXPECT_EQ(code(mml_get_int_setting("MML_TEST_YES", &n, &err), err), 2);
  EXPECT_EQ(code(mml_get_int_setting("MML_TEST_MISSING", &n, &err), err), 5);
  EXPECT_EQ(code(mml_get_int_setting(nullptr, &n, &err), err), 1);
  EXPECT_EQ(code(mml_get_int_setting("MML_TEST_INT", nullptr, &err), err), 1);
  int32_t flag = -1;
  ASSERT_NE(mml_get_bool_setting("MML_TEST_YES", &flag, &err), 0);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(code(mml_get_bool_setting("MML_TEST_CAPITAL", &flag, &err), err), 2);
  double real = 0;
  ASSERT_NE(mml_get_real_setting("MML_TEST_REAL", &real, &err), 0);
  EXPECT_EQ(real, -1.5);
  EXPECT_EQ(code(mml_get_real_setting("MML_TEST_YES", &real, &err), err), 2);
  mml_data value{};
  ASSERT_NE(mml_get_setting(&value, "MML_TEST_REAL", &err), 0);
  EXPECT_EQ(std::string(value.data, static_cast<size_t>(value.len)), " -1 1/2\t");
  EXPECT_EQ(code(mml_get_setting(&value, nullptr, &err), err), 5);
}

// What the random lines above do not write: blanks, forms of a real that
// are not one, and out of range.
TEST(NumberParseTest, RealsAndFractions) {
  using Read = std::pair<const char*, double>;
  for (const auto& [text, value] :
       {Read{" \t.5 ", 0.5}, {"3.", 3}, {"1E-3", 1e-3}, {"+4e+2", 400}, {"3/4", 0.75}, {"2  1/4\t", 2.25}}) {
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
