// Control models: the behaviour of the platform's built-in window classes
// ("BUTTON", "EDIT", "STATIC", "COMBOBOX", ...), standing where the
// platform's own control procedure stands.
//
// A model is created for each window of its class when the window is created
// (before WM_NCCREATE) and destroyed with the window. It receives every
// message that the window's attached C++ object, if any, did not consume
// (CWnd::DefWindowProc forwards to it), and keeps the control's state in its
// own members. It tells the parent what happened through NotifyParent
// (WM_COMMAND) or NotifyParentWith (WM_NOTIFY), exactly as the platform's
// controls do; the parent's object then sees the notification reflected to
// the control's object first (see CWnd::OnChildNotify).
//
// Register a model once per process, e.g. from a static initialiser in the
// model's own .cpp file:
//
//   const bool registered = platform::RegisterControlModel(
//       "BUTTON", CS_DBLCLKS, [](HWND h) { return std::make_unique<ButtonModel>(h); });
//
// Class names compare without regard to case, as on the platform.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

namespace platform {

class ControlModel {
 public:
  explicit ControlModel(HWND hwnd) : m_hwnd(hwnd) {}
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;
  virtual ~ControlModel() = default;

  // The control's procedure. Messages it does not handle go to
  // ::DefWindowProc (text, font, icons, close, context menu, ...).
  virtual LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  HWND hwnd() const { return m_hwnd; }

 protected:
  // Sends WM_COMMAND (id, code, this control) to the parent; returns its result.
  LRESULT NotifyParent(UINT code) const;
  // Sends WM_NOTIFY with `header` (hwndFrom, idFrom filled in here) to the parent.
  LRESULT NotifyParentWith(NMHDR& header) const;
  DWORD Style() const;
  int ControlId() const;
  // Paints the control as the platform's standard controls do: BeginPaint;
  // WM_CTLCOLOR* (`ctlColorMessage`) to the parent, which sets the DC's
  // colours and returns a brush; the client area filled with that brush
  // (unless `fill` is false); `text` drawn with DrawText's `format` in
  // `textRect` (grey when the control is disabled); EndPaint.
  void PaintWithParentColours(UINT ctlColorMessage, std::string_view text, RECT textRect, UINT format,
                              bool fill = true) const;
  // WM_PAINT and WM_PRINTCLIENT (`message`) for a control that draws itself
  // with draw(dc): on the window's paint DC between BeginPaint and EndPaint,
  // or on the DC the sender passes in `wParam`. Returns 0, the answer to both.
  LRESULT PaintOrPrint(UINT message, WPARAM wParam, const std::function<void(HDC)>& draw) const;

 private:
  HWND m_hwnd;
};

// WM_GETTEXT's copy: at most size - 1 characters of `text` and a
// terminator into the buffer; returns the characters copied.
LRESULT CopyWindowText(std::string_view text, WPARAM size, LPARAM buffer);

using ControlModelFactory = std::function<std::unique_ptr<ControlModel>(HWND)>;

// Registers the model of a window class; a second registration of the same
// name replaces the first (a test may install a fake). `classStyle` holds the
// class's CS_ flags (CS_DBLCLKS decides whether double clicks arrive as
// WM_LBUTTONDBLCLK). Returns true so it can initialise a static.
bool RegisterControlModel(std::string_view className, UINT classStyle, ControlModelFactory factory);

// The model for a new window of `className`, or null for a class without one
// (such a window behaves as ::DefWindowProc makes it). Sets *classStyle.
std::unique_ptr<ControlModel> CreateControlModel(std::string_view className, HWND hwnd, UINT* classStyle);

}  // namespace platform
