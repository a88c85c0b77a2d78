#include "platform/kernel/private_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("profile_test_" + std::to_string(::getpid()) + "_" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "UserSetting.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void WriteFile(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadFile() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Get(const char* section, const char* key, const char* def = "none", DWORD size = 256) {
    std::string buffer(size, '\x7f');
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), size, path_.c_str());
    lastCount_ = n;
    return std::string(buffer.c_str());
  }

  std::filesystem::path dir_;
  std::string path_;
  DWORD lastCount_ = 0;
};

TEST_F(ProfileTest, LookupIsCaseInsensitiveTrimsAndFallsBack) {
  WriteFile(
      "; comment\r\n[Alpha]\r\n  Key One =  value 1  \r\nquoted=\"q v\"\r\n[beta]\r\nk=2\r\n[ALPHA]\r\nk=shadowed\r\n");
  EXPECT_EQ(Get("alpha", "KEY ONE"), "value 1");
  EXPECT_EQ(lastCount_, 7u);
  EXPECT_EQ(Get("ALPHA", "quoted"), "q v");
  EXPECT_EQ(Get("Beta", "K"), "2");
  EXPECT_EQ(Get("alpha", "k"), "none") << "the first matching section wins";
  EXPECT_EQ(Get("alpha", "missing", "dflt  "), "dflt") << "default loses its trailing blanks";
  EXPECT_EQ(Get("gamma", "k", nullptr), "");
  EXPECT_EQ(lastCount_, 0u);
}

TEST_F(ProfileTest, ValueIsCutToBufferSizeMinusOne) {
  WriteFile("[s]\nk=0123456789\n");
  EXPECT_EQ(Get("s", "k", "", 5), "0123");
  EXPECT_EQ(lastCount_, 4u);
  EXPECT_EQ(Get("s", "k", "", 11), "0123456789");
  EXPECT_EQ(lastCount_, 10u);
  EXPECT_EQ(Get("s", "k", "", 1), "");
  EXPECT_EQ(lastCount_, 0u);
  EXPECT_EQ(Get("s", "nokey", "abcdefgh", 4), "abc") << "the default is cut the same way";
}

TEST_F(ProfileTest, NameListsAreDoublyTerminatedAndCut) {
  WriteFile("[one]\na=1\nb=2\n[two]\n");
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  const DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, path_.c_str());
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(std::string(buffer, 9), std::string("one\0two\0\0", 9));
  EXPECT_EQ(GetPrivateProfileStringA("ONE", nullptr, "", buffer, sizeof buffer, path_.c_str()), 4u);
  EXPECT_EQ(std::string(buffer, 5), std::string("a\0b\0\0", 5));
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 7, path_.c_str()), 5u);
  EXPECT_EQ(std::string(buffer, 7), std::string("one\0t\0\0", 7));
}

TEST_F(ProfileTest, WriteCreatesFileAndKeepsEverythingElse) {
  EXPECT_EQ(Get("s", "k"), "none") << "a missing file reads as defaults";
  ASSERT_TRUE(WritePrivateProfileStringA("CUSTOMIZE_LISTS", "rmsallowedgroups-20016", "0,FF00,MS Shell Dlg 2,8",
                                         path_.c_str()));
  EXPECT_EQ(ReadFile(), "[CUSTOMIZE_LISTS]\r\nrmsallowedgroups-20016=0,FF00,MS Shell Dlg 2,8\r\n");

  WriteFile("; top comment\n[A]\nKeep=1\nKEY=old\n\n[B]\nx=y\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "key", "new", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("a", "added", "2", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("C", "z", "3", path_.c_str()));
  EXPECT_EQ(ReadFile(), "; top comment\n[A]\nKeep=1\nKEY=new\nadded=2\n\n[B]\nx=y\n[C]\nz=3\n");

  ASSERT_TRUE(WritePrivateProfileStringA("A", "keep", nullptr, path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("b", nullptr, nullptr, path_.c_str()));
  EXPECT_EQ(ReadFile(), "; top comment\n[A]\nKEY=new\nadded=2\n\n[C]\nz=3\n");
}

TEST_F(ProfileTest, BothSeparatorsWorkAndWritesNeverTear) {
  const std::string windowsStyle = dir_.string() + "\\UserSetting.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", windowsStyle.c_str()));
  EXPECT_EQ(Get("s", "k"), "v");
  // No temporary file is left behind, and a folder that does not exist fails cleanly.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
  const std::string missing = (dir_ / "no" / "such.ini").string();
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", missing.c_str()));
  // A file that cannot be replaced keeps its old content.
  ::chmod(dir_.c_str(), 0500);
  const bool canStillWrite = ::access(dir_.c_str(), W_OK) == 0;  // root ignores modes
  if (!canStillWrite) {
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "other", path_.c_str()));
    EXPECT_EQ(Get("s", "k"), "v");
  }
  ::chmod(dir_.c_str(), 0700);
}

}  // namespace
