// A pop-up menu as a window of the platform, for the desktop mode: a
// caption-less pop-up at the menu's position holding a list of its entries
// (a separator as a blank line, a checked entry marked "* ", a tab's
// accelerator text set off by spaces). A click on an entry, or Enter on the
// one selected, chooses it; a greyed or disabled entry or a separator cannot
// be chosen and leaves the menu open. Escape, or the menu losing the
// activation (a click anywhere else), dismisses it.
#pragma once

#include "platform/afx.h"
#include "platform/user/menu.h"

namespace terminal::desktop {

class MenuWindow : public CWnd {
 public:
  explicit MenuWindow(platform::MenuRecord menu);
  ~MenuWindow() override;

  // Shows the menu and runs a modal loop until an entry is chosen or the
  // menu dismissed; returns the entry's id, 0 when dismissed. The menu's
  // window is gone before this returns.
  UINT_PTR Run();

 protected:
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  void Create();
  // Chooses the selected entry when it can be chosen.
  void ChooseSelected();

  platform::MenuRecord m_menu;
  HWND m_list = nullptr;
  HWND m_previousActive = nullptr;
  bool m_done = false;
  UINT_PTR m_chosen = 0;
};

}  // namespace terminal::desktop
