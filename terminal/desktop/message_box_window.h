// A message box as a window of the platform, for the desktop mode: the box's
// caption ("Error" when none was given, as the platform shows it), its text
// and its buttons, centred over its owner's top-level window, which is
// disabled while the box shows. A click on a button answers; Enter answers
// with the button that has the focus (the default button at first); Escape
// and closing the box answer Cancel when the box has one, or OK for a lone OK.
// Tab and the arrows move the focus among the buttons; a button's underlined
// letter, alone or with Alt, presses it.
// The box paints through the renderer like any other window.
#pragma once

#include <vector>

#include "platform/afx.h"

namespace terminal::desktop {

class MessageBoxWindow : public CWnd {
 public:
  explicit MessageBoxWindow(const platform::MessageBoxRecord& box);
  ~MessageBoxWindow() override;

  // Shows the box and runs a modal loop until it is answered; when the loop
  // ends without an answer (a quit, or a manual clock with nothing left to
  // happen), the answer is the default one. The owner is enabled again and
  // the box destroyed before this returns.
  int Run();

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnClose() override;
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  void Create();
  int EscapeAnswer() const;

  platform::MessageBoxRecord m_box;
  std::vector<int> m_buttons;
  HWND m_owner = nullptr;  // the top-level window disabled meanwhile
  int m_answer = 0;
};

}  // namespace terminal::desktop
