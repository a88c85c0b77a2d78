// A person moving, sizing, minimising and maximising a window by its frame.
#include "platform/window/move_size.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cursor.h"
#include "platform/window/cwnd.h"
#include "platform/window/metrics.h"
#include "platform/window/non_client.h"

namespace {

namespace input = platform::input;

constexpr DWORD kSizable =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Keeps the messages of moving and sizing, in order, and what they said.
class TrackedWnd : public CWnd {
 public:
  std::vector<UINT> seen;
  std::vector<WPARAM> sizeKinds;
  POINT minimum{150, 100};
  POINT maximum{500, 400};
  int inputMessages = 0;  // client mouse and key messages that reached the window

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    static constexpr UINT kKept[] = {WM_NCLBUTTONDOWN, WM_SYSCOMMAND,        WM_ENTERSIZEMOVE,    WM_MOVING,
                                     WM_SIZING,        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE,
                                     WM_SIZE,          WM_CAPTURECHANGED,    WM_EXITSIZEMOVE,     WM_GETMINMAXINFO};
    if (std::find(std::begin(kKept), std::end(kKept), message) != std::end(kKept)) seen.push_back(message);
    if (message == WM_SIZE) sizeKinds.push_back(wParam);
    for (UINT input : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP, WM_CHAR}) inputMessages += message == input;
    return CWnd::WindowProc(message, wParam, lParam);
  }
  void OnGetMinMaxInfo(MINMAXINFO* info) override {
    CWnd::OnGetMinMaxInfo(info);
    info->ptMinTrackSize = minimum;
    info->ptMaxTrackSize = maximum;
  }
};

class MoveSizeTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(w.CreateEx(0, "Test", "tracked", kSizable, 100, 100, 400, 300, nullptr, 0));
    w.seen.clear();
  }

  CRect Rect() const {
    CRect r;
    ::GetWindowRect(w.m_hWnd, &r);
    return r;
  }
  // The input driver aims at client points; these aim at the screen.
  POINT Client(POINT screen) const {
    ::ScreenToClient(w.m_hWnd, &screen);
    return screen;
  }
  void Drag(POINT from, POINT to) {
    ASSERT_TRUE(input::ButtonDown(w.m_hWnd, Client(from)));
    input::MouseMove(w.m_hWnd, Client(to));
    input::ButtonUp(w.m_hWnd, Client(to));
  }
  void ClickBox(LRESULT box) {
    const RECT r = Rect();
    const platform::NonClientLayout l =
        platform::LayOutNonClient(static_cast<DWORD>(::GetWindowLongPtr(w.m_hWnd, GWL_STYLE)), 0, r);
    const RECT b = box == HTMINBUTTON ? l.boxes.minimize : box == HTMAXBUTTON ? l.boxes.maximize : l.boxes.close;
    const POINT at{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    ASSERT_EQ(::SendMessage(w.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), box);
    input::ButtonDown(w.m_hWnd, Client(at));
    input::ButtonUp(w.m_hWnd, Client(at));
  }

  TrackedWnd w;
};

