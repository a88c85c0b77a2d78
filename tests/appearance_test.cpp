// The appearance dialog and the font dialog on the View Allowed Group list,
// in the test process with the real plug-in and its templates: what a person
// sees and what Apply Settings leaves in UserSetting.ini. (How the dialog
// lays itself out, short on Background and grown by the keyword section for
// Text, the guide's pictures pin pixel for pixel.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/appearance/customized_appearance.h"
#include "listview/profile/appearance_line.h"
#include "platform/comctl/list_view.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/font_families.h"
#include "platform/input/input_driver.h"
#include "platform/kernel/module.h"
#include "platform/user/color_dialog.h"
#include "platform/user/combo_box.h"
#include "terminal/readout/list_text.h"
#include "terminal/readout/window_dump.h"
#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

using Strings = std::vector<std::string>;
using terminal::WindowText;

constexpr char kView[] = "View Allowed Group";
constexpr char kDialog[] = "Customize Appearance :rmsallowedgroups";
constexpr int kList = 20016;
constexpr int kKeywordList = 3208;
constexpr int kFontButton = 1695;

class Appearance : public SharedFolderRun {
 protected:
  void SetUp() override {
    SharedFolderRun::SetUp();
    char path[4096] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    m_program = path;
    // The plug-in keeps its settings beside the program it is loaded into.
    platform::SetMainProgramFileName((folder / "tarnterm").string());
    platform::SetInstalledFontFamilies(Strings{"Arial", "DejaVu Sans", "Verdana"});
    m_terminal.Init("admin", &m_terminal.Host().MainWindow());
    Do({R"(click "Allowed Groups" "View Group")"});
  }
  void TearDown() override {
    platform::SetModalResponder(nullptr);
    platform::SetColorResponder(nullptr);
    platform::SetInstalledFontFamilies(std::nullopt);
    platform::SetMainProgramFileName(m_program);
  }

