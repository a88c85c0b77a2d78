// Creating and destroying windows, and the procedure chain SendMessage calls.
#include <algorithm>

#include "platform/gdi/device_context.h"
#include "platform/window/message_queue.h"
#include "platform/window/cwnd.h"
#include "platform/window/window_registry.h"

namespace platform {

WindowRecord* FindWindowRecord(HWND hwnd) { return WindowRegistry::Get().Find(hwnd); }

LRESULT CallClassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return 0;
  DispatchScope scope;
  if (record->model) return record->model->Procedure(message, wParam, lParam);
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

bool IsSelfOrDescendant(HWND ancestor, HWND hwnd) {
  for (WindowRecord* r = FindWindowRecord(hwnd); r != nullptr;
       r = r->IsChild() ? FindWindowRecord(r->parent) : nullptr) {
    if (r->hwnd == ancestor) return true;
  }
  return false;
}

namespace {

void Unlink(WindowRecord& record) {
  auto& siblings = WindowRegistry::Get().Siblings(record);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), record.hwnd), siblings.end());
}

// Sends WM_DESTROY to the window and then to its children, parent first.
void SendDestroyMessages(HWND hwnd) {
  ::SendMessage(hwnd, WM_DESTROY, 0, 0);
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return;
  const std::vector<HWND> children = record->children;
  for (HWND child : children) {
    if (FindWindowRecord(child) != nullptr) SendDestroyMessages(child);
  }
}

// Frees the children (each after its own children), then the window; each
// gets WM_NCDESTROY just before it leaves the registry.
void FreeWindow(HWND hwnd) {
  WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return;
  const std::vector<HWND> children = record->children;
  for (HWND child : children) FreeWindow(child);
  ::SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  record = FindWindowRecord(hwnd);
  if (record == nullptr) return;
  KillWindowTimers(hwnd);
  WindowDestroyed(hwnd);
  Unlink(*record);
  WindowRegistry::Get().Remove(hwnd);
}

}  // namespace

HWND CreateWindowWithObject(CWnd* object, DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int cx, int cy, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  auto& registry = WindowRegistry::Get();
  const bool child = (style & WS_CHILD) != 0;
  if (child && registry.Find(parent) == nullptr) return nullptr;

  auto record = std::make_unique<WindowRecord>();
  record->hwnd = registry.NewHandle();
  record->className = className != nullptr && !IS_INTRESOURCE(className) ? className : "";
  record->style = style & ~WS_VISIBLE;  // shown below, after creation, as the platform does
  record->exStyle = exStyle;
  if (child) {
    record->parent = parent;
    record->id = static_cast<int>(reinterpret_cast<intptr_t>(menuOrId));
    if (const WindowRecord* p = registry.Find(parent)) record->uiState = p->uiState;  // the keyboard cues of its window
  } else if (WindowRecord* owner = registry.Find(parent)) {
    // A top-level window's owner is always a top-level window.
    HWND top = owner->hwnd;
    while (WindowRecord* r = registry.Find(top)) {
      if (!r->IsChild()) break;
      top = r->parent;
    }
    record->owner = top;
  }
  if (x == CW_USEDEFAULT) x = 0, y = 0;
  if (cx == CW_USEDEFAULT) cx = 0, cy = 0;
  record->rect = RECT{x, y, x + cx, y + cy};
  record->instance = instance;
  record->object = object;
  const HWND hwnd = record->hwnd;
  record->model = CreateControlModel(record->className, hwnd, &record->classStyle);
  WindowRecord& added = registry.Add(std::move(record));
  // New child windows go below their siblings, so children keep creation
  // order (a dialog's tab order); new top-level windows go on top.
  auto& siblings = registry.Siblings(added);
  if (child) {
    siblings.push_back(hwnd);
  } else {
    siblings.insert(siblings.begin(), hwnd);
  }
  if (object != nullptr) object->m_hWnd = hwnd;

  DispatchScope scope;
  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.x = x, cs.y = y, cs.cx = cx, cs.cy = cy;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!::SendMessage(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      ::SendMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    ::DestroyWindow(hwnd);
    return nullptr;
  }
  if (!::IsWindow(hwnd)) return nullptr;
  RECT client;
  ::GetClientRect(hwnd, &client);
  ::SendMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  ::SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  if ((style & WS_VISIBLE) && ::IsWindow(hwnd)) ::ShowWindow(hwnd, child ? SW_SHOWNA : SW_SHOW);
  return ::IsWindow(hwnd) ? hwnd : nullptr;
}

}  // namespace platform

using platform::FindWindowRecord;

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  return platform::CreateWindowWithObject(nullptr, exStyle, className, windowName, style, x, y, cx, cy, parent,
                                          menuOrId, instance, param);
}

BOOL IsWindow(HWND hwnd) { return FindWindowRecord(hwnd) != nullptr; }

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  platform::WindowRecord* record = FindWindowRecord(hwnd);
  if (record == nullptr) return 0;
  platform::DispatchScope scope;
  // While one of its scroll bars is pressed, the window's mouse is the bar's.
  if (platform::ScrollBarTracking(hwnd)) {
    if (const auto taken = platform::ScrollBarTrackMessage(hwnd, message, wParam, lParam)) return *taken;
    if ((record = FindWindowRecord(hwnd)) == nullptr) return 0;
  }
  if (record->object != nullptr) return record->object->Dispatch(message, wParam, lParam);
  if (record->model) return record->model->Procedure(message, wParam, lParam);
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

BOOL DestroyWindow(HWND hwnd) {
  auto& registry = platform::WindowRegistry::Get();
  platform::WindowRecord* record = registry.Find(hwnd);
  if (record == nullptr) return FALSE;
  if (record->destroying) return TRUE;
  record->destroying = true;
  platform::DispatchScope scope;

  // Owned windows go first.
  if (!record->IsChild()) {
    const std::vector<HWND> topLevel = registry.TopLevel();
    for (HWND other : topLevel) {
      platform::WindowRecord* r = registry.Find(other);
      if (r != nullptr && r->owner == hwnd) ::DestroyWindow(other);
    }
  }
  // Off the screen, without focus or capture, before any message.
  if (registry.focus != nullptr && platform::IsSelfOrDescendant(hwnd, registry.focus)) {
    const HWND lost = registry.focus;
    registry.focus = nullptr;
    ::SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  if (registry.capture != nullptr && platform::IsSelfOrDescendant(hwnd, registry.capture)) ::ReleaseCapture();
  if ((record = registry.Find(hwnd)) == nullptr) return TRUE;
  record->style &= ~WS_VISIBLE;
  if (registry.active == hwnd) registry.active = nullptr;

  platform::SendDestroyMessages(hwnd);
  platform::FreeWindow(hwnd);
  return TRUE;
}
