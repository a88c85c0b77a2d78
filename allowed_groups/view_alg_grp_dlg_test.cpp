// The "View Allowed Group" dialog on the filter list: columns, layout,
// merging replies through the index exactly as the walk does; and the
// Allowed Groups form in a program that lacks the terminal's exports.
#include "allowed_groups/view_alg_grp_dlg.h"

#include <gtest/gtest.h>

#include "allowed_groups/alw_grp.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "listview/testing/settings_dir.h"
#include "platform/comctl/tooltip.h"
#include "platform/input/input_driver.h"
#include "platform/user/message_box.h"
#include "platform/testing/reset_for_test.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7200});

class GroupWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    resources::RegisterModuleResources(kModule);
    AfxSetResourceHandle(kModule);
  }
  void TearDown() override {
    m_dialogs.clear();
    platform::RemoveModuleResources(kModule);
    AfxSetResourceHandle(nullptr);
    platform::ResetForTest();
  }
  CViewAlgGrpDlg& Open() {
    m_dialogs.push_back(std::make_unique<CViewAlgGrpDlg>());
    EXPECT_TRUE(m_dialogs.back()->Create(IDD_VIEW_ALGGRP, nullptr));
    return *m_dialogs.back();
  }
  static std::unique_ptr<AllowedGroupRecord> Group(const char* category, const char* code, double strike) {
    auto record = std::make_unique<AllowedGroupRecord>();
    record->strCategory = category;
    record->strExchangeCode = code;
    record->dStrike = strike;
    for (CGroupText* text : {&record->strInstrument, &record->strSymbol, &record->strOptionType, &record->strExpiry,
                             &record->strProduct, &record->strSide}) {
      *text = "ALL";
    }
    return record;
  }
  // "Delete Group" pressed, its question answered yes.
  static void PressDelete(CViewAlgGrpDlg& dialog) {
    ::SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DELETE_LISTED, BN_CLICKED),
                  reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDC_DELETE_LISTED)));
  }
  static std::vector<std::string> Items(HWND combo) {
    std::vector<std::string> items;
    for (int i = 0; i < ::SendMessage(combo, CB_GETCOUNT, 0, 0); ++i) {
      char text[64] = {};
      ::SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.emplace_back(text);
    }
    return items;
  }

  listview::testing::SettingsDir m_settings;
  std::vector<std::unique_ptr<CViewAlgGrpDlg>> m_dialogs;
};

TEST_F(GroupWindows, NineColumnsUnderItsProfileLaidOutInTheClientAreaAndSavedAsItCloses) {
  CViewAlgGrpDlg& dialog = Open();
  CFilterListCtrl& list = dialog.List();
  EXPECT_EQ(list.m_strProfileName, "rmsallowedgroups");
  ASSERT_EQ(list.m_arrColumns.GetSize(), 9);
  // Category and the exchange segment left, the rest right.
  const int formats[] = {LVCFMT_LEFT,  LVCFMT_LEFT,  LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT,
                         LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT};
  for (int c = 0; c < 9; ++c) {
    LVCOLUMN shown{};
    shown.mask = LVCF_FMT;
    ASSERT_TRUE(list.GetColumn(c, &shown));
    EXPECT_EQ(shown.fmt & LVCFMT_JUSTIFYMASK, formats[c]) << "the header aligns column " << c;
  }

  dialog.MoveWindow(0, 0, 600, 400);
  RECT client{};
  dialog.GetClientRect(&client);
  RECT rect{};
  list.GetWindowRect(&rect);
  dialog.ScreenToClient(&rect);
  EXPECT_EQ(rect.left, 5);
  EXPECT_EQ(rect.top, 55);
  EXPECT_EQ(client.right - rect.right, 5) << "the margin of the left";
  EXPECT_EQ(client.bottom - rect.bottom, 5) << "no empty band under the list";
  ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDC_DELETE_LISTED), &rect);
  dialog.ScreenToClient(&rect);
  EXPECT_NEAR(rect.left + rect.right, client.right, 1) << "the button centred above the list";

  // Closing the window saves the list's layout.
  dialog.ShowWindow(SW_SHOW);
  dialog.List().SetColumnWidth(5, 123);
  EXPECT_EQ(m_settings.Read().find("rmsallowedgroups"), std::string::npos) << "nothing saved while it shows";
  ::SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(::IsWindow(dialog.m_hWnd)) << "closing only hides it";
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_NE(m_settings.Read().find("5,5,123"), std::string::npos) << m_settings.Read();
}

