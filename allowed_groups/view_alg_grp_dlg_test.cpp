// The "View Allowed Group" dialog on the filter list: columns, layout,
// merging replies through the index exactly as the walk does.
#include "allowed_groups/view_alg_grp_dlg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "listview/profile/appearance_line.h"
#include "listview/testing/settings_dir.h"
#include "platform/user/message_box.h"
#include "platform/testing/reset_for_test.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7200});

class ViewDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetForTest();
    resources::RegisterModuleResources(kModule);
    AfxSetResourceHandle(kModule);
  }
  void TearDown() override {
    dialogs_.clear();
    platform::RemoveModuleResources(kModule);
    AfxSetResourceHandle(nullptr);
    platform::ResetForTest();
  }
  CViewAlgGrpDlg& Open() {
    dialogs_.push_back(std::make_unique<CViewAlgGrpDlg>());
    EXPECT_TRUE(dialogs_.back()->Create(IDD_VIEW_ALGGRP, nullptr));
    return *dialogs_.back();
  }
  static std::unique_ptr<AllowedGroupRecord> Group(const char* category, const char* code, double strike,
                                                   const char* side = "ALL") {
    auto record = std::make_unique<AllowedGroupRecord>();
    record->strCategory = category;
    record->strExchangeCode = code;
    record->strInstrument = "ALL";
    record->strSymbol = "ALL";
    record->strOptionType = "ALL";
    record->dStrike = strike;
    record->strExpiry = "ALL";
    record->strProduct = "ALL";
    record->strSide = side;
    return record;
  }
  static std::vector<std::string> Texts(const CViewAlgGrpDlg& dialog, int column) {
    std::vector<std::string> out;
    for (const AllowedGroupRecord* row : dialog.Rows()) out.emplace_back(CViewAlgGrpDlg::CellText(*row, column));
    return out;
  }

  listview::testing::SettingsDir settings_;
  std::vector<std::unique_ptr<CViewAlgGrpDlg>> dialogs_;
};

TEST_F(ViewDialog, NineColumnsUnderItsProfileAndTheLayoutOfTheClientArea) {
  CViewAlgGrpDlg& dialog = Open();
  CFilterListCtrl& list = dialog.List();
  EXPECT_EQ(list.m_strProfileName, "rmsallowedgroups");
  ASSERT_EQ(list.m_arrColumns.GetSize(), 9);
  EXPECT_STREQ(list.m_arrColumns[8].szName, "Transaction Type");
  EXPECT_EQ(list.m_arrColumns[1].nSortType, 2);
  EXPECT_EQ(list.m_arrColumns[6].nSortType, 3);
  int index = -1;
  EXPECT_TRUE(list.m_mapColumnIndex.Lookup("Strike Price", index));
  EXPECT_EQ(index, 5);
  EXPECT_TRUE(list.IsFilterMode());
  EXPECT_TRUE(list.IsNewestFirst());

  dialog.MoveWindow(0, 0, 600, 400);
  RECT client{};
  dialog.GetClientRect(&client);
  RECT rect{};
  list.GetWindowRect(&rect);
  dialog.ScreenToClient(&rect);
  EXPECT_EQ(rect.left, 5);
  EXPECT_EQ(rect.top, 55);
  EXPECT_EQ(rect.right - rect.left, client.right - 20);
  EXPECT_EQ(rect.bottom - rect.top, client.bottom - 100);
  ::GetWindowRect(::GetDlgItem(dialog.m_hWnd, IDC_DELETE_LISTED), &rect);
  dialog.ScreenToClient(&rect);
  EXPECT_EQ(rect.left, client.right / 2 - 40);
  EXPECT_EQ(rect.top, 8);
  EXPECT_EQ(rect.right - rect.left, 80);

  dialog.DestroyWindow();
  EXPECT_NE(settings_.Read().find("[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,80,1,1,80,2,2,80,"), std::string::npos);
}

TEST_F(ViewDialog, ClosingTheWindowSavesTheListsLayout) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.ShowWindow(SW_SHOW);
  dialog.List().SetColumnWidth(5, 123);
  EXPECT_EQ(settings_.Read().find("rmsallowedgroups"), std::string::npos) << "nothing saved while it shows";
  ::SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(::IsWindow(dialog.m_hWnd)) << "closing only hides it";
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_NE(settings_.Read().find("5,5,123"), std::string::npos) << settings_.Read();

  dialog.ShowWindow(SW_SHOW);
  dialog.List().SetColumnWidth(5, 77);
  dialog.ShowWindow(SW_HIDE);
  EXPECT_NE(settings_.Read().find("5,5,77"), std::string::npos) << settings_.Read();
}

TEST_F(ViewDialog, TheAppearanceLineIsReadUnderTheListsControlId) {
  sListAppearance look;
  look.clrBack = 0x202020;
  look.clrText = 0xFFFFFF;
  listview::WriteAppearanceLine("rmsallowedgroups", IDC_GROUP_LIST, look);
  CViewAlgGrpDlg& dialog = Open();
  EXPECT_TRUE(dialog.List().IsCustomized());
  EXPECT_EQ(dialog.List().GetBkColor(), 0x202020u);
}

