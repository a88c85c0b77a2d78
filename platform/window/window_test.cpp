#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/cdc.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"

namespace {

std::vector<std::string> g_log;

void Log(const std::string& s) { g_log.push_back(s); }

// A window that logs what reaches its handlers under a name.
class LoggingWnd : public CWnd {
 public:
  explicit LoggingWnd(std::string name) : m_name(std::move(name)) {}

  HWND CreateTop(DWORD style = WS_POPUP | WS_VISIBLE) { return CreateOwned(nullptr, style); }
  HWND CreateOwned(HWND owner, DWORD style = WS_POPUP | WS_VISIBLE) {
    CreateEx(0, "Test", m_name.c_str(), style, 10, 10, 200, 100, owner, 0);
    return m_hWnd;
  }
  HWND CreateChild(CWnd& parent, int id, DWORD style = WS_VISIBLE) {
    CreateEx(0, "Test", m_name.c_str(), WS_CHILD | style, 0, 0, 50, 20, parent.m_hWnd, static_cast<UINT_PTR>(id));
    return m_hWnd;
  }

  bool consumeKeys = false;
  bool logFocus = false;
  bool logShow = false;
  int postNcDestroyCalls = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    Log(m_name + ":cmd" + std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
    if (LOWORD(wParam) == 1) {
      // A posted notification arrives after everything sent synchronously.
      PostMessage(WM_COMMAND, MAKEWPARAM(2, 0), 0);
      SendMessage(WM_COMMAND, MAKEWPARAM(3, 0), 0);
    }
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) Log(m_name + ":pre");
    return consumeKeys;
  }
  void OnKeyDown(UINT key, UINT, UINT) override { Log(m_name + ":keydown" + std::to_string(key)); }
  void OnChar(UINT ch, UINT, UINT) override { Log(m_name + ":char" + std::string(1, static_cast<char>(ch))); }
  void OnTimer(UINT_PTR id) override {
    Log(m_name + ":timer" + std::to_string(id) + "@" + std::to_string(platform::ClockNow()));
  }
  void OnDestroy() override {
    Log(m_name + ":destroy");
    CWnd::OnDestroy();
  }
  void OnNcDestroy() override {
    Log(m_name + ":ncdestroy");
    m_closing = m_hWnd;
    CWnd::OnNcDestroy();
  }
  void OnSetFocus(CWnd*) override {
    if (logFocus) Log(m_name + ":setfocus");
  }
  void OnKillFocus(CWnd*) override {
    if (logFocus) Log(m_name + ":killfocus");
  }
  void OnCaptureChanged(CWnd*) override {
    if (logFocus) Log(m_name + ":capturechanged");
  }
  void PostNcDestroy() override {
    ++postNcDestroyCalls;
    if (CWnd::FromHandlePermanent(m_closing) != nullptr) Log(m_name + ":still attached");
  }
  void OnShowWindow(BOOL show, UINT status) override {
    if (logShow) Log(m_name + ":show" + std::to_string(show) + "/" + std::to_string(status));
  }

 private:
  std::string m_name;
  HWND m_closing = nullptr;
};

class WindowTest : public platform::ResetTest {
 protected:
  void SetUp() override { g_log.clear(); }
};

using Strings = std::vector<std::string>;

TEST_F(WindowTest, PostedCommandsArriveAfterSentOnesInPostingOrderAndRegisteredMessagesStay) {
  LoggingWnd w("W");
  w.CreateTop();
  platform::PumpMessages();  // its first WM_PAINT
  w.PostMessage(WM_COMMAND, MAKEWPARAM(1, 0), 0);
  w.PostMessage(WM_COMMAND, MAKEWPARAM(4, 0), 0);
  EXPECT_TRUE(g_log.empty()) << "posting must not deliver";
  EXPECT_EQ(platform::PumpMessages(), 3);
  EXPECT_EQ(g_log, (Strings{"W:cmd1/0", "W:cmd3/0", "W:cmd4/0", "W:cmd2/0"}));

  // A range of messages holds both its ends.
  w.PostMessage(WM_USER + 2, 0, 0);
  w.PostMessage(WM_USER + 1, 0, 0);
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_USER, WM_USER + 1, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1u);
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_FALSE(::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));

  // Registered messages are stable for a name, whatever its case.
  const UINT a = RegisterWindowMessage("WindowTest.A");
  EXPECT_TRUE(a >= 0xC000u && a <= 0xFFFFu && a != RegisterWindowMessage("WindowTest.B"));
  EXPECT_EQ(RegisterWindowMessage("windowtest.a"), a);
  EXPECT_EQ(RegisterWindowMessage("") + RegisterWindowMessage(nullptr), 0u);
}

