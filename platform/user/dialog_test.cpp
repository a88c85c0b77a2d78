#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/user/cbutton.h"
#include "platform/user/data_exchange.h"
#include "platform/user/cdialog.h"
#include "platform/user/cedit.h"
#include "platform/user/combo_box.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/user/message_box.h"
#include "platform/user/dialog_resources.h"
#include "platform/testing/reset_test.h"

namespace {

using platform::DialogItemTemplate;
using platform::DialogTemplate;
namespace input = platform::input;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x5000});
const HINSTANCE kOtherModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x6000});
constexpr UINT kDialogId = 300;
constexpr int kCheck = 1001, kRadioA = 1002, kRadioB = 1003, kRadioC = 1004, kEdit = 1005, kOwnerDraw = 1006,
              kOtherRadio = 1007;
constexpr DWORD kVisibleTab = WS_VISIBLE | WS_TABSTOP;

DialogTemplate TestTemplate() {
  return DialogTemplate{.id = kDialogId, .caption = "Test Dialog", .cx = 200, .cy = 100, .items = {
      {kEdit, "EDIT", "", 10, 10, 80, 12, kVisibleTab | ES_AUTOHSCROLL, 0},
      {kCheck, "BUTTON", "Check", 10, 30, 60, 10, kVisibleTab | BS_AUTOCHECKBOX, 0},
      {kRadioA, "BUTTON", "A", 10, 45, 30, 10, kVisibleTab | WS_GROUP | BS_AUTORADIOBUTTON, 0},
      {kRadioB, "BUTTON", "B", 45, 45, 30, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
      {kRadioC, "BUTTON", "C", 80, 45, 30, 10, WS_VISIBLE | BS_AUTORADIOBUTTON, 0},
      {kOtherRadio, "BUTTON", "Other group", 115, 45, 40, 10, kVisibleTab | WS_GROUP | BS_AUTORADIOBUTTON, 0},
      {kOwnerDraw, "BUTTON", "", 10, 60, 30, 14, kVisibleTab | WS_GROUP | BS_OWNERDRAW, 0},
      {IDOK, "BUTTON", "OK", 100, 80, 40, 14, kVisibleTab | BS_DEFPUSHBUTTON, 0},
      {IDCANCEL, "BUTTON", "Cancel", 150, 80, 40, 14, kVisibleTab | BS_PUSHBUTTON, 0},
  }};
}

// A dialog that logs the notifications of its controls.
class TestDialog : public CDialog {
 public:
  TestDialog() : CDialog(kDialogId) {}
  std::vector<std::string> log;
  UINT lastDrawState = 0;
  CString name;
  bool initialised = false, endAtInit = false, shown = false;

 protected:
  BOOL OnInitDialog() override {
    initialised = true;
    if (endAtInit) EndDialog(8);
    return CDialog::OnInitDialog();
  }
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    shown = shown || (message == WM_SHOWWINDOW && wParam != 0);
    return CDialog::OnWndMsg(message, wParam, lParam, result);
  }
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kEdit, name); }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    log.push_back(std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
    if (LOWORD(wParam) == kOwnerDraw && HIWORD(wParam) == BN_CLICKED) EndDialog(77);
    return CDialog::OnCommand(wParam, lParam);
  }
  void OnDrawItem(int id, LPDRAWITEMSTRUCT dis) override {
    lastDrawState = dis->itemState;
    log.push_back("draw" + std::to_string(id) + ":" + std::to_string(dis->itemAction) + "/" +
                  std::to_string(dis->itemState & ODS_SELECTED));
  }
};

class DialogTest : public platform::ResetTest {
 protected:
  void SetUp() override { platform::RegisterDialogTemplate(kModule, TestTemplate()); }
  void TearDown() override {
    platform::RemoveModuleResources(kModule);
    platform::RemoveModuleResources(kOtherModule);
    AfxSetResourceHandle(nullptr);
  }
  HWND Item(CWnd& window, int id) { return ::GetDlgItem(window.m_hWnd, id); }
  void Show() {
    ASSERT_TRUE(dlg.Create(kDialogId));
    dlg.ShowWindow(SW_SHOW);
  }

