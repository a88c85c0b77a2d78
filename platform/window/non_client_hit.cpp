#include "platform/window/non_client_hit.h"

#include "platform/window/non_client.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/window_registry.h"

namespace platform {

LRESULT NonClientHitTest(HWND hwnd, POINT screen) {
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return HTNOWHERE;
  // The bars answer from the geometry they are drawn and dragged with.
  if (const LRESULT bar = ScrollBarHitTest(hwnd, screen); bar != HTNOWHERE) return bar;
  // Scroll styles without a bar of the window's own (a combo box's are its
  // list's): their room belongs to the client (the combo's button), as on
  // the platform.
  DWORD style = record->style & ~(WS_HSCROLL | WS_VSCROLL);
  if (HasOwnScrollBar(hwnd, SB_HORZ)) style |= WS_HSCROLL;
  if (HasOwnScrollBar(hwnd, SB_VERT)) style |= WS_VSCROLL;
  RECT window;
  ::GetWindowRect(hwnd, &window);
  const NonClientLayout layout = LayOutNonClient(style, record->exStyle, window);
  return HitTestNonClient(layout, style, screen);
}

}  // namespace platform