// A merge repaints its row when the row is on the visible page, and only
// then. (The merge rule in all its cases: the random test below.)
TEST_F(GroupWindows, AMergeRepaintsItsRowOnlyOnTheVisiblePage) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  const HWND list = dialog.List().m_hWnd;
  ::ValidateRect(list, nullptr);
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE)) << "a merged visible row is drawn again";
  for (int i = 0; i < 60; ++i) dialog.AddOrMerge(Group("PAGE", "nse_fo", 100.0 * (i + 1)));
  ASSERT_EQ(dialog.Rows().size(), 61u);  // the list has taken the new rows, and repainted for them
  ::ValidateRect(list, nullptr);
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  EXPECT_FALSE(::GetUpdateRect(list, nullptr, FALSE)) << "a row scrolled off the page waits until it is shown";
}

TEST_F(GroupWindows, ACutOffCellShowsItsWholeTextInATipAndOneThatFitsShowsNone) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.ShowWindow(SW_SHOW);
  dialog.AddOrMerge(Group("PROPRIETARY TRADERS", "nse_fo", 123456789012300.0));
  CFilterListCtrl& list = dialog.List();
  // Rests the pointer on a cell of the row (by position) past the tip's delay.
  auto restOn = [&](int position) {
    CRect cell;
    EXPECT_TRUE(list.GetSubItemRect(0, position, LVIR_LABEL, cell));
    platform::input::MouseMove(list.m_hWnd, cell.CenterPoint());
    platform::input::Advance(2 * ::GetDoubleClickTime());
    const HWND tip = platform::TooltipFor(list.m_hWnd);
    const platform::TooltipState state = tip != nullptr ? platform::ReadTooltip(tip) : platform::TooltipState{};
    return state.shown ? state.text : std::string("(none)");
  };
  EXPECT_EQ(restOn(0), "PROPRIETARY TRADERS");
  EXPECT_EQ(restOn(5), "1234567890123.00") << "another cut-off cell of the same row tells its own text";
  EXPECT_EQ(restOn(1), "(none)") << "nse_fo fits its column";
  EXPECT_EQ(restOn(0), "PROPRIETARY TRADERS");
  // A text exactly as wide as its cell less the 3-pixel margin fits.
  CClientDC dc(&list);
  CRect cell;
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_LABEL, cell));
  list.SetColumnWidth(1, list.GetColumnWidth(1) - cell.Width() + dc.GetTextExtent("nse_fo").cx + 3);
  EXPECT_EQ(restOn(1), "(none)");
}

// A model of the view's rule, kept apart from the code it checks: rows in
// arrival order, a reply merging into the first row whose eight texts are
// equal (with case) and whose strike compares equal, the reply's values
// then replacing the row's; any other reply a new row, shown on top.
struct ModelRow {
  std::array<std::string, 8> texts;
  double strike;
};

ModelRow ModelOf(const AllowedGroupRecord& r) {
  return {
      {r.strCategory.GetString(), r.strExchangeCode.GetString(), r.strInstrument.GetString(), r.strSymbol.GetString(),
       r.strOptionType.GetString(), r.strExpiry.GetString(), r.strProduct.GetString(), r.strSide.GetString()},
      r.dStrike};
}

void ModelAddOrMerge(std::vector<ModelRow>& rows, const ModelRow& reply) {
  for (ModelRow& row : rows) {
    if (row.texts == reply.texts && row.strike == reply.strike) {
      row = reply;
      return;
    }
  }
  rows.push_back(reply);
}

// A row as text, with the strike's sign and NaN spelled out.
std::string Describe(const ModelRow& row) {
  std::string text;
  for (const std::string& field : row.texts) text += field + "|";
  char strike[64];
  std::snprintf(strike, sizeof strike, "%s%g", std::signbit(row.strike) ? "-" : "+", std::fabs(row.strike));
  return text + strike;
}

