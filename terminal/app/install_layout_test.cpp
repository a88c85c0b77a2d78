#include "terminal/app/install_layout.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace terminal {
namespace {

namespace fs = std::filesystem;

class InstallLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("install_layout_" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root);
  }
  void TearDown() override { fs::remove_all(m_root); }
  fs::path m_root;
};

TEST_F(InstallLayoutTest, AnInstalledTreeIsToldFromABuildTreeByItsLibraryFolder) {
  for (const char* folder :
       {"build/bin", "build/lib", "unpacked/usr/bin", "unpacked/usr/lib/tarnterm", "odd/bin", "odd/lib"}) {
    fs::create_directories(m_root / folder);
  }
  // A build folder also has bin/ and lib/ (the archives), but no lib/tarnterm/.
  const std::string buildBin = (m_root / "build/bin").string();
  const InstallLayout built = LayoutAround(buildBin);
  EXPECT_FALSE(built.installed);
  EXPECT_EQ(built.pluginFolder, buildBin);
  EXPECT_EQ(built.dataFolder, buildBin);

  // Unpacked anywhere: the layout is found from the executable's folder.
  const InstallLayout installed = LayoutAround((m_root / "unpacked/usr/bin").string());
  EXPECT_TRUE(installed.installed);
  EXPECT_EQ(installed.pluginFolder, (m_root / "unpacked/usr/lib/tarnterm").string());
  EXPECT_EQ(installed.dataFolder, (m_root / "unpacked/usr/share/tarnterm").string());

  // A file of that name is no installed tree.
  std::ofstream(m_root / "odd/lib/tarnterm") << "x";
  EXPECT_FALSE(LayoutAround((m_root / "odd/bin").string()).installed);
}

// The user's data folder follows an absolute XDG_DATA_HOME, else the home
// folder; it is made owner-only, and one that exists is left as it is.
TEST_F(InstallLayoutTest, TheUserDataFolderIsMadeOwnerOnlyAndAnExistingOneIsLeftAsItIs) {
  EXPECT_EQ(UserDataFolder({"/data", "/home/ann"}), "/data/tarnterm");
  EXPECT_EQ(UserDataFolder({"relative/data", "/home/ann"}), "/home/ann/.local/share/tarnterm");
  std::string error;
  const auto made = PrepareUserDataFolder({"", (m_root / "ann").string()}, error);
  ASSERT_TRUE(made) << error;
  EXPECT_EQ(*made, (m_root / "ann/.local/share/tarnterm").string());
  EXPECT_EQ(fs::status(*made).permissions() & fs::perms::all, fs::perms::owner_all);

  fs::create_directories(m_root / "data/tarnterm");
  fs::permissions(m_root / "data/tarnterm", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  ASSERT_TRUE(PrepareUserDataFolder({(m_root / "data").string(), ""}, error)) << error;
  EXPECT_EQ(fs::status(m_root / "data/tarnterm").permissions() & fs::perms::all,
            fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);

  EXPECT_FALSE(PrepareUserDataFolder({"", ""}, error));
  EXPECT_NE(error.find("give --home DIR"), std::string::npos) << error;
  std::ofstream(m_root / "file") << "x";
  EXPECT_FALSE(PrepareUserDataFolder({(m_root / "file").string(), ""}, error));
  EXPECT_EQ(error.rfind("cannot make the terminal folder ", 0), 0u) << error;
}

// HOME is the home folder; a process without it (a service) still has its account's.
TEST(UserFolders, TheHomeIsHomeElseTheAccountsFolder) {
  const char* home = std::getenv("HOME");
  const std::string saved = home != nullptr ? home : "";
  ::setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(UserFoldersOfThisProcess().home, "/home/ann");
  ::unsetenv("HOME");
  EXPECT_EQ(UserFoldersOfThisProcess().home, ::getpwuid(::getuid())->pw_dir);
  if (home != nullptr) ::setenv("HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace terminal
