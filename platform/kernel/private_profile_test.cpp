#include "platform/kernel/private_profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "platform/kernel/kernel.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() / ("profile_test_" + std::to_string(::getpid()) + "_" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
    m_path = (m_dir / "UserSetting.ini").string();
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  void WriteFile(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
  std::string ReadFile(const std::filesystem::path& path = {}) const {
    std::stringstream s;
    s << std::ifstream(path.empty() ? std::filesystem::path(m_path) : path, std::ios::binary).rdbuf();
    return s.str();
  }
  std::string Get(const char* section, const char* key, const char* def = "none", DWORD size = 256) {
    std::string buffer(size, '\x7f');
    const DWORD n = GetPrivateProfileStringA(section, key, def, buffer.data(), size, m_path.c_str());
    m_lastCount = n;
    return std::string(buffer.c_str());
  }

  // 0 when `write` succeeds in a child process whose files may grow to
  // `limit` bytes, with errno left at EINTR as by an earlier interrupted call;
  // 1 when it fails with error 223. Past the limit a write fails: the child
  // ignores SIGXFSZ, as the terminal does.
  static int WriteInChild(rlim_t limit, const std::function<BOOL()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit fileSize{limit, limit};
      ::setrlimit(RLIMIT_FSIZE, &fileSize);
      errno = EINTR;
      ::_exit(write() ? 0 : GetLastError() == 223 ? 1 : 2);
    }
    int status = -1;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::filesystem::path m_dir;
  std::string m_path;
  DWORD m_lastCount = 0;
};

TEST_F(ProfileTest, LookupIsCaseInsensitiveTrimsFallsBackAndIsCutToTheBuffer) {
  WriteFile(
      "; comment\r\n[Alpha]\r\n  Key One =  value 1  \r\nquoted=\"q v\"\r\nq2='a'\r\nq3=\"\"\r\nq4=\"a'\r\n"
      "q5=\"\r\n[beta]\r\n;k=commented\r\njunk\r\nk=2\r\n[ALPHA]\r\nk=shadowed\r\n");
  EXPECT_EQ(Get("alpha", "KEY ONE"), "value 1");
  EXPECT_EQ(m_lastCount, 7u);
  // Matching quotes of either kind are taken off; a lone or mismatched one stays.
  EXPECT_EQ(Get("ALPHA", "quoted") + Get("alpha", "q2") + Get("alpha", "q3") + Get("alpha", "q4") + Get("alpha", "q5"),
            "q va\"a'\"");
  EXPECT_EQ(Get("Beta", "K"), "2");
  EXPECT_EQ(Get("beta", ";k") + Get("beta", "junk"), "nonenone") << "neither a comment nor a line without '=' is a key";
  EXPECT_EQ(Get("alpha", "k"), "none") << "the first matching section wins";
  EXPECT_EQ(Get("alpha", "missing", "dflt  "), "dflt") << "default loses its trailing blanks";
  EXPECT_EQ(Get("gamma", "k", nullptr), "");
  EXPECT_EQ(m_lastCount, 0u);

  // A value is cut to the buffer's size less one.
  WriteFile("[s]\nk=0123456789\n");
  for (const DWORD size : {1u, 5u, 10u, 11u}) {
    EXPECT_EQ(Get("s", "k", "", size), std::string("0123456789").substr(0, size - 1));
    EXPECT_EQ(m_lastCount, size - 1);
  }
  EXPECT_EQ(Get("s", "nokey", "abcdefgh", 4), "abc") << "the default is cut the same way";
}

TEST_F(ProfileTest, NameListsAreDoublyTerminatedAndCut) {
  WriteFile("[one]\na=1\nb=2\n[two]\n");
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  const DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, m_path.c_str());
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(std::string(buffer, 9), std::string("one\0two\0\0", 9));
  EXPECT_EQ(GetPrivateProfileStringA("ONE", nullptr, "", buffer, sizeof buffer, m_path.c_str()), 4u);
  EXPECT_EQ(std::string(buffer, 5), std::string("a\0b\0\0", 5));
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 7, m_path.c_str()), 5u);
  EXPECT_EQ(std::string(buffer, 7), std::string("one\0t\0\0", 7));
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 9, m_path.c_str()), 8u) << "just fits";
  EXPECT_EQ(GetPrivateProfileStringA("two", nullptr, "", buffer, 2, m_path.c_str()), 0u) << "the last section is empty";
  EXPECT_EQ(std::string(buffer, 2), std::string(2, '\0')) << "an empty list is doubly terminated too";
}

