#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/device_context.h"
#include "platform/window/cursor.h"
#include "platform/gdi/display_list.h"
#include "platform/window/message_queue.h"
#include "platform/testing/reset_test.h"
#include "platform/comctl/tooltip.h"
#include "platform/window/winapi.h"

namespace {

class TooltipTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    m_owner =
        ::CreateWindowEx(0, "Test", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    m_tip = ::CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, m_owner,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(m_tip, nullptr);
    EXPECT_TRUE(::GetWindowLongPtr(m_tip, GWL_EXSTYLE) & WS_EX_TOPMOST) << "a tip is top-most, asked or not";
    std::strcpy(m_text, "Hello");
    m_tool = TOOLINFO{.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT, .hwnd = m_owner, .uId = 7, .rect = {},
                      .lpszText = m_text};
    ASSERT_TRUE(Send(TTM_ADDTOOL, 0, &m_tool));
  }

  LRESULT Send(UINT message, WPARAM wParam, const void* lParam) {
    return ::SendMessage(m_tip, message, wParam, reinterpret_cast<LPARAM>(lParam));
  }
  void TrackAt(int x, int y) {
    ::SendMessage(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    Send(TTM_TRACKACTIVATE, TRUE, &m_tool);
  }

  HWND m_owner = nullptr;
  HWND m_tip = nullptr;
  char m_text[64] = {};
  TOOLINFO m_tool;
};

TEST_F(TooltipTest, TrackingShowsACopyOfTheTextAtThePointSizedToIt) {
  std::strcpy(m_text, "changed after adding");
  TrackAt(100, 50);
  platform::TooltipState s = platform::ReadTooltip(m_tip);
  ASSERT_TRUE(s.shown);
  EXPECT_EQ(std::tuple(s.text, s.position.x, s.position.y), std::tuple("Hello", 100, 50));
  // The text in the default font, 13 high; 2 of padding each side and a 1-pixel border.
  EXPECT_EQ(CSize(s.size), CSize(platform::TextWidth(platform::FontSpec{}, "Hello") + 4 + 2, 13 + 4 + 2));
  EXPECT_EQ(platform::TooltipFor(m_owner), m_tip);
  EXPECT_EQ(platform::TooltipFor(m_tip), nullptr) << "no tool is on the tip itself";

  const RECT margins{0, -1, 0, -1};
  Send(TTM_SETMARGIN, 0, &margins);
  EXPECT_EQ(platform::ReadTooltip(m_tip).size.cy, 13 + 4 - 2 + 2);
  const HFONT large = ::CreateFont(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
  ::SendMessage(m_tip, WM_SETFONT, reinterpret_cast<WPARAM>(large), TRUE);
  TrackAt(100, 50);
  EXPECT_GT(platform::ReadTooltip(m_tip).size.cy, 20) << "sized to the font it was given";

  Send(TTM_TRACKACTIVATE, FALSE, &m_tool);
  ::DeleteObject(large);
  EXPECT_FALSE(platform::ReadTooltip(m_tip).shown || ::IsWindowVisible(m_tip));
}

TEST_F(TooltipTest, AMaximumWidthWrapsTheTextAndPaintingUsesTheTipColours) {
  ::SendMessage(m_tip, TTM_SETMAXTIPWIDTH, 0, 30);  // "one two" is 38 pixels wide
  ::SendMessage(m_tip, TTM_SETTIPBKCOLOR, RGB(0, 0, 128), 0);
  ::SendMessage(m_tip, TTM_SETTIPTEXTCOLOR, RGB(255, 255, 255), 0);
  TrackAt(0, 0);
  TOOLINFO update = m_tool;
  update.lpszText = const_cast<char*>("one two three");
  Send(TTM_UPDATETIPTEXT, 0, &update);  // a shown tip shows its new text at once
  EXPECT_EQ(platform::ReadTooltip(m_tip).size.cy, 3 * 13 + 4 + 2);
  platform::PumpMessages();
  const platform::DrawOps ops = platform::WindowDisplayList(m_tip);
  ASSERT_EQ(ops.size(), 2u);
  EXPECT_EQ(std::tuple(ops[0].kind, ops[0].color, ops[1].kind, ops[1].color),
            std::tuple(platform::DrawKind::FillRect, RGB(0, 0, 128), platform::DrawKind::Text, RGB(255, 255, 255)));
  ASSERT_EQ(ops[1].lines.size(), 3u);
  EXPECT_EQ(ops[1].lines[2].text, "three");
  EXPECT_TRUE(ops[1].format & DT_NOPREFIX);
}

// A tool is read back into the caller's TOOLINFO; its text goes only into a
// buffer (cut to TTM_GETTEXT's size), never through a null or callback pointer.
TEST_F(TooltipTest, AToolReadsBackItsFieldsAndCopiesItsTextOnlyIntoABuffer) {
  char buffer[16] = "";
  TOOLINFO out = m_tool;
  out.uFlags = 0;
  for (const LPSTR text : {LPSTR{nullptr}, LPSTR_TEXTCALLBACK, buffer}) {
    out.lpszText = text;
    EXPECT_TRUE(Send(TTM_GETTOOLINFO, 0, &out) && Send(TTM_GETTEXT, 4, &out));
  }
  EXPECT_EQ(std::tuple(std::string(buffer), out.uFlags), std::tuple("Hel", m_tool.uFlags));
  out.uId = 8;
  EXPECT_FALSE(Send(TTM_GETTEXT, sizeof buffer, &out)) << "no such tool";
}

// Each delay keeps what it is given, zero included; a negative one goes back
// to its default, which follows the double-click time, as TTDT_AUTOMATIC sets
// all three from one figure.
TEST_F(TooltipTest, DelaysKeepTheirValueAndANegativeOneRestoresTheDefault) {
  const int base = static_cast<int>(::GetDoubleClickTime());
  const auto set = [&](WPARAM which, int ms) {
    ::SendMessage(m_tip, TTM_SETDELAYTIME, which, MAKELPARAM(static_cast<WORD>(ms), 0));
  };
  const auto delays = [&] {
    return std::vector<LRESULT>{::SendMessage(m_tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0),
                                ::SendMessage(m_tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0),
                                ::SendMessage(m_tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0)};
  };
  const std::vector<LRESULT> defaults{base, base * 10, base / 5};
  EXPECT_EQ(delays(), defaults);
  for (const int ms : {0, 700, -1}) {
    SCOPED_TRACE(ms);
    for (const WPARAM which : {TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW}) set(which, ms);
    EXPECT_EQ(delays(), ms < 0 ? defaults : (std::vector<LRESULT>{ms, ms, ms}));
  }
  set(TTDT_AUTOMATIC, 300);
  EXPECT_EQ(delays(), (std::vector<LRESULT>{300, 3000, 60}));
  set(TTDT_AUTOMATIC, -1);
  EXPECT_EQ(delays(), defaults);
}

}  // namespace
