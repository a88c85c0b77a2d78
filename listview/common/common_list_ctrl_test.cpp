// CCommonListCtrl in a dialog: stored layouts, sorting, copying, fitting,
// shortcuts, menus and export.
#include "listview/common/common_list_ctrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "listview/common/sort_images.h"
#include "listview/excel/excel_interface.h"
#include "listview/profile/appearance_line.h"
#include "listview/tabbed_log.h"
#include "listview/testing/list_test.h"
#include "platform/user/clipboard.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/user/message_box.h"
#include "platform/user/menu.h"

namespace {

class CommonList : public listview::testing::ListTest<CCommonListCtrl> {
 protected:
  static void Setup(CCommonListCtrl& list) {
    listview::testing::AddTestListColumns(list);
    list.ApplyColumnProfile();
  }
  CCommonListCtrl& Open() { return OpenWith(&CommonList::Setup); }
  void Close() { m_dialog->DestroyWindow(); }
  void AddRows(const std::vector<std::vector<const char*>>& rows) {
    CCommonListCtrl& list = TheList();
    for (const auto& row : rows) {
      const int at = list.InsertItem(list.GetItemCount(), row[0]);
      for (size_t c = 1; c < row.size(); ++c) list.SetItemText(at, static_cast<int>(c), row[c]);
      list.SetItemData(at, static_cast<DWORD_PTR>(1000 + at));
    }
  }
};

TEST_F(CommonList, ColumnsFollowTheRecordsOrAShorterProfileAndClosingStoresTheLayout) {
  Open();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Name", "Qty", "Price"}));
  EXPECT_FALSE(m_settings.Exists());
  Close();  // the layout stored is the one the header showed: its order and widths
  EXPECT_NE(m_settings.Read().find("[testlist]\r\nCOLUMNPROFILE=0,0,80,1,1,70,2,2,60\r\n"), std::string::npos);
  EXPECT_EQ(m_dialog->list.m_arrColumns.GetSize(), 0) << "the tables are emptied";
  // Fewer entries: the column the profile does not know is hidden.
  m_settings.Write("[testlist]\r\nCOLUMNPROFILE=0,0,120,1,1,60\r\n");
  Open();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Name", "Qty"}));
  EXPECT_EQ(Widths(), (std::vector<int>{120, 60}));
  Close();
  EXPECT_NE(m_settings.Read().find("COLUMNPROFILE=0,0,120,1,1,60,2,-1,0\r\n"), std::string::npos);
}

TEST_F(CommonList, HeaderClicksSortAscendingThenDescendingAndDataFollowsItsRow) {
  CCommonListCtrl& list = Open();
  AddRows({{"beta", "10", "2.5"}, {"alpha", "9", "NA"}, {"Gamma", "100", "-"}, {"delta", "9", "abc"}});
  EXPECT_EQ(list.GetHeaderCtrl()->GetImageList(), listview::SortImageList()) << "the header draws the sort images";
  ClickHeader(1);  // Qty, whole numbers
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"9", "9", "10", "100"}));
  EXPECT_EQ(HeaderImage(1), 0);
  // Each row's data (1000 + the row it was added as) moved with it.
  const std::vector<std::string> added = {"beta", "alpha", "Gamma", "delta"};
  for (int row = 0; row < 4; ++row) EXPECT_EQ(added.at(list.GetItemData(row) - 1000), list.GetItemText(row, 0)) << row;
  // An owner reading a row's data while the sort moves the rows reads the real data.
  std::vector<DWORD_PTR> seen;
  m_dialog->onNotify = [&](const NMHDR& n) {
    if (n.code == LVN_ITEMCHANGED) seen.push_back(list.GetItemData(reinterpret_cast<const NMLISTVIEW&>(n).iItem));
  };
  ClickHeader(1);
  m_dialog->onNotify = nullptr;
  EXPECT_EQ(seen.size(), 8u) << "each row's data changes twice";
  for (const DWORD_PTR data : seen) EXPECT_GE(data, 1000u);
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"100", "10", "9", "9"}));
  EXPECT_EQ(HeaderImage(1), 1);
  ClickHeader(0);  // Name, byte order
  EXPECT_EQ(Shown(0), (std::vector<std::string>{"Gamma", "alpha", "beta", "delta"}));
  EXPECT_EQ(HeaderImage(0), 0);
  EXPECT_EQ(HeaderImage(1), 2) << "the previous column shows no sort";
}