  void Do(std::initializer_list<std::string> lines) { m_terminal.Do(lines); }
  // A script line acting on the dialog's control: `verb "dialog" rest`.
  static std::string On(const char* verb, const std::string& rest) {
    return std::string(verb) + " \"" + kDialog + "\" " + rest;
  }
  // Opens the dialog from the list's Customize command, as `dialog`.
  void Open() {
    Do({std::string("command \"") + kView + "\" 20016 4009"});
    platform::PumpMessages();
    dialog = terminal::FindTopLevelWindow(kDialog);
    ASSERT_NE(dialog, nullptr);
  }
  static Strings Keywords(HWND window) {
    Strings keywords;
    HWND list = ::GetDlgItem(window, kKeywordList);
    for (int row = 0; row < ::SendMessage(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
      keywords.push_back(terminal::ListCell(list, row, 0));
    }
    return keywords;
  }
  void AddKeywords(std::initializer_list<const char*> keywords) {
    for (const char* keyword : keywords) Do({On("type", "3207 \"") + keyword + "\"", On("click", "3216")});
  }
  // Text selected, the keyword column unlocked and set to Transaction Type.
  void ChooseKeywordColumn() {
    Do({On("select", "1694 \"Text\""), On("click", "\"...\""), On("select", "3205 \"Transaction Type\"")});
  }

  std::string m_program;
  PluginHarness m_terminal;
  HWND dialog = nullptr;
};

TEST_F(Appearance, KeywordsStayLongestFirstAndAnEmptyKeywordIsRefused) {
  ASSERT_NO_FATAL_FAILURE(Open());
  ChooseKeywordColumn();
  // The pointer resting on Add shows its tip, in the tool tip the dialog owns.
  ASSERT_TRUE(platform::input::MouseMove(::GetDlgItem(dialog, 3216), POINT{5, 5}));
  platform::input::Advance(10);
  HWND tip = ::GetTopWindow(nullptr);
  while (tip != nullptr && ::GetWindow(tip, GW_OWNER) != dialog) tip = ::GetWindow(tip, GW_HWNDNEXT);
  EXPECT_EQ(platform::ReadTooltip(tip).text, "Click to add a keyword to list");
  AddKeywords({"buy", "buyback", "b", "sell"});
  EXPECT_EQ(Keywords(dialog), (Strings{"buyback", "sell", "buy", "b"}));
  Do({On("click", "3216"), "expect-box \"Enter text to add a new keyword to list\""});
  // Opening, closing and leaving the column's list chooses no other column.
  Do({On("click", "3205"), On("key", "3205 Escape"), On("click", "3205"), On("key", "3205 Enter"),
      On("click", "3207")});
  EXPECT_EQ(Keywords(dialog).size(), 4u);
  // Delete removes the selected keyword, last row or first; another column empties the list.
  Do({On("select", "3208 \"b\""), On("key", "3208 Delete")});
  EXPECT_EQ(Keywords(dialog), (Strings{"buyback", "sell", "buy"}));
  Do({On("select", "3208 \"buyback\""), On("key", "3208 Delete")});
  EXPECT_EQ(Keywords(dialog), (Strings{"sell", "buy"}));
  Do({On("select", "3205 \"Symbol\"")});
  EXPECT_TRUE(Keywords(dialog).empty());
}

TEST_F(Appearance, AListThatTakesNoColoursStillTakesAFontAndCanBeClosed) {
  ASSERT_NE(m_terminal.View(), nullptr);
  // Colours of its own that it does not show.
  m_terminal.View()->List().m_bApplyColors = FALSE;
  m_terminal.View()->List().Appearance().clrBack = 0x404040;
  ASSERT_NO_FATAL_FAILURE(Open());
  for (const int id : {1694, 1026}) EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog, id))) << id;
  for (const int id : {kFontButton, 1696, IDCANCEL}) EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, id))) << id;

  Do({"answer-font \"DejaVu Sans\" 12", On("click", "1695"), On("click", "1696")});
  HWND list = ::GetDlgItem(terminal::FindTopLevelWindow(kView), kList);
  LOGFONT font{};
  ::GetObject(reinterpret_cast<HFONT>(::SendMessage(list, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontButton)), "DejaVu Sans (12)");
  EXPECT_EQ(static_cast<COLORREF>(::SendMessage(list, LVM_GETBKCOLOR, 0, 0)), 0u) << "the colours stay";
  EXPECT_EQ(static_cast<COLORREF>(::SendMessage(list, LVM_GETTEXTCOLOR, 0, 0)), 0x00FF00u);
  Do({On("click", "2")});
  EXPECT_FALSE(::IsWindowVisible(dialog));
}

