// What the controls' tests share: a fixture with a fresh platform and a
// parent window that records the notifications it gets, and a repaint that
// starts a window's display list afresh. Header only: the folder's library
// is every .cpp but the tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/sys_colors.h"
#include "platform/input/input_driver.h"
#include "platform/testing/reset_for_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"
#include "platform/window/window_paint.h"

namespace input = platform::input;
using platform::DrawKind;
using platform::DrawOp;
using platform::DrawOps;

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
    return static_cast<int>(
        std::count_if(commands.begin(), commands.end(), [&](const Command& c) { return c.code == code; }));
  }

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const auto from = reinterpret_cast<HWND>(lParam);
    commands.push_back(
        {LOWORD(wParam), HIWORD(wParam), from, static_cast<int>(::SendMessage(from, CB_GETCURSEL, 0, 0))});
    return TRUE;
  }
};

// Each test starts on a fresh platform with a parent window at (100, 100),
// 400 by 300 unless the fixture asks for another place.
template <class Parent = CTestParent>
class ControlTestOf : public ::testing::Test {
 protected:
  explicit ControlTestOf(CRect at = CRect(100, 100, 500, 400)) : m_at(at) {}
  void SetUp() override {
    platform::ResetForTest();
    ASSERT_TRUE(m_parent.CreateAt(m_at.left, m_at.top, m_at.Width(), m_at.Height()));
  }
  void TearDown() override { platform::ResetForTest(); }

  Parent m_parent;

 private:
  CRect m_at;
};
using ControlTest = ControlTestOf<>;

// Clears the window's list and paints it again, as the pump would.
inline DrawOps Repaint(HWND hwnd) {
  platform::ClearDisplayList(hwnd);
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  platform::PumpMessages();
  return platform::WindowDisplayList(hwnd);
}

// The pointer moved over a client point of a window, as a person moves it
// (the input driver also moves what GetCursorPos reports).
inline void MovePointer(HWND hwnd, POINT client) { input::MouseMove(hwnd, client); }