  TestDialog dlg;
};

// A dialog's template is looked for first in the resource module set, then
// in the others: two modules holding the same id give the set one's.
TEST_F(DialogTest, TheTemplateComesFromTheResourceModuleSetFirst) {
  DialogTemplate other = TestTemplate();
  other.caption = "Other";
  platform::RegisterDialogTemplate(kOtherModule, other);
  for (const auto& [module, caption] : {std::pair{kOtherModule, "Other"}, {kModule, "Test Dialog"}}) {
    AfxSetResourceHandle(module);
    TestDialog shown;
    ASSERT_TRUE(shown.Create(kDialogId));
    CString text;
    shown.GetWindowText(text);
    EXPECT_EQ(text, caption);
  }
}

TEST_F(DialogTest, DialogUnitsFollowTheTemplateFontThroughOneMeasurer) {
  // "MS Shell Dlg" 8: base units 6 x 13, as on the platform.
  ASSERT_TRUE(dlg.Create(kDialogId));
  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300);   // MulDiv(200, 6, 4)
  EXPECT_EQ(client.Height(), 163);  // MulDiv(100, 13, 8) = 162.5 rounded up
  CRect box(10, 30, 70, 40);
  EXPECT_TRUE(::MapDialogRect(dlg.m_hWnd, &box) && !::MapDialogRect(nullptr, &box) &&
              !::MapDialogRect(dlg.m_hWnd, nullptr));
  EXPECT_EQ(box, CRect(15, 49, 105, 65));
  CRect check;
  ::GetWindowRect(Item(dlg, kCheck), &check);
  dlg.ScreenToClient(&check);
  EXPECT_EQ(check, box) << "controls are placed by the same conversion";
}

TEST_F(DialogTest, ModelessCreateBuildsControlsInTemplateOrderAndOkCancelOnlyHide) {
  ASSERT_TRUE(dlg.Create(kDialogId));
  EXPECT_TRUE(dlg.initialised);
  EXPECT_FALSE(dlg.IsWindowVisible()) << "the template is not WS_VISIBLE";
  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(caption, "Test Dialog");
  EXPECT_EQ(std::pair(::GetWindow(dlg.m_hWnd, GW_CHILD), ::GetWindow(Item(dlg, kEdit), GW_HWNDNEXT)),
            std::pair(Item(dlg, kEdit), Item(dlg, kCheck)));
  EXPECT_EQ(LOWORD(dlg.GetDefID()), IDOK);

  dlg.ShowWindow(SW_SHOW);
  EXPECT_EQ(::GetFocus(), Item(dlg, kEdit)) << "the first tab stop gets the focus";
  ASSERT_TRUE(input::TypeText("An") && input::PressKey(VK_LEFT) && input::TypeText("n"));  // the edit takes arrows
  ASSERT_TRUE(input::Click(Item(dlg, IDOK)));
  EXPECT_TRUE(!dlg.IsWindowVisible() && ::IsWindow(dlg.m_hWnd)) << "OK hides a modeless dialog, it does not destroy it";
  EXPECT_EQ(dlg.name, "Ann") << "OK ran UpdateData";

  dlg.ShowWindow(SW_SHOW);
  ASSERT_TRUE(input::PressKey(VK_ESCAPE));
  EXPECT_FALSE(dlg.IsWindowVisible());
  dlg.ShowWindow(SW_SHOW);
  CString text;
  dlg.GetDlgItemText(kEdit, text);
  EXPECT_EQ(text, "Ann") << "contents survive hiding";
  // The focus goes back where it was, even when the dialog is hidden while another window has it.
  ::SetFocus(Item(dlg, kCheck));
  CWnd other;
  other.CreateEx(0, "Test", "other", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, 0);
  dlg.ShowWindow(SW_HIDE);
  dlg.ShowWindow(SW_SHOW);
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  dlg.SendMessage(WM_CLOSE);
  platform::PumpMessages();
  EXPECT_FALSE(dlg.IsWindowVisible()) << "closing is Cancel";
}

