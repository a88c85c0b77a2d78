#include "terminal/readout/list_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/afx.h"
#include "platform/comctl/list_view.h"
#include "platform/testing/reset_test.h"
#include "terminal/readout/window_dump.h"

namespace terminal {
namespace {

class ListText : public platform::ResetTest {
 protected:
  void SetUp() override {
    parent.CreateEx(0, "Test", "Texts", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0);
    list = ::CreateWindowEx(0, "SysListView32", nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200,
                            parent.GetSafeHwnd(), nullptr, nullptr, nullptr);
  }

  void AddColumn(const std::string& caption) {
    LVCOLUMN column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = const_cast<char*>(caption.c_str());
    ::SendMessage(list, LVM_INSERTCOLUMN, 99, reinterpret_cast<LPARAM>(&column));
  }
  void AddRow(const std::string& first, const std::string& second) {
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = 99;
    item.pszText = const_cast<char*>(first.c_str());
    const auto row = ::SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
    item.iItem = static_cast<int>(row);
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(second.c_str());
    ::SendMessage(list, LVM_SETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  CWnd parent;
  HWND list = nullptr;
};

// Texts around the first buffer's size and far beyond it come back whole,
// cells and captions alike; what the list lacks reads as "".
TEST_F(ListText, LongCellsAndCaptionsReadWhole) {
  const std::string longCaption(700, 'C');
  AddColumn("Short");
  AddColumn(longCaption);
  const std::string edge(255, 'e');
  const std::string pastEdge(256, 'p');
  const std::string huge = std::string(5000, 'h') + "end";
  AddRow(edge, pastEdge);
  AddRow("x", huge);

  EXPECT_EQ(ListCell(list, 0, 0), edge);
  EXPECT_EQ(ListCell(list, 0, 1), pastEdge);
  EXPECT_EQ(ListCell(list, 1, 0), "x");
  EXPECT_EQ(ListCell(list, 1, 1), huge);
  EXPECT_EQ(ListCell(list, 2, 0), "") << "no such row";
  EXPECT_EQ(ListCell(list, 0, 5), "") << "no such column";

  const auto columns = ListColumns(list);
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[1].caption, longCaption);
  HWND header = reinterpret_cast<HWND>(::SendMessage(list, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(HeaderItemByCaption(header, longCaption), 1);
  EXPECT_EQ(HeaderItemByCaption(header, longCaption.substr(0, 255)), -1) << "a cut caption names no column";
  EXPECT_EQ(HeaderCaption(header, 7), "");
}

// Columns read in the order they show, each with its own index; the dump
// names them so and counts the rows.
TEST_F(ListText, ColumnsReadInDisplayOrderAndTheDumpCountsTheRows) {
  for (const char* caption : {"First", "Second", "Third"}) AddColumn(caption);
  int order[] = {2, 0, 1};
  ::SendMessage(list, LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(order));
  AddRow("cell", "b");
  AddRow("cell", "b");
  EXPECT_NE(DescribeWindow(list).find("columns=[\"Third\" \"First\" \"Second\"] rows=2"), std::string::npos)
      << DescribeWindow(list);
  EXPECT_EQ(ListColumns(list).at(0).index, 2);
  EXPECT_EQ(ListCell(list, 1, 0), "cell");
}

}  // namespace
}  // namespace terminal