TEST_F(ProfileTest, WriteCreatesFileAndKeepsEverythingElse) {
  EXPECT_EQ(Get("s", "k"), "none") << "a missing file reads as defaults";
  EXPECT_EQ(Get(nullptr, "k"), "") << "and has no sections";
  ASSERT_TRUE(WritePrivateProfileStringA("CUSTOMIZE_LISTS", "rmsallowedgroups-20016", "0,FF00,MS Shell Dlg 2,8",
                                         m_path.c_str()));
  EXPECT_EQ(ReadFile(), "[CUSTOMIZE_LISTS]\r\nrmsallowedgroups-20016=0,FF00,MS Shell Dlg 2,8\r\n");

  // Mixed line ends: the first one seen is the file's.
  WriteFile("; top comment\n[A]\nKeep=1\nKEY=old\n\n[B]\r\n\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "key", "new", m_path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("a", "added", "2", m_path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("b", "x", "y", m_path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("C", "z", "3", m_path.c_str()));
  EXPECT_EQ(ReadFile(), "; top comment\n[A]\nKeep=1\nKEY=new\nadded=2\n\n[B]\nx=y\n\n[C]\nz=3\n");

  ASSERT_TRUE(WritePrivateProfileStringA("A", "keep", nullptr, m_path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("b", nullptr, nullptr, m_path.c_str()));
  EXPECT_EQ(ReadFile(), "; top comment\n[A]\nKEY=new\nadded=2\n\n[C]\nz=3\n");

  // Removing what is not there leaves the file alone, not even rewritten the same.
  const auto inode = [&] {
    struct stat st {};
    ::stat(m_path.c_str(), &st);
    return st.st_ino;
  };
  const auto first = inode();
  for (const auto& [section, key] : {std::pair{"none", "key"}, {"A", "none"}, {"none", nullptr}}) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, nullptr, m_path.c_str()));
    EXPECT_EQ(inode(), first) << section;
  }
}

// A child writes under a file size limit. errno means something only after a
// failed write: one left at EINTR by an earlier interrupted call must not make
// a done write count as interrupted (it would repeat without end, until the
// limit stopped it). A save cut short by the limit is a failed save: the old
// file stays whole and the error says why. (With SIGXFSZ at its default the
// write would end the process, as it does any program that does not ignore
// it; the terminal ignores it.)
TEST_F(ProfileTest, AWriteUnderAFileSizeLimitIsDoneOnceOrFailsKeepingTheFile) {
  const std::string old = "[s]\r\nk=old\r\n", big = old + std::string(3000, ';') + "\r\n";
  for (const auto& [limit, before, failed, after] :
       {std::tuple{rlim_t{1 << 20}, old, 0, std::string("[s]\r\nk=new\r\n")}, {rlim_t{1024}, big, 1, big}}) {
    WriteFile(before);
    EXPECT_EQ(WriteInChild(limit, [&] { return WritePrivateProfileStringA("s", "k", "new", m_path.c_str()); }), failed);
    EXPECT_EQ(ReadFile(), after) << limit;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1) << "no temporary left";
  }
}

TEST_F(ProfileTest, BothSeparatorsWorkAndWritesNeverTear) {
  const std::string windowsStyle = m_dir.string() + "\\UserSetting.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "v", windowsStyle.c_str()));
  EXPECT_EQ(Get("s", "k"), "v");
  // No temporary file is left behind, and a folder that does not exist fails cleanly.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
  const std::string missing = (m_dir / "no" / "such.ini").string();
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", missing.c_str()));
  EXPECT_EQ(GetLastError(), 3u);
}

// ---- Files that must not be lost or waited on ----

TEST_F(ProfileTest, AReadOnlyFileIsReadButNeverReplaced) {
  WriteFile("[s]\r\nk=kept\r\n");
  // Neither a value nor a section changes in a file without write permission (still read and left as it was:
  // listview/common/damaged_settings_test.cpp); a writable file keeps its own permission bits when it is replaced.
  for (const mode_t mode : {0444, 0000, 0640}) {
    const bool writable = (mode & S_IWUSR) != 0;
    ::chmod(m_path.c_str(), mode);
    EXPECT_EQ(WritePrivateProfileStringA("s", "k", "new", m_path.c_str()) != FALSE, writable) << std::oct << mode;
    EXPECT_EQ(WritePrivateProfileStringA("s", nullptr, nullptr, m_path.c_str()) != FALSE, writable) << std::oct << mode;
    struct stat info {};
    ASSERT_EQ(::stat(m_path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, mode) << std::oct << mode;
  }
}

TEST_F(ProfileTest, ALinkedFileIsUpdatedThroughTheLink) {
  const auto real = m_dir / "real" / "settings.ini";
  std::filesystem::create_directories(real.parent_path());
  std::ofstream(real, std::ios::binary) << "[s]\nk=old\n";
  std::filesystem::create_symlink("real/settings.ini", m_path);  // relative, as people make them
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "new", m_path.c_str()));
  EXPECT_TRUE(std::filesystem::is_symlink(m_path));
  EXPECT_EQ(ReadFile(real), "[s]\nk=new\n");
  EXPECT_FALSE(std::filesystem::exists(real.string() + ".tmp." + std::to_string(::getpid())));
}