TEST_F(MoveSizeTest, ACaptionDragMovesTheWindowByThePointersWayInThePlatformsOrder) {
  Drag({250, 110}, {280, 95});
  EXPECT_EQ(Rect(), CRect(130, 85, 530, 385));
  const std::vector<UINT> expected{WM_NCLBUTTONDOWN, WM_SYSCOMMAND,        WM_ENTERSIZEMOVE,
                                   WM_MOVING,        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
                                   WM_MOVE,          WM_CAPTURECHANGED,    WM_EXITSIZEMOVE};
  EXPECT_EQ(w.seen, expected);
  EXPECT_EQ(w.inputMessages, 0);  // the loop took them
  EXPECT_EQ(platform::MoveSizeWindow(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);

  // A new move ends a drag where it is; Escape puts the window back where that move began.
  ASSERT_TRUE(input::ButtonDown(w.m_hWnd, Client({250, 95})));
  input::MouseMove(w.m_hWnd, Client({400, 300}));
  EXPECT_EQ(Rect().left, 280);
  input::PressKey(VK_LEFT);  // the pointer leads a drag: no arrow steps it
  EXPECT_EQ(Rect().left, 280);
  w.SendMessage(WM_SYSCOMMAND, SC_MOVE, 0);  // a new move ends the drag where it is, and begins there
  input::PressKey(VK_ESCAPE);
  EXPECT_EQ(Rect().TopLeft(), CPoint(280, 290));
  EXPECT_EQ(platform::MoveSizeWindow(), nullptr);
  input::ButtonUp(w.m_hWnd, Client({400, 300}));
}

TEST_F(MoveSizeTest, FromTheWindowMenuEachArrowMovesOrSizesAStepAndNoKeyReachesTheWindow) {
  const struct Arrow {
    UINT vk;
    LONG dx, dy;
  } kArrows[] = {{VK_LEFT, -8, 0}, {VK_RIGHT, 8, 0}, {VK_UP, 0, -8}, {VK_DOWN, 0, 8}};
  ::SetCursorPos(300, 200);
  w.SendMessage(WM_SYSCOMMAND, SC_MOVE, 0);  // from the keyboard: no point in the message; the mouse may go on
  input::MouseMove(w.m_hWnd, Client({310, 205}));
  CRect was = Rect();
  EXPECT_EQ(was.TopLeft(), CPoint(110, 105));
  for (const Arrow& a : kArrows) {
    input::PressKey(a.vk);
    EXPECT_EQ(Rect(), CRect(was.left + a.dx, was.top + a.dy, was.right + a.dx, was.bottom + a.dy)) << a.vk;
    was = Rect();
  }
  input::PressKey('A');
  EXPECT_EQ(Rect(), was);
  EXPECT_EQ(w.inputMessages, 0);
  input::PressKey(VK_RETURN);
  EXPECT_EQ(platform::MoveSizeWindow(), nullptr);
  EXPECT_EQ(Rect(), was);

  // A size waits for an arrow, which pushes its side out; Escape puts it back.
  for (const Arrow& a : kArrows) {
    w.SendMessage(WM_SYSCOMMAND, SC_SIZE, 0);
    input::PressKey('A');  // not an arrow: no side yet
    input::PressKey(a.vk);
    EXPECT_EQ(Rect(), CRect(was.left + std::min<LONG>(a.dx, 0), was.top + std::min<LONG>(a.dy, 0),
                            was.right + std::max<LONG>(a.dx, 0), was.bottom + std::max<LONG>(a.dy, 0)))
        << a.vk;
    input::PressKey(VK_ESCAPE);
    EXPECT_EQ(Rect(), was);
  }
  EXPECT_EQ(w.inputMessages, 1 + 4) << "only the releases of Enter and of each Escape";

  // Another window taking the mouse ends the loop where it is; the move that finds it out reaches the window.
  ::SetCursorPos(300, 200);
  w.SendMessage(WM_SYSCOMMAND, SC_MOVE, 0);
  input::MouseMove(w.m_hWnd, Client({310, 205}));
  ::ReleaseCapture();
  input::MouseMove(w.m_hWnd, Client({350, 250}));
  EXPECT_EQ(platform::MoveSizeWindow(), nullptr);
  EXPECT_EQ(Rect(), CRect(was.left + 10, was.top + 5, was.right + 10, was.bottom + 5));
  EXPECT_EQ(w.inputMessages, 1 + 4 + 1);

  // Alt+Space opens the window menu, whose command is carried out.
  platform::SetWindowMenuTracker([](HWND) -> WPARAM { return SC_MAXIMIZE; });
  w.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 'x');
  EXPECT_FALSE(::IsZoomed(w.m_hWnd));
  w.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(::IsZoomed(w.m_hWnd));
  platform::SetWindowMenuTracker(nullptr);
}

TEST_F(MoveSizeTest, ASideOrCornerDragSizesWithinTheTrackSizesKeepingTheOppositeSides) {
  Drag({499, 399}, {549, 439});  // bottom-right corner: 400 x 300 -> 450 x 340
  EXPECT_EQ(Rect(), CRect(100, 100, 550, 440));
  ASSERT_GE(w.seen.size(), 5u);
  EXPECT_EQ(std::count(w.seen.begin(), w.seen.end(), WM_SIZING), 1);
  EXPECT_LT(std::find(w.seen.begin(), w.seen.end(), WM_SIZING), std::find(w.seen.begin(), w.seen.end(), WM_SIZE));
  RECT client;
  ::GetClientRect(w.m_hWnd, &client);
  EXPECT_EQ(client.right, 450 - 8);

  // The left side dragged far right stops at the minimum width; the right side stays.
  Drag({101, 250}, {500, 250});
  EXPECT_EQ(std::pair(Rect().left, Rect().right), std::pair(550 - 150, 550));
  // The top-left corner dragged far out stops at the maximum size; the bottom-right stays.
  Drag({401, 101}, {0, 0});
  EXPECT_EQ(Rect(), CRect(50, 40, 550, 440));
}