// Filling the empty area, a list paints black right of its columns (if they end short of the edge) and below its last
// row, or the header without rows. Owner-drawn, it hands each row to the window it notifies, here its parent, which
// hands it back (a window reflects a control's WM_DRAWITEM to the control): it asks no more.
TEST_F(CommonList, TheEmptyAreaBesideAndBelowTheRowsIsBlackAndRowsAreTheOwnersToDraw) {
  CCommonListCtrl& list = Open();
  CRect client, header, last;
  list.GetClientRect(&client);
  EXPECT_EQ(listview::testing::FillsToTheBottom(list.m_hWnd, RGB(0, 0, 0)), std::vector<CRect>{client}) << "not asked";
  list.m_bFillEmptyArea = TRUE;
  list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
  list.SetOwnerNotificationWindow(m_dialog.get());
  AddRows({{"a", "1", "2"}, {"b", "3", "4"}});
  list.GetHeaderCtrl()->GetClientRect(&header);
  ASSERT_TRUE(list.GetItemRect(1, &last, LVIR_BOUNDS));
  EXPECT_EQ(listview::testing::FillsToTheBottom(list.m_hWnd, RGB(0, 0, 0)),
            (std::vector<CRect>{CRect(last.right, client.top, client.right, client.bottom),
                                CRect(client.left, last.bottom, last.right, client.bottom)}));
  list.DeleteAllItems();
  list.SetColumnWidth(2, list.GetColumnWidth(2) + client.right - last.right);
  EXPECT_EQ(listview::testing::FillsToTheBottom(list.m_hWnd, RGB(0, 0, 0)),
            (std::vector<CRect>{CRect(client.left, header.bottom, client.right, client.bottom)}));
  EXPECT_EQ(m_dialog->drawRequests, 4) << "each of two rows asked by the control, then by the list";
}

TEST_F(CommonList, FitColumnsInItsThreeModes) {
  CCommonListCtrl& list = Open();
  AddRows({{"a", "1", "2"}});
  list.MoveWindow(0, 0, 301, 200);
  list.FitColumns(list_command::kFitToWindow);
  EXPECT_EQ(Widths(), (std::vector<int>{100, 100, 100})) << "301 pixels shared by three";
  list.FitColumns(list_command::kFitToData);
  EXPECT_EQ(Widths(), (std::vector<int>{50, 50, 50})) << "narrow data is widened to 50";
  list.SetItemText(0, 0, "a much longer text than fifty pixels");
  list.FitColumns(list_command::kFitToData);
  EXPECT_GT(Widths()[0], 100);
  list.FitColumns(list_command::kFitToHeader);
  EXPECT_EQ(Widths()[1], 50) << "a short caption is widened to 50";
}

TEST_F(CommonList, KeyboardShortcuts) {
  CCommonListCtrl& list = Open();
  AddRows({{"a", "1", "2"}, {"b", "3", "4"}});
  ASSERT_TRUE(platform::input::Focus(list.m_hWnd));
  platform::input::PressKey('A', platform::input::kControl);
  platform::input::PressKey('C', platform::input::kControl);
  EXPECT_EQ(platform::ClipboardText(), "a\t1\t2\t\r\nb\t3\t4\t\r\n") << "Ctrl+A selected both rows";
  const DWORD copies = GetClipboardSequenceNumber();
  platform::input::PressKey('Q', platform::input::kControl);
  EXPECT_EQ(GetClipboardSequenceNumber(), copies) << "Ctrl+Q is no shortcut: nothing is copied";
  const DWORD style = list.GetExtendedStyle();
  platform::input::KeyDown(VK_SHIFT);
  platform::input::PressKey('H');
  platform::input::PressKey('G');
  platform::input::KeyUp(VK_SHIFT);
  EXPECT_EQ(list.GetExtendedStyle(), style ^ LVS_EX_GRIDLINES) << "Shift+G toggles the grid lines, Shift+H not";
  // The Apps key asks for the list menu through the parent's reflection.
  platform::input::PressKey(VK_APPS);
  ASSERT_EQ(platform::MenuLog().size(), 1u);
  EXPECT_EQ(platform::MenuLog()[0].entries.back().text, "Copy to Clip Board\tCtrl+C");
}

