// CFilterListCtrl in a dialog: the store and its view, filters, sorting in
// filter mode, the filter row and its keys, computed columns.
#include "listview/filter/filter_list_ctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/filter/computed_cell.h"
#include "listview/testing/list_test.h"
#include "platform/input/input_driver.h"
#include "platform/kernel/module.h"
#include "platform/window/message_queue.h"
#include "platform/user/message_box.h"
#include "platform/user/menu.h"

namespace {

using Dialog = listview::testing::CListDialog<CFilterListCtrl>;

// The theme library's SetWindowTheme, as a themed system would offer it.
HWND g_unthemed = nullptr;
std::wstring g_themeNames;
long RecordSetWindowTheme(HWND window, const wchar_t* application, const wchar_t* classes) {
  g_unthemed = window;
  g_themeNames = std::wstring(application) + L"|" + classes;
  return 0;
}
constexpr auto& FormatRow = listview::testing::FormatTextRow;

// Side, Qty, Price, Kind, the newest row on top.
class FilterList : public listview::testing::ListTest<CFilterListCtrl> {
 protected:
  FilterList() : ListTest(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS) {}
  static void Setup(CFilterListCtrl& list) {
    listview::testing::AddColumns(
        list, "filtertest",
        {sTarnColInfo("Side", 60, 0, sort_kind::kText), sTarnColInfo("Qty", 60, 1, sort_kind::kInteger),
         sTarnColInfo("Price", 60, 1, sort_kind::kFloat), sTarnColInfo("Kind", 60, 0, sort_kind::kText8)});
    list.ApplyColumnProfile();
    list.EnableFilterMode(true);
    list.SetNewestFirst(true);
  }
  CFilterListCtrl& Open() {
    return OpenWith([](CFilterListCtrl& list) {
      Setup(list);
      list.SetDataDescriptor(&FormatRow);
    });
  }
  void AddSample() {
    AddRow({"buy", "10", "100.5", "NIFTY FUT"});
    AddRow({"Sell", "3", "4.5", "BANKFUT"});
    AddRow({"hold", "200", "", "FUTIDX"});
    AddRow({"BUYER", "7", "-", "opt"});
  }
};

// An owner whose member formatter marks each cell with the owner's name.
class NamedOwner : public Dialog {
 public:
  NamedOwner(std::string name, std::function<void(CFilterListCtrl&)> setup)
      : Dialog(std::move(setup)), m_name(std::move(name)) {}
  int Format(DWORD_PTR data, int column, CString& text, COLORREF& textColor, COLORREF& backColor, int& image) {
    if (!FormatRow(data, column, text, textColor, backColor, image)) return 0;
    text = (m_name + ":" + text.GetString()).c_str();
    return 1;
  }

