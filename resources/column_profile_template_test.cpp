// Template 9002: the ids and captions the column profile dialog looks for,
// and a layout with every visible control inside the dialog and none on
// another.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

using Item = platform::DialogItemTemplate;

bool Overlap(const Item& a, const Item& b) {
  return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

TEST(ColumnProfileTemplate, HoldsTheDialogsControlsUnderTheirIdsAndCaptions) {
  const platform::DialogTemplate t = resources::ColumnProfileTemplate();
  EXPECT_EQ(t.id, 9002u);
  EXPECT_EQ(t.caption, " Column Profile");
  EXPECT_TRUE(t.style & WS_THICKFRAME) << "the dialog lays itself out on resize";
  const std::map<int, std::pair<std::string, std::string>> expected{
      {10001, {"BUTTON", "&View"}},
      {IDCANCEL, {"BUTTON", "&Cancel"}},
      {10002, {"LISTBOX", ""}},
      {10011, {"LISTBOX", ""}},
      {10003, {"BUTTON", ">"}},
      {10004, {"BUTTON", "<"}},
      {10005, {"BUTTON", "&Save"}},
      {10006, {"BUTTON", "&Default"}},
      {10007, {"SysListView32", ""}},
      {10008, {"SysListView32", ""}},
      {10009, {"STATIC", "Default Sort For: "}},
      {10010, {"BUTTON", "Sort"}},
      {10012, {"EDIT", ""}},
  };
  ASSERT_EQ(t.items.size(), expected.size());
  for (const Item& item : t.items) {
    const auto found = expected.find(item.id);
    ASSERT_NE(found, expected.end()) << item.id;
    EXPECT_EQ(item.className, found->second.first) << item.id;
    EXPECT_EQ(item.text, found->second.second) << item.id;
    // The two list boxes are never shown; everything else is.
    EXPECT_EQ((item.style & WS_VISIBLE) != 0, item.className != "LISTBOX") << item.id;
  }
}

TEST(ColumnProfileTemplate, VisibleControlsLieInsideAndApartInReadingOrder) {
  const platform::DialogTemplate t = resources::ColumnProfileTemplate();
  std::vector<Item> visible;
  for (const Item& item : t.items) {
    if (!(item.style & WS_VISIBLE)) continue;
    EXPECT_GE(item.x, 0) << item.id;
    EXPECT_GE(item.y, 0) << item.id;
    EXPECT_LE(item.x + item.cx, t.cx) << item.id;
    EXPECT_LE(item.y + item.cy, t.cy) << item.id;
    for (const Item& other : visible) EXPECT_FALSE(Overlap(item, other)) << item.id << " on " << other.id;
    visible.push_back(item);
  }
  // Tab order: the left list, the middle buttons, the right list, then down.
  std::vector<int> order;
  for (const Item& item : visible) order.push_back(item.id);
  EXPECT_EQ(order, (std::vector<int>{10007, 10003, 10004, 10006, 10008, 10009, 10012, 10010, 10001, 10005, IDCANCEL}));
}

}  // namespace
