#include "platform/user/dialog_manager.h"

#include <cctype>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/text_metrics.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_registry.h"

namespace platform {

namespace {
const bool kRegistered =
    RegisterControlModel("#32770", CS_DBLCLKS | CS_SAVEBITS, [](HWND h) { return std::make_unique<DialogModel>(h); });
}  // namespace

DialogModel* DialogModelOf(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr ? dynamic_cast<DialogModel*>(r->model.get()) : nullptr;
}

void DialogModel::SaveCurrentFocus() {
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(hwnd(), focus)) m_savedFocus = focus;
}

void DialogModel::RestoreFocus() {
  HWND target = m_savedFocus;
  if (target == nullptr || !::IsChild(hwnd(), target) || !::IsWindowEnabled(target) || !::IsWindowVisible(target)) {
    target = ::GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  }
  if (target != nullptr) ::SetFocus(target);
}

LRESULT DialogModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID: return MAKELONG(static_cast<WORD>(m_defaultId), DC_HASDEFID);
    case WM_ERASEBKGND: {
      // The dialog's background is what its own WM_CTLCOLORDLG answers.
      const auto dc = reinterpret_cast<HDC>(wParam);
      const auto brush =
          reinterpret_cast<HBRUSH>(::SendMessage(hwnd(), WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd())));
      if (brush == nullptr) return 0;
      RECT client;
      ::GetClientRect(hwnd(), &client);
      ::FillRect(dc, &client, brush);
      return 1;
    }
    case DM_SETDEFID: m_defaultId = static_cast<UINT>(wParam); return TRUE;
    case WM_CLOSE:
      ::PostMessage(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(hwnd(), IDCANCEL)));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        SaveCurrentFocus();
      } else {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      // EndDialog parks the focus on the dialog itself; it stays there.
      if (!ended) RestoreFocus();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) {
        ended = false;  // a modeless dialog shown again after EndDialog
      } else {
        SaveCurrentFocus();
      }
      return ::DefWindowProc(hwnd(), message, wParam, lParam);
    default: return ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
}

}  // namespace platform

namespace {

// Clicks the button `id` of the dialog as the dialog manager does for Enter
// and Escape: a disabled button ignores it; a missing one still sends the command.
void ClickDialogButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  if (button != nullptr && !::IsWindowEnabled(button)) return;
  ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The mnemonic of a control's text: the character after a single '&'
// ("&&" is an '&' drawn), in lower case; 0 without one.
char Mnemonic(HWND control) {
  char text[256] = {};
  ::GetWindowText(control, text, sizeof text);
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
  }
  return 0;
}

bool Usable(HWND control) { return ::IsWindowVisible(control) && ::IsWindowEnabled(control); }

// The control a label or a group box leads to: the next usable control
// after it that is not itself a label.
HWND LabelledControl(HWND label) {
  for (HWND c = ::GetWindow(label, GW_HWNDNEXT); c != nullptr && c != label; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (Usable(c) && !(::SendMessage(c, WM_GETDLGCODE, 0, 0) & DLGC_STATIC)) return c;
  }
  return nullptr;
}