TEST_F(MoveSizeTest, TheCaptionBoxesMinimiseAboveTheLineSetMaximiseRestoreAndActOnlyWhenLetGoOnAndInTheStyle) {
  ClickBox(HTMINBUTTON);
  EXPECT_TRUE(::IsIconic(w.m_hWnd));
  ASSERT_FALSE(w.sizeKinds.empty());
  EXPECT_EQ(w.sizeKinds.back(), SIZE_MINIMIZED);
  const auto bar = std::tuple(0, GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(std::tuple(Rect().left, Rect().Width(), Rect().bottom), bar) << "a bar along the bottom, from the left";
  // A minimised window is not sized by its frame.
  Drag({Rect().right - 1, Rect().bottom - 1}, {Rect().right + 50, Rect().bottom + 50});
  EXPECT_EQ(std::tuple(Rect().left, Rect().Width(), Rect().bottom), bar);

  ClickBox(HTMINBUTTON);  // now the restore box
  EXPECT_FALSE(::IsIconic(w.m_hWnd));
  EXPECT_EQ(w.sizeKinds.back(), SIZE_RESTORED);
  EXPECT_EQ(Rect(), CRect(100, 100, 500, 400));

  w.maximum = POINT{4000, 4000};  // a maximised window too keeps within the track size
  ClickBox(HTMAXBUTTON);
  EXPECT_TRUE(::IsZoomed(w.m_hWnd));
  EXPECT_EQ(w.sizeKinds.back(), SIZE_MAXIMIZED);
  EXPECT_EQ(std::pair(Rect().left, Rect().right), std::pair(-4, GetSystemMetrics(SM_CXSCREEN) + 4)) << "frame off screen";
  Drag({300, 10}, {400, 100});  // a maximised window stays put
  EXPECT_EQ(Rect().left, -4);

  // Minimised from maximised, it comes back maximised; then restored to where it was.
  ClickBox(HTMINBUTTON);
  ClickBox(HTMINBUTTON);
  EXPECT_TRUE(::IsZoomed(w.m_hWnd));
  ClickBox(HTMAXBUTTON);
  EXPECT_FALSE(::IsZoomed(w.m_hWnd));
  EXPECT_EQ(Rect(), CRect(100, 100, 500, 400));

  // A double click on the caption maximises; another restores. One on the border does neither.
  for (const auto& [at, zoomed] :
       {std::pair{POINT{101, 200}, false}, {POINT{250, 110}, true}, {POINT{250, 10}, false}}) {
    input::DoubleClickAt(w.m_hWnd, Client(at));
    EXPECT_EQ(::IsZoomed(w.m_hWnd) != FALSE, zoomed) << at.x << "," << at.y;
  }
  EXPECT_EQ(Rect().left, 100);

  // Minimised windows park above the line set for them.
  platform::SetMinimizedBottom(700);
  ClickBox(HTMINBUTTON);
  EXPECT_EQ(std::pair(Rect().left, Rect().bottom), std::pair(0, 700));
  platform::SetMinimizedBottom(0);
  ClickBox(HTMINBUTTON);
  ClickBox(HTMINBUTTON);
  EXPECT_EQ(Rect().bottom, GetSystemMetrics(SM_CYSCREEN)) << "unset: the screen's bottom";

  // Restored, a box acts only when let go on it, and only where the style has it.
  ClickBox(HTMINBUTTON);
  const RECT r = Rect();
  const platform::NonClientLayout l = platform::LayOutNonClient(kSizable, 0, r);
  const POINT close{(l.boxes.close.left + l.boxes.close.right) / 2, 112};
  input::ButtonDown(w.m_hWnd, Client(close));
  EXPECT_EQ(platform::PushedCaptionBox(w.m_hWnd), HTCLOSE);
  input::MouseMove(w.m_hWnd, Client({250, 150}));
  EXPECT_EQ(platform::PushedCaptionBox(w.m_hWnd), HTNOWHERE);
  input::ButtonUp(w.m_hWnd, Client({250, 150}));
  EXPECT_TRUE(::IsWindow(w.m_hWnd));  // not closed

  // A box the style lacks shows but does nothing, pressed or asked for.
  ::SetWindowLongPtr(w.m_hWnd, GWL_STYLE, kSizable & ~(WS_MAXIMIZEBOX | WS_THICKFRAME));
  w.SendMessage(WM_SYSCOMMAND, SC_SIZE, 0);
  EXPECT_EQ(platform::MoveSizeWindow(), nullptr) << "no frame to size";
  ClickBox(HTMAXBUTTON);
  EXPECT_FALSE(::IsZoomed(w.m_hWnd));
  ::SendMessage(w.m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(::IsZoomed(w.m_hWnd));
  ::SetWindowLongPtr(w.m_hWnd, GWL_STYLE, kSizable & ~WS_MINIMIZEBOX);
  ClickBox(HTMINBUTTON);
  EXPECT_FALSE(::IsIconic(w.m_hWnd));
  // Minimised all the same by the program, its first box still restores it.
  w.ShowWindow(SW_MINIMIZE);
  ClickBox(HTMINBUTTON);
  EXPECT_FALSE(::IsIconic(w.m_hWnd));

  ClickBox(HTCLOSE);
  EXPECT_FALSE(::IsWindow(w.m_hWnd));
}

}  // namespace
