// A list over a settings file that is damaged or read-only: the list opens
// with its defaults for what is damaged, says so once on standard error, and
// never loses or replaces what it could not use. (Linked files and FIFOs:
// platform/kernel/private_profile_test.cpp and tests/terminal_folder_run_test.cpp.)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "listview/common/common_list_ctrl.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "listview/testing/list_test.h"
#include "platform/user/message_box.h"
#include "platform/window/metrics.h"

namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

class DamagedSettings : public listview::testing::ListTest<CCommonListCtrl> {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    listview::ResetSettingsReports();
  }

  CCommonListCtrl& Open() {
    return OpenWith(
        [](CCommonListCtrl& list) {
          listview::testing::AddColumns(list, "testlist",
                                        {sTarnColInfo("Name", 80, 0, sort_kind::kText),
                                         sTarnColInfo("Qty", 70, 1, sort_kind::kInteger),
                                         sTarnColInfo("Price", 60, 1, sort_kind::kFloat)});
          list.ApplyColumnProfile();
        },
        // before the list is attached and reads its appearance
        [](CCommonListCtrl& list) { list.m_strProfileName = "testlist"; });
  }
  void Close() { m_dialog.reset(); }
  // Opens the list over a stored profile value and closes it again,
  // returning what it showed and what it said.
  struct Seen {
    Strings captions;
    Ints widths;
    int records = 0;
    std::string said;
  };
  Seen Reopen(const std::string& profile) {
    m_settings.Write("[testlist]\r\nCOLUMNPROFILE=" + profile + "\r\n");
    ::testing::internal::CaptureStderr();
    CCommonListCtrl& list = Open();
    Seen seen;
    seen.said = ::testing::internal::GetCapturedStderr();
    seen.captions = Captions();
    seen.widths = Widths();
    seen.records = static_cast<int>(list.m_arrColumns.GetSize());
    Close();
    return seen;
  }
  std::string Key() const { return m_settings.File().string() + ": [testlist] COLUMNPROFILE: damaged ("; }
};

TEST_F(DamagedSettings, DamagedProfileEntriesTakeTheDefaultLayoutAndAreToldOnce) {
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  struct Case {
    const char* value;
    Strings captions;
    Ints widths;
  };
  const std::vector<Case> cases = {
      {"garbage", {"Name", "Qty", "Price"}, {80, 70, 60}},
      // Order 99 is no position of a three-column list: Price takes its default.
      {"0,1,50,1,0,40,2,99,30", {"Qty", "Name", "Price"}, {40, 50, 60}},
      // Position 0 twice: the second (Qty) takes its default, after the sound ones.
      {"0,0,50,1,0,40,2,1,30", {"Name", "Price", "Qty"}, {50, 30, 70}},
      {"0,0,2147483647,1,1,40,2,2,30", {"Name", "Qty", "Price"}, {screen, 40, 30}},
      {"0,0,5x,1,1,40,2,2,30", {"Qty", "Price", "Name"}, {40, 30, 80}},
      // A computed column's index outside the list: damaged, nothing allocated.
      {"2147483647,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      {"10000000,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      {"100,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      {"-1,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
  };
  for (const Case& c : cases) {
    listview::ResetSettingsReports();
    const Seen seen = Reopen(c.value);
    EXPECT_EQ(seen.captions, c.captions) << c.value;
    EXPECT_EQ(seen.widths, c.widths) << c.value;
    EXPECT_EQ(seen.said.rfind("tarn settings: " + Key(), 0), 0u) << c.value << "\n" << seen.said;
    EXPECT_EQ(seen.records, 3) << c.value;
    EXPECT_EQ(m_settings.Read().find("Net"), std::string::npos) << "nothing invented is saved";
  }
  // The same damaged line twice is told once.
  listview::ResetSettingsReports();
  const std::string first = Reopen("garbage").said;
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1) << first;
  EXPECT_EQ(Reopen("garbage").said, "");
  // The next index after the built-in ones is a computed column.
  const Seen sound = Reopen("0,0,50,1,1,40,2,2,30,3,3,80,Net# \"1\"*2#\"Qty\" * 2");
  EXPECT_EQ(sound.captions, (Strings{"Name", "Qty", "Price", "Net"}));
  EXPECT_EQ(sound.said, "");
}

// A computed column whose formula can give no value (a cell never refers
// to itself or forward, and a column must exist) is kept, for the person to
// mend or delete, and told once per run with the columns concerned.
TEST_F(DamagedSettings, ComputedColumnsWhoseFormulaGivesNoValueAreKeptAndToldOnce) {
  const std::string profile =
      "0,0,50,1,1,40,2,2,30,3,3,80,Self# \"3\"*2#\"Self\"*2,4,4,80,Later# \"5\"+1#\"Gone\"+1,"
      "5,5,80,Gone# \"9\"+1#gone,6,6,80,Words# abc#abc,7,7,80,Good# \"1\"*2#\"Qty\"*2";
  const Seen seen = Reopen(profile);
  EXPECT_EQ(seen.captions, (Strings{"Name", "Qty", "Price", "Self", "Later", "Gone", "Words", "Good"}));
  EXPECT_EQ(seen.said, "tarn settings: " + Key() +
                           "the formula of computed column \"Self\" refers to itself; the formula of computed column "
                           "\"Later\" refers to a later column; the formula of computed column \"Gone\" refers to "
                           "column 9, which does not exist; the formula of computed column \"Words\" is no formula); "
                           "those columns are kept as stored, and their cells cannot be computed until the column is "
                           "deleted and added again\n");
  EXPECT_EQ(Reopen(profile).said, "") << "once per run";
  EXPECT_NE(m_settings.Read().find("Words# abc#abc"), std::string::npos) << "saved as it was";
  listview::ResetSettingsReports();
  EXPECT_EQ(Reopen("0,0,50,1,1,40,2,2,30,3,3,80,Good# \"1\"*2#\"Qty\"*2,4,4,80,Next# \"3\"+\"0\"#x").said, "");
}

// A UTF-16 file is said to be unreadable, used as no file, and never
// written. (A UTF-8 mark: platform/kernel/private_profile_test.cpp.)
TEST_F(DamagedSettings, AUtf16FileIsToldUsedAsNoFileAndKept) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[testlist]\r\nCOLUMNPROFILE=0,1,50,1,0,40,2,2,30\r\n")) utf16 += {c, '\0'};
  m_settings.Write(utf16);
  ::testing::internal::CaptureStderr();
  Open();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Captions(), (Strings{"Name", "Qty", "Price"}));
  EXPECT_NE(said.find(m_settings.File().string() +
                      ": not read and never written: it is UTF-16 text, which the lists neither read nor write"),
            std::string::npos)
      << said;
  Close();
  EXPECT_EQ(m_settings.Read(), utf16);
  ASSERT_FALSE(platform::MessageBoxLog().empty());
  EXPECT_EQ(platform::MessageBoxLog().back().text,
            "Error while saving settings to " + m_settings.File().string() +
                ": it is UTF-16 text, which the lists neither read nor write. The file was left as it was.");
}