// Acts on the control whose mnemonic is `ch`, looking from the control
// after the focus round to it, as the dialog manager does: a push button is
// pressed, a check box or radio button focused and clicked, a label or a
// group box gives the focus to the control that follows it. False when no
// usable control has that mnemonic.
bool PressMnemonic(HWND dialog, char ch) {
  std::vector<HWND> controls;
  for (HWND c = ::GetWindow(dialog, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
  size_t start = 0;
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i] == ::GetFocus() || ::IsChild(controls[i], ::GetFocus())) start = i + 1;
  }
  for (size_t n = 0; n < controls.size(); ++n) {
    const HWND c = controls[(start + n) % controls.size()];
    const LRESULT code = ::SendMessage(c, WM_GETDLGCODE, 0, 0);
    const bool label = (code & DLGC_STATIC) != 0;
    if (!(label || (code & DLGC_BUTTON)) || Mnemonic(c) != ch) continue;
    if (!(label ? ::IsWindowVisible(c) : Usable(c))) continue;
    if (label) {
      const HWND next = LabelledControl(c);
      if (next == nullptr) continue;
      ::SetFocus(next);
      if (::SendMessage(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessage(next, EM_SETSEL, 0, -1);
      return true;
    }
    if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) ::SetFocus(c);
    ::SendMessage(c, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

// The keyboard is in use: the dialog shows where its focus is.
void ShowKeyboardCues(HWND dialog) {
  ::SendMessage(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

}  // namespace

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
  if (msg == nullptr || !::IsWindow(dialog) || (msg->hwnd != dialog && !::IsChild(dialog, msg->hwnd))) return FALSE;
  const UINT vk = static_cast<UINT>(msg->wParam);
  const LRESULT code = ::SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
  const bool wantsAll = (code & DLGC_WANTMESSAGE) != 0;
  switch (msg->message) {
    case WM_KEYDOWN:
      if ((vk == VK_TAB && !wantsAll && !(code & DLGC_WANTTAB)) ||
          ((vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && !(code & DLGC_WANTARROWS))) {
        ShowKeyboardCues(dialog);
      }
      if (vk == VK_TAB && !wantsAll && !(code & DLGC_WANTTAB)) {
        const bool back = platform::IsKeyDown(VK_SHIFT);
        HWND next = ::GetNextDlgTabItem(dialog, ::GetFocus(), back ? TRUE : FALSE);
        if (next != nullptr) {
          ::SetFocus(next);
          // A control reached by Tab has its text selected, as the dialog manager does.
          if (::SendMessage(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessage(next, EM_SETSEL, 0, -1);
        }
        return TRUE;
      }
      if (vk == VK_RETURN && !wantsAll) {
        // A focused push button is the default one while it has the focus.
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
          ClickDialogButton(dialog, ::GetDlgCtrlID(msg->hwnd));
        } else {
          ClickDialogButton(dialog, LOWORD(static_cast<uintptr_t>(::SendMessage(dialog, DM_GETDEFID, 0, 0))));
        }
        return TRUE;
      }
      if ((vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && !(code & DLGC_WANTARROWS)) {
        // Arrows move within the group; an automatic radio button reached
        // this way is clicked, so the choice follows the focus.
        HWND next = ::GetNextDlgGroupItem(dialog, msg->hwnd, (vk == VK_LEFT || vk == VK_UP) ? TRUE : FALSE);
        if (next != nullptr && next != msg->hwnd) {
          ::SetFocus(next);
          if (::SendMessage(next, WM_GETDLGCODE, 0, 0) == (DLGC_BUTTON | DLGC_RADIOBUTTON) &&
              (::GetWindowLongPtr(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
              ::SendMessage(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
            ::SendMessage(next, BM_CLICK, 0, 0);
          }
        }
        return TRUE;
      }
      if (vk == VK_ESCAPE && !wantsAll) {
        ClickDialogButton(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    case WM_CHAR:
      // The characters of the keys handled above are not typed into controls.
      if ((vk == '\t' && !wantsAll && !(code & DLGC_WANTTAB)) || ((vk == '\r' || vk == 0x1B) && !wantsAll)) {
        return TRUE;
      }
      // A letter alone is a mnemonic where the focus takes no characters.
      if (vk > ' ' && vk < 0x7F && !(code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) &&
          PressMnemonic(dialog, static_cast<char>(std::tolower(static_cast<int>(vk))))) {
        ShowKeyboardCues(dialog);
        return TRUE;
      }
      break;
    case WM_SYSCHAR:
      // Alt and a letter: the mnemonic, wherever the focus is.
      if (vk > ' ' && vk < 0x7F && PressMnemonic(dialog, static_cast<char>(std::tolower(static_cast<int>(vk))))) {
        ShowKeyboardCues(dialog);
        return TRUE;
      }
      break;
    default: break;
  }
  ::TranslateMessage(msg);
  ::DispatchMessage(msg);
  return TRUE;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  platform::DialogModel* model = platform::DialogModelOf(dialog);
  if (model == nullptr) return FALSE;
  model->ended = true;
  model->result = result;
  HWND focus = ::GetFocus();
  if (focus != nullptr && ::IsChild(dialog, focus)) ::SetFocus(dialog);
  ::SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (::GetActiveWindow() == dialog) {
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && ::IsWindowEnabled(owner)) {
      ::SetActiveWindow(owner);
    } else {
      ::SetFocus(nullptr);
    }
  }
  return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (rect == nullptr || !::IsWindow(dialog)) return FALSE;
  const platform::FontSpec* font =
      platform::FontFromHandle(reinterpret_cast<HFONT>(::SendMessage(dialog, WM_GETFONT, 0, 0)));
  const SIZE base = platform::DialogBaseUnits(font != nullptr ? *font : platform::FontSpec{});
  rect->left = ::MulDiv(rect->left, base.cx, 4);
  rect->right = ::MulDiv(rect->right, base.cx, 4);
  rect->top = ::MulDiv(rect->top, base.cy, 8);
  rect->bottom = ::MulDiv(rect->bottom, base.cy, 8);
  return TRUE;
}