// For a stretch, a filter typed in the header hides every row (end to end:
// the list's pictures in scripts/guide_pictures.sh): the replies that come
// meanwhile still merge into their hidden rows or make new ones.
TEST_F(GroupWindows, RandomRepliesAndDeletesLeaveTheRowsTheMergeRuleGivesWhateverAFilterHides) {
  CViewAlgGrpDlg& dialog = Open();
  std::vector<ModelRow> model;  // arrival order; shown newest first
  std::mt19937 random(12);
  const std::vector<std::vector<const char*>> texts = {{"HNI", "hni"},     {"nse_fo", "cde_fo"}, {"ALL", "OPTIDX"},
                                                       {"NIFTY", "nifty"}, {"ALL", "CE"},        {"ALL", "1/12/2026"},
                                                       {"ALL", "NRML"},    {"BUY", "SELL"}};
  const double strikes[] = {0.0, -0.0, 125050, std::numeric_limits<double>::quiet_NaN()};
  // Some 800 groups: most come back, some after their row was deleted.
  for (int i = 0; i < 3000; ++i) {
    auto record = Group("", "", strikes[random() % std::size(strikes)]);
    CGroupText* fields[] = {&record->strCategory, &record->strExchangeCode, &record->strInstrument,
                            &record->strSymbol,   &record->strOptionType,   &record->strExpiry,
                            &record->strProduct,  &record->strSide};
    for (size_t f = 0; f < texts.size(); ++f) *fields[f] = texts[f][random() % texts[f].size()];
    ModelAddOrMerge(model, ModelOf(*record));
    dialog.AddOrMerge(std::move(record));
    if (i == 1000) dialog.List().SetHeaderFilterText(0, "RETAIL", 0);
    if (i == 1098) {
      EXPECT_TRUE(dialog.Rows().empty()) << "no category is RETAIL";
      dialog.List().ResetFilters();
    }
    if (i % 100 == 99) {
      // Rows 1 and 3 from the top go, in the model from the bottom of its
      // order; 3 first, so that 1 still names its row. Each selection passes
      // to the row that followed, now rows 1 and 2.
      dialog.List().SetItemState(-1, 0, LVIS_SELECTED);
      for (const int row : {1, 3}) dialog.List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
      PressDelete(dialog);
      for (const size_t top : {3u, 1u}) model.erase(model.end() - 1 - static_cast<std::ptrdiff_t>(top));
      EXPECT_EQ(dialog.List().GetSelectedCount(), 2u);
      EXPECT_EQ(dialog.List().GetNextItem(-1, LVNI_SELECTED), 1);
      EXPECT_EQ(dialog.List().GetNextItem(1, LVNI_SELECTED), 2);
    }
  }
  std::vector<std::string> expected;
  for (auto row = model.rbegin(); row != model.rend(); ++row) expected.push_back(Describe(*row));
  std::vector<std::string> shown;
  for (const AllowedGroupRecord* row : dialog.Rows()) shown.push_back(Describe(ModelOf(*row)));
  EXPECT_EQ(shown, expected);
  EXPECT_GT(shown.size(), 500u);
  EXPECT_LT(shown.size(), 1500u) << "many replies merge";
}

// Without the terminal's refill the form says so once per change and leaves
// every combo and the expiry choice as they were: no second "--ANY--".
TEST_F(GroupWindows, AScripChangeOnTheFormWithoutTheTerminalsRefillSaysSoAndChangesNothing) {
  CAlwGrp form;
  ASSERT_TRUE(form.Create(IDD_ALWGRP, nullptr));
  const HWND exchange = ::GetDlgItem(form.m_hWnd, IDC_EXCHANGE);
  ::SendMessage(exchange, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("BSE"));
  ::CheckDlgButton(form.m_hWnd, IDC_ALL_EXPIRY, BST_UNCHECKED);
  const std::vector<int> combos = {IDC_INSTRUMENT, IDC_SYMBOL, IDC_OPTION_TYPE, IDC_STRIKE};
  std::vector<std::vector<std::string>> before;
  for (const int id : combos) before.push_back(Items(::GetDlgItem(form.m_hWnd, id)));
  for (const int id : {IDC_EXCHANGE, IDC_INSTRUMENT, IDC_SYMBOL, IDC_OPTION_TYPE}) {
    SCOPED_TRACE(id);
    const HWND combo = ::GetDlgItem(form.m_hWnd, id);
    ::SendMessage(combo, CB_SETCURSEL, 0, 0);
    platform::ClearMessageBoxLog();
    ::SendMessage(form.m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
    EXPECT_EQ(platform::MessageBoxLog()[0].text, "Exe is not compatible with QLX");
    for (size_t i = 0; i < combos.size(); ++i) {
      EXPECT_EQ(Items(::GetDlgItem(form.m_hWnd, combos[i])), before[i]) << combos[i];
    }
    EXPECT_EQ(::IsDlgButtonChecked(form.m_hWnd, IDC_ALL_EXPIRY), BST_UNCHECKED) << "the expiry choice stays";
  }
  form.DestroyWindow();
}

// The strike column writes prices as "%0.2f" would, for every kind of value
// (halves that round either way, huge, negative, zero of both signs, NaN).
TEST(StrikeText, ReadsAsPrintfWritesIt) {
  std::vector<double> strikes{0.0,
                              -0.0,
                              125050,
                              452500000,
                              0.5,
                              1.5,
                              2.5,
                              0.125,
                              0.375,
                              -1.005,
                              1e300,
                              -1e300,
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::denorm_min()};
  for (const char* code : {"nse_fo", "cde_fo"}) {
    for (double strike : strikes) {
      AllowedGroupRecord record;
      record.strExchangeCode = code;
      record.dStrike = strike;
      char want[512];
      std::snprintf(want, sizeof want, "%0.2f", strike / (std::string(code) == "cde_fo" ? 10000000.0 : 100.0));
      ASSERT_EQ(std::string(CViewAlgGrpDlg::CellText(record, 5).GetString()), want) << strike << " " << code;
    }
  }
  EXPECT_EQ(CViewAlgGrpDlg::CellText({}, 9) + CViewAlgGrpDlg::CellText({}, -1), "") << "no column past either end";
}

}  // namespace