TEST_F(ViewDialog, RepliesMergeIntoTheirGroupAndNewOnesGoOnTop) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  dialog.AddOrMerge(Group("HNI", "cde_fo", 452500000));
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  EXPECT_EQ(Texts(dialog, 5), (std::vector<std::string>{"45.25", "1250.50"}));
  dialog.AddOrMerge(Group("HNI", "nse_fo", -0.0));
  dialog.AddOrMerge(Group("HNI", "nse_fo", 0.0));
  EXPECT_EQ(dialog.Rows().size(), 3u) << "0 and -0 are one strike";
  dialog.AddOrMerge(Group("HNI", "nse_fo", std::nan("")));
  dialog.AddOrMerge(Group("HNI", "nse_fo", std::nan("")));
  EXPECT_EQ(dialog.Rows().size(), 5u) << "a strike that is no number equals nothing";
  dialog.AddOrMerge(Group("hni", "nse_fo", 125050));
  EXPECT_EQ(dialog.Rows().size(), 6u) << "texts compare with case";
  dialog.RemoveAllRows();
  EXPECT_TRUE(dialog.Rows().empty());
  dialog.AddOrMerge(Group("HNI", "nse_fo", 125050));
  EXPECT_EQ(dialog.Rows().size(), 1u) << "the index went with the rows";
}

TEST_F(ViewDialog, AFilterTypedInTheHeaderRefiltersTheRows) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.AddOrMerge(Group("HNI", "nse_fo", 100));
  dialog.AddOrMerge(Group("RETAIL", "nse_fo", 100));
  dialog.AddOrMerge(Group("HNI", "cde_fo", 100));
  dialog.List().SetHeaderFilterText(1, "cde~bse", 0);
  EXPECT_EQ(Texts(dialog, 0), (std::vector<std::string>{"HNI"}));
  dialog.List().ResetFilters();
  EXPECT_EQ(dialog.Rows().size(), 3u);
  // A reply that the filter hides is still merged into its row.
  dialog.List().SetHeaderFilterText(0, "RETAIL", 0);
  dialog.AddOrMerge(Group("HNI", "nse_fo", 100));
  dialog.AddOrMerge(Group("PRO", "nse_fo", 100));
  EXPECT_EQ(Texts(dialog, 0), (std::vector<std::string>{"RETAIL"}));
  dialog.List().ResetFilters();
  EXPECT_EQ(Texts(dialog, 0), (std::vector<std::string>{"PRO", "HNI", "RETAIL", "HNI"}));
}

TEST_F(ViewDialog, TheIndexAgreesWithTheWalkOnRandomReplies) {
  CViewAlgGrpDlg& indexed = Open();
  CViewAlgGrpDlg& walked = Open();
  std::mt19937 random(12);
  const char* categories[] = {"HNI", "RETAIL", "hni"};
  const char* codes[] = {"nse_fo", "cde_fo", "bse_cm"};
  const char* sides[] = {"ALL", "BUY", "SELL"};
  const double strikes[] = {0.0, -0.0, 100, 125050, std::numeric_limits<double>::quiet_NaN()};
  for (int i = 0; i < 2000; ++i) {
    const auto pick = [&](auto& values) { return values[random() % std::size(values)]; };
    const char* category = pick(categories);
    const char* code = pick(codes);
    const double strike = pick(strikes);
    const char* side = pick(sides);
    auto record = Group(category, code, strike, side);
    CString expiry;
    expiry.Format("%u/12/2026", static_cast<unsigned>(random() % 3 + 1));
    record->strExpiry = expiry;
    auto copy = std::make_unique<AllowedGroupRecord>(*record);
    indexed.AddOrMerge(std::move(record));
    walked.AddOrMergeByWalk(std::move(copy));
    if (i % 500 == 499) {
      // Delete some rows from both, the same way.
      for (CViewAlgGrpDlg* dialog : {&indexed, &walked}) {
        dialog->List().SetItemState(-1, 0, LVIS_SELECTED);
        dialog->List().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        dialog->List().SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
        platform::SetMessageBoxResponder([](const platform::MessageBoxRecord&) { return IDOK; });
        ::SendMessage(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DELETE_LISTED, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(dialog->m_hWnd, IDC_DELETE_LISTED)));
      }
    }
  }
  ASSERT_EQ(indexed.Rows().size(), walked.Rows().size());
  for (int column = 0; column < 9; ++column) EXPECT_EQ(Texts(indexed, column), Texts(walked, column)) << column;
  EXPECT_GT(indexed.Rows().size(), 50u);
}

TEST_F(ViewDialog, DeleteGroupWithoutASelectionSaysSoAndSendsNothing) {
  CViewAlgGrpDlg& dialog = Open();
  dialog.AddOrMerge(Group("HNI", "nse_fo", 100));
  platform::ClearMessageBoxLog();
  ::SendMessage(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_DELETE_LISTED, BN_CLICKED),
                reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, IDC_DELETE_LISTED)));
  ASSERT_EQ(platform::MessageBoxLog().size(), 1u);
  EXPECT_EQ(platform::MessageBoxLog()[0].text, "Please select a group to delete");
  EXPECT_EQ(platform::MessageBoxLog()[0].owner, dialog.m_hWnd);
  EXPECT_EQ(dialog.Rows().size(), 1u);
}

}  // namespace

namespace {

// The strike column writes prices as "%0.2f" would, for every kind of value
// (halves that round either way, huge, negative, zero of both signs, NaN).
TEST(StrikeText, ReadsAsPrintfWritesIt) {
  std::mt19937_64 random(7);
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
  std::uniform_real_distribution<double> price(-1e9, 1e9);
  for (int i = 0; i < 2000; ++i) strikes.push_back(price(random));
  for (int i = 0; i < 2000; ++i) strikes.push_back(static_cast<double>(random() % 100000000) + 0.5);
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
}

}  // namespace
