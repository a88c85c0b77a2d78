// The input driver end to end: what reaches a window, with which modifiers,
// and what is refused.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"

namespace {

namespace input = platform::input;

std::vector<std::string> g_log;

class Recorder : public CWnd {
 public:
  std::string name;
  HWND captureOnDown = nullptr;

 protected:
  void OnLButtonDown(UINT flags, CPoint p) override {
    Log("down", flags, p);
    if (captureOnDown != nullptr) ::SetCapture(captureOnDown);
  }
  void OnLButtonUp(UINT flags, CPoint p) override { Log("up", flags, p); }
  void OnLButtonDblClk(UINT flags, CPoint p) override { Log("dbl", flags, p); }
  void OnKeyDown(UINT key, UINT, UINT) override { g_log.push_back(name + " key " + std::to_string(key)); }
  void OnChar(UINT ch, UINT, UINT) override {
    g_log.push_back(name + " char " + std::string(1, static_cast<char>(ch)));
  }

 private:
  void Log(const char* what, UINT flags, CPoint p) {
    g_log.push_back(name + " " + what + " " + std::to_string(p.x) + "," + std::to_string(p.y) +
                    ((flags & MK_LBUTTON) ? " L" : ""));
  }
};

class InputTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    g_log.clear();
    top.name = "top";
    top.CreateEx(0, "Rec", "Top", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, 0);
    child.name = "child";
    child.CreateEx(0, "Rec", "Child", WS_CHILD | WS_VISIBLE, 10, 10, 40, 20, top.m_hWnd, 5);
    platform::PumpMessages();
    g_log.clear();
  }
  Recorder top, child;
};

TEST_F(InputTest, TheRealTimeLoopRunsTimersAndMessagesPostedFromOtherThreads) {
  platform::SetClockMode(platform::ClockMode::RealTime);
  struct Ticker : CWnd {
    int ticks = 0;
    void OnTimer(UINT_PTR) override {
      if (++ticks == 3) ::PostQuitMessage(9);
    }
  } ticker;
  ticker.CreateEx(0, "Rec", "", WS_POPUP, 0, 0, 1, 1, nullptr, 0);
  ticker.SetTimer(1, 10);
  EXPECT_EQ(platform::RunMessageLoop(), 9);
  EXPECT_EQ(ticker.ticks, 3);

  std::thread poster([&] {
    ::PostMessage(top.m_hWnd, WM_KEYDOWN, 'Z', 1);
    ::PostQuitMessage(4);
  });
  poster.join();
  EXPECT_EQ(platform::RunMessageLoop(), 4);
  EXPECT_EQ(g_log, (std::vector<std::string>{"top key 90", "top char z"}));
  EXPECT_THROW(platform::AdvanceClock(1), std::logic_error);
}

// A child asks its parent whether a click on it activates; the parent's
// answer stands, and one that eats the click keeps it from the child.
TEST_F(InputTest, AClickOnAChildActivatesAndArrivesAsItsParentAnswers) {
  struct Palette : Recorder {
    int answer = MA_NOACTIVATEANDEAT;
    int OnMouseActivate(CWnd*, UINT, UINT) override { return answer; }
  } palette;
  palette.CreateEx(0, "Rec", "Palette", WS_POPUP | WS_VISIBLE, 500, 100, 200, 100, nullptr, 0);
  ::SetParent(child.m_hWnd, palette.m_hWnd);
  ::SetActiveWindow(top.m_hWnd);
  g_log.clear();
  EXPECT_FALSE(input::Click(child.m_hWnd) || ::GetActiveWindow() != top.m_hWnd || !g_log.empty()) << "eaten";
  palette.answer = MA_ACTIVATE;
  EXPECT_TRUE(input::Click(child.m_hWnd) && ::GetActiveWindow() == palette.m_hWnd);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child down 20,10 L", "child up 20,10"}));
}

}  // namespace

