// The column profile dialog over a list in a dialog: opened from the header
// menu, driven by clicks and drags, applied to the list and saved.
#include "listview/reposition/reposition_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listview/common/common_list_ctrl.h"
#include "listview/filter/filter_list_ctrl.h"
#include "listview/testing/column_profile_dialog.h"
#include "listview/testing/list_test.h"
#include "platform/input/input_driver.h"
#include "platform/user/menu.h"
#include "platform/user/message_box.h"

namespace {

namespace input = platform::input;

class RepositionColumnsTest : public listview::testing::ListTest<CCommonListCtrl> {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    listview::testing::RegisterColumnProfileDialog();
  }

  // Five columns; a default layout of three hides two unless a profile shows them.
  CCommonListCtrl& OpenList(const char* profile = "columns", std::vector<CString> mandatory = {}) {
    return OpenWith([profile, mandatory](CCommonListCtrl& list) {
      listview::testing::AddColumns(
          list, profile,
          {sTarnColInfo("Name", 80, 0, sort_kind::kText), sTarnColInfo("Qty", 70, 1, sort_kind::kText),
           sTarnColInfo("Price", 60, 1, sort_kind::kText), sTarnColInfo("Side", 50, 1, sort_kind::kText),
           sTarnColInfo("Expiry", 90, 1, sort_kind::kText)});
      for (int position : {0, 1, 2}) list.m_arrDefaultLayout.Add(position);
      for (const CString& caption : mandatory) list.m_arrMandatoryColumns.Add(caption);
      list.ApplyColumnProfile();
    });
  }
  // "Reposition Columns" from the header's menu.
  HWND OpenProfileDialog(CCommonListCtrl& list) {
    platform::SetMenuResponder(platform::ChooseMenuEntry("Reposition Columns"));
    EXPECT_TRUE(input::RightClickAt(list.GetHeaderCtrl()->GetSafeHwnd(), POINT{10, 5}));
    platform::SetMenuResponder({});
    return list.RepositionDialog().GetSafeHwnd();
  }
  static CListCtrl& ListOf(HWND dialog, int id) {
    return *dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(dialog, id)));
  }
  static Strings Entries(HWND dialog, int id) {
    const CListCtrl& list = ListOf(dialog, id);
    Strings texts;
    for (int i = 0; i < list.GetItemCount(); ++i) texts.emplace_back(list.GetItemText(i, 0).GetString());
    return texts;
  }
  static POINT On(CListCtrl& list, int item) {
    CRect r;
    list.GetItemRect(item, &r, LVIR_LABEL);
    return POINT{r.left + 10, (r.top + r.bottom) / 2};
  }
  // Clicks the entries with these texts, Ctrl held after the first.
  static void Choose(HWND dialog, int id, const Strings& texts) {
    CListCtrl& list = ListOf(dialog, id);
    const Strings all = Entries(dialog, id);
    for (size_t k = 0; k < texts.size(); ++k) {
      const auto at = std::find(all.begin(), all.end(), texts[k]) - all.begin();
      ASSERT_LT(static_cast<size_t>(at), all.size()) << texts[k];
      input::ClickAt(list, On(list, static_cast<int>(at)), k == 0 ? input::kNone : input::kControl);
    }
  }
  static void Press(HWND dialog, int id) { ASSERT_TRUE(input::Click(::GetDlgItem(dialog, id))); }
  static void Drag(CListCtrl& from, int item, CListCtrl& to, POINT target) {
    const POINT start = On(from, item);
    ASSERT_TRUE(input::ButtonDown(from, start));
    input::MouseMove(from, POINT{start.x + 8, start.y + 6});
    input::MouseMove(to, target);
    input::ButtonUp(to, target);
  }
  std::string ProfileLine() const {
    const std::string text = m_settings.Read();
    const auto at = text.find("COLUMNPROFILE=");
    if (at == std::string::npos) return "";
    return text.substr(at + 14, text.find_first_of("\r\n", at) - at - 14);
  }
};

// Opened, the dialog shows the header in order and the hidden columns
// reversed; a column shown changes nothing until View rebuilds the header.
TEST_F(RepositionColumnsTest, ShowingAColumnChangesNothingUntilViewThenRebuildsTheHeader) {
  CCommonListCtrl& list = OpenList();
  const HWND dialog = OpenProfileDialog(list);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Qty", "Price"}));
  EXPECT_EQ(Entries(dialog, reposition_id::kAvailableList), (Strings{"Expiry", "Side"}));
  Choose(dialog, reposition_id::kAvailableList, {"Side"});
  Press(dialog, reposition_id::kShow);
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Qty", "Price", "Side"}));
  EXPECT_EQ(Entries(dialog, reposition_id::kAvailableList), (Strings{"Expiry"}));
  // With a shown entry chosen, a shown column goes in at its place, the top one's too.
  Choose(dialog, reposition_id::kShownList, {"Name"});
  Choose(dialog, reposition_id::kAvailableList, {"Expiry"});
  Press(dialog, reposition_id::kShow);
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Expiry", "Name", "Qty", "Price", "Side"}));
  EXPECT_EQ(Captions(), (Strings{"Name", "Qty", "Price"})) << "nothing reaches the list before View";

  Press(dialog, reposition_id::kView);
  EXPECT_EQ(Captions(), (Strings{"Expiry", "Name", "Qty", "Price", "Side"}));
  EXPECT_FALSE(::IsWindowVisible(dialog));
  EXPECT_FALSE(m_settings.Exists()) << "View does not save";
}

