// The dialog manager's class model ("#32770"): default button, the focus a
// dialog keeps while inactive or hidden, and WM_CLOSE as Cancel; and the
// platform's dialog functions on a handle, which work on that model. The
// model is internal to the layer (CDialog and IsDialogMessage use it).
#pragma once

#include "platform/base/export.h"

#include "platform/window/control_model.h"
#include "platform/window/messages.h"

namespace platform {

class DialogModel : public ControlModel {
 public:
  explicit DialogModel(HWND hwnd) : ControlModel(hwnd) {}
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The control that gets the focus when the dialog is next activated.
  void SaveFocus(HWND control) { m_savedFocus = control; }
  bool ended = false;
  INT_PTR result = 0;

 private:
  void SaveCurrentFocus();
  void RestoreFocus();

  HWND m_savedFocus = nullptr;
  UINT m_defaultId = 1;  // IDOK until a template or DM_SETDEFID says otherwise
};

// The dialog model of a window of class "#32770"; null for any other window.
DialogModel* DialogModelOf(HWND hwnd);

}  // namespace platform

// The platform's dialog functions.
// Hides the dialog, gives the focus to the dialog itself, activates its
// owner, and ends a modal loop running for it.
PLATFORM_API BOOL EndDialog(HWND dialog, INT_PTR result);
PLATFORM_API BOOL IsDialogMessage(HWND dialog, MSG* msg);
// Converts a rectangle in the dialog's dialog units to pixels.
PLATFORM_API BOOL MapDialogRect(HWND dialog, LPRECT rect);
