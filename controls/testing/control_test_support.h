// What the controls' tests share: a parent window that records the
// notifications it gets, and a repaint that starts a window's display list
// afresh. Header only: the folder's library is every .cpp but the tests.
#pragma once

#include <utility>
#include <vector>

#include "platform/gdi/display_list.h"
#include "platform/input/input_driver.h"
#include "platform/window/message_queue.h"
#include "platform/window/cwnd.h"

class CTestParent : public CWnd {
 public:
  struct Command {
    int id;
    UINT code;
    HWND from;
    int selection;  // CB_GETCURSEL of the sender when it arrived
  };

  BOOL CreateAt(int x, int y, int cx = 400, int cy = 300) {
    return CreateEx(0, "Test", "parent", WS_POPUP | WS_VISIBLE, x, y, cx, cy, nullptr, 0);
  }
  std::vector<Command> commands;
  int Count(UINT code) const {
    int n = 0;
    for (const Command& c : commands) n += c.code == code ? 1 : 0;
    return n;
  }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const auto from = reinterpret_cast<HWND>(lParam);
    commands.push_back(
        {LOWORD(wParam), HIWORD(wParam), from, static_cast<int>(::SendMessage(from, CB_GETCURSEL, 0, 0))});
    return TRUE;
  }
};

// Clears the window's list and paints it again, as the pump would.
inline platform::DrawOps Repaint(HWND hwnd) {
  platform::ClearDisplayList(hwnd);
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  platform::PumpMessages();
  return platform::WindowDisplayList(hwnd);
}

// The pointer moved over a client point of a window, as a person moves it
// (the input driver also moves what GetCursorPos reports).
inline void MovePointer(HWND hwnd, POINT client) { platform::input::MouseMove(hwnd, client); }
