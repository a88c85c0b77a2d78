// The fixture of the list framework's tests: one list of class List in the
// dialog of list_dialog.h, over a settings folder of its own, with the rows
// of texts it shows kept alive for the list's life.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "listview/col_info.h"
#include "listview/testing/list_dialog.h"
#include "listview/testing/settings_dir.h"
#include "listview/testing/text_rows.h"
#include "platform/gdi/display_list.h"
#include "platform/testing/list_text.h"
#include "platform/testing/reset_for_test.h"
#include "platform/window/message_queue.h"

namespace listview::testing {

// What `window` paints when painted afresh, read from its display list.
inline platform::DrawOps Paint(HWND window) {
  platform::ClearDisplayList(window);
  ::InvalidateRect(window, nullptr, TRUE);
  ::UpdateWindow(window);
  platform::PumpMessages();
  return platform::WindowDisplayList(window);
}

// The rectangles `window` fills in `color` down to its client area's bottom,
// in the order it fills them: what a list paints beside and below its rows.
inline std::vector<CRect> FillsToTheBottom(HWND window, COLORREF color) {
  RECT client{};
  ::GetClientRect(window, &client);
  std::vector<CRect> fills;
  for (const auto& op : platform::OpsOfKind(Paint(window), platform::DrawKind::FillRect)) {
    if (op.color == color && op.rect.bottom == client.bottom) fills.push_back(CRect(op.rect));
  }
  return fills;
}

// Names the list's profile and appends `columns` to its records, each under
// its caption in the caption map, as an owner does before the header is built.
template <class List>
void AddColumns(List& list, const char* profile, const std::vector<sTarnColInfo>& columns) {
  list.m_strProfileName = profile;
  for (const sTarnColInfo& column : columns) {
    list.m_mapColumnIndex.SetAt(column.szName, static_cast<int>(list.m_arrColumns.GetSize()));
    list.m_arrColumns.Add(column);
  }
}

// The columns of the common lists' tests, under the profile "testlist":
// Name (text), Qty (whole numbers) and Price (floating point).
template <class List>
void AddTestListColumns(List& list) {
  AddColumns(list, "testlist",
             {sTarnColInfo("Name", 80, 0, sort_kind::kText), sTarnColInfo("Qty", 70, 1, sort_kind::kInteger),
              sTarnColInfo("Price", 60, 1, sort_kind::kFloat)});
}

// An owner's set-up of a filter list of TextRow rows: `columns` under
// `profile`, filter mode on and, when asked, the newest row on top.
template <class List>
std::function<void(List&)> FilterListOfRows(const char* profile, std::vector<sTarnColInfo> columns,
                                            bool newestFirst = false) {
  return [profile, columns, newestFirst](List& list) {
    AddColumns(list, profile, columns);
    list.ApplyColumnProfile();
    list.EnableFilterMode(true);
    if (newestFirst) list.SetNewestFirst(true);
    list.SetDataDescriptor(&FormatTextRow);
  };
}

template <class List>
class ListTest : public ::testing::Test {
 protected:
  using Dialog = CListDialog<List>;
  using Strings = std::vector<std::string>;

  explicit ListTest(DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS) : m_listStyle(listStyle) {}
  void SetUp() override {
    platform::ResetForTest();
    RegisterListDialog(m_listStyle);
  }
  void TearDown() override {
    m_dialog.reset();
    UnregisterListDialog();
    platform::ResetForTest();
  }

  // Creates the dialog; `beforeAttach` runs on the list before its window
  // exists (what it reads when attached), `setup` in the dialog's
  // initialisation, as an owner's does.
  List& OpenWith(std::function<void(List&)> setup, std::function<void(List&)> beforeAttach = {}) {
    m_dialog = std::make_unique<Dialog>(std::move(setup));
    if (beforeAttach) beforeAttach(m_dialog->list);
    EXPECT_TRUE(m_dialog->Create(kListDialogId));
    return m_dialog->list;
  }
  List& TheList() { return m_dialog->list; }
  // Closing the list's window saves its layout, as at the end of a run.
  void Close() { m_dialog.reset(); }
  Strings Captions() { return HeaderCaptions(TheList()); }
  // Column `column` of the rows shown, top first, as the platform list draws it.
  Strings Shown(int column = 0) {
    Strings out;
    const HWND list = TheList().m_hWnd;
    for (int i = 0, n = static_cast<int>(::SendMessage(list, LVM_GETITEMCOUNT, 0, 0)); i < n; ++i) {
      out.push_back(platform::testing::ListCellText(list, i, column));
    }
    return out;
  }
  std::vector<int> Widths() {
    std::vector<int> out;
    for (int i = 0; i < TheList().GetHeaderCtrl()->GetItemCount(); ++i) out.push_back(TheList().GetColumnWidth(i));
    return out;
  }
  void ClickHeader(int item) { ASSERT_TRUE(ClickHeaderItem(*TheList().GetHeaderCtrl(), item)); }
  // The image header item `item` shows; -1 for none.
  int HeaderImage(int item) {
    HDITEM hdi;
    hdi.mask = HDI_FORMAT | HDI_IMAGE;
    TheList().GetHeaderCtrl()->GetItem(item, &hdi);
    return (hdi.fmt & HDF_IMAGE) ? hdi.iImage : -1;
  }
  // A row of texts inserted on top of an owner-data list (FormatTextRow).
  void AddRow(std::vector<std::string> cells) {
    m_rows.push_back(std::make_unique<TextRow>(TextRow{std::move(cells)}));
    TheList().InsertItem(0, "");
    TheList().SetItemData(0, reinterpret_cast<DWORD_PTR>(m_rows.back().get()));
  }
  DWORD_PTR RowData(size_t row) const { return reinterpret_cast<DWORD_PTR>(m_rows[row].get()); }

  SettingsDir m_settings;
  std::vector<std::unique_ptr<TextRow>> m_rows;  // outlive the dialog, which reads them while it goes
  std::unique_ptr<Dialog> m_dialog;

 private:
  DWORD m_listStyle;
};

}  // namespace listview::testing