TEST_F(DialogTest, DoModalReturnsTheEndedCodeAndRestoresTheOwner) {
  CWnd owner;
  owner.CreateEx(0, "Owner", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0);
  bool ownerDisabledDuringDialog = false;
  bool refusedOwnerInput = false;
  platform::SetModalResponder([&](HWND modal) {
    ownerDisabledDuringDialog = !owner.IsWindowEnabled();
    refusedOwnerInput = !input::Click(owner.m_hWnd);
    input::Click(::GetDlgItem(modal, kOwnerDraw));  // its handler ends the dialog with 77
  });
  EXPECT_EQ(dlg.DoModal(), 77);
  EXPECT_TRUE(ownerDisabledDuringDialog && refusedOwnerInput) << "the owner of a modal dialog refuses input";
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(dlg.m_hWnd, nullptr) << "a modal dialog is destroyed when it ends";
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);

  platform::SetModalResponder([](HWND modal) { ::EndDialog(modal, 5); });
  EXPECT_EQ(TestDialog().DoModal(), 5) << "ended through its handle";
  // A window the user turned to while the dialog ran keeps the activation when it ends.
  CWnd other;
  other.CreateEx(0, "Owner", "Other", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, 0);
  owner.SetActiveWindow();
  platform::SetModalResponder([&](HWND modal) {
    other.SetActiveWindow();
    ::EndDialog(modal, 6);
  });
  EXPECT_EQ(TestDialog().DoModal(), 6);
  EXPECT_EQ(::GetActiveWindow(), other.m_hWnd);
  // Nobody acts: the dialog ends as if cancelled instead of waiting forever.
  platform::SetModalResponder(nullptr);
  owner.EnableWindow(FALSE);
  TestDialog idle;
  EXPECT_EQ(idle.DoModal(), IDCANCEL);
  EXPECT_FALSE(owner.IsWindowEnabled()) << "an owner disabled before stays so";
  TestDialog early;
  early.endAtInit = true;
  EXPECT_EQ(early.DoModal(), 8);
  EXPECT_FALSE(early.shown) << "a dialog that ends as it starts is never shown";
  // A template that no module registered.
  CDialog missing(999);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(DialogTest, ACheckBoxClickTogglesItAndNotifiesTheParent) {
  Show();
  platform::PumpMessages();  // first paint
  dlg.log.clear();
  ASSERT_TRUE(input::Click(Item(dlg, kCheck)));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_CHECKED);
  // The edit loses the focus to the button, then the click is reported.
  EXPECT_EQ(dlg.log, (std::vector<std::string>{std::to_string(kEdit) + ":" + std::to_string(EN_KILLFOCUS),
                                               std::to_string(kCheck) + ":0"}));
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck)) << "a clicked button takes the focus";
  ASSERT_TRUE(input::PressKey(VK_SPACE));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_UNCHECKED) << "Space clicks the focused button";

  // A press whose capture another window took (a box popped up meanwhile and
  // got the release) is no click; the button is then free for the next press.
  dlg.log.clear();
  ::SendMessage(Item(dlg, kCheck), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::SetCapture(dlg.m_hWnd);
  ::ReleaseCapture();
  EXPECT_TRUE(dlg.IsDlgButtonChecked(kCheck) == BST_UNCHECKED && dlg.log.empty());
  ASSERT_TRUE(input::PressKey(VK_SPACE));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_CHECKED);
}

