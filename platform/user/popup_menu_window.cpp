#include "platform/user/popup_menu_window.h"

#include <algorithm>
#include <cctype>

#include "platform/user/menu_layout.h"
#include "platform/window/control_model.h"
#include "platform/window/message_queue.h"
#include "platform/window/metrics.h"
#include "platform/window/window_paint.h"
#include "platform/window/window_registry.h"

namespace platform {

namespace {

constexpr const char* kClass = "#32768";

class PopupMenuModel : public ControlModel {
 public:
  explicit PopupMenuModel(HWND hwnd) : ControlModel(hwnd) {}
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

  MenuRecord menu;
  MenuLayout layout;
  bool done = false;
  UINT_PTR chosen = 0;

 private:
  int EntryAt(POINT p) const;
  void SetHot(int hot);
  void Step(int direction);
  void Choose(int index);
  void Mnemonic(char letter);
};

const bool kRegistered =
    RegisterControlModel(kClass, CS_SAVEBITS, [](HWND h) { return std::make_unique<PopupMenuModel>(h); });

PopupMenuModel* ModelOf(HWND hwnd) {
  WindowRecord* r = FindWindowRecord(hwnd);
  return r != nullptr ? dynamic_cast<PopupMenuModel*>(r->model.get()) : nullptr;
}

int PopupMenuModel::EntryAt(POINT p) const {
  for (size_t i = 0; i < layout.rows.size(); ++i) {
    const RECT& r = layout.rows[i];
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

void PopupMenuModel::SetHot(int hot) {
  if (hot >= 0 && !Choosable(menu.entries[static_cast<size_t>(hot)])) hot = -1;
  if (hot == menu.hot) return;
  menu.hot = hot;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// The next entry that can be chosen, round the ends; stays put with none.
void PopupMenuModel::Step(int direction) {
  const int count = static_cast<int>(menu.entries.size());
  int at = menu.hot >= 0 ? menu.hot : (direction > 0 ? -1 : count);
  for (int n = 0; n < count; ++n) {
    at = ((at + direction) % count + count) % count;
    if (Choosable(menu.entries[static_cast<size_t>(at)])) {
      SetHot(at);
      return;
    }
  }
}

void PopupMenuModel::Choose(int index) {
  if (index < 0 || !Choosable(menu.entries[static_cast<size_t>(index)])) return;
  chosen = menu.entries[static_cast<size_t>(index)].id;
  done = true;
}

void PopupMenuModel::Mnemonic(char letter) {
  std::vector<int> matches;
  for (size_t i = 0; i < menu.entries.size(); ++i) {
    if (Choosable(menu.entries[i]) && MenuMnemonic(menu.entries[i]) == letter) matches.push_back(static_cast<int>(i));
  }
  if (matches.size() == 1) {
    SetHot(matches.front());
    Choose(matches.front());
  } else if (!matches.empty()) {
    const auto next = std::upper_bound(matches.begin(), matches.end(), menu.hot);
    SetHot(next != matches.end() ? *next : matches.front());
  }
}

LRESULT PopupMenuModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: SetHot(EntryAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: Choose(EntryAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      switch (wParam) {
        case VK_UP: Step(-1); break;
        case VK_DOWN: Step(1); break;
        case VK_HOME:
          menu.hot = -1;
          Step(1);
          break;
        case VK_END:
          menu.hot = -1;
          Step(-1);
          break;
        case VK_RETURN: Choose(menu.hot); break;
        case VK_ESCAPE: done = true; break;
        default: break;
      }
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (wParam > ' ' && wParam < 0x7F) Mnemonic(static_cast<char>(std::tolower(static_cast<int>(wParam))));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) done = true;
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_PAINT: {
      // The renderer draws the entries from the record (menu_picture.h).
      PAINTSTRUCT ps;
      ::BeginPaint(hwnd(), &ps);
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    default: return ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
}

}  // namespace

const MenuRecord* PopupMenuOf(HWND hwnd) {
  const PopupMenuModel* model = ModelOf(hwnd);
  return model != nullptr ? &model->menu : nullptr;
}

UINT_PTR ShowPopupMenu(const MenuRecord& menu) {
  const HWND previous = ::GetActiveWindow();
  const HWND owner = menu.owner != nullptr && ::IsWindow(menu.owner) ? ::GetAncestorTopLevel(menu.owner) : nullptr;
  const MenuLayout layout = LayOutMenu(menu.entries);
  // Kept on the screen: a menu near the right or bottom edge opens to the left or upwards.
  int x = menu.position.x;
  int y = menu.position.y;
  if (x + layout.width > GetSystemMetrics(SM_CXSCREEN)) x = std::max(0, x - layout.width);
  if (y + layout.height > GetSystemMetrics(SM_CYSCREEN)) y = std::max(0, y - layout.height);
  const HWND hwnd = ::CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClass, "", WS_POPUP, x, y, layout.width,
                                     layout.height, owner, nullptr, nullptr, nullptr);
  PopupMenuModel* model = ModelOf(hwnd);
  if (model == nullptr) return 0;
  model->menu = menu;
  model->menu.hot = -1;
  model->layout = layout;
  model->Procedure(WM_KEYDOWN, VK_HOME, 0);  // the first entry that can be chosen is hot
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetActiveWindow(hwnd);
  ::SetFocus(hwnd);
  RunModalLoop(hwnd, [hwnd] {
    const PopupMenuModel* m = ModelOf(hwnd);
    return m == nullptr || m->done;
  });
  const PopupMenuModel* ended = ModelOf(hwnd);
  const UINT_PTR chosen = ended != nullptr ? ended->chosen : 0;
  ::DestroyWindow(hwnd);
  if (::GetActiveWindow() == nullptr && previous != nullptr && ::IsWindow(previous)) ::SetActiveWindow(previous);
  return chosen;
}

}  // namespace platform
