// The window registry: one record per window, the window tree, and the
// process-wide focus, activation and capture. Internal to the layer: code
// outside platform/ uses the functions of platform/window/winapi.h and CWnd.
//
// Lifetime: a destroyed window leaves the registry at once (IsWindow is
// false), but its record, model and handle wrapper are freed only when the
// outermost message dispatch returns, so a control procedure whose window is
// destroyed by a handler it called can finish safely.
#pragma once

#include <absl/container/flat_hash_map.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/window/control_model.h"
#include "platform/window/scroll_state.h"
#include "platform/window/winapi.h"
#include "platform/base/wintypes.h"

class CWnd;

namespace platform {

// Deletes the wrapper CWnd::FromHandle made for a window without an object,
// letting go of the window without destroying it (the wrapper never owned
// it). Defined with CWnd (cwnd.cpp): the registry sits below CWnd and holds
// its wrappers by pointer.
struct WrapperDeleter {
  void operator()(CWnd* wrapper) const;
};

struct WindowRecord {
  HWND hwnd = nullptr;
  std::string className;
  UINT classStyle = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;                  // control id of a child window
  HWND parent = nullptr;       // child windows only
  HWND owner = nullptr;        // top-level windows only
  std::vector<HWND> children;  // z-order, top first
  std::string text;
  RECT rect;  // parent client coordinates (screen for top-level windows)
  HFONT font = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  CWnd* object = nullptr;                         // attached object: first in the procedure chain (not owned)
  std::unique_ptr<CWnd, WrapperDeleter> wrapper;  // what CWnd::FromHandle hands out when no object is attached
  std::unique_ptr<ControlModel> model;
  std::unique_ptr<ScrollBarState> scrollBars;  // WS_HSCROLL / WS_VSCROLL numbers, made on first use
  bool destroying = false;
  bool needsPaint = false;       // invalidated since its last WM_PAINT
  bool hiddenWithOwner = false;  // hidden by ShowOwnedPopups, to be shown again with its owner
  // Where a minimised or maximised window goes back to, and whether a
  // minimised window was maximised before (it comes back maximised).
  RECT normalRect{};
  bool restoreMaximized = false;
  WORD uiState = 0;  // UISF_HIDEFOCUS, UISF_HIDEACCEL (WM_QUERYUISTATE)

  WindowRecord();
  ~WindowRecord();
  bool IsChild() const { return (style & WS_CHILD) != 0; }
};

class WindowRegistry {
 public:
  static WindowRegistry& Get();

  WindowRecord* Find(HWND hwnd);
  WindowRecord& Add(std::unique_ptr<WindowRecord> record);
  // Removes the window from the registry; its record lives on until the
  // outermost dispatch returns (see the file comment).
  void Remove(HWND hwnd);
  HWND NewHandle();

  // Top-level windows in z-order, top first.
  std::vector<HWND>& TopLevel() { return m_topLevel; }
  // The sibling list a window lives in (its parent's children or the top-level list).
  std::vector<HWND>& Siblings(const WindowRecord& record);

  // Message dispatch depth, so records are freed only when it returns to 0.
  void EnterDispatch() { ++m_dispatchDepth; }
  void LeaveDispatch();

  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;

 private:
  void FreeGraveyard();

  // Looked up on every message: an open-addressed table, no node to chase,
  // and the window found last, which the next lookup mostly asks for again
  // (a list's row insertion reads its own window a dozen times).
  absl::flat_hash_map<HWND, std::unique_ptr<WindowRecord>> m_windows;
  HWND m_lastHwnd = nullptr;
  WindowRecord* m_lastRecord = nullptr;
  std::vector<std::unique_ptr<WindowRecord>> m_graveyard;
  std::vector<HWND> m_topLevel;
  uintptr_t m_nextHandle = 0x10000;
  int m_dispatchDepth = 0;
};

// Shorthand for WindowRegistry::Get().Find(hwnd).
WindowRecord* FindWindowRecord(HWND hwnd);
// The window's class model, or ::DefWindowProc when it has none.
LRESULT CallClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// True when hwnd is `ancestor` or one of its descendants (child windows only).
bool IsSelfOrDescendant(HWND ancestor, HWND hwnd);
// Screen position of the client area's top-left corner.
POINT ClientOriginOnScreen(const WindowRecord& record);

// The first visible window (parents before children, top of the z-order
// first) that waits for WM_PAINT; null when none.
HWND NextWindowToPaint();
// Marks a window and all its descendants for repainting.
void InvalidateTree(HWND hwnd);
// Destroys every top-level window (owned pop-ups go with their owners),
// round after round while a round frees some; the number left, which is 0
// unless a window outlives DestroyWindow.
size_t DestroyAllWindows();

// CreateWindowEx with `object` attached before the first message, as the
// framework's creation hook does for CWnd::CreateEx.
HWND CreateWindowWithObject(CWnd* object, DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int cx, int cy, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);

// WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC and their CTLCOLOR_ kind.
bool IsCtlColorMessage(UINT message);
UINT CtlColorKind(UINT message);
// The owner-draw questions a control asks its parent about its items:
// WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM.
bool IsOwnerDrawMessage(UINT message);

// Scope of one message dispatch.
class DispatchScope {
 public:
  DispatchScope() { WindowRegistry::Get().EnterDispatch(); }
  ~DispatchScope() { WindowRegistry::Get().LeaveDispatch(); }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;
};

}  // namespace platform
