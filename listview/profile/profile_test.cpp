// The settings-file formats and their reading and writing.
#include <gtest/gtest.h>

#include <vector>

#include "listview/profile/appearance_line.h"
#include "listview/profile/column_profile_format.h"
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

std::vector<ColumnProfileEntry> ExampleEntries() {
  return {{0, 1, 80, "", "", ""},
          {1, -1, 0, "", "", ""},
          {2, 2, 75, "", "", ""},
          {3, 0, 100, "Net", "expression", "description"}};
}

TEST(ColumnProfileFormat, WritesTheDocumentedExampleByteForByteAndReadsItBack) {
  const CString text = FormatColumnProfile(ExampleEntries(), 3);
  EXPECT_EQ(text, "0,1,80,1,-1,0,2,2,75,3,0,100,Net#expression#description");
  EXPECT_EQ(FormatColumnProfile({}, 3), "");
  const auto entries = ParseColumnProfile(text, 3);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1].nOrder, -1);
  EXPECT_EQ(entries[2].nWidth, 75);
  EXPECT_EQ(entries[3].strName, "Net");
  EXPECT_EQ(entries[3].strExpression, "expression");
  EXPECT_EQ(entries[3].strDescription, "description");
  EXPECT_EQ(entries[0].strName, "") << "built-in entries carry no strings";
}

TEST(ColumnProfileFormat, DropsAPartialEntryAndSkipsEmptyFields) {
  // The last entry lacks its width; a computed one its description.
  EXPECT_EQ(ParseColumnProfile("0,0,120,1,1", 2).size(), 1u);
  EXPECT_EQ(ParseColumnProfile("0,0,120,2,1,60,Net#x", 2).size(), 1u);
  // Empty fields vanish as the C tokenizer skips them.
  const auto entries = ParseColumnProfile(",0,,0,120,,1,1,60,", 2);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].nWidth, 60);
  // Junk reads as atoi reads it.
  EXPECT_EQ(ParseColumnProfile("x,7y,12", 2).at(0).nOrder, 7);
}

TEST_F(ProfileFiles, ReadingWithoutAFileOrKeyFailsSilently) {
  CString value;
  EXPECT_EQ(ProfileIO(kProfileRead, "rmsallowedgroups", value), 0);
  EXPECT_FALSE(m_settings.Exists()) << "reading never creates the file";
  m_settings.Write("[other]\nCOLUMNPROFILE=1\n");
  EXPECT_EQ(ProfileIO(kProfileRead, "rmsallowedgroups", value), 0);
  EXPECT_EQ(value, "Settings not found");
  m_settings.Write("[rmsallowedgroups]\nCOLUMNPROFILE=\n");
  EXPECT_EQ(ProfileIO(kProfileRead, "rmsallowedgroups", value), 0);
  EXPECT_EQ(ProfileIO(7, "rmsallowedgroups", value), 0);
  EXPECT_TRUE(platform::MessageBoxLog().empty());
}

TEST_F(ProfileFiles, WritingCreatesTheFileAndReadingGivesTheValueBack) {
  CString value = "0,1,80,1,-1,0,2,2,75,3,0,100,Net#expression#description";
  ASSERT_EQ(ProfileIO(kProfileWrite, "rmsallowedgroups", value), 1);
  EXPECT_NE(m_settings.Read().find("[rmsallowedgroups]\r\n"), std::string::npos);
  EXPECT_NE(m_settings.Read().find("\nCOLUMNPROFILE=0,1,80,1,-1,0,2,2,75,3,0,100,Net#expression#description\r\n"),
            std::string::npos);
  CString read;
  ASSERT_EQ(ProfileIO(kProfileRead, "rmsallowedgroups", read), 1);
  EXPECT_EQ(read, value);
}

TEST_F(ProfileFiles, ALongValueIsCutToTheBuffer) {
  CString value(std::string(5000, '7').c_str());
  ASSERT_EQ(ProfileIO(kProfileWrite, "long", value), 1);
  CString read;
  ASSERT_EQ(ProfileIO(kProfileRead, "long", read), 1);
  EXPECT_EQ(read.GetLength(), kProfileValueBuffer - 1);
}