TEST_F(ProfileTest, FifosDevicesFoldersAndHugeFilesAreRefusedAtOnce) {
  ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Get("s", "k"), "none");
  EXPECT_EQ(GetLastError(), 222u);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", m_path.c_str()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  struct stat info {};
  ASSERT_EQ(::lstat(m_path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO is not replaced";
  std::filesystem::remove(m_path);

  std::filesystem::create_symlink("/dev/zero", m_path);
  EXPECT_EQ(Get("s", "k"), "none");
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", m_path.c_str()));
  std::filesystem::remove(m_path);

  {
    std::ofstream big(m_path, std::ios::binary);
    big << "[s]\nk=v\n";
    big.seekp(static_cast<std::streamoff>(kPrivateProfileMaxBytes - 1));
    big << "x";  // sparse: as long as a file may be
  }
  EXPECT_EQ(Get("s", "k"), "v");
  std::ofstream(m_path, std::ios::binary | std::ios::app) << "x";  // one byte past the limit
  EXPECT_EQ(Get("s", "k"), "none");
  EXPECT_EQ(GetLastError(), 223u);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "w", m_path.c_str()));
  EXPECT_EQ(std::filesystem::file_size(m_path), kPrivateProfileMaxBytes + 1);
}

// Files another editor saved: a UTF-8 mark, lines ended by a lone CR. Each
// is read and updated in place, in its own form. UTF-16 text is neither
// read as lines nor written into: it stays as it is.
TEST_F(ProfileTest, EditorsMarksAndLineEndsAreReadAndUtf16IsLeftAlone) {
  const std::string mark = "\xEF\xBB\xBF";
  WriteFile(mark + "[list]\r\nCOLUMNPROFILE=0,0,80\r\n");
  EXPECT_EQ(Get("list", "COLUMNPROFILE"), "0,0,80");
  ASSERT_TRUE(WritePrivateProfileStringA("list", "COLUMNPROFILE", "0,0,90", m_path.c_str()));
  EXPECT_EQ(ReadFile(), mark + "[list]\r\nCOLUMNPROFILE=0,0,90\r\n") << "updated, not a second section";

  WriteFile("[s]\rk=v\r[t]\rx=y\r");
  EXPECT_EQ(Get("s", "k"), "v");
  EXPECT_EQ(Get("t", "x"), "y");
  ASSERT_TRUE(WritePrivateProfileStringA("t", "z", "1", m_path.c_str()));
  EXPECT_EQ(ReadFile(), "[s]\rk=v\r[t]\rx=y\rz=1\r");

  auto utf16 = [](const std::string& text, bool withMark) {
    std::string out = withMark ? "\xFF\xFE" : "";
    for (const char c : text) {
      out += c;
      out += '\0';
    }
    return out;
  };
  for (const bool withMark : {true, false}) {
    const std::string before = utf16("[s]\r\nk=v\r\n", withMark);
    WriteFile(before);
    EXPECT_EQ(Get("s", "k"), "none");
    EXPECT_EQ(GetLastError(), 1630u);
    EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "w", m_path.c_str()));
    EXPECT_EQ(GetLastError(), 1630u);
    EXPECT_EQ(ReadFile(), before) << "kept as it was";
  }
}

TEST_F(ProfileTest, TemporariesOfDeadWritersAreRemoved) {
  // A writer that died: a child that has exited and been reaped.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = m_path + ".tmp." + std::to_string(child);
  const std::string alive = m_path + ".tmp." + std::to_string(::getppid());
  const std::string other = (m_dir / "Other.ini.tmp.1").string();
  // No process has number 0 or 999999999; the rest are no process numbers (or init's).
  const std::vector<std::string> stale{dead, m_path + ".tmp.0", m_path + ".tmp.999999999"};
  const std::vector<std::string> kept{
      alive, other, m_path + ".tmp.1", m_path + ".tmp.", m_path + ".tmp.99999999x", m_path + ".tmp.9999999999"};
  for (const auto& name : stale) std::ofstream(name) << "half";
  for (const auto& name : kept) std::ofstream(name) << "half";
  EXPECT_EQ(RemoveStalePrivateProfileTemporaries(m_path.c_str()), 3);
  for (const auto& name : stale) EXPECT_FALSE(std::filesystem::exists(name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(name)) << name;
}

}  // namespace
