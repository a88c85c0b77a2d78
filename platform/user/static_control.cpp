// The "STATIC" class model; its behaviour is described in platform/user/cstatic.h.
#include "platform/window/winapi.h"

#include <string>

#include "platform/window/control_model.h"
#include "platform/gdi/device_context.h"
#include "platform/window/window_paint.h"

namespace {

class StaticModel : public platform::ControlModel {
 public:
  explicit StaticModel(HWND hwnd) : ControlModel(hwnd) {}

  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
    const bool notify = (Style() & SS_NOTIFY) != 0;
    switch (message) {
      case WM_GETDLGCODE: return DLGC_STATIC;
      case WM_NCHITTEST: return notify ? HTCLIENT : HTTRANSPARENT;
      case WM_LBUTTONDOWN:
        if (notify) NotifyParent(STN_CLICKED);
        return 0;
      case WM_LBUTTONDBLCLK:
        if (notify) NotifyParent(STN_DBLCLK);
        return 0;
      case WM_ENABLE:
        if (notify) NotifyParent(wParam ? STN_ENABLE : STN_DISABLE);
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
      case STM_SETICON:
      case STM_SETIMAGE: {
        const auto previous = reinterpret_cast<LRESULT>(m_image);
        m_image = reinterpret_cast<HANDLE>(message == STM_SETICON ? wParam : static_cast<WPARAM>(lParam));
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return previous;
      }
      case STM_GETICON:
      case STM_GETIMAGE: return reinterpret_cast<LRESULT>(m_image);
      case WM_SETTEXT:
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return ::DefWindowProc(hwnd(), message, wParam, lParam);
      case WM_PAINT: Paint(); return 0;
      default: return ::DefWindowProc(hwnd(), message, wParam, lParam);
    }
  }

 private:
  void Paint() {
    const DWORD style = Style();
    const DWORD type = style & SS_TYPEMASK;
    RECT r;
    ::GetClientRect(hwnd(), &r);
    if (type == SS_OWNERDRAW) {
      PAINTSTRUCT ps;
      DRAWITEMSTRUCT dis;
      dis.CtlType = ODT_STATIC;
      dis.CtlID = static_cast<UINT>(ControlId());
      dis.itemAction = ODA_DRAWENTIRE;
      dis.itemState = ::IsWindowEnabled(hwnd()) ? 0 : ODS_DISABLED;
      dis.hwndItem = hwnd();
      dis.hDC = ::BeginPaint(hwnd(), &ps);
      dis.rcItem = r;
      ::SendMessage(::GetParent(hwnd()), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      ::EndPaint(hwnd(), &ps);
      return;
    }
    UINT format = 0;
    switch (type) {
      case SS_LEFT: format = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS; break;
      case SS_CENTER: format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS; break;
      case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS; break;
      case SS_SIMPLE: format = DT_LEFT | DT_SINGLELINE; break;
      case SS_LEFTNOWORDWRAP: format = DT_LEFT | DT_EXPANDTABS; break;
      default: {
        // Images, rectangles and frames: nothing of the parent's colours.
        PAINTSTRUCT ps;
        ::BeginPaint(hwnd(), &ps);
        ::EndPaint(hwnd(), &ps);
        return;
      }
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_VCENTER | DT_SINGLELINE;
    switch (style & SS_WORDELLIPSIS) {
      case SS_ENDELLIPSIS: format |= DT_END_ELLIPSIS; break;
      case SS_PATHELLIPSIS: format |= DT_PATH_ELLIPSIS; break;
      case SS_WORDELLIPSIS: format |= DT_WORD_ELLIPSIS; break;
      default: break;
    }
    std::string text(static_cast<size_t>(::GetWindowTextLength(hwnd())) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowText(hwnd(), text.data(), static_cast<int>(text.size()))));
    PaintWithParentColours(WM_CTLCOLORSTATIC, text, r, format);
  }

  HANDLE m_image = nullptr;
};

const bool kRegistered = platform::RegisterControlModel("STATIC", CS_DBLCLKS | CS_PARENTDC,
                                                        [](HWND h) { return std::make_unique<StaticModel>(h); });

}  // namespace