TEST_F(RepositionColumnsTest, AMandatoryColumnIsRefusedWhileTheOthersMoveAndSaveStoresTheLayout) {
  CCommonListCtrl& list = OpenList("columns", {"Name"});
  const HWND dialog = OpenProfileDialog(list);
  platform::ClearMessageBoxLog();
  // A removed column goes in at the hidden list's selection mark, here its top entry.
  Choose(dialog, reposition_id::kAvailableList, {"Expiry"});
  Choose(dialog, reposition_id::kShownList, {"Name", "Qty"});
  Press(dialog, reposition_id::kHide);
  const auto boxes = platform::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Name cannot be removed");
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Price"}));
  EXPECT_EQ(Entries(dialog, reposition_id::kAvailableList), (Strings{"Qty", "Expiry", "Side"}));

  Press(dialog, reposition_id::kSave);
  EXPECT_EQ(Captions(), (Strings{"Name", "Price"}));
  EXPECT_EQ(ProfileLine(), "0,0,80,1,-1,0,2,1,60,3,-1,0,4,-1,0");
}

TEST_F(RepositionColumnsTest, DraggingReordersTheShownColumnsButNeverHidesAMandatoryOne) {
  CCommonListCtrl& list = OpenList("columns", {"Price", "Side"});
  const HWND dialog = OpenProfileDialog(list);
  CListCtrl& shown = ListOf(dialog, reposition_id::kShownList);
  CListCtrl& available = ListOf(dialog, reposition_id::kAvailableList);
  Choose(dialog, reposition_id::kShownList, {"Name"});
  Drag(shown, 0, shown, On(shown, 2));
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Qty", "Price", "Name"}));

  platform::ClearMessageBoxLog();
  Choose(dialog, reposition_id::kShownList, {"Price"});
  Drag(shown, 1, available, On(available, 0));
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Price cannot be removed");
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Qty", "Price", "Name"}));

  // A hidden column comes in by dragging too, a mandatory one as well.
  Choose(dialog, reposition_id::kAvailableList, {"Side"});
  Drag(available, 1, shown, On(shown, 0));
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Side", "Qty", "Price", "Name"}));
  Choose(dialog, reposition_id::kShownList, {"Side"});
  Drag(shown, 0, available, On(available, 0));  // the top entry is refused as well
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Side", "Qty", "Price", "Name"}));

  Press(dialog, reposition_id::kSave);
  EXPECT_EQ(Captions(), (Strings{"Side", "Qty", "Price", "Name"}));
  EXPECT_EQ(ProfileLine(), "0,3,80,1,1,70,2,2,60,3,0,50,4,-1,0");
}

TEST_F(RepositionColumnsTest, ReopeningShowsTheLayoutTheListHasAndAStoredOneAfterARestart) {
  CCommonListCtrl& list = OpenList();
  HWND dialog = OpenProfileDialog(list);
  Choose(dialog, reposition_id::kShownList, {"Name"});
  char sortField[16] = "";
  ::GetDlgItemText(dialog, reposition_id::kSortField, sortField, sizeof sortField);
  EXPECT_STREQ(sortField, "Name") << "a click names the column in the sort field, the first one too";
  Choose(dialog, reposition_id::kShownList, {"Qty"});
  Press(dialog, reposition_id::kHide);
  Choose(dialog, reposition_id::kAvailableList, {"Expiry"});
  ::SendMessage(dialog, WM_NOTIFY, reposition_id::kAvailableList, 0);  // a stray notification changes nothing
  input::DoubleClickAt(ListOf(dialog, reposition_id::kAvailableList),
                       On(ListOf(dialog, reposition_id::kAvailableList), 0));
  // It goes in at the shown list's selection mark: where Qty was clicked.
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Expiry", "Price"}));
  Press(dialog, reposition_id::kSave);

  dialog = OpenProfileDialog(list);
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Expiry", "Price"}));
  EXPECT_EQ(Entries(dialog, reposition_id::kAvailableList), (Strings{"Side", "Qty"}));
  Press(dialog, IDCANCEL);

  m_dialog.reset();
  CCommonListCtrl& again = OpenList();
  EXPECT_EQ(Captions(), (Strings{"Name", "Expiry", "Price"}));
  // The dialog reads the restarted list's header, and a caption the owner wrote on it up to 255 characters.
  std::string renamed(300, 'w');
  HDITEM item;
  item.mask = HDI_TEXT;
  item.pszText = renamed.data();
  ASSERT_TRUE(again.GetHeaderCtrl()->SetItem(2, &item));
  dialog = OpenProfileDialog(again);
  EXPECT_EQ(Entries(dialog, reposition_id::kShownList), (Strings{"Name", "Expiry", std::string(255, 'w')}));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, reposition_id::kSort))) << "no sort controls for this list";
  Press(dialog, reposition_id::kView);
  EXPECT_EQ(Captions(), (Strings{"Name", "Expiry"}));
}

// The dialog sees only what a list shows it; a filter list drops its filters
// when View rearranges its columns, as the filters named the old arrangement.
TEST_F(RepositionColumnsTest, ViewDropsTheFiltersOfAFilterList) {
  listview::testing::CListDialog<CFilterListCtrl> owner(listview::testing::FilterListOfRows<CFilterListCtrl>(
      "filtered", {sTarnColInfo("Name", 60, 0, sort_kind::kText), sTarnColInfo("Qty", 60, 0, sort_kind::kText),
                   sTarnColInfo("Price", 60, 0, sort_kind::kText)}));
  ASSERT_TRUE(owner.Create(listview::testing::kListDialogId));
  CFilterListCtrl& list = owner.list;
  list.SetColumnFilter(1, "5");
  ASSERT_EQ(list.FilteredColumns(), std::vector<int>{1});
  const HWND dialog = OpenProfileDialog(list);
  ASSERT_NE(dialog, nullptr);
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(reposition_id::kView, BN_CLICKED), 0);
  EXPECT_TRUE(list.FilteredColumns().empty());
}

}  // namespace
