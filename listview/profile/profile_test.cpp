// The settings file: a write that fails, and the appearance line read field by field.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "listview/profile/appearance_line.h"
#include "listview/profile/profile_io.h"
#include "listview/testing/settings_dir.h"
#include "platform/user/message_box.h"
#include "platform/testing/reset_for_test.h"

namespace listview {
namespace {

class ProfileFiles : public ::testing::Test {
 protected:
  void SetUp() override { platform::ResetForTest(); }
  void TearDown() override { platform::ResetForTest(); }
  testing::SettingsDir m_settings;
};

// ProfileIO says nothing in a box of its own: the one failed-save box, the
// same whichever dialog saved, is its caller's.
TEST_F(ProfileFiles, AFileThatCannotBeCreatedFailsTheWriteWithoutABoxOfItsOwn) {
  m_settings.MakeUnwritable();
  CString value = "0,0,80";
  EXPECT_EQ(ProfileIO(kProfileWrite, "rmsallowedgroups", value), 0);
  EXPECT_TRUE(platform::MessageBoxLog().empty());
  EXPECT_FALSE(std::filesystem::exists(m_settings.File()));
}

TEST(AppearanceLine, FourFieldsKeepKeywordsOffAndAKeywordWithoutColourDropsThemAll) {
  sListAppearance look;
  ParseAppearanceLine("0,FF00,MS Shell Dlg 2,8", look);
  EXPECT_EQ(look.nKeywordColumn, -1);
  EXPECT_FALSE(look.HasKeywords());
  ParseAppearanceLine("0,FF00,MS Shell Dlg 2,8,3,buy,FF,sell", look);
  EXPECT_EQ(look.nKeywordColumn, 3);
  EXPECT_FALSE(look.HasKeywords());
}

}  // namespace
}  // namespace listview
