// The terminal over a UserSetting.ini that it must not lose, cannot read or
// finds damaged: what it keeps, what it says, and that it never hangs.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

class SettingsFileRun : public SharedFolderRun {
 protected:
  void WriteSettings(const std::string& text) const {
    std::ofstream(folder / "UserSetting.ini", std::ios::binary) << text;
  }
  static std::string Contains(const RunResult& run, const std::string& text) {
    return run.output.find(text) != std::string::npos ? "" : "missing \"" + text + "\" in:\n" + run.output;
  }

  // Opens the list, moves Symbol after Category and saves the layout.
  static constexpr const char* kRearrange =
      "hotkey Alt+A\n"
      "click \"Allowed Groups\" \"View Group\"\n"
      "command \"View Allowed Group\" 20016 4004\n"
      "drag \" Column Profile\" 10008 Symbol Category\n"
      "click \" Column Profile\" 10005\n"
      "rows \"View Allowed Group\" 20016\n";
  static constexpr const char* kShowList =
      "hotkey Alt+A\n"
      "click \"Allowed Groups\" \"View Group\"\n"
      "rows \"View Allowed Group\" 20016\n";
  static constexpr const char* kDefaultColumns =
      "COLS: Category\tExhg-Seg\tInstr Name\tSymbol\tOption Type\tStrike Price\tExpiry Date\tProduct Type\t"
      "Transaction Type\n";
};

TEST_F(SettingsFileRun, AReadOnlyFileIsByteIdenticalAfterALayoutChangeAndTheRunSaysItCouldNotSave) {
  const std::string stored =
      "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,80,1,1,80,2,2,80,3,3,80,4,4,80,5,5,80,6,6,80,7,7,80,8,8,80\r\n"
      "[CUSTOMIZE_LISTS]\r\nrmsallowedgroups-20016=0,FF00,MS Shell Dlg 2,8\r\n";
  WriteSettings(stored);
  fs::permissions(folder / "UserSetting.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const RunResult run = Run("rearrange", kRearrange);
  EXPECT_EQ(Settings(), stored);
  EXPECT_EQ(fs::status(folder / "UserSetting.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Contains(run, "COLS: Category\tSymbol\tExhg-Seg"), "") << "the session itself still changes";
  EXPECT_EQ(Contains(run, "BOX: Error while saving column profile"), "");
  EXPECT_EQ(Contains(run, "[rmsallowedgroups] COLUMNPROFILE: not saved: the file is read-only"), "");
}

TEST_F(SettingsFileRun, ALinkedFileIsUpdatedThroughTheLink) {
  const fs::path real = folder / "shared" / "settings.ini";
  fs::create_directories(real.parent_path());
  std::ofstream(real) << "[elsewhere]\r\nkept=1\r\n";
  fs::create_symlink(real, folder / "UserSetting.ini");
  const RunResult run = Run("rearrange", kRearrange);
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::is_symlink(folder / "UserSetting.ini"));
  std::ifstream in(real);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("COLUMNPROFILE=0,0,80,1,2,80,2,3,80,3,1,80"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("kept=1"), std::string::npos);
}

TEST_F(SettingsFileRun, AFifoInPlaceOfTheFileEndsWithinASecondWithAMessage) {
  ASSERT_EQ(::mkfifo((folder / "UserSetting.ini").c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  const RunResult run = Run("show", kShowList, 10);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Contains(run, kDefaultColumns), "");
  EXPECT_EQ(Contains(run, "UserSetting.ini: not read and never written: it is not a regular file"), "");
  EXPECT_TRUE(fs::is_fifo(folder / "UserSetting.ini"));
}

TEST_F(SettingsFileRun, AHugeComputedColumnIndexOpensTheDefaultLayoutAtOnce) {
  WriteSettings("[rmsallowedgroups]\r\nCOLUMNPROFILE=2147483647,0,80,Net# \"5\"*2#\"Strike Price\" * 2\r\n");
  const auto start = std::chrono::steady_clock::now();
  const RunResult run = Run("show", kShowList, 10);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Contains(run, kDefaultColumns), "");
  EXPECT_EQ(Contains(run, "[rmsallowedgroups] COLUMNPROFILE: damaged (column index 2147483647 out of range)"), "");
  EXPECT_EQ(Settings().find("Net#"), std::string::npos) << Settings();
  EXPECT_LT(fs::file_size(folder / "UserSetting.ini"), 1000u);
}

}  // namespace
}  // namespace e2e
