#include "controls/auto_combo_box.h"

#include "controls/testing/control_test_support.h"
#include "platform/window/cursor.h"
#include "platform/user/cedit.h"
#include "platform/window/cpaintdc.h"
#include "platform/window/metrics.h"

namespace {

constexpr int kId = 300;
constexpr char kWide[] = "BANKNIFTY 28DEC2026 45000 CE";

class AutoComboBoxTest : public ControlTest {
 protected:
  void Make(DWORD kind) {
    ASSERT_TRUE(m_combo.Create(kind | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 130, 200), &m_parent, kId));
    for (const char* item : {"NFO", "NSE", "MCX", kWide}) m_combo.AddString(item);
  }
  HWND Edit() const { return ::GetDlgItem(m_combo, kComboEditId); }
  CString Text() const {
    CString text;
    m_combo.GetWindowText(text);
    return text;
  }
  std::pair<int, int> EditSel() const {
    const DWORD sel = m_combo.GetEditSel();
    return {LOWORD(sel), HIWORD(sel)};
  }

  CAutoComboBox m_combo;
};

TEST_F(AutoComboBoxTest, TypingCompletesToTheFirstEntryOrIsTakenBackAndTellsTheParentAsAChoice) {
  Make(CBS_DROPDOWN);
  m_combo.SetDigitsToCallback(TRUE);  // with no callback to hand them to
  ASSERT_TRUE(input::Focus(Edit()));
  ASSERT_TRUE(input::TypeText("n"));
  EXPECT_EQ(Text(), "NFO");
  EXPECT_EQ(EditSel(), std::make_pair(1, 3));  // the completed rest is selected
  // The edit timer selects the whole text on its third tick, and stops; the
  // parent's showing starts it again, its closing stops it.
  input::Advance(2 * CAutoComboBox::kEditTimerMs);
  EXPECT_EQ(EditSel(), std::make_pair(1, 3));
  input::Advance(CAutoComboBox::kEditTimerMs);
  EXPECT_EQ(EditSel(), std::make_pair(0, 3));
  EXPECT_FALSE(m_combo.IsEditTimerRunning());
  m_combo.SendMessage(WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
  EXPECT_TRUE(m_combo.IsEditTimerRunning());
  m_combo.SendMessage(WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
  EXPECT_FALSE(m_combo.IsEditTimerRunning());
  m_combo.SetEditSel(1, 3);
  ASSERT_TRUE(input::TypeText("S"));
  EXPECT_EQ(Text(), "NSE");
  EXPECT_EQ(m_combo.GetCurSel(), 1);
  ASSERT_EQ(m_parent.Count(CBN_SELCHANGE), 2);
  EXPECT_EQ(m_parent.commands.back().selection, 1);  // the selection is in place when the parent hears of it
  ASSERT_TRUE(input::TypeText("E"));  // the whole entry typed out: neither match nor text changed
  EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), 2);
  // Typed inside the text, the caret stays where the typing left it; a text
  // that prefixes no entry is taken back, caret where it was.
  for (const auto& [before, caret, typed, after] : {std::tuple{"NE", 1, "S", "NSE"}, {"NF", 2, "X", "NF"}}) {
    m_combo.SetWindowText(before);
    m_combo.SetEditSel(caret, caret);
    ASSERT_TRUE(input::TypeText(typed));
    EXPECT_EQ(Text(), after);
    EXPECT_EQ(EditSel(), std::make_pair(2, 2));
  }
}

TEST_F(AutoComboBoxTest, BackspaceOverTheWholeTextOrFocusOnAnEmptyFieldRestoresTheDefault) {
  Make(CBS_DROPDOWN);
  ASSERT_TRUE(input::Focus(Edit()));
  ASSERT_TRUE(input::TypeText("NF"));
  m_combo.SetDefaultText("MC");
  ASSERT_TRUE(input::PressKey(VK_BACK));  // "O" selected: deletes it, no completion
  EXPECT_EQ(Text(), "NF");
  m_parent.commands.clear();
  m_combo.SetEditSel(0, -1);
  ASSERT_TRUE(input::PressKey(VK_BACK));
  EXPECT_EQ(Text(), "MCX");
  EXPECT_EQ(m_combo.GetCurSel(), 2);
  EXPECT_EQ(EditSel(), std::make_pair(3, 3));
  EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), 1);

  // Focus coming back: a typed text stays, an empty field takes the default.
  for (const char* typed : {"NF", ""}) {
    m_combo.SetWindowText(typed);
    ::SetFocus(nullptr);
    ASSERT_TRUE(input::Focus(Edit()));
    EXPECT_EQ(Text(), *typed ? typed : "MCX");
  }
}

int g_lastMode = 0;
int g_lastKey = 0;
int Callback(HWND parent, int id, int mode, int key) {
  EXPECT_EQ(id, kId);
  g_lastMode = mode;
  g_lastKey = key;
  if (mode == 1) return 3;    // Delete selects the wide entry
  if (key == '0') return 2;   // a 0 chooses MCX
  if (key == '5') return -3;  // a 5 goes on to the field
  if (key != -1) return -1;
  return ::GetWindowTextLength(::GetDlgItem(parent, id)) == 0 ? 0 : -2;  // an empty text chooses NFO, others search
}