// Only a list with an item tip callback has tips; a tip's text is asked of the
// owner only for a row that exists, not one deleted while its tip showed.
std::vector<int> g_tipRows;
int TipOfRow(CWnd*, int row, CString&, CCommonListCtrl*) {
  g_tipRows.push_back(row);
  return 1;
}
TEST_F(CommonList, ItemTipsNeedACallbackAndAskOnlyForRowsThatExist) {
  CCommonListCtrl& list = Open();
  AddRows({{"a", "1", "2"}, {"b", "3", "4"}});
  RECT row{};
  list.GetItemRect(1, &row, LVIR_BOUNDS);
  TOOLINFO tool{};
  EXPECT_EQ(list.OnToolHitTest(CPoint(row.left + 2, row.top + 2), &tool), -1) << "no callback, no tips";
  list.SetItemToolTipCallback(&TipOfRow);
  EXPECT_EQ(list.OnToolHitTest(CPoint(row.left + 2, row.top + 2), &tool), 2);
  for (const UINT_PTR id : {0, 3, 2}) {
    NMTTDISPINFOA info{};
    info.hdr = NMHDR{nullptr, id, TTN_NEEDTEXTA};
    list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  }
  EXPECT_EQ(g_tipRows, std::vector<int>{1});
}

// Shift+E exports the rows with their captions, and an empty list says so.
// A cell longer than a spreadsheet cell holds is cut there; the workbook
// still counts as generated, and the terminal's log names the cells cut
// (the first twenty, then how many more), as the sheet names them.
std::vector<std::string>& Logged() {
  static std::vector<std::string> logged;
  return logged;
}

TEST_F(CommonList, ShiftEExportsAndCellsLongerThanASpreadsheetCellHoldsAreCutAndNamedInTheLog) {
  Logged().clear();
  listview::SetTabbedLog([](const CString& text) { Logged().emplace_back(text.GetString()); });
  CCommonListCtrl& list = Open();
  ASSERT_TRUE(platform::input::Focus(list.m_hWnd));
  std::vector<WORD> heard;  // the keys the list tells its owner of
  m_dialog->onNotify = [&](const NMHDR& n) {
    if (n.code == LVN_KEYDOWN) heard.push_back(reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey);
  };
  platform::input::PressKey('E', platform::input::kShift);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), 'E'), 0) << "the export takes the key: the owner never sees it";
  const std::string fits(CExcelInterface::kMaxCellText, 'a');
  const std::string over(CExcelInterface::kMaxCellText + 1, 'b');
  AddRows({{"a", fits.c_str(), "1"}});
  for (int i = 0; i < 21; ++i) AddRows({{over.c_str(), "2", "3"}});
  AddRows({{"c", "4", over.c_str()}});
  platform::input::PressKey('E', platform::input::kShift);
  listview::SetTabbedLog(nullptr);
  ASSERT_EQ(platform::MessageBoxLog().size(), 2u);
  EXPECT_EQ(platform::MessageBoxLog()[1].text, "File is generated");
  // Its cells are read back by the end-to-end tests, its name by export_file's.
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(m_settings.File().parent_path() / "Export")) {
    files.push_back(entry.path());
  }
  ASSERT_EQ(files.size(), 1u);
  std::string named;
  for (int row = 3; row <= 22; ++row) named += (row == 3 ? "A" : ", A") + std::to_string(row);
  ASSERT_EQ(Logged().size(), 1u);
  EXPECT_EQ(Logged()[0], "Write to Excel: " + files[0].string() +
                             ": 22 cell(s) cut to the 32767 characters a spreadsheet cell holds: " + named +
                             " and 2 more");
  CExcelInterface noColumns(2, 0);  // rows, but no column shown
  noColumns.m_pfnCellProvider = [](void*, int, int, CString&, int&) { return 1; };
  EXPECT_EQ(noColumns.WriteToExcel(), 1) << "an empty sheet, not a failure";
  EXPECT_EQ(CExcelInterface::CellName(9, 701), "ZZ10");
  EXPECT_EQ(CExcelInterface::CellName(0, 702), "AAA1");
}