TEST_F(WindowTest, TimersFireWhenTheClockReachesThemInDueOrderAndStopWithTheirWindow) {
  LoggingWnd w("W");
  w.CreateTop();
  w.SetTimer(1, 300);
  w.SetTimer(2, 200);
  w.SetTimer(3, 200);  // due with 2: fires after it, in the order set
  platform::PumpMessages();
  platform::AdvanceClock(199);
  EXPECT_TRUE(g_log.empty());
  platform::AdvanceClock(1);
  EXPECT_EQ(g_log, (Strings{"W:timer2@200", "W:timer3@200"}));
  g_log.clear();
  // One long step still delivers every expiry on the way, each at its time.
  platform::AdvanceClock(300);
  EXPECT_EQ(g_log, (Strings{"W:timer1@300", "W:timer2@400", "W:timer3@400"}));
  g_log.clear();
  w.KillTimer(2);
  w.SetTimer(3, 50);  // setting again restarts it with the new interval
  platform::AdvanceClock(100);
  EXPECT_EQ(g_log, (Strings{"W:timer3@550", "W:timer1@600", "W:timer3@600"}));

  // A window's timers stop with it; a thread timer calls its procedure.
  static std::vector<UINT_PTR> fired;
  fired.clear();
  const TIMERPROC proc = [](HWND, UINT, UINT_PTR timer, DWORD) { fired.push_back(timer); };
  const UINT_PTR id = ::SetTimer(nullptr, 0, 100, proc), other = ::SetTimer(nullptr, 0, 200, proc);
  EXPECT_TRUE(id != 0 && other != 0 && other != id) << "each new thread timer has an id of its own";
  w.DestroyWindow();
  g_log.clear();
  platform::AdvanceClock(250);
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{id, id, other}));
  EXPECT_TRUE(g_log.empty());
  EXPECT_EQ(::SetTimer(nullptr, 0, 100, nullptr), 0u) << "a thread timer needs a procedure";
}

// The main window has the last chance when the way up does not pass it, and
// only one chance when it does.
TEST_F(WindowTest, PreTranslateRunsFromTheTargetUpThenInTheMainWindowAndCanConsume) {
  LoggingWnd top("T"), mid("M"), leaf("L"), main("X");
  top.CreateTop();
  mid.CreateChild(top, 1);
  leaf.CreateChild(mid, 2);
  EXPECT_EQ(::SetParent(mid.m_hWnd, leaf.m_hWnd), nullptr) << "a window cannot go under its own child";
  main.CreateTop();
  for (CWnd* w : {static_cast<CWnd*>(&main), static_cast<CWnd*>(&top)}) {
    platform::SetMainWindow(w);
    g_log.clear();
    ::PostMessage(leaf.m_hWnd, WM_KEYDOWN, 'A', 1);
    platform::PumpMessages();
    // Not consumed: translated into a character after the key itself.
    Strings expected{"L:pre", "M:pre", "T:pre", "X:pre", "L:keydown65", "L:char" + std::string(1, 'a')};
    if (w == &top) expected.erase(expected.begin() + 3);
    EXPECT_EQ(g_log, expected);
  }

  g_log.clear();
  mid.consumeKeys = true;
  ::PostMessage(leaf.m_hWnd, WM_KEYDOWN, 'A', 1);
  platform::PumpMessages();
  EXPECT_EQ(g_log, (Strings{"L:pre", "M:pre"}));
}

TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  auto top = std::make_unique<LoggingWnd>("P");
  LoggingWnd c1("C1"), c2("C2"), g("G"), owned("O");
  top->CreateTop();
  c1.CreateChild(*top, 1);
  g.CreateChild(c1, 3);
  c2.CreateChild(*top, 2);
  owned.CreateEx(0, "Test", "O", WS_POPUP, 0, 0, 10, 10, top->m_hWnd, 0);
  const HWND hTop = top->m_hWnd, hG = g.m_hWnd;

  top->DestroyWindow();
  EXPECT_EQ(g_log, (Strings{"O:destroy", "O:ncdestroy", "P:destroy", "C1:destroy", "G:destroy", "C2:destroy",
                            "G:ncdestroy", "C1:ncdestroy", "C2:ncdestroy", "P:ncdestroy"}));
  EXPECT_FALSE(::IsWindow(hTop) || ::IsWindow(hG));
  EXPECT_TRUE(top->m_hWnd == nullptr && g.m_hWnd == nullptr);
  EXPECT_EQ(top->postNcDestroyCalls, 1);
  EXPECT_EQ(CWnd::FromHandle(hTop), nullptr);
}

// A window whose handler destroys its own window while its procedure still runs.
class SelfDestroying : public CWnd {
 protected:
  void OnLButtonDown(UINT, CPoint) override {
    DestroyWindow();
    Log("after destroy");  // still inside the dispatch of a destroyed window
  }
  void OnDestroy() override {
    Log("destroy");
    DestroyWindow();  // again, while it is being destroyed: nothing more happens
  }
};