TEST_F(AutoComboBoxTest, TheCallbackAnswersDeleteAndDigits) {
  Make(CBS_DROPDOWN);
  ASSERT_TRUE(input::Focus(Edit()));
  // A field cut empty tells no choice, whether the callback or the search answers.
  for (const bool callback : {true, false}) {
    m_combo.SetCallback(callback ? &Callback : nullptr);
    m_combo.SetWindowText("NF");
    m_combo.SetEditSel(0, -1);
    const int told = m_parent.Count(CBN_SELCHANGE);
    ASSERT_TRUE(input::PressKey('X', input::kControl));
    EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), told) << callback;
  }
  m_combo.SetWindowText("NFO");
  m_combo.SetEditSel(0, 0);
  ASSERT_TRUE(input::PressKey(VK_DELETE));  // without a callback the field deletes as usual
  EXPECT_EQ(Text(), "FO");
  m_combo.SetCallback(&Callback);
  m_combo.SetDigitsToCallback(TRUE);
  ASSERT_TRUE(input::PressKey(VK_DELETE));
  EXPECT_EQ(g_lastMode, 1);
  EXPECT_EQ(m_combo.GetCurSel(), 3);
  EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), 2);
  m_combo.SetWindowText("");
  m_parent.commands.clear();
  ASSERT_TRUE(input::TypeText("9"));  // swallowed, and no choice to tell
  ASSERT_TRUE(input::TypeText("0"));  // swallowed, but the parent hears of it
  EXPECT_EQ(g_lastKey, '0');
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), 1);
  ASSERT_TRUE(input::TypeText("5"));
  EXPECT_EQ(g_lastKey, -1) << "typed, so the callback was asked about the text";

  // A choice in the drop-down (a colour list box) shows at once, before the
  // field has it; the combo box takes the drop-down's tip along when it goes.
  m_combo.ShowDropDown(TRUE);
  COMBOBOXINFO info;
  ASSERT_TRUE(m_combo.GetComboBoxInfo(&info));
  ::UpdateWindow(info.hwndList);
  auto* list = dynamic_cast<CColorListBox*>(CWnd::FromHandlePermanent(info.hwndList));
  ASSERT_NE(list, nullptr);
  const HWND tips[] = {m_combo.GetToolTip(), list->GetToolTip()};
  CRect item;
  ::SendMessage(info.hwndList, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
  ASSERT_TRUE(input::ClickAt(info.hwndList, item.CenterPoint()));
  EXPECT_TRUE(platform::ReadTooltip(tips[0]).shown);
  m_combo.DestroyWindow();
  EXPECT_FALSE(::IsWindow(tips[0]) || ::IsWindow(tips[1]));
}

TEST_F(AutoComboBoxTest, AWideTextShowsAboveTheFieldUntilThePointerOrTheFocusLeaves) {
  Make(CBS_DROPDOWNLIST);
  const HWND tip = m_combo.GetToolTip();
  EXPECT_TRUE(::GetWindowLongPtr(tip, GWL_STYLE) & WS_BORDER);  // the drop-down's tips have none
  m_combo.SetCurSel(3);
  MovePointer(m_combo, {5, 5});
  platform::TooltipState s = platform::ReadTooltip(tip);
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(s.text, kWide);
  CRect client;
  m_combo.GetClientRect(&client);
  EXPECT_EQ(s.position.x, 110 + 1);
  EXPECT_EQ(s.position.y, 110 - client.Height() + 5);
  EXPECT_EQ(s.background, RGB(255, 255, 255));  // window colours without the focus

  // It shows once the text is wider than the field (less the drop-down
  // button) less a slack of 6 pixels, not at that width exactly.
  CClientDC dc(&m_combo);
  CRect window;
  m_combo.GetWindowRect(&window);
  const int fits = dc.GetTextExtent(kWide).cx + 6 + ::GetSystemMetrics(SM_CXHTHUMB) + 2 + window.Width() -
                   client.Width();
  for (const int width : {fits, fits - 1}) {
    m_combo.SetWindowPos(nullptr, 0, 0, width, window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    MovePointer(m_combo, {5, 5});
    EXPECT_EQ(platform::ReadTooltip(tip).shown, width < fits) << width;
  }

  MovePointer(m_combo, {5, 5});
  ::SetCursorPos(0, 0);
  input::Advance(CAutoComboBox::kTipTimerMs);
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);

  // The focus latches the tip, in highlight colours, until it leaves.
  CEdit other;
  ASSERT_TRUE(other.Create(WS_VISIBLE, CRect(200, 10, 300, 30), &m_parent, 400));
  ASSERT_TRUE(input::Focus(m_combo));
  s = platform::ReadTooltip(tip);
  ASSERT_TRUE(s.shown);
  EXPECT_TRUE(m_combo.IsTipLatched());
  EXPECT_EQ(s.background, RGB(0, 0, 128));
  ::SetCursorPos(0, 0);
  input::Advance(CAutoComboBox::kTipTimerMs);
  EXPECT_TRUE(platform::ReadTooltip(tip).shown);
  ASSERT_TRUE(input::PressKey(VK_DELETE));  // keys to the box itself count too: Delete tells the parent
  EXPECT_EQ(m_parent.Count(CBN_SELCHANGE), 1);

  ASSERT_TRUE(input::Focus(other));
  EXPECT_FALSE(m_combo.IsTipLatched());
  EXPECT_FALSE(platform::ReadTooltip(tip).shown);
}

}  // namespace
