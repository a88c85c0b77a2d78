// The dialog manager's class model ("#32770"): default button, the focus a
// dialog keeps while inactive or hidden, and WM_CLOSE as Cancel. Internal to
// the layer (CDialog and IsDialogMessage use it).
#pragma once

#include "platform/window/control_model.h"

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
