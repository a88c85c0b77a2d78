#include "terminal/readout/window_dump.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/afx.h"
#include "platform/testing/reset_test.h"
#include "terminal/readout/control_names.h"
#include "terminal/readout/list_text.h"

namespace terminal {
namespace {

HMENU Id(int id) { return reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)); }

class WindowDump : public platform::ResetTest {
 protected:
  void SetUp() override { parent.CreateEx(0, "Test", "Dump", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0); }

  HWND Child(const char* kind, const char* text, DWORD style, int x, int y, int cx, int cy, int id) {
    return ::CreateWindowEx(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent.GetSafeHwnd(), Id(id),
                            nullptr, nullptr);
  }

  CWnd parent;
};

TEST_F(WindowDump, ComboShowsTwentyItemsThenCountsAndIsNamedByItsLabel) {
  HWND label = Child("Static", "Pick", 0, 10, 10, 100, 12, 1);
  HWND combo = Child("ComboBox", nullptr, CBS_DROPDOWNLIST, 10, 26, 120, 100, 2);
  for (int i = 0; i < 25; ++i) {
    const std::string item = "i" + std::to_string(100 + i);
    ::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  const std::string line = DescribeWindow(combo);
  EXPECT_NE(line.find("label=\"Pick\" items=25 [\"i100\" \"i101\""), std::string::npos) << line;
  EXPECT_NE(line.find("\"i119\" ... 5 more]"), std::string::npos) << line;
  EXPECT_EQ(line.find("i120"), std::string::npos) << line;
  HWND two = Child("ComboBox", nullptr, CBS_DROPDOWNLIST, 150, 26, 120, 100, 7);
  for (const char* item : {"x", "y"}) ::SendMessage(two, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  ::SendMessage(two, CB_SETCURSEL, 0, 0);
  EXPECT_NE(DescribeWindow(two).find("items=2 selected=\"x\" [\"x\" \"y\"]"), std::string::npos)
      << "the first item chosen; no more than it holds";

  auto isCombo = [](HWND h) { return IsWindowClass(h, "ComboBox"); };
  EXPECT_EQ(FindControl(parent.GetSafeHwnd(), "Pick", isCombo), combo);
  EXPECT_EQ(FindControl(parent.GetSafeHwnd(), "Pick"), label) << "without a wanted kind, the text wins";
  EXPECT_EQ(FindControl(parent.GetSafeHwnd(), "2"), combo);
  EXPECT_EQ(FindControl(parent.GetSafeHwnd(), "Nothing"), nullptr);
  // Another label just above a combo at x 200..320, y 250: a text or a
  // check box, its bottom 0..24 pixels above, its left edge from 4 pixels
  // before the combo to over it; or a group box around the combo alone,
  // edges shared, none past.
  struct Place {
    int left, gap;
    bool labels;
    const char* kind = "Static";
    DWORD style = 0;
    int cx = 60, cy = 12;
  };
  const Place places[] = {{200, 0, true},
                          {200, -1, false},
                          {200, 24, true},
                          {200, 25, false},
                          {196, 4, true},
                          {195, 4, false},
                          {319, 4, true},
                          {320, 4, false},
                          {200, 4, true, "Button", BS_AUTOCHECKBOX},
                          {200, 4, false, "Button", BS_PUSHBUTTON},
                          {200, -12, true, "Button", BS_GROUPBOX, 120, 21},
                          {201, -12, false, "Button", BS_GROUPBOX, 119, 21}};
  for (const Place& p : places) {
    HWND above = Child(p.kind, "Above", p.style, p.left, 250 - p.gap - 12, p.cx, p.cy, 5);
    HWND other = Child("ComboBox", nullptr, CBS_DROPDOWNLIST, 200, 250, 120, 40, 6);
    EXPECT_EQ(LabelOf(other), p.labels ? "Above" : "") << p.kind << " " << p.left << " " << p.gap;
    EXPECT_EQ(DescribeWindow(above).find("checked"), std::string::npos) << "none is checked";
    ::DestroyWindow(above);
    ::DestroyWindow(other);
  }
  Child("Static", "Note", 0, 10, 200, 100, 12, 3);
  EXPECT_EQ(LabelOf(Child("Button", "Go", BS_PUSHBUTTON, 10, 216, 60, 20, 4)), "") << "a button names itself";
}

// A caption names the topmost visible window that has it, else the topmost
// hidden one (a dialog closed by hiding it).
TEST_F(WindowDump, ACaptionFindsTheVisibleWindowFirstThenTheTopmostHiddenOne) {
  CWnd first, second, shown;
  first.CreateEx(0, "Test", "Twin", WS_POPUP, 0, 0, 50, 50, nullptr, 0);
  second.CreateEx(0, "Test", "Twin", WS_POPUP, 0, 0, 50, 50, nullptr, 0);
  for (CWnd* top : {&first, &second}) {
    ::SetWindowPos(top->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindTopLevelWindow("Twin"), top->GetSafeHwnd());
  }
  shown.CreateEx(0, "Test", "Twin", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0);
  ::SetWindowPos(second.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(FindTopLevelWindow("Twin"), shown.GetSafeHwnd());
  EXPECT_EQ(FindTopLevelWindow("Twi"), nullptr);
}

}  // namespace
}  // namespace terminal