TEST_F(DialogTest, OwnerDrawButtonsAskTheirParentToDraw) {
  Show();
  platform::PumpMessages();
  const std::string id = std::to_string(kOwnerDraw);
  EXPECT_NE(std::find(dlg.log.begin(), dlg.log.end(), "draw" + id + ":1/0"), dlg.log.end())
      << "painting draws the whole button";
  dlg.log.clear();
  ::SendMessage(Item(dlg, kOwnerDraw), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ::SendMessage(Item(dlg, kOwnerDraw), WM_LBUTTONUP, 0, 0);
  // The edit loses the focus; the button draws its focus, pushed (selected),
  // released; the click ends the dialog, which takes the focus back.
  const std::string killEdit = std::to_string(kEdit) + ":" + std::to_string(EN_KILLFOCUS);
  EXPECT_EQ(dlg.log, (std::vector<std::string>{killEdit, "draw" + id + ":4/0", "draw" + id + ":2/1",
                                               "draw" + id + ":2/0", id + ":0", "draw" + id + ":4/0"}));

  // The dialog's default button is drawn as such.
  dlg.ShowWindow(SW_SHOW);
  for (const int defaultId : {kOwnerDraw, IDOK}) {
    dlg.SetDefID(defaultId);
    ::InvalidateRect(Item(dlg, kOwnerDraw), nullptr, TRUE);
    platform::PumpMessages();
    EXPECT_EQ((dlg.lastDrawState & ODS_DEFAULT) != 0, defaultId == kOwnerDraw) << defaultId;
  }
}

TEST_F(DialogTest, TabMovesAmongTabStopsAndEnterClicksTheDefaultButton) {
  Show();
  ASSERT_EQ(::GetFocus(), Item(dlg, kEdit));
  input::PressKey(VK_TAB);
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  input::PressKey(VK_TAB, input::kShift);
  EXPECT_EQ(::GetFocus(), Item(dlg, kEdit));
  // From a combo box's own edit field the walk starts at the combo box, the
  // dialog's child: Tab goes on from it, and it is a group of one.
  HWND combo = ::CreateWindowEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | CBS_DROPDOWN, 10, 90,
                                100, 20, dlg.m_hWnd, nullptr, nullptr, nullptr);
  HWND field = ::GetDlgItem(combo, 1001);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ((std::vector<HWND>{::GetNextDlgTabItem(dlg.m_hWnd, field, FALSE), ::GetNextDlgTabItem(dlg.m_hWnd, field, TRUE),
                               ::GetNextDlgTabItem(dlg.m_hWnd, Item(dlg, kEdit), TRUE),
                               ::GetNextDlgGroupItem(dlg.m_hWnd, field, FALSE)}),
            (std::vector<HWND>{Item(dlg, kEdit), Item(dlg, IDCANCEL), combo, combo}));
  dlg.log.clear();
  input::PressKey(VK_RETURN);
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"1:0", std::to_string(kEdit) + ":" + std::to_string(EN_KILLFOCUS)}));
  EXPECT_FALSE(dlg.IsWindowVisible());
}

TEST_F(DialogTest, ArrowsWalkARadioGroupCheckingAsTheyGoAndEnterClicksTheFocusedButton) {
  Show();
  ASSERT_TRUE(input::Click(Item(dlg, kRadioA)));
  // Each arrow moves the focus and the check together, from either end of the group round to the other.
  for (const auto& [key, to] :
       {std::pair{VK_RIGHT, kRadioB}, {VK_DOWN, kRadioC}, {VK_DOWN, kRadioA}, {VK_LEFT, kRadioC}, {VK_UP, kRadioB}}) {
    input::PressKey(key);
    EXPECT_EQ(::GetFocus(), Item(dlg, to)) << key;
    EXPECT_EQ(dlg.GetCheckedRadioButton(kRadioA, kRadioC), to) << key;
  }
  EXPECT_EQ(dlg.IsDlgButtonChecked(kOtherRadio), BST_UNCHECKED) << "never left the group";

  // Tab into the group lands on its checked button, the only tab stop in it.
  ::SetFocus(Item(dlg, kCheck));
  input::PressKey(VK_TAB);
  EXPECT_EQ(::GetFocus(), Item(dlg, kRadioB));

  dlg.log.clear();
  ::SetFocus(Item(dlg, IDCANCEL));
  input::PressKey(VK_RETURN);
  ASSERT_FALSE(dlg.log.empty());
  EXPECT_EQ(dlg.log.front(), "2:0") << "Enter on a focused push button clicks that button";
}