 private:
  std::string m_name;
};

TEST_F(FilterList, AMemberFormatterRunsOnTheNotificationWindowElseOnTheParent) {
  m_dialog = std::make_unique<NamedOwner>("parent", [](CFilterListCtrl& list) {
    Setup(list);
    list.SetDataDescriptor(&NamedOwner::Format);
  });
  ASSERT_TRUE(m_dialog->Create(listview::testing::kListDialogId));
  CFilterListCtrl& list = TheList();
  AddRow({"buy", "10", "100.5", "NIFTY FUT"});
  EXPECT_EQ(Shown(0), Strings{"parent:buy"});
  NamedOwner other("other", {});
  list.SetOwnerNotificationWindow(&other);
  EXPECT_EQ(Shown(0), Strings{"other:buy"});
}

// Clearing every box in the header drops every filter, also one an owner
// set before it gave the list its formatter: none may stay in force unseen.
TEST_F(FilterList, ClearingTheHeadersFiltersDropsThemAllWithOrWithoutAFormatter) {
  CFilterListCtrl& list = OpenWith(&FilterList::Setup);
  list.SetColumnFilter(0, "buy");
  list.SetColumnFilter(1, "<5");
  ASSERT_TRUE(list.GetHeaderCtrl()->ClearAllFilters());
  EXPECT_TRUE(list.FilteredColumns().empty());
  list.SetDataDescriptor(&FormatRow);
  AddSample();
  list.SetColumnFilter(0, "buy");
  list.SetColumnFilter(static_cast<int>(list.m_arrColumns.GetSize()), "x");  // no such column: no filter
  // A late notification about a column the header no longer has keeps them.
  CHeaderCtrl* header = list.GetHeaderCtrl();
  NMHEADER late{};
  late.hdr = NMHDR{header->GetSafeHwnd(), static_cast<UINT_PTR>(header->GetDlgCtrlID()), HDN_FILTERCHANGE};
  late.iItem = header->GetItemCount();
  list.SendMessage(WM_NOTIFY, late.hdr.idFrom, reinterpret_cast<LPARAM>(&late));
  EXPECT_EQ(list.FilteredColumns(), std::vector<int>{0});
  ASSERT_TRUE(header->ClearAllFilters());
  list.Refilter();
  EXPECT_EQ(Shown(0), (Strings{"BUYER", "hold", "Sell", "buy"}));
}

TEST_F(FilterList, MatchFilterExactlyFromTheHeaderMenu) {
  CFilterListCtrl& list = Open();
  AddSample();
  platform::SetMenuResponder(platform::ChooseMenuEntry("Match Filter Exactly"));
  list.SetHeaderFilterText(0, "BUY", 0);
  ASSERT_TRUE(platform::input::RightClickAt(list.GetHeaderCtrl()->GetSafeHwnd(), POINT{10, 5}));
  platform::PumpMessages();
  EXPECT_EQ(platform::MenuLog().at(0).entries.at(6).flags & MF_CHECKED, 0u);
  EXPECT_TRUE(list.IsExactMatch());
  list.Refilter();
  EXPECT_EQ(Shown(0), (Strings{"buy"})) << "only cells equal to buy, in any case";
  platform::SetMenuResponder({});
  list.ShowListMenu();
  ASSERT_TRUE(platform::input::RightClickAt(list.GetHeaderCtrl()->GetSafeHwnd(), POINT{10, 5}));
  EXPECT_EQ(platform::MenuLog().back().entries[6].flags & MF_CHECKED, MF_CHECKED);
}

// New data for a row on the page repaints the row, the top one too, and the
// row cut by the bottom edge; the one below that does not show.
TEST_F(FilterList, NewDataForAShownRowRepaintsIt) {
  CFilterListCtrl& list = Open();
  while (list.GetItemCount() < list.GetCountPerPage() + 4) AddSample();
  const int partial = list.GetTopIndex() + list.GetCountPerPage();
  RECT client{}, cut{};
  list.GetClientRect(&client);
  list.GetItemRect(partial, &cut, LVIR_BOUNDS);
  ASSERT_LT(cut.top, client.bottom) << "a row shows in part";
  for (const int row : {0, 3, partial, partial + 1}) {
    ::ValidateRect(list.m_hWnd, nullptr);
    ASSERT_TRUE(list.SetItemData(row, RowData(1)));
    EXPECT_EQ(::GetUpdateRect(list.m_hWnd, nullptr, FALSE), row != partial + 1) << row;
    EXPECT_EQ(Shown(0)[static_cast<size_t>(row)], "Sell") << row;
  }
  // A row deleted brings the newest into sight, unless the list has the focus: its user reads where they are.
  for (const bool focused : {false, true}) {
    ::SetFocus(focused ? list.m_hWnd : nullptr);
    list.EnsureVisible(list.GetItemCount() - 1, FALSE);
    ASSERT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(list.GetTopIndex() == 0, !focused);
  }
  // Data for a row past the last goes to the last entry, which shows it until the next refilter.
  list.SetColumnFilter(0, "b");
  list.Refilter();
  const int passing = list.GetItemCount();
  ASSERT_TRUE(list.SetItemData(passing, RowData(1)));
  EXPECT_EQ(list.GetItemCount(), passing);
}

TEST_F(FilterList, AClickOnTheCheckBoxFlipsTheRowsOwnCheck) {
  CFilterListCtrl& list = Open();
  AddSample();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
  for (const int clicked : {1, 0}) {
    RECT row{};
    list.GetItemRect(clicked, &row, LVIR_BOUNDS);
    ASSERT_TRUE(platform::input::ClickAt(list.m_hWnd, POINT{row.left + 4, (row.top + row.bottom) / 2}));
  }
  const auto checks = [&] {
    std::string shown;
    for (int row = 0; row < list.GetItemCount(); ++row) shown += list.GetCheck(row) ? '1' : '0';
    return shown;
  };
  EXPECT_EQ(checks(), "1100");
  list.SetNewestFirst(false);
  EXPECT_EQ(checks(), "0011") << "the checks stay with their rows when the view changes";
}

// A text asked for by a notification of any sender fits its buffer: none
// written into no buffer or one of no characters, and a short one ends cut.
TEST_F(FilterList, TheDisplayTextFitsTheBufferItIsAskedInto) {
  CFilterListCtrl& list = Open();
  AddSample();
  const auto ask = [&](char* buffer, int size) {
    NMLVDISPINFO info{};
    info.hdr = NMHDR{list.m_hWnd, static_cast<UINT_PTR>(list.GetDlgCtrlID()), LVN_GETDISPINFO};
    info.item.mask = LVIF_TEXT;
    info.item.iItem = 3;  // "buy"
    info.item.pszText = buffer;
    info.item.cchTextMax = size;
    m_dialog->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  };
  ask(nullptr, 4);
  const std::pair<int, std::string> cases[] = {
      {0, std::string("xxxx", 4)}, {1, std::string("\0xxx", 4)}, {3, std::string("bu\0x", 4)}};
  for (const auto& [size, expected] : cases) {
    std::string buffer = "xxxx";
    ask(buffer.data(), size);
    EXPECT_EQ(buffer, expected) << size;
  }
  EXPECT_EQ(list.GetItemText(3, 9), "") << "a sub-item past the last column has no text";
}

TEST_F(FilterList, CtrlFTogglesTheFilterRowAndTabMovesBetweenBoxes) {
  CFilterListCtrl& list = Open();
  const HWND header = list.GetHeaderCtrl()->GetSafeHwnd();
  ASSERT_TRUE(::GetWindowLong(header, GWL_STYLE) & HDS_FILTERBAR);
  ASSERT_TRUE(platform::input::Focus(list.m_hWnd));
  platform::input::PressKey('F', platform::input::kControl);
  EXPECT_FALSE(::GetWindowLong(header, GWL_STYLE) & HDS_FILTERBAR);
  EXPECT_FALSE(list.IsFilterRowShown());
  EXPECT_EQ(list.Appearance().bFilterRow, 1) << "the list keeps its keyword colouring";

  platform::input::PressKey('F', platform::input::kControl);
  platform::PumpMessages();  // the first box is opened for editing
  EXPECT_TRUE(list.IsFilterRowShown());
  HWND edit = ::GetFocus();
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(::GetParent(edit), header);
  RECT first{};
  ::GetWindowRect(edit, &first);
  // TAB and Shift+TAB move between the boxes; reaching one scrolls the list
  // (a column beyond) only when a pixel of its column is out of view.
  RECT client{}, box{};
  list.GetClientRect(&client);
  for (const int over : {0, 1}) {
    list.SetColumnWidth(2, client.right - 120 + over);
    platform::input::PressKey(VK_TAB);
    platform::input::PressKey(VK_TAB);
    EXPECT_EQ(list.GetScrollPos(SB_HORZ) > 0, over == 1) << over << " pixel(s) past the edge";
    for (int next = 3; next <= 5; ++next)
      platform::input::PressKey(VK_TAB);  // the last, the first (scrolled back), the second
    platform::input::PressKey(VK_TAB, platform::input::kShift);
    ::GetWindowRect(::GetFocus(), &box);
    EXPECT_EQ(box.left, first.left) << "Shift+TAB went back to the first box, in view";
  }
}

// A formula that fails for every row ("% 0") says so once per refresh of
// the list, not once per cell: 2,000 modal boxes would lock a person out.
TEST_F(FilterList, AFailingFormulaShowsOneBoxPerRefresh) {
  m_settings.Write("[filtertest]\r\nCOLUMNPROFILE=0,0,60,1,1,60,2,2,60,3,3,60,4,4,80,Mod# \"1\" % 0#qty % 0\r\n");
  CFilterListCtrl& list = Open();
  for (int i = 0; i < 2000; ++i) AddRow({"buy", std::to_string(i), "1", "x"});
  const auto boxes = [] { return platform::MessageBoxLog().size(); };
  const Strings cells = Shown(4);
  ASSERT_EQ(cells.size(), 2000u);
  EXPECT_EQ(cells[0], "1999") << "the cell keeps the referenced text";
  list.UpdateWindow();
  EXPECT_EQ(boxes(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Invalid Expression,while calculating value");
  Shown(4);
  EXPECT_EQ(boxes(), 1u) << "reading the rows again is no refresh";
  list.Refilter();
  Shown(4);
  EXPECT_EQ(boxes(), 2u) << "a refresh may say it again, once";
}

TEST_F(FilterList, LeavingFilterModeDropsTheFiltersAndEveryRowAndEnteringItUnthemesTheHeader) {
  CFilterListCtrl& list = Open();
  AddSample();
  list.SetColumnFilter(0, "b");
  list.Refilter();
  ASSERT_EQ(list.GetItemCount(), 2);
  list.EnableFilterMode(false);
  EXPECT_FALSE(list.IsFilterMode());
  EXPECT_EQ(list.StoreSize(), 0);
  EXPECT_EQ(::SendMessage(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0), 0) << "no empty rows left behind";
  EXPECT_FALSE(::GetWindowLong(list.GetHeaderCtrl()->GetSafeHwnd(), GWL_STYLE) & HDS_FILTERBAR);

  // Back in filter mode no old filter hides a new row, and where the theme
  // library can, the header (its filter boxes) is drawn unthemed.
  platform::AddBuiltinExport("UxTheme.dll", "SetWindowTheme", reinterpret_cast<FARPROC>(&RecordSetWindowTheme));
  list.EnableFilterMode(true);
  EXPECT_EQ(g_unthemed, list.GetHeaderCtrl()->GetSafeHwnd());
  EXPECT_TRUE(g_themeNames == L"|") << "empty names: classic drawing";
  EXPECT_EQ(GetModuleHandleA("UxTheme.dll"), nullptr) << "the library is freed after the call";
  AddRow({"sell", "1", "1", "x"});
  EXPECT_EQ(Shown(0), Strings{"sell"});
}

TEST(ComputedCell, FailuresKeepTheLastReferencedCell) {
  const listview::CellSource cells = [](int column, CString& text) {
    if (column > 2) return false;
    text = column == 0 ? "12" : (column == 1 ? "abc" : "5");
    return true;
  };
  CString text = "unchanged";
  EXPECT_FALSE(listview::ComputeCell(" \"7\"+1", cells, text));
  EXPECT_EQ(text, "unchanged");
  EXPECT_TRUE(listview::ComputeCell("/1-(\"2\"+)", cells, text));
  EXPECT_EQ(text, "Divided by ZERO error") << "the divisor from just after the slash: unbalanced, it stops early at 0";
  EXPECT_TRUE(listview::ComputeCell(" \"0\" \"2\"", cells, text));
  EXPECT_EQ(text, "5") << "no single value: the last referenced cell";
  EXPECT_TRUE(listview::ComputeCell(" \"0\"+\"1\"", cells, text));
  EXPECT_EQ(text, "12.00") << "non-numeric text enters as 0";
}

}  // namespace
