#include "controls/hot_font_combo.h"

#include <string>

#include "controls/testing/control_test_support.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/font_families.h"
#include "platform/user/cbutton.h"

namespace {

// A frame's ring tops, outside in: flat in the face colour; sunken in shadow, then dark shadow.
const std::vector<COLORREF> kFlat = {RGB(192, 192, 192), RGB(192, 192, 192)};
const std::vector<COLORREF> kSunken = {RGB(128, 128, 128), RGB(0, 0, 0)};
constexpr DWORD kStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT | CBS_HASSTRINGS;
constexpr char kLongest[] = "Verdana Pro Condensed SemiLight";  // 31 characters, the most a LOGFONT names

class HotFontComboTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    platform::SetInstalledFontFamilies(std::vector<std::string>{kLongest, "Arial", "Courier New", "Tahoma"});
    ASSERT_TRUE(m_combo.Create(kStyle, CRect(10, 10, 160, 200), &m_parent, 33076));
    ASSERT_TRUE(m_other.Create("other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 250, 90, 280), &m_parent, 7));
  }
  void TearDown() override {
    platform::SetInstalledFontFamilies(std::nullopt);
    ControlTest::TearDown();
  }
  std::vector<std::string> Items() const {
    std::vector<std::string> items;
    for (int i = 0; i < m_combo.GetCount(); ++i) {
      CString text;
      m_combo.GetLBText(i, text);
      items.emplace_back(text.GetString());
    }
    return items;
  }
  // The colours of the last frame drawn: the top edge of each ring, outside in.
  static std::vector<COLORREF> LastFrameTops(const CHotFontCombo& combo) {
    const DrawOps fills = platform::OpsOfKind(platform::WindowDisplayList(combo), DrawKind::FillRect);
    std::vector<COLORREF> tops;
    // Draw3dRect draws four fills a ring; the frame is the last rings drawn.
    const size_t rings = (combo.GetExStyle() & WS_EX_STATICEDGE) ? 3 : 2;
    if (fills.size() < 4 * rings) return tops;
    for (size_t ring = 0; ring < rings; ++ring) tops.push_back(fills[fills.size() - 4 * (rings - ring)].color);
    return tops;
  }
  void PointerOver() { input::MouseMove(m_combo, POINT{5, 5}); }
  void PointerAway() { input::MouseMove(m_parent, POINT{390, 290}); }

  CHotFontCombo m_combo;
  CButton m_other;
};

TEST_F(HotFontComboTest, TheListHoldsTheInstalledFamiliesSortedEachDrawnInItsOwnFaceAndChosenAsTheCurrentFace) {
  EXPECT_TRUE(platform::OpsOfKind(Repaint(m_combo), DrawKind::Rectangle).empty()) << "no item, nothing drawn";
  m_combo.SetCurrentFace("Courier New");
  m_combo.FillFontList();
  EXPECT_EQ(Items(), (std::vector<std::string>{"Arial", "Courier New", "Tahoma", kLongest}));
  EXPECT_EQ(m_combo.GetCurSel(), 1);
  m_combo.FillFontList();  // refilling empties the list first: four entries are drawn below

  // Each entry is drawn in its own face, in a row as tall as its line (no name
  // runs into the next); choosing one makes it the current face.
  m_combo.SetCurSel(2);   // Tahoma, in highlight colours
  input::Click(m_combo);  // drops the list
  ASSERT_TRUE(m_combo.GetDroppedState());
  COMBOBOXINFO info;
  ASSERT_TRUE(m_combo.GetComboBoxInfo(&info));
  const DrawOps texts = platform::OpsOfKind(Repaint(info.hwndList), DrawKind::Text);
  ASSERT_EQ(texts.size(), 4u);
  for (size_t i = 1; i < texts.size(); ++i) EXPECT_LE(texts[i - 1].rect.bottom, texts[i].rect.top) << i;
  for (const platform::DrawOp& op : texts) {
    EXPECT_EQ(op.font.face, op.text) << platform::Describe(op);
    EXPECT_EQ(op.font, platform::FontSpec::FromPoints(op.text, 11));
    EXPECT_EQ(op.color, ::GetSysColor(op.text == "Tahoma" ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)) << op.text;
  }
  CRect item;
  ::SendMessage(info.hwndList, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  input::ClickAt(info.hwndList, item.CenterPoint());
  EXPECT_EQ(m_combo.GetCurrentFace(), kLongest);

  // The selection field: the chosen face at the control's own (8-point) size.
  CFont dialogFont;
  dialogFont.CreatePointFont(80, "MS Shell Dlg");
  m_combo.SetFont(&dialogFont);
  const DrawOps field = platform::OpsOfKind(Repaint(m_combo), DrawKind::Text);
  ASSERT_FALSE(field.empty());
  EXPECT_EQ(field.back().font, platform::FontSpec::FromPoints(kLongest, 8)) << platform::Describe(field.back());
  platform::SetInstalledFontFamilies(std::vector<std::string>{"Georgia"});
  EXPECT_EQ(Items(), std::vector<std::string>{"Georgia"}) << "a font table change refills the list";

  // Compared, the second text goes against the first.
  COMPAREITEMSTRUCT cis;
  cis.itemData1 = reinterpret_cast<ULONG_PTR>("Arial");
  cis.itemData2 = reinterpret_cast<ULONG_PTR>("Tahoma");
  EXPECT_GT(m_combo.CompareItem(&cis), 0);
  cis.itemData2 = cis.itemData1;
  EXPECT_EQ(m_combo.CompareItem(&cis), 0);
}

TEST_F(HotFontComboTest, TheFrameIsSunkenOnlyWhileHoveredAndFlatAgainOneTickAfterThePointerLeaves) {
  m_combo.FillFontList();
  Repaint(m_combo);
  EXPECT_EQ(LastFrameTops(m_combo), kFlat) << "flat after a paint";
  PointerOver();
  EXPECT_EQ(LastFrameTops(m_combo), kSunken);
  platform::ClearDisplayList(m_combo);
  PointerOver();
  EXPECT_TRUE(platform::WindowDisplayList(m_combo).empty()) << "drawn once, not at every move";
  PointerAway();
  platform::ClearDisplayList(m_combo);
  input::Advance(CHotFontCombo::kHoverTimerMs);
  EXPECT_EQ(LastFrameTops(m_combo), kFlat);
  platform::ClearDisplayList(m_combo);
  input::Advance(10 * CHotFontCombo::kHoverTimerMs);
  EXPECT_TRUE(platform::WindowDisplayList(m_combo).empty()) << "the timer stopped";
  PointerOver();
  EXPECT_EQ(LastFrameTops(m_combo), kSunken) << "hovered again";
}

// A parent that keeps its commands to itself reflects no notification.
class CKeepingParent : public CTestParent {
 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    return message == WM_COMMAND || CTestParent::OnWndMsg(message, wParam, lParam, result);
  }
};

// An editable combo box keeps the focus in its edit: only its notifications
// tell the frame. Under a parent that reflects none, the combo's own window
// focus does. Either way the frame follows at once, before any paint (the
// focus is set unpumped), and stays sunken through paints and the pointer
// passing over.
TEST_F(HotFontComboTest, TheFrameFollowsTheFocusOfAnEditOrOfTheWindowItself) {
  CHotFontCombo editable;
  ASSERT_TRUE(editable.Create((kStyle & ~CBS_DROPDOWNLIST) | CBS_DROPDOWN, CRect(170, 10, 320, 200), &m_parent, 9));
  COMBOBOXINFO info;
  ASSERT_TRUE(editable.GetComboBoxInfo(&info));
  CKeepingParent keeping;
  ASSERT_TRUE(keeping.CreateAt(520, 100));
  CHotFontCombo kept;
  ASSERT_TRUE(kept.Create(kStyle, CRect(10, 10, 160, 200), &keeping, 9));
  for (const auto& [combo, focus] :
       {std::pair<CHotFontCombo*, HWND>{&m_combo, m_combo}, {&editable, info.hwndItem}, {&kept, kept}}) {
    input::MouseMove(*combo, POINT{5, 5});  // hovered first: its timer runs on
    ::SetFocus(focus);
    EXPECT_EQ(LastFrameTops(*combo), kSunken);
    Repaint(*combo);
    PointerAway();
    input::Advance(CHotFontCombo::kHoverTimerMs);
    EXPECT_EQ(LastFrameTops(*combo), kSunken) << "through a paint and the hover's end";
    ::SetFocus(m_other);
    EXPECT_EQ(LastFrameTops(*combo), kFlat);
    Repaint(*combo);
    EXPECT_EQ(LastFrameTops(*combo), kFlat) << "and after a paint";
  }
}

}  // namespace