TEST_F(WindowTest, AWindowDestroyedDuringItsOwnMessageIsFreedAfterwards) {
  SelfDestroying w;
  w.CreateEx(0, "Test", "", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
  const HWND h = w.m_hWnd;
  ::SendMessage(h, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(g_log, (Strings{"destroy", "after destroy"}));
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(::SendMessage(h, WM_GETTEXTLENGTH, 0, 0), 0) << "a stale handle is simply not a window";
}

TEST_F(WindowTest, FocusMovesWithKillThenSetAndNeverToADisabledWindow) {
  LoggingWnd top("T"), a("A"), b("B");
  top.CreateTop();
  a.CreateChild(top, 1);
  b.CreateChild(top, 2);
  a.logFocus = b.logFocus = true;
  a.SetFocus();
  g_log.clear();
  b.SetFocus();
  EXPECT_EQ(g_log, (Strings{"A:killfocus", "B:setfocus"}));
  EXPECT_EQ(::GetFocus(), b.m_hWnd);
  // Activating the window that is already active (a child names its window) leaves the focus alone.
  g_log.clear();
  EXPECT_EQ(::SetActiveWindow(a.m_hWnd), top.m_hWnd);
  EXPECT_EQ(::GetFocus(), b.m_hWnd);
  EXPECT_TRUE(g_log.empty());

  // A window that is disabled, hidden or destroyed gives up the focus and
  // the mouse capture held by it or by a window inside it, first.
  a.SetCapture();
  a.EnableWindow(FALSE);
  EXPECT_EQ(a.SetFocus(), nullptr);
  b.SetCapture();
  a.ShowWindow(SW_HIDE);  // neither the focus nor the capture is in it
  EXPECT_EQ(std::pair(::GetFocus(), ::GetCapture()), std::pair(b.m_hWnd, b.m_hWnd));
  EXPECT_EQ(g_log, (Strings{"A:capturechanged"}));

  g_log.clear();
  b.ShowWindow(SW_HIDE);
  EXPECT_EQ(::GetFocus(), nullptr);
  EXPECT_EQ(g_log, (Strings{"B:killfocus", "B:capturechanged"}));

  LoggingWnd c("C");
  c.CreateChild(b, 3);
  c.logFocus = true;
  b.ShowWindow(SW_SHOW);
  b.SetFocus();
  c.SetCapture();
  g_log.clear();
  b.DestroyWindow();
  EXPECT_EQ(g_log,
            (Strings{"B:killfocus", "C:capturechanged", "B:destroy", "C:destroy", "C:ncdestroy", "B:ncdestroy"}));
  EXPECT_EQ(std::pair(::GetFocus(), ::GetCapture()), std::pair(HWND{}, HWND{}));
}

TEST_F(WindowTest, TreeRelationsAndZOrder) {
  LoggingWnd top("T"), a("A"), b("B"), c("C");
  top.CreateTop(WS_POPUP | WS_VISIBLE | WS_CAPTION);
  a.CreateChild(top, 10);
  b.CreateChild(top, 11);
  c.CreateChild(top, 12);
  // Children keep creation order; BringWindowToTop moves one to the front.
  EXPECT_EQ(::GetWindow(top.m_hWnd, GW_CHILD), a.m_hWnd);
  EXPECT_EQ(::GetWindow(a.m_hWnd, GW_HWNDNEXT), b.m_hWnd);
  c.BringWindowToTop();
  EXPECT_EQ(::GetWindow(top.m_hWnd, GW_CHILD), c.m_hWnd);
  EXPECT_EQ(::GetWindow(c.m_hWnd, GW_HWNDLAST), b.m_hWnd);
  ::SetWindowPos(a.m_hWnd, b.m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // after b, then back after c
  EXPECT_EQ(std::pair(::GetWindow(a.m_hWnd, GW_HWNDPREV), ::GetWindow(b.m_hWnd, GW_HWNDPREV)), std::pair(b.m_hWnd, c.m_hWnd));
  ::SetWindowPos(a.m_hWnd, c.m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  // Enumeration goes in that order and stops at the first window its callback refuses.
  std::vector<HWND> seen;
  const auto takeTwo = [](HWND h, LPARAM p) {
    auto& v = *reinterpret_cast<std::vector<HWND>*>(p);
    v.push_back(h);
    return v.size() < 2 ? TRUE : FALSE;
  };
  EXPECT_FALSE(::EnumChildWindows(top.m_hWnd, takeTwo, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen, (std::vector<HWND>{c.m_hWnd, a.m_hWnd}));
  EXPECT_EQ(std::tuple(top.GetDlgItem(11), b.GetParent(), b.GetDlgCtrlID()), std::tuple(&b, &top, 11));

  // Client area: the frame of a captioned popup is 3 on each side plus a 19 caption.
  CRect client;
  top.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 200 - 6, 100 - 6 - 19));
  CRect onScreen;
  b.GetWindowRect(&onScreen);
  EXPECT_EQ(onScreen, CRect(10 + 3, 10 + 3 + 19, 10 + 3 + 50, 10 + 3 + 19 + 20));
  // Each point of the client area names the child on top there or the window
  // itself; outside it, nothing. On the screen, the frame is the window's.
  for (int y = -23; y <= client.bottom + 3; ++y) {
    for (int x = -4; x <= client.right + 3; ++x) {
      const bool inClient = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
      const HWND under = !inClient ? nullptr : (x < 50 && y < 20) ? c.m_hWnd : top.m_hWnd;
      ASSERT_EQ(::ChildWindowFromPoint(top.m_hWnd, POINT{x, y}), under) << x << "," << y;
      const bool inWindow = x >= -3 && y >= -22 && x < client.right + 3 && y < client.bottom + 3;
      ASSERT_EQ(::WindowFromPoint(POINT{x + 13, y + 32}), inClient ? under : inWindow ? top.m_hWnd : nullptr);
    }
  }
  // On the screen, a window that lets the pointer through (as a group box
  // does) shows the one beneath it.
  struct Glass : LoggingWnd {
    Glass() : LoggingWnd("G") {}
    LRESULT OnNcHitTest(CPoint) override { return HTTRANSPARENT; }
  } glass;
  glass.CreateChild(top, 13);
  glass.BringWindowToTop();
  POINT inside{5, 5};
  ::ClientToScreen(top.m_hWnd, &inside);
  EXPECT_EQ(::WindowFromPoint(inside), c.m_hWnd);
  glass.DestroyWindow();
  EXPECT_EQ(::WindowFromPoint(inside), c.m_hWnd);

  // A window without an object gets a wrapper that is not in its procedure chain.
  HWND plain = CreateWindowEx(0, "Test", "x", WS_CHILD, 0, 0, 1, 1, top.m_hWnd, nullptr, nullptr, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  CWnd attached;
  EXPECT_FALSE(attached.SubclassDlgItem(0, nullptr));
  EXPECT_TRUE(attached.SubclassDlgItem(0, &top) && !CWnd().Attach(plain)) << "one object a window";
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), &attached);
  EXPECT_EQ(attached.Detach(), plain);
  EXPECT_EQ(CWnd().Detach(), nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
  CString text;
  CWnd::FromHandle(plain)->GetWindowText(text);
  EXPECT_EQ(text, "x");

  // An item's text is cut to the buffer; a missing item empties it, and a zero size writes nothing.
  char buffer[4] = "zzz";
  EXPECT_TRUE(::SetDlgItemText(top.m_hWnd, 11, "Bravo") && !::SetDlgItemText(top.m_hWnd, 99, "x"));
  for (const auto& [id, size, count, left] : {std::tuple{11, 4, 3u, "Bra"}, {99, 0, 0u, "Bra"}, {99, 4, 0u, ""}}) {
    EXPECT_EQ(::GetDlgItemText(top.m_hWnd, id, buffer, size), count) << id << " into " << size;
    EXPECT_STREQ(buffer, left) << id << " into " << size;
  }
  // A number in an item: blanks around it are allowed, anything else or a number out of range is not.
  for (const auto& [shown, isSigned, value, ok] : {std::tuple{" 12 ", FALSE, 12u, TRUE},
                                                   {"-7", TRUE, static_cast<UINT>(-7), TRUE},
                                                   {"-7", FALSE, 0u, FALSE},
                                                   {"4294967295", FALSE, 4294967295u, TRUE},
                                                   {"4294967296", FALSE, 0u, FALSE},
                                                   {"2147483648", TRUE, 0u, FALSE},
                                                   {"-2147483648", TRUE, 0x80000000u, TRUE},
                                                   {"1x", FALSE, 0u, FALSE},
                                                   {" ", FALSE, 0u, FALSE}}) {
    ::SetDlgItemText(top.m_hWnd, 11, shown);
    BOOL translated = -1;
    EXPECT_EQ(top.GetDlgItemInt(11, &translated, isSigned), value) << shown;
    EXPECT_EQ(translated, ok) << shown;
  }
  std::strcpy(buffer, "zzz");
  EXPECT_EQ(::GetWindowText(plain, buffer, 0), 0);
  EXPECT_STREQ(buffer, "zzz");
  EXPECT_EQ(::GetWindowText(plain, nullptr, 4), 0);
  EXPECT_EQ(::GetWindowRect(plain, nullptr) + ::GetClientRect(plain, nullptr) + ::ClientToScreen(plain, nullptr) +
                ::ScreenToClient(plain, nullptr) + ::GetClassName(plain, nullptr, 8) + ::GetClassName(plain, buffer, 0),
            0);
  EXPECT_EQ(::GetClassName(plain, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "Tes") << "the class name is cut the same way";
}

TEST_F(WindowTest, MovingReportsOnlyWhatChangedAndTopmostWindowsStayAbove) {
  struct Sizes : CWnd {
    std::vector<std::string> seen;
    void OnSize(UINT, int cx, int cy) override {
      seen.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    void OnMove(int x, int y) override { seen.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
  } w;
  w.CreateEx(0, "Test", "", WS_POPUP, 0, 0, 100, 50, nullptr, 0);
  w.seen.clear();
  w.MoveWindow(10, 0, 100, 50);  // each coordinate alone is a move, each side alone a size
  EXPECT_EQ(w.seen, (std::vector<std::string>{"move 10,0"}));
  w.seen.clear();
  w.SetWindowPos(nullptr, 0, 0, 100, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(w.seen, (std::vector<std::string>{"size 100x60"}));

  LoggingWnd top("T"), other("O");
  top.CreateTop();
  top.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  other.CreateTop();
  other.BringWindowToTop();
  EXPECT_EQ(::GetTopWindow(nullptr), top.m_hWnd) << "a top-most window stays above the others";
  EXPECT_TRUE(top.GetExStyle() & WS_EX_TOPMOST);
  top.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(top.GetExStyle() & WS_EX_TOPMOST) << "raised, it stays top-most";
  top.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // raised and activated
  EXPECT_EQ(std::pair(top.GetExStyle() & WS_EX_TOPMOST, ::GetActiveWindow()), std::pair(DWORD{0}, top.m_hWnd));
}

TEST_F(WindowTest, KeyboardCuesChangeForTheWholeWindowWhicheverWindowAsks) {
  LoggingWnd top("T"), a("A"), g("G"), late("L");
  top.CreateTop();
  a.CreateChild(top, 1);
  g.CreateChild(a, 2);
  g.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL));
  for (LoggingWnd* w : {&top, &a, &g}) EXPECT_EQ(w->SendMessage(WM_QUERYUISTATE), UISF_HIDEFOCUS | UISF_HIDEACCEL);
  a.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL));
  late.CreateChild(top, 3);  // takes its window's cues
  for (LoggingWnd* w : {&top, &a, &g, &late}) EXPECT_EQ(w->SendMessage(WM_QUERYUISTATE), UISF_HIDEFOCUS);
}

TEST_F(WindowTest, OwnedPopupsHideWithAMinimisedOwnerAndReturnWithIt) {
  LoggingWnd owner("O"), shown("S"), hidden("H"), later("L");
  owner.CreateTop();
  shown.CreateOwned(owner.m_hWnd);
  hidden.CreateOwned(owner.m_hWnd, WS_POPUP);
  later.CreateOwned(owner.m_hWnd);
  for (LoggingWnd* w : {&owner, &shown, &hidden, &later}) w->logShow = true;

  owner.ShowWindow(SW_MINIMIZE);  // in z-order, top first
  EXPECT_EQ(g_log,
            (Strings{"L:show0/" + std::to_string(SW_PARENTCLOSING), "S:show0/" + std::to_string(SW_PARENTCLOSING)}));
  EXPECT_FALSE(shown.IsWindowVisible());
  EXPECT_TRUE(owner.IsWindowVisible()) << "a minimised window stays visible";

  // A pop-up shown or hidden by its own command meanwhile keeps that state.
  later.ShowWindow(SW_HIDE);
  g_log.clear();
  owner.ShowWindow(SW_RESTORE);
  EXPECT_EQ(g_log, (Strings{"S:show1/" + std::to_string(SW_PARENTOPENING)}));
  EXPECT_TRUE(shown.IsWindowVisible() && !hidden.IsWindowVisible() && !later.IsWindowVisible());

  // Hidden while active, a pop-up passes activation to its owner, or to none when that is hidden too.
  ::SetActiveWindow(shown.m_hWnd);
  shown.ShowWindow(SW_HIDE);
  EXPECT_EQ(::GetActiveWindow(), owner.m_hWnd);
  later.ShowWindow(SW_SHOW);
  ::SetActiveWindow(later.m_hWnd);
  owner.ShowWindow(SW_HIDE);
  later.ShowWindow(SW_HIDE);
  EXPECT_EQ(::GetActiveWindow(), nullptr);
}

TEST_F(WindowTest, TabOrderSkipsHiddenDisabledAndNonTabStopControls) {
  LoggingWnd top("T"), a("A"), b("B"), c("C"), d("D");
  top.CreateTop();
  a.CreateChild(top, 1, WS_VISIBLE | WS_TABSTOP);
  b.CreateChild(top, 2, WS_VISIBLE | WS_TABSTOP | WS_DISABLED);
  c.CreateChild(top, 3, WS_TABSTOP);  // hidden
  d.CreateChild(top, 4, WS_VISIBLE);  // not a tab stop
  EXPECT_EQ(::GetNextDlgTabItem(top.m_hWnd, a.m_hWnd, FALSE), a.m_hWnd) << "the only one: wraps to itself";
  b.EnableWindow(TRUE);
  EXPECT_EQ(::GetNextDlgTabItem(top.m_hWnd, a.m_hWnd, FALSE), b.m_hWnd);
  EXPECT_EQ(::GetNextDlgTabItem(top.m_hWnd, b.m_hWnd, FALSE), a.m_hWnd);
  EXPECT_EQ(::GetNextDlgTabItem(top.m_hWnd, a.m_hWnd, TRUE), b.m_hWnd);
  // A handle that names no window (a control closed meanwhile) starts the walk at the first stop.
  EXPECT_EQ(::GetNextDlgTabItem(top.m_hWnd, reinterpret_cast<HWND>(uintptr_t{0x999}), FALSE), a.m_hWnd);
  // A group runs from a WS_GROUP control up to the next one, or to the last control.
  ::SetWindowLongPtr(b.m_hWnd, GWL_STYLE, ::GetWindowLongPtr(b.m_hWnd, GWL_STYLE) | WS_GROUP);
  EXPECT_EQ(::GetNextDlgGroupItem(top.m_hWnd, d.m_hWnd, FALSE), b.m_hWnd) << "past the hidden one, round";
  EXPECT_EQ(::GetNextDlgGroupItem(top.m_hWnd, b.m_hWnd, TRUE), d.m_hWnd);
  EXPECT_EQ(::GetNextDlgGroupItem(top.m_hWnd, a.m_hWnd, FALSE), a.m_hWnd) << "alone in its group";
}

}  // namespace