TEST_F(DamagedSettings, DamagedAppearanceFieldsTakeTheDefaultAndSizesAreClamped) {
  m_settings.Write(
      "[CUSTOMIZE_LISTS]\r\ntestlist-20016=zz,FF00FF,Arial,99999999,2,buy,FF,sell,nothex,hold,FF0000,\r\n");
  ::testing::internal::CaptureStderr();
  const sListAppearance look = Open().Appearance();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(look.clrBack, 0u) << "not hexadecimal: the default black";
  EXPECT_EQ(look.clrText, 0xFF00FFu);
  EXPECT_EQ(look.strFontSize, "72");
  ASSERT_TRUE(look.HasKeywords());
  EXPECT_EQ(*look.pKeywords, (std::vector<CString>{"buy", "hold"})) << "the damaged pair alone is dropped";
  EXPECT_NE(said.find(m_settings.File().string() + ": [CUSTOMIZE_LISTS] testlist-20016: damaged ("), std::string::npos)
      << said;
  Close();

  struct Case {
    const char* value;
    const char* size;
    const char* face;
    COLORREF text;
  };
  for (const Case& c :
       {Case{"0,FF00,Arial,-3", "8", "Arial", 0xFF00}, Case{"0,FF00,Arial,8,abc", "8", "Arial", 0xFF00},
        Case{"0,FF00,Ar\x01ial,8", "8", "MS Shell Dlg 2", 0xFF00}, Case{"0,1000000,Arial,12", "12", "Arial", 0xFF00},
        Case{"0,FF00,Arial,8,256", "8", "Arial", 0xFF00} /* a keyword column past the last a list can have */}) {
    m_settings.Write(std::string("[CUSTOMIZE_LISTS]\r\ntestlist-20016=") + c.value + "\r\n");
    listview::ResetSettingsReports();
    ::testing::internal::CaptureStderr();
    const sListAppearance other = Open().Appearance();
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "") << c.value;
    EXPECT_EQ(other.strFontSize, c.size) << c.value;
    EXPECT_EQ(other.strFontFace, c.face) << c.value;
    EXPECT_EQ(other.clrText, c.text) << c.value;
    EXPECT_EQ(other.nKeywordColumn, -1) << c.value;
    Close();
  }
}

TEST_F(DamagedSettings, AReadOnlyFileIsUsedButNeverReplaced) {
  const std::string stored =
      "[testlist]\r\nCOLUMNPROFILE=0,1,50,1,0,40,2,2,30\r\n[CUSTOMIZE_LISTS]\r\ntestlist-20016=FF,FF00,Arial,9\r\n";
  m_settings.Write(stored);
  ::chmod(m_settings.File().c_str(), 0444);
  CCommonListCtrl& list = Open();
  EXPECT_EQ(Captions(), (Strings{"Qty", "Name", "Price"})) << "still read";
  list.SetColumnWidth(0, 120);
  EXPECT_FALSE(listview::WriteAppearanceLine("testlist", 20016, sListAppearance()));
  ::testing::internal::CaptureStderr();
  Close();
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(m_settings.Read(), stored);
  ASSERT_FALSE(platform::MessageBoxLog().empty());
  EXPECT_EQ(platform::MessageBoxLog().back().text, "Error while saving settings to " + m_settings.File().string() +
                                                       ": the file is read-only. The file was left as it was.");
  EXPECT_NE(said.find("[testlist] COLUMNPROFILE: not saved: the file is read-only"), std::string::npos) << said;
}

TEST_F(DamagedSettings, AStartClearsCopiesThatKilledSessionsLeft) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string stale = m_settings.File().string() + ".tmp." + std::to_string(child);
  std::ofstream(stale) << "[testlist]\r\nCOLUMNPROFILE=0,0,";
  listview::SetSettingsFolder(m_settings.File().parent_path().string().c_str());
  EXPECT_FALSE(std::filesystem::exists(stale));
}

}  // namespace