// What the settings file could not give back is refused in the dialog with
// a box, before anything is applied or saved: a keyword too long for the
// appearance line, a keyword with a ",", the keyword that would make the
// line too long, and at Apply a font whose name would. The keywords that
// were taken come back whole from the file.
TEST_F(Appearance, WhatTheSettingsFileCouldNotGiveBackIsRefusedBeforeItIsSaved) {
  platform::SetInstalledFontFamilies(Strings{"Arial", "DejaVu Sans", "Verdana", "A Rather Long Family Name"});
  ASSERT_NO_FATAL_FAILURE(Open());
  ChooseKeywordColumn();
  const std::string tooLong(listview::kAppearanceValueMaxLength, 'x');
  Do({On("type", "3207 \"" + tooLong + "\""), On("click", "3216")});
  ASSERT_FALSE(m_terminal.Boxes().empty());
  EXPECT_EQ(m_terminal.Boxes().back(), kAppearanceTooLongMessage);
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, 3207)), tooLong) << "the keyword stays to be shortened";
  ::SetWindowText(::GetDlgItem(dialog, 3207), "");
  Do({On("type", "3207 \"buy,sell\""), On("click", "3216")});
  EXPECT_EQ(m_terminal.Boxes().back(), kAppearanceNotReadBackMessage);
  ::SetWindowText(::GetDlgItem(dialog, 3207), "");

  // Keywords of four letters until one is refused: every one before it
  // fits the line, and the refused one would not have.
  const size_t boxes = m_terminal.Boxes().size();
  int taken = 0;
  while (taken < 300 && m_terminal.Boxes().size() == boxes) {
    const std::string keyword = "k" + std::string(taken < 10 ? "00" : taken < 100 ? "0" : "") + std::to_string(taken);
    AddKeywords({keyword.c_str()});
    if (m_terminal.Boxes().size() == boxes) ++taken;
  }
  ASSERT_EQ(m_terminal.Boxes().size(), boxes + 1) << "300 keywords of four letters cannot all be saved";
  EXPECT_EQ(m_terminal.Boxes().back(), kAppearanceTooLongMessage);
  EXPECT_EQ(static_cast<int>(Keywords(dialog).size()), taken);
  Do({On("click", "1696")});
  const std::string key = "rmsallowedgroups-20016=";
  const std::string settings = Settings();
  const size_t start = settings.find(key) + key.size();
  const std::string line = settings.substr(start, settings.find("\r\n", start) - start);
  EXPECT_LE(line.size(), static_cast<size_t>(listview::kAppearanceValueMaxLength));
  EXPECT_GT(line.size() + std::string("k999,FF00,").size(), static_cast<size_t>(listview::kAppearanceValueMaxLength));
  // Every keyword taken, in the dialog's order, each with the text colour.
  std::string expected = "0,FF00,MS Shell Dlg 2,8,8,";
  for (const std::string& keyword : Keywords(dialog)) expected += keyword + ",FF00,";
  EXPECT_EQ(line, expected);

  // A font whose name makes the line too long: refused at Apply, and
  // neither the list nor the file takes it.
  Do({"answer-font \"A Rather Long Family Name\" 8", On("click", "1695"), On("click", "1696")});
  EXPECT_EQ(m_terminal.Boxes().back(), kAppearanceTooLongMessage);
  EXPECT_EQ(Settings(), settings);
  EXPECT_EQ(m_terminal.View()->List().Appearance().strFontFace, "MS Shell Dlg 2");
}

// What the font dialog shows when it opens, read by the modal responder.
struct FontDialogSeen {
  std::string face;
  std::string size;
  int sizes = 0;
};

TEST_F(Appearance, UnansweredChoosersChangeNothingAndTheFontDialogNamesTheFaceDrawnOrArial) {
  ASSERT_NO_FATAL_FAILURE(Open());
  // Apply without a keyword column writes only the colours and the font.
  Do({On("click", "1026"), On("click", "1695"), On("click", "1696")});
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontButton)), "DejaVu Sans (8)");
  EXPECT_NE(Settings().find("rmsallowedgroups-20016=0,FF00,MS Shell Dlg 2,8\r\n"), std::string::npos) << Settings();

  FontDialogSeen seen;
  platform::SetModalResponder([&seen](HWND font) {
    seen.face = WindowText(::GetDlgItem(font, 33076));
    seen.size = WindowText(::GetDlgItem(font, 33077));
    seen.sizes = static_cast<int>(::SendMessage(::GetDlgItem(font, 33077), CB_GETCOUNT, 0, 0));
    platform::input::Click(::GetDlgItem(font, IDOK));
  });
  // "MS Shell Dlg 2" is drawn with DejaVu Sans: the dialog names that face.
  Do({On("click", "1695")});
  EXPECT_EQ(seen.face, "DejaVu Sans");
  EXPECT_EQ(seen.size, "8");
  EXPECT_EQ(seen.sizes, 16);
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontButton)), "DejaVu Sans (8)") << "OK takes what was shown";

  // A face drawn with a family not installed here leaves the dialog's Arial.
  platform::SetInstalledFontFamilies(Strings{"Arial", "Verdana"});
  Do({On("click", "1695")});
  EXPECT_EQ(seen.face, "Arial");
  EXPECT_EQ(WindowText(::GetDlgItem(dialog, kFontButton)), "DejaVu Sans (8)") << "Arial is drawn as DejaVu Sans";
}

}  // namespace
}  // namespace e2e
