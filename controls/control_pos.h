// CControlPos: moves and stretches registered child controls of a parent
// window when the parent's client area changes size.
//
// Each control carries flags: move it right (kMoveRight) or down (kMoveDown)
// by the parent's growth, or stretch its right (kStretchRight) or bottom
// (kStretchDown) edge by it. Below the minimum size the parent is taken as
// no smaller than the minimum, so controls stop moving there; free resizing
// ignores the minimum. Sizes are recorded at each MoveControls, so growth is
// measured from the last layout, not from creation.
//
// Construction records the parent but leaves the recorded size at 0 by 0:
// the owner calls UpdateParentSize once its controls have their first
// positions (a dialog in OnInitDialog), then MoveControls from WM_SIZE.
#pragma once

#include <memory>
#include <vector>

#include "platform/window/cwnd.h"

class CControlPos {
 public:
  enum Flags : DWORD {
    kMoveRight = 1,
    kMoveDown = 2,
    kStretchRight = 4,
    kStretchDown = 8,
  };

  explicit CControlPos(CWnd* parent = nullptr);
  virtual ~CControlPos();
  CControlPos(const CControlPos&) = delete;
  CControlPos& operator=(const CControlPos&) = delete;

  // Repositions every registered control for the parent's current client
  // size, records that size and repaints the parent at once. No parent: nothing.
  virtual void MoveControls();
  // Records the parent's current client size as the base of the next move.
  virtual void UpdateParentSize();

  // A parent attached later; records its size as UpdateParentSize does.
  void SetParent(CWnd* parent);
  // Registers a child control of the parent with a combination of Flags.
  // A control that is not a window is refused (FALSE); registering one
  // again replaces its flags.
  BOOL AddControl(HWND control, DWORD flags);
  BOOL AddControl(CWnd* control, DWORD flags) { return AddControl(control->GetSafeHwnd(), flags); }
  void SetMinimumSize(int width, int height);
  void SetFreeResizing(BOOL free) { m_bFreeResize = free; }

 private:
  struct ControlRecord {
    HWND hwnd;
    DWORD flags;
  };

  CWnd* m_pParent = nullptr;
  int m_nOldParentWidth = 0;
  int m_nOldParentHeight = 0;
  int m_nMinParentWidth = 0;
  int m_nMinParentHeight = 0;
  BOOL m_bFreeResize = FALSE;
  std::vector<std::unique_ptr<ControlRecord>> m_controls;
};
