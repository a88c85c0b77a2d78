// CWnd's tool-tips: the hit test of a window's own tools and the relay of its
// mouse messages to the one tool-tip that shows them.
//
// Invariant: the shared tip holds at most one tool, the last one a hit test
// named (m_tool below); a move onto another tool (another hit, window or
// rectangle) replaces it, which hides the tip of the old one. Everything
// here runs on the user-interface thread.
#include <climits>

#include "platform/comctl/tooltip.h"
#include "platform/window/cwnd.h"
#include "platform/window/tool_tip_filter.h"

namespace {

struct Relay {
  HWND tip = nullptr;
  bool hasTool = false;
  HWND toolWindow = nullptr;
  UINT_PTR toolId = 0;
  INT_PTR hit = -1;
  RECT rect{};  // the tool's rectangle: another rectangle is another tool
};

Relay& TheRelay() {
  static Relay relay;
  return relay;
}

bool IsMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return true;
    default: return false;
  }
}

// The shared tip, made again when its window has gone (with the dialog that
// owned it, or a test's reset). Handles are never reused, so a dead one stays dead.
HWND SharedTip(HWND forWindow) {
  Relay& relay = TheRelay();
  if (relay.tip != nullptr && ::IsWindow(relay.tip)) return relay.tip;
  relay = Relay{};
  relay.tip = ::CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                               0, ::GetAncestorTopLevel(forWindow), nullptr, nullptr, nullptr);
  // Long texts stay on one line unless they hold line breaks.
  if (relay.tip != nullptr) ::SendMessage(relay.tip, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
  return relay.tip;
}

// A mouse message of `window`, whose tool-tips are on: the tool its hit test
// names goes into the shared tip, and the message is relayed to the tip.
void RelayToolTipMessage(CWnd& window, const MSG& msg) {
  if (!IsMouseMessage(msg.message)) return;
  TOOLINFO info;
  const INT_PTR hit = window.OnToolHitTest(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)), &info);
  Relay& relay = TheRelay();
  // No tip window until some window names a tool.
  if (hit == -1 && (relay.tip == nullptr || !::IsWindow(relay.tip))) return;
  const HWND tip = SharedTip(window.m_hWnd);
  if (tip == nullptr) return;
  const bool same = relay.hasTool && hit != -1 && relay.hit == hit && relay.toolWindow == info.hwnd &&
                    relay.rect.left == info.rect.left && relay.rect.top == info.rect.top &&
                    relay.rect.right == info.rect.right && relay.rect.bottom == info.rect.bottom;
  if (!same && (relay.hasTool || hit != -1)) {
    if (relay.hasTool) {
      TOOLINFO old;
      old.hwnd = relay.toolWindow;
      old.uId = relay.toolId;
      ::SendMessage(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&old));
      relay.hasTool = false;
    }
    if (hit != -1) {
      info.cbSize = sizeof(TOOLINFO);
      info.uFlags &= ~TTF_TRACK;
      relay.hasTool = ::SendMessage(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
      relay.toolWindow = info.hwnd;
      relay.toolId = info.uId;
      relay.hit = hit;
      relay.rect = info.rect;
    }
  }
  MSG relayed = msg;
  ::SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL enable) {
  platform::SetToolTipFilter(&RelayToolTipMessage);
  const bool was = m_bToolTips;
  m_bToolTips = enable != FALSE;
  Relay& relay = TheRelay();
  if (!m_bToolTips && relay.hasTool && relay.toolWindow == m_hWnd && ::IsWindow(relay.tip)) {
    TOOLINFO gone;
    gone.hwnd = relay.toolWindow;
    gone.uId = relay.toolId;
    ::SendMessage(relay.tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&gone));
    relay.hasTool = false;
  }
  return was ? TRUE : FALSE;
}