// A drag: the press stays down through the moves, and the release reaches
// the window that took the capture wherever the pointer is let go.
TEST_F(InputTest, AHeldButtonGoesToTheCaptureHiddenOrDisabledWindowsRefuseInputAndKeysTypeEveryCharacter) {
  struct Mover : Recorder {
    void OnMouseMove(UINT flags, CPoint p) override {
      if (flags & MK_LBUTTON) g_log.push_back("move " + std::to_string(p.x) + "," + std::to_string(p.y) + " L");
    }
    BOOL OnMouseWheel(UINT, short delta, CPoint p) override {
      g_log.push_back("wheel " + std::to_string(delta) + " at " + std::to_string(p.x) + "," + std::to_string(p.y));
      return TRUE;
    }
  } mover;
  mover.name = "mover";
  mover.CreateEx(0, "Rec", "Mover", WS_CHILD | WS_VISIBLE, 100, 50, 50, 50, top.m_hWnd, 6);
  mover.captureOnDown = mover.m_hWnd;
  platform::PumpMessages();
  g_log.clear();

  ASSERT_TRUE(input::ButtonDownAt(mover.m_hWnd, POINT{5, 6}, input::Button::Left));
  EXPECT_TRUE(GetKeyState(VK_LBUTTON) < 0 && !platform::LastInputWasKeyboard()) << "held down, the last input";
  ASSERT_TRUE(input::MouseMove(mover.m_hWnd, POINT{30, 40}));
  // Let go over the top window's client point 20,30 (screen 120,130): the
  // capture takes it in its own coordinates (its origin is at screen 200,150).
  ASSERT_TRUE(input::ButtonUpAt(top.m_hWnd, POINT{20, 30}, input::Button::Left));
  EXPECT_EQ(g_log, (std::vector<std::string>{"mover down 5,6 L", "move 30,40 L", "mover up -80,-20"}));
  EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
  EXPECT_FALSE(input::ButtonUpAt(top.m_hWnd, POINT{20, 30}, input::Button::Left))
      << "a release without a press reports it";

  ::ReleaseCapture();
  ASSERT_TRUE(input::PressKey(VK_SHIFT) && platform::LastInputWasKeyboard()) << "a key, the last input";
  g_log.clear();
  ASSERT_TRUE(input::ButtonDownAt(mover.m_hWnd, POINT{1, 2}, input::Button::Left, true));
  EXPECT_FALSE(platform::LastInputWasKeyboard()) << "a double click, the last input";
  ASSERT_TRUE(input::ButtonUpAt(mover.m_hWnd, POINT{1, 2}, input::Button::Left));
  ::ReleaseCapture();
  ASSERT_TRUE(input::WheelAt(mover.m_hWnd, POINT{1, 2}, -240));
  // A press and release without a position of their own: the move after the release drags nothing.
  ASSERT_TRUE(input::ButtonDown(mover.m_hWnd, POINT{3, 4}) && input::ButtonUp(mover.m_hWnd, POINT{3, 4}));
  ::ReleaseCapture();
  ASSERT_TRUE(input::MouseMove(mover.m_hWnd, POINT{5, 6}));
  EXPECT_EQ(g_log, (std::vector<std::string>{"mover dbl 1,2 L", "mover up 1,2", "wheel -240 at 201,152",
                                             "mover down 3,4 L", "mover up 3,4"}));

  ::ShowWindow(mover.m_hWnd, SW_HIDE);
  EXPECT_FALSE(input::ButtonDownAt(mover.m_hWnd, POINT{1, 2}, input::Button::Left)) << "hidden windows take no input";
  EXPECT_FALSE(input::WheelAt(mover.m_hWnd, POINT{1, 2}, 120) ||
               input::HorizontalWheelAt(mover.m_hWnd, POINT{1, 2}, 120));
  EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);

  g_log.clear();  // nor do a disabled window's children; typing does not reach a hidden window with the focus
  top.EnableWindow(FALSE);
  EXPECT_FALSE(input::Click(child.m_hWnd)) << "a disabled ancestor refuses for its children";
  top.EnableWindow(TRUE);
  child.ShowWindow(SW_HIDE);
  EXPECT_FALSE(input::Click(child.m_hWnd) || input::Focus(child.m_hWnd));
  ::SetFocus(child.m_hWnd);  // a program may focus a hidden window; typing still does not reach it
  EXPECT_FALSE(input::TypeText("a") || input::TypeText("\xe9") || input::Click(nullptr))
      << "nor a character no key types, nor a click on no window";
  EXPECT_TRUE(g_log.empty());

  // Each printable character comes from a key of its own, shifted or not; windows are found by their whole text.
  std::string printable, typed;
  for (char c = ' '; c <= '~'; ++c) printable += c;
  ASSERT_TRUE(input::Focus(top.m_hWnd) && input::TypeText(printable));
  for (size_t i = 1; i < g_log.size(); ++i) {
    if (g_log[i].rfind("top char ", 0) == 0) typed += g_log[i - 1].rfind("top key ", 0) == 0 ? g_log[i].back() : '?';
  }
  EXPECT_EQ(typed, printable);
  EXPECT_TRUE(input::TypeText("\xe9") && g_log.back() == "top char \xe9") << "a character no key types comes alone";
  EXPECT_EQ(::VkKeyScan('\0'), -1);
  EXPECT_EQ(std::pair(::VkKeyScan('+'), ::VkKeyScan('/')), (std::pair<SHORT, SHORT>(0x100 | VK_OEM_PLUS, VK_OEM_2)))
      << "keys of the main keyboard, not of the keypad";
  EXPECT_EQ(std::pair(input::FindWindowByText(nullptr, "Child"), input::FindWindowByText(nullptr, "Chil")),
            std::pair(child.m_hWnd, HWND{nullptr}));
}