TEST_F(CommonList, TheStoredAppearanceGivesColoursAndFontAndAListThatTakesNoColoursTheFontOnly) {
  sListAppearance look;
  look.clrBack = 0xFFFFFF;
  look.clrText = 0x0000FF;
  look.strFontFace = "Arial";
  look.strFontSize = "9";  // not the size a font takes by default
  look.nKeywordColumn = 0;
  look.AddKeyword("buy", 0xFF);
  look.AddKeyword("sell", 0xFF0000);
  ASSERT_TRUE(listview::WriteAppearanceLine("testlist", listview::testing::kListId, look));
  look.AddKeyword("buy,", 0xFF);
  EXPECT_FALSE(listview::WriteAppearanceLine("testlist", listview::testing::kListId, look)) << "a \",\" splits it";
  for (const BOOL colors : {TRUE, FALSE}) {
    SCOPED_TRACE(colors ? "colours applied" : "colours not applied");
    // The profile name is known before the list window is attached.
    CCommonListCtrl& list = OpenWith(&CommonList::Setup, [colors](CCommonListCtrl& l) {
      l.m_strProfileName = "testlist";
      l.m_bApplyColors = colors;
    });
    EXPECT_EQ(list.GetBkColor(), colors ? 0xFFFFFFu : 0u);
    EXPECT_EQ(list.GetTextColor(), colors ? 0x0000FFu : 0x00FF00u);
    LOGFONT lf{};
    list.GetFont()->GetLogFont(&lf);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfHeight, -12) << "9 points at 96 dots per inch";
    ASSERT_TRUE(list.Appearance().HasKeywords());
    EXPECT_EQ(*list.Appearance().pKeywords, (std::vector<CString>{"buy", "sell"})) << "every keyword comes back";
    // Drawn by its owner, the list measures its rows in that font, not in the screen's.
    const auto rowHeight = [](HGDIOBJ font) {
      TEXTMETRIC tm{};
      const HDC screen = ::GetDC(nullptr);
      const HGDIOBJ was = font != nullptr ? ::SelectObject(screen, font) : nullptr;
      ::GetTextMetrics(screen, &tm);
      if (was != nullptr) ::SelectObject(screen, was);
      ::ReleaseDC(nullptr, screen);
      return tm.tmHeight + tm.tmExternalLeading + 1;
    };
    ASSERT_NE(rowHeight(list.GetFont()->m_hObject), rowHeight(nullptr));
    list.ModifyStyle(0, LVS_OWNERDRAWFIXED);
    list.InsertItem(0, "buy");
    list.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    CRect row;
    ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_EQ(row.Height(), rowHeight(list.GetFont()->m_hObject));
    // A new face and size keep the rest of the font the list has: bold italic stays so.
    CFont bold;
    ASSERT_TRUE(bold.CreateFont(-20, 0, 0, 0, FW_BOLD, TRUE, 0, 0, 0, 0, 0, 0, 0, "Arial"));
    list.SetFont(&bold);
    list.SetListFont("Courier New", "12");
    list.GetFont()->GetLogFont(&lf);
    EXPECT_STREQ(lf.lfFaceName, "Courier New");
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
  }
}

}  // namespace