TEST_F(DialogTest, MnemonicsPressButtonsAndLeadFromLabelsToTheirControl) {
  Show();
  HWND label = ::CreateWindowEx(0, "Static", "&Name", WS_CHILD | WS_VISIBLE, 0, 0, 20, 10, dlg.m_hWnd, nullptr,
                                nullptr, nullptr);
  ::SetWindowPos(label, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // just before the edit
  ::SetWindowText(Item(dlg, kCheck), "C&heck");
  ::SetWindowText(Item(dlg, kRadioB), "&&b &Bee");
  ::SetWindowText(Item(dlg, kOtherRadio), "&Bother");
  ::SetWindowText(Item(dlg, IDCANCEL), "&Cancel");
  ::SetDlgItemText(dlg.m_hWnd, kEdit, "Ann");
  ::SetFocus(Item(dlg, kCheck));
  dlg.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL), 0);
  input::TypeText("z");  // no control's: the key goes on, the cues stay hidden
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  EXPECT_TRUE(dlg.SendMessage(WM_QUERYUISTATE) & UISF_HIDEACCEL);
  input::TypeText("n");  // a label leads to the control after it, its text selected, and shows the cues
  EXPECT_TRUE(::GetFocus() == Item(dlg, kEdit) && !(dlg.SendMessage(WM_QUERYUISTATE) & UISF_HIDEACCEL));
  EXPECT_EQ(::SendMessage(Item(dlg, kEdit), EM_GETSEL, 0, 0), MAKELONG(0, 3));
  input::TypeText("h");  // the edit takes characters: typed, not a mnemonic
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_UNCHECKED);
  input::PressKey('H', input::kAlt);  // Alt and the letter reach it from anywhere
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_CHECKED);
  ::SetWindowText(Item(dlg, IDOK), "Save & Close");
  input::TypeText(" ");  // never a mnemonic, even after an '&': the focused check box's own key
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_UNCHECKED);
  input::TypeText(" ");
  dlg.log.clear();
  input::PressKey(VK_SPACE, input::kAlt);  // nor with Alt: that is the window menu's
  EXPECT_TRUE(dlg.log.empty());

  // Two controls share "b": each press goes on to the next one after the focus.
  ::SetFocus(Item(dlg, kRadioA));
  for (int id : {kRadioB, kOtherRadio, kRadioB}) {
    input::TypeText("B");
    EXPECT_EQ(::GetFocus(), Item(dlg, id));
    EXPECT_EQ(dlg.IsDlgButtonChecked(id), BST_CHECKED);
  }
  ::CheckDlgButton(dlg.m_hWnd, kOtherRadio, BST_UNCHECKED);
  ::EnableWindow(Item(dlg, kOtherRadio), FALSE);
  ::EnableWindow(Item(dlg, kEdit), FALSE);
  input::TypeText("b");  // a disabled control is passed over, also as a label's
  EXPECT_EQ(::GetFocus(), Item(dlg, kRadioB));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kOtherRadio), BST_UNCHECKED);
  input::TypeText("n");
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  EXPECT_EQ(dlg.IsDlgButtonChecked(kCheck), BST_CHECKED);
  ::CreateWindowEx(0, "Static", "&Wait", WS_CHILD | WS_VISIBLE, 0, 0, 9, 9, dlg.m_hWnd, nullptr, nullptr, nullptr);
  input::TypeText("w");  // the last label leads nowhere
  EXPECT_EQ(::GetFocus(), Item(dlg, kCheck));
  dlg.log.clear();
  input::TypeText("c");  // a push button is pressed
  EXPECT_EQ(dlg.log, (std::vector<std::string>{"2:0"}));
}

TEST_F(DialogTest, QuitDuringAModalDialogEndsItAndStaysPendingForTheOuterLoop) {
  platform::SetModalResponder([](HWND) { ::PostQuitMessage(5); });
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(platform::RunMessageLoop(), 5);
}

TEST_F(DialogTest, AModalDialogMayOpenAnotherFromItsResponder) {
  std::vector<std::string> seen;
  platform::SetModalResponder([&](HWND modal) {
    char caption[64];
    ::GetWindowText(modal, caption, sizeof caption);
    seen.push_back(caption);
    if (seen.size() == 1) {
      TestDialog inner;
      seen.push_back("inner returned " + std::to_string(inner.DoModal()));
    }
    input::Click(::GetDlgItem(modal, IDOK));
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(seen, (std::vector<std::string>{"Test Dialog", "Test Dialog", "inner returned 1"}));
}

}  // namespace
