// The "BUTTON" class model; its behaviour is described in platform/user/cbutton.h.
#include "platform/window/winapi.h"

#include <algorithm>

#include "platform/window/control_model.h"
#include "platform/gdi/device_context.h"
#include "platform/window/window_paint.h"

namespace {

class ButtonModel : public platform::ControlModel {
 public:
  explicit ButtonModel(HWND hwnd) : ControlModel(hwnd) {}
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  DWORD Type() const { return Style() & BS_TYPEMASK; }
  bool IsCheckType() const {
    const DWORD t = Type();
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON ||
           t == BS_3STATE || t == BS_AUTO3STATE;
  }
  bool IsRadio() const { return Type() == BS_RADIOBUTTON || Type() == BS_AUTORADIOBUTTON; }
  void Press();
  void Release(bool inside);
  void SetCheck(UINT check);
  void UncheckGroupSiblings();
  void DrawItem(UINT action, HDC paintDc = nullptr);
  void Paint();
  std::string Text() const;
  LRESULT DialogCode() const;

  UINT m_check = BST_UNCHECKED;
  bool m_pushed = false;    // drawn pushed in (BM_SETSTATE)
  bool m_pressing = false;  // a press is under way (mouse or Space)
  bool m_focus = false;
};

const bool kRegistered = platform::RegisterControlModel("BUTTON", CS_DBLCLKS | CS_PARENTDC,
                                                        [](HWND h) { return std::make_unique<ButtonModel>(h); });

void ButtonModel::DrawItem(UINT action, HDC paintDc) {
  if (Type() != BS_OWNERDRAW || !::IsWindowVisible(hwnd())) return;
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(ControlId());
  dis.itemID = 0;
  dis.itemAction = action;
  // An owner-drawn button cannot carry BS_DEFPUSHBUTTON: it is the default
  // button when its dialog names it so.
  const LRESULT defId = ::SendMessage(::GetParent(hwnd()), DM_GETDEFID, 0, 0);
  const bool isDefault = HIWORD(static_cast<uintptr_t>(defId)) == DC_HASDEFID &&
                         LOWORD(static_cast<uintptr_t>(defId)) == static_cast<WORD>(ControlId());
  dis.itemState = (m_pushed ? ODS_SELECTED : 0) | (m_focus ? ODS_FOCUS : 0) |
                  (::IsWindowEnabled(hwnd()) ? 0 : ODS_DISABLED) | (isDefault ? ODS_DEFAULT : 0);
  dis.hwndItem = hwnd();
  dis.hDC = paintDc != nullptr ? paintDc : ::GetDC(hwnd());
  ::GetClientRect(hwnd(), &dis.rcItem);
  ::SendMessage(::GetParent(hwnd()), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  if (paintDc == nullptr) ::ReleaseDC(hwnd(), dis.hDC);
}

std::string ButtonModel::Text() const {
  std::string text(static_cast<size_t>(::GetWindowTextLength(hwnd())) + 1, '\0');
  text.resize(static_cast<size_t>(::GetWindowText(hwnd(), text.data(), static_cast<int>(text.size()))));
  return text;
}

// Push buttons ask for WM_CTLCOLORBTN and centre their caption; check boxes,
// radio buttons and group boxes ask for WM_CTLCOLORSTATIC, as on the
// platform. The box of a check or radio button is 13 pixels and 3 apart from
// its caption; a group box's caption sits 8 pixels in, over its frame.
void ButtonModel::Paint() {
  RECT r;
  ::GetClientRect(hwnd(), &r);
  switch (Type()) {
    case BS_OWNERDRAW: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      DrawItem(ODA_DRAWENTIRE, dc);
      ::EndPaint(hwnd(), &ps);
      return;
    }
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_PUSHBOX: PaintWithParentColours(WM_CTLCOLORBTN, Text(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE); return;
    case BS_GROUPBOX:
      r.left += 8;
      PaintWithParentColours(WM_CTLCOLORSTATIC, Text(), r, DT_LEFT | DT_TOP | DT_SINGLELINE, false);
      return;
    default:
      r.left += 13 + 3;
      PaintWithParentColours(WM_CTLCOLORSTATIC, Text(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      return;
  }
}

void ButtonModel::Press() {
  ::SetCapture(hwnd());
  ::SetFocus(hwnd());
  m_pressing = true;
  ::SendMessage(hwnd(), BM_SETSTATE, TRUE, 0);
}

void ButtonModel::Release(bool inside) {
  if (!m_pressing) return;
  m_pressing = false;
  const bool wasPushed = m_pushed;
  ::SendMessage(hwnd(), BM_SETSTATE, FALSE, 0);
  if (::GetCapture() == hwnd()) ::ReleaseCapture();
  if (!wasPushed || !inside) return;
  switch (Type()) {
    case BS_AUTOCHECKBOX:
      ::SendMessage(hwnd(), BM_SETCHECK, m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    case BS_AUTORADIOBUTTON: ::SendMessage(hwnd(), BM_SETCHECK, BST_CHECKED, 0); break;
    case BS_AUTO3STATE: ::SendMessage(hwnd(), BM_SETCHECK, (m_check + 1) % 3, 0); break;
    default: break;
  }
  NotifyParent(BN_CLICKED);
}

void ButtonModel::SetCheck(UINT check) {
  if (!IsCheckType()) return;
  const DWORD t = Type();
  if (t != BS_3STATE && t != BS_AUTO3STATE) check = std::min<UINT>(check, BST_CHECKED);
  m_check = check & 3;
  if (IsRadio()) {
    const DWORD style = Style();
    const DWORD next = m_check == BST_CHECKED ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    if (next != style) ::SetWindowLongPtr(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(next));
  }
  if (t == BS_AUTORADIOBUTTON && m_check == BST_CHECKED) UncheckGroupSiblings();
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void ButtonModel::UncheckGroupSiblings() {
  // The group: back to the nearest sibling with WS_GROUP, forward to the next one.
  auto hasGroup = [](HWND h) { return (::GetWindowLongPtr(h, GWL_STYLE) & WS_GROUP) != 0; };
  HWND first = hwnd();
  while (!hasGroup(first)) {
    HWND prev = ::GetWindow(first, GW_HWNDPREV);
    if (prev == nullptr) break;
    first = prev;
  }
  for (HWND h = first; h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (h != first && hasGroup(h)) break;
    if (h != hwnd() && (::GetWindowLongPtr(h, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        ::SendMessage(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      ::SendMessage(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

LRESULT ButtonModel::DialogCode() const {
  switch (Type()) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
  }
}

LRESULT ButtonModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool groupBox = Type() == BS_GROUPBOX;
  switch (message) {
    case WM_GETDLGCODE: return DialogCode();
    case WM_NCHITTEST: return groupBox ? HTTRANSPARENT : HTCLIENT;
    case BM_GETCHECK: return IsCheckType() ? m_check : 0;
    case BM_SETCHECK: SetCheck(static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE: return (IsCheckType() ? m_check : 0) | (m_pushed ? BST_PUSHED : 0) | (m_focus ? BST_FOCUS : 0);
    case BM_SETSTATE:
      if (m_pushed != (wParam != 0)) {
        m_pushed = wParam != 0;
        DrawItem(ODA_SELECT);
      }
      return 0;
    case BM_SETSTYLE: {
      const DWORD style = (Style() & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFF);
      ::SetWindowLongPtr(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(style));
      return 0;
    }
    case BM_CLICK:
      ::SendMessage(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
      ::SendMessage(hwnd(), WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_LBUTTONDBLCLK:
      if ((Style() & BS_NOTIFY) || Type() == BS_RADIOBUTTON || Type() == BS_OWNERDRAW) {
        NotifyParent(BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (!groupBox) Press();
      return 0;
    case WM_LBUTTONUP: {
      CRect client;
      ::GetClientRect(hwnd(), &client);
      Release(client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))));
      return 0;
    }
    case WM_MOUSEMOVE:
      if (m_pressing && ::GetCapture() == hwnd()) {
        CRect client;
        ::GetClientRect(hwnd(), &client);
        const bool inside = client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        ::SendMessage(hwnd(), BM_SETSTATE, inside ? TRUE : FALSE, 0);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && !groupBox && !m_pressing) Press();
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE) Release(true);
      return 0;
    case WM_CAPTURECHANGED:
      if (m_pressing && reinterpret_cast<HWND>(lParam) != hwnd()) {
        m_pressing = false;
        ::SendMessage(hwnd(), BM_SETSTATE, FALSE, 0);
      }
      return 0;
    case WM_SETFOCUS:
      m_focus = true;
      DrawItem(ODA_FOCUS);
      if (Style() & BS_NOTIFY) NotifyParent(BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      m_focus = false;
      DrawItem(ODA_FOCUS);
      if (m_pressing && ::GetCapture() == hwnd()) ::ReleaseCapture();
      if (Style() & BS_NOTIFY) NotifyParent(BN_KILLFOCUS);
      return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ENABLE:
    case WM_SETTEXT:
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      return message == WM_SETTEXT ? ::DefWindowProc(hwnd(), message, wParam, lParam) : 0;
    default: return ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
}

}  // namespace
