#include "platform/static.h"

#include "platform/control_model.h"

namespace {

class StaticModel : public platform::ControlModel {
 public:
  explicit StaticModel(HWND hwnd) : ControlModel(hwnd) {}

  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
    const bool notify = (Style() & SS_NOTIFY) != 0;
    switch (message) {
      case WM_GETDLGCODE:
        return DLGC_STATIC;
      case WM_NCHITTEST:
        return notify ? HTCLIENT : HTTRANSPARENT;
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
      case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(m_image);
      case WM_SETTEXT:
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        return ::DefWindowProc(hwnd(), message, wParam, lParam);
      case WM_PAINT:
        if ((Style() & SS_TYPEMASK) == SS_OWNERDRAW) {
          DRAWITEMSTRUCT dis;
          dis.CtlType = ODT_STATIC;
          dis.CtlID = static_cast<UINT>(ControlId());
          dis.itemAction = ODA_DRAWENTIRE;
          dis.itemState = ::IsWindowEnabled(hwnd()) ? 0 : ODS_DISABLED;
          dis.hwndItem = hwnd();
          ::GetClientRect(hwnd(), &dis.rcItem);
          ::SendMessage(::GetParent(hwnd()), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        }
        return 0;
      default:
        return ::DefWindowProc(hwnd(), message, wParam, lParam);
    }
  }

 private:
  HANDLE m_image = nullptr;
};

const bool kRegistered = platform::RegisterControlModel(
    "STATIC", CS_DBLCLKS | CS_PARENTDC, [](HWND h) { return std::make_unique<StaticModel>(h); });

}  // namespace

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, "STATIC", text, style | WS_CHILD, rect, parent, id);
}
