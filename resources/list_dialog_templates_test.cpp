// The templates of the list framework's dialogs this module supplies: the
// ids their code relies on, and a layout a person can use (everything
// inside the dialog, nothing on top of anything else, the tab order
// following the eye, every caption with room to show).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/gdi/text_metrics.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

using platform::DialogItemTemplate;
using platform::DialogTemplate;

const DialogItemTemplate* ItemOf(const DialogTemplate& t, int id) {
  const auto found = std::find_if(t.items.begin(), t.items.end(), [id](const auto& item) { return item.id == id; });
  return found != t.items.end() ? &*found : nullptr;
}

bool Overlap(const DialogItemTemplate& a, const DialogItemTemplate& b) {
  return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

// The height a control takes in the dialog: a drop-down combo box's box
// holds its list, which opens over other controls only while dropped.
int ShownHeight(const DialogItemTemplate& item) { return item.className == "COMBOBOX" ? 12 : item.cy; }

// Tab stops come in reading order, down the rows and along each row, unless the dialog's columns
// come first (`byRows` false), when the test names the order itself.
void ExpectUsableLayout(const DialogTemplate& t, std::set<std::pair<int, int>> sharingAPlace = {}, bool byRows = true) {
  const platform::FontSpec font = platform::FontSpec::FromPoints(t.fontName, t.fontPointSize);
  const platform::FontMetrics metrics = platform::MeasureFont(font);
  for (const DialogItemTemplate& item : t.items) {
    EXPECT_GE(item.x, 0) << item.text << " #" << item.id;
    EXPECT_GE(item.y, 0) << item.text << " #" << item.id;
    EXPECT_LE(item.x + item.cx, t.cx) << item.text << " #" << item.id;
    EXPECT_LE(item.y + ShownHeight(item), t.cy) << item.text << " #" << item.id;
    if (!(item.style & WS_VISIBLE) || item.text.empty()) continue;
    // Buttons keep a few pixels of face around their caption.
    const int room = item.cx * metrics.averageCharWidth / 4 - (item.className == "BUTTON" ? 6 : 0);
    EXPECT_LE(platform::TextWidth(font, item.text), room) << "\"" << item.text << "\" has no room";
  }
  int lastTop = -1, lastLeft = -1;
  for (size_t i = 0; i < t.items.size(); ++i) {
    const DialogItemTemplate& a = t.items[i];
    if (!(a.style & WS_VISIBLE)) continue;
    for (size_t j = i + 1; j < t.items.size(); ++j) {
      const DialogItemTemplate& b = t.items[j];
      if (!(b.style & WS_VISIBLE) || sharingAPlace.count({a.id, b.id}) > 0) continue;
      DialogItemTemplate shownA = a, shownB = b;
      shownA.cy = ShownHeight(a);
      shownB.cy = ShownHeight(b);
      EXPECT_FALSE(Overlap(shownA, shownB)) << "#" << a.id << " " << a.text << " and #" << b.id << " " << b.text;
    }
    if (!byRows || !(a.style & WS_TABSTOP)) continue;
    EXPECT_TRUE(a.y > lastTop || (a.y == lastTop && a.x >= lastLeft)) << "#" << a.id << " " << a.text;
    lastTop = a.y;
    lastLeft = a.x;
  }
}

TEST(ListDialogTemplates, CustomColumnsHoldTheControlsTheDialogUses) {
  const DialogTemplate t = resources::UserColumnTemplate();
  EXPECT_EQ(t.id, 1008u);
  const struct {
    int id;
    const char* className;
  } wanted[] = {{1009, "LISTBOX"}, {1010, "EDIT"},    {1011, "COMBOBOX"}, {1012, "BUTTON"},
                {1013, "BUTTON"},  {1014, "BUTTON"},  {1015, "BUTTON"},   {1016, "BUTTON"},
                {1017, "BUTTON"},  {1018, "BUTTON"},  {1019, "BUTTON"},   {1022, "EDIT"},
                {10013, "BUTTON"}, {10014, "BUTTON"}, {IDOK, "BUTTON"},   {IDCANCEL, "BUTTON"}};
  for (const auto& w : wanted) {
    const DialogItemTemplate* item = ItemOf(t, w.id);
    ASSERT_NE(item, nullptr) << w.id;
    EXPECT_EQ(item->className, w.className) << w.id;
    EXPECT_TRUE(item->style & WS_TABSTOP) << w.id;
  }
  EXPECT_TRUE(ItemOf(t, 1009)->style & LBS_NOTIFY);
  EXPECT_FALSE(ItemOf(t, 1009)->style & LBS_SORT) << "the columns keep their record order";
  EXPECT_FALSE(ItemOf(t, 1011)->style & CBS_SORT);
  EXPECT_TRUE(ItemOf(t, IDOK)->style & BS_DEFPUSHBUTTON);
  // The name field and the computed columns share a place; one shows at a time.
  ExpectUsableLayout(t, {{IDC_UC_NAME, IDC_UC_COMPUTED}});
}

TEST(ListDialogTemplates, TheFilterTextPopUpIsAListWithoutCaption) {
  const DialogTemplate t = resources::FilterTextTemplate();
  EXPECT_EQ(t.id, 1010u);
  EXPECT_EQ(t.cx, 96);
  EXPECT_EQ(t.cy, 98);
  EXPECT_NE(t.style & WS_CAPTION, WS_CAPTION) << "a border, no title bar";
  const DialogItemTemplate* texts = ItemOf(t, 1032);
  ASSERT_NE(texts, nullptr);
  EXPECT_EQ(texts->className, "LISTBOX");
  EXPECT_EQ(texts->style & (LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY), LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY);
  const DialogItemTemplate* cancel = ItemOf(t, IDCANCEL);
  ASSERT_NE(cancel, nullptr);
  EXPECT_FALSE(cancel->style & WS_VISIBLE);
  ExpectUsableLayout(t);
}

// The column profile: the ids and captions its code looks for, in the template's order, which is the tab
// order (the left list, the middle buttons, the right list, then down); the two list boxes, last, are never
// shown, all else is.
TEST(ListDialogTemplates, TheColumnProfileHoldsItsControlsInColumnsThenRows) {
  const DialogTemplate t = resources::ColumnProfileTemplate();
  EXPECT_EQ(t.id, 9002u);
  EXPECT_EQ(t.caption, " Column Profile");
  EXPECT_TRUE(t.style & WS_THICKFRAME) << "the dialog lays itself out on resize";
  const struct {
    int id;
    const char *className, *text;
  } wanted[] = {{10007, "SysListView32", ""},  {10003, "BUTTON", ">"},          {10004, "BUTTON", "<"},
                {10006, "BUTTON", "&Default"}, {10008, "SysListView32", ""},    {10009, "STATIC", "Default Sort For: "},
                {10012, "EDIT", ""},           {10010, "BUTTON", "Sort"},       {10001, "BUTTON", "&View"},
                {10005, "BUTTON", "&Save"},    {IDCANCEL, "BUTTON", "&Cancel"}, {10002, "LISTBOX", ""},
                {10011, "LISTBOX", ""}};
  ASSERT_EQ(t.items.size(), std::size(wanted));
  for (size_t i = 0; i < t.items.size(); ++i) {
    const DialogItemTemplate& item = t.items[i];
    EXPECT_EQ(item.id, wanted[i].id) << "item " << i;
    EXPECT_EQ(item.className, wanted[i].className) << item.id;
    EXPECT_EQ(item.text, wanted[i].text) << item.id;
    EXPECT_EQ((item.style & WS_VISIBLE) != 0, item.className != "LISTBOX") << item.id;
  }
  ExpectUsableLayout(t, {}, false);
}

}  // namespace