TEST_F(ProfileFiles, AFileThatCannotBeCreatedIsReported) {
  m_settings.MakeUnwritable();
  CString value = "0,0,80";
  EXPECT_EQ(ProfileIO(kProfileWrite, "rmsallowedgroups", value), 0);
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "File Open Failed");
}

sListAppearance GreenOnBlack() {
  sListAppearance look;
  look.clrBack = 0;
  look.clrText = 0xFF00;
  return look;
}

TEST(AppearanceLine, WritesTheDocumentedExamplesByteForByte) {
  sListAppearance look = GreenOnBlack();
  EXPECT_EQ(FormatAppearanceLine(look), "0,FF00,MS Shell Dlg 2,8");
  look.nKeywordColumn = 3;
  look.AddKeyword("Buy", 0xFF);
  look.AddKeyword("sell", 0xFF0000);
  EXPECT_EQ(FormatAppearanceLine(look), "0,FF00,MS Shell Dlg 2,8,3,buy,FF,sell,FF0000,");
  EXPECT_EQ(AppearanceKey("rmsallowedgroups", 20016), "rmsallowedgroups-20016");
}

TEST(AppearanceLine, ReadsFieldsAndKeywordPairs) {
  sListAppearance look;
  ParseAppearanceLine("FFFFFF,ff,Arial,10,3,BUY,FF,sell,FF0000,", look);
  EXPECT_EQ(look.clrBack, 0xFFFFFFu);
  EXPECT_EQ(look.clrText, 0xFFu);
  EXPECT_EQ(look.strFontFace, "Arial");
  EXPECT_EQ(look.strFontSize, "10");
  EXPECT_EQ(look.nKeywordColumn, 3);
  ASSERT_TRUE(look.HasKeywords());
  EXPECT_EQ(*look.pKeywords, (std::vector<CString>{"buy", "sell"}));
  EXPECT_EQ(*look.pKeywordColors, (std::vector<COLORREF>{0xFF, 0xFF0000}));
  EXPECT_EQ(FormatAppearanceLine(look), "FFFFFF,FF,Arial,10,3,buy,FF,sell,FF0000,");
}

TEST(AppearanceLine, FourFieldsKeepKeywordsOffAndAKeywordWithoutColourDropsThemAll) {
  sListAppearance look;
  ParseAppearanceLine("0,FF00,MS Shell Dlg 2,8", look);
  EXPECT_EQ(look.nKeywordColumn, -1);
  EXPECT_FALSE(look.HasKeywords());
  ParseAppearanceLine("0,FF00,MS Shell Dlg 2,8,3,buy,FF,sell", look);
  EXPECT_EQ(look.nKeywordColumn, 3);
  EXPECT_FALSE(look.HasKeywords());
  // A keyword column without keywords leaves the arrays as they were.
  sListAppearance other;
  ParseAppearanceLine("0,FF00,Arial,8,2", other);
  EXPECT_EQ(other.nKeywordColumn, 2);
  EXPECT_FALSE(other.HasKeywords());
  ParseAppearanceLine("0,FF00,Arial,8,255", other);
  EXPECT_EQ(other.nKeywordColumn, 255) << "the last column a list can have";
}

TEST_F(ProfileFiles, AppearanceIsStoredUnderTheListsKey) {
  CString value;
  EXPECT_FALSE(ReadAppearanceLine("rmsallowedgroups", 20016, value));
  sListAppearance look = GreenOnBlack();
  look.nKeywordColumn = 3;
  look.AddKeyword("buy", 0xFF);
  WriteAppearanceLine("rmsallowedgroups", 20016, look);
  EXPECT_NE(m_settings.Read().find("[CUSTOMIZE_LISTS]\r\nrmsallowedgroups-20016=0,FF00,MS Shell Dlg 2,8,3,buy,FF,\r\n"),
            std::string::npos);
  ASSERT_TRUE(ReadAppearanceLine("rmsallowedgroups", 20016, value));
  EXPECT_EQ(value, "0,FF00,MS Shell Dlg 2,8,3,buy,FF,");
  EXPECT_FALSE(ReadAppearanceLine("rmsallowedgroups", 20017, value));
}

}  // namespace
}  // namespace listview
