// A list over a settings file that is damaged or read-only: the list opens
// with its defaults for what is damaged, says so once on standard error, and
// never loses or replaces what it could not use. (Linked files and FIFOs:
// platform/kernel/private_profile_test.cpp and tests/terminal_run_test.cpp.)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "listview/common/common_list_ctrl.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/profile_io.h"
#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "listview/profile/stored_layout.h"
#include "listview/testing/list_test.h"
#include "platform/user/message_box.h"
#include "platform/window/metrics.h"

namespace {

using Ints = std::vector<int>;

class DamagedSettings : public listview::testing::ListTest<CCommonListCtrl> {
 protected:
  CCommonListCtrl& Open() {
    return OpenWith(
        [this](CCommonListCtrl& list) {
          listview::testing::AddTestListColumns(list);
          for (const int position : m_default) list.m_arrDefaultLayout.Add(position);
          list.ApplyColumnProfile();
        },
        // before the list is attached and reads its appearance
        [](CCommonListCtrl& list) { list.m_strProfileName = "testlist"; });
  }
  // Writes `settings`, opens the list over them and returns what it said on standard error;
  // `anew`, as in a new run, which has told nothing yet.
  std::string OpenOver(const std::string& settings, bool anew = true) {
    if (anew) listview::ResetSettingsReports();
    m_settings.Write(settings);
    ::testing::internal::CaptureStderr();
    Open();
    return ::testing::internal::GetCapturedStderr();
  }
  // Opens the list over a stored profile value and closes it again,
  // returning what it showed and what it said.
  struct Seen {
    Strings captions;
    Ints widths;
    int records = 0;
    std::string said;
  };
  Seen Reopen(const std::string& profile, bool anew = true) {
    Seen seen;
    seen.said = OpenOver("[testlist]\r\nCOLUMNPROFILE=" + profile + "\r\n", anew);
    seen.captions = Captions();
    seen.widths = Widths();
    seen.records = static_cast<int>(TheList().m_arrColumns.GetSize());
    Close();
    return seen;
  }
  Ints m_default;  // the list's default layout
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
      // Column 0 twice: the second entry goes.
      {"0,0,50,0,1,40,2,2,30", {"Name", "Price", "Qty"}, {50, 30, 70}},
      {"0,0,2147483647,1,1,40,2,2,30", {"Name", "Qty", "Price"}, {screen, 40, 30}},
      {"0,0,5x,1,1,40,2,2,30", {"Qty", "Price", "Name"}, {40, 30, 80}},
      // A computed column's index outside the list: damaged, nothing allocated.
      {"2147483647,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      {"100,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      {"-1,0,80,Net# \"1\"*2#\"Qty\" * 2", {"Name", "Qty", "Price"}, {80, 70, 60}},
      // Cut inside a computed column's entry: the sound entries before it are taken.
      {"0,1,50,1,0,40,2,2,30,3,3,80,Net#", {"Qty", "Name", "Price"}, {40, 50, 30}},
      {"0,1,50,1,0,40,2,2", {"Qty", "Name", "Price"}, {40, 50, 60}},
  };
  for (const Case& c : cases) {
    const Seen seen = Reopen(c.value);
    EXPECT_EQ(seen.captions, c.captions) << c.value;
    EXPECT_EQ(seen.widths, c.widths) << c.value;
    EXPECT_EQ(seen.said.rfind("tarn settings: " + Key(), 0), 0u) << c.value << "\n" << seen.said;
    EXPECT_EQ(seen.said.find('\n'), seen.said.size() - 1) << "on one line";
    EXPECT_EQ(seen.records, 3) << c.value;
    EXPECT_EQ(m_settings.Read().find("Net"), std::string::npos) << "nothing invented is saved";
    EXPECT_EQ(Reopen(c.value, false).said, "") << "told once";
  }
  // The next index after the built-in ones is a computed column; the whole screen's width, a column
  // narrowed to nothing, a hidden column's width as low as int goes and a value as long as the reader
  // keeps are sound.
  std::string value = "0,0," + std::to_string(screen) + ",1,1,0,2,-1,-2147483648,3,2,80,Net# \"1\"*2#\"Qty\" * 2";
  value.insert(value.size() - 9, static_cast<size_t>(listview::kProfileValueMaxLength) - value.size(), ' ');
  const Seen sound = Reopen(value);
  EXPECT_EQ(sound.captions, (Strings{"Name", "Qty", "Net"}));
  EXPECT_EQ(sound.widths, (Ints{screen, 0, 80}));
  EXPECT_EQ(sound.said, "");
  // Computed columns up to the last index a list can have are taken; one more is damaged.
  std::string most = "0,0,80,1,1,70,2,2,60";
  for (int index = 3; index <= listview::kMaxListColumns; ++index) most += "," + std::to_string(index) + ",-1,0,c#1#d";
  EXPECT_EQ(Reopen(most).records, listview::kMaxListColumns);
  // A default layout places a built-in column left out (hides it past a short layout), a computed one goes last.
  m_default = {1, 0};
  EXPECT_EQ(Reopen("0,0,50,1,1,40,2,9,30,3,9,80,Net# \"1\"*2#\"Qty\" * 2").captions, (Strings{"Name", "Qty", "Net"}));
}

TEST_F(DamagedSettings, DamagedAppearanceFieldsTakeTheDefaultAndSizesAreClampedAndSoundOnesAreTaken) {
  struct Case {
    const char* value;
    COLORREF text;
    const char* face;
    const char* size;
    int keywordColumn;
    std::vector<CString> keywords;
    bool told = true;
  };
  const Case cases[] = {
      // Not hexadecimal: the default black; of the keywords, the damaged pair alone is dropped.
      {"zz,FF00FF,Arial,99999999,2,buy,FF,sell,nothex,hold,FF0000,", 0xFF00FF, "Arial", "72", 2, {"buy", "hold"}},
      {"0,FF00,Arial,-3", 0xFF00, "Arial", "8", -1, {}},
      {"0,FF00,Arial,8,abc", 0xFF00, "Arial", "8", -1, {}},
      {"0,FF00,Ar\x01ial,8", 0xFF00, "MS Shell Dlg 2", "8", -1, {}},
      {"0,1000000,Arial,12", 0xFF00, "Arial", "12", -1, {}},
      {"0,FF00,Arial,8,256", 0xFF00, "Arial", "8", -1, {}},           // a column past the last a list can have
      {"0,FF00,Arial,8,3,buy,FF,sell", 0xFF00, "Arial", "8", 3, {}},  // a keyword without colour drops all
      {"0,FF00,MS Shell Dlg 2,1", 0xFF00, "MS Shell Dlg 2", "1", -1, {}, false},  // sound: four fields, the least size
      {"0,FF00", 0xFF00, "MS Shell Dlg 2", "8", -1, {}, false},  // sound: what a short line leaves out stays
  };
  for (const Case& c : cases) {
    const std::string said = OpenOver(std::string("[CUSTOMIZE_LISTS]\r\ntestlist-20016=") + c.value + "\r\n");
    const std::string key = m_settings.File().string() + ": [CUSTOMIZE_LISTS] testlist-20016: damaged (";
    EXPECT_EQ(said.find(key) != std::string::npos, c.told) << said;
    const sListAppearance& look = TheList().Appearance();
    EXPECT_EQ(std::pair(look.clrBack, look.clrText), std::pair(COLORREF{0}, c.text)) << c.value;
    EXPECT_EQ(std::pair(look.strFontFace, look.strFontSize), std::pair(CString(c.face), CString(c.size))) << c.value;
    EXPECT_EQ(look.nKeywordColumn, c.keywordColumn) << c.value;
    EXPECT_EQ(look.HasKeywords() ? *look.pKeywords : std::vector<CString>{}, c.keywords) << c.value;
    Close();
  }
  // A line as long as the reader keeps is whole; one character more is told as cut.
  const int most = listview::kAppearanceValueMaxLength;
  for (const int length : {most, most + 1}) {
    const std::string line = "0,FF00,Arial,8,0," + std::string(static_cast<size_t>(length) - 20, 'k') + ",FF";
    const std::string said = OpenOver("[CUSTOMIZE_LISTS]\r\ntestlist-20016=" + line + "\r\n");
    EXPECT_EQ(said.find("longer than the reader keeps, cut") != std::string::npos, length > most) << said;
    Close();
  }
}

// A UTF-16 file (said to be unreadable, and used as no file) and a read-only
// one (still read) are never replaced: each failed save is told in the one
// box and on standard error. (A UTF-8 mark: platform/kernel/private_profile_test.cpp.)
TEST_F(DamagedSettings, AUtf16OrReadOnlyFileIsNeverReplaced) {
  const std::string profile = "[testlist]\r\nCOLUMNPROFILE=0,1,50,1,0,40,2,2,30\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : profile) utf16 += {c, '\0'};
  const struct {
    std::string stored;
    bool readOnly;
    std::string reason;
    std::string told;
  } cases[] = {
      {utf16, false, "it is UTF-16 text, which the lists neither read nor write",
       ": not read and never written: it is UTF-16 text, which the lists neither read nor write"},
      {profile + "[CUSTOMIZE_LISTS]\r\ntestlist-20016=FF,FF00,Arial,9\r\n", true, "the file is read-only",
       "[testlist] COLUMNPROFILE: not saved: the file is read-only"},
  };
  for (const auto& c : cases) {
    listview::ResetSettingsReports();
    m_settings.Write(c.stored);
    if (c.readOnly) ::chmod(m_settings.File().c_str(), 0444);
    ::testing::internal::CaptureStderr();
    CCommonListCtrl& list = Open();
    // The read-only file is still read, the UTF-16 one used as no file.
    const Strings captions = c.readOnly ? Strings{"Qty", "Name", "Price"} : Strings{"Name", "Qty", "Price"};
    EXPECT_EQ(Captions(), captions) << c.reason;
    list.SetColumnWidth(0, 120);
    EXPECT_FALSE(listview::WriteAppearanceLine("testlist", 20016, sListAppearance())) << c.reason;
    Close();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(c.told), std::string::npos) << said;
    EXPECT_EQ(m_settings.Read(), c.stored);
    ASSERT_FALSE(platform::MessageBoxLog().empty());
    EXPECT_EQ(platform::MessageBoxLog().back().text, "Error while saving settings to " + m_settings.File().string() +
                                                         ": " + c.reason + ". The file was left as it was.");
  }
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
