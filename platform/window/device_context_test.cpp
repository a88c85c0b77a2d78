#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/gdi/cdc.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/kernel/module.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/cpaintdc.h"

namespace {

using platform::DrawKind;
using platform::DrawOps;

class DeviceContextTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    platform::ResetSysColors();
    m_wnd = ::CreateWindowEx(0, "Test", "w", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_wnd, nullptr);
  }
  void TearDown() override { platform::ResetSysColors(); }
  HWND m_wnd = nullptr;
};

TEST_F(DeviceContextTest, TextIsLaidOutWithTheSelectedFontAndRecordedWithTheDcState) {
  const HDC dc = ::GetDC(m_wnd);
  CFont arial;
  ASSERT_TRUE(arial.CreatePointFont(95, "Arial"));
  ::SelectObject(dc, arial);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SetBkMode(dc, TRANSPARENT);
  RECT r{10, 10, 110, 40};
  // "Hi" at 13 px; line height round(12.48) + round(2.86) = 15.
  const int hi = platform::TextWidth(platform::FontSpec{"Arial", 13}, "Hi");
  const int height = ::DrawText(dc, "H&i", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  const DrawOps ops = platform::WindowDisplayList(m_wnd);
  ASSERT_EQ(ops.size(), 1u);
  const auto& op = ops[0];
  EXPECT_EQ(std::tuple(op.kind, op.font.face, op.font.emPixels, op.color, op.opaque),
            std::tuple(DrawKind::Text, std::string("Arial"), 13, RGB(1, 2, 3), false));
  ASSERT_EQ(op.lines.size(), 1u);
  EXPECT_EQ(std::pair(op.lines[0].text, op.lines[0].width), std::pair(std::string("Hi"), hi));
  EXPECT_EQ(CPoint(op.lines[0].origin), CPoint(10 + (100 - hi) / 2, 10 + (30 - 15) / 2));
  EXPECT_EQ(height, (30 - 15) / 2 + 15);
  const auto black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(::FrameRect(dc, nullptr, black) + ::FillRect(dc, nullptr, black), 0) << "no rectangle, nothing drawn";

  // Each brush fills in its colour, a hollow one not at all, and what is no brush is refused; a line
  // records the pixels between its ends.
  const auto stock = [](int index) { return static_cast<HBRUSH>(::GetStockObject(index)); };
  const std::pair<HBRUSH, std::optional<COLORREF>> brushes[] = {
      {::CreateSolidBrush(RGB(1, 2, 3)), RGB(1, 2, 3)},   {stock(WHITE_BRUSH), RGB(255, 255, 255)},
      {stock(LTGRAY_BRUSH), RGB(192, 192, 192)},          {stock(GRAY_BRUSH), RGB(128, 128, 128)},
      {stock(DKGRAY_BRUSH), RGB(64, 64, 64)},             {stock(BLACK_BRUSH), RGB(0, 0, 0)},
      {stock(NULL_BRUSH), std::nullopt},                  {::GetSysColorBrush(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT)},
      {reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1), GetSysColor(COLOR_SCROLLBAR)},
      {reinterpret_cast<HBRUSH>(COLOR_MENUBAR + 1), GetSysColor(COLOR_MENUBAR)}};
  for (const auto& [brush, colour] : brushes) {
    platform::ClearDisplayList(m_wnd);
    ASSERT_EQ(::FillRect(dc, &r, brush), 1);
    const DrawOps fills = platform::WindowDisplayList(m_wnd);
    EXPECT_EQ(fills.size() == 1 ? std::optional(fills[0].color) : std::nullopt, colour) << fills.size();
  }
  EXPECT_EQ(::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_PEN))), 0) << "a pen is no brush";
  // A handle asked for as another kind of object: a wrapper of that kind, and the handle lives on.
  CFont::FromHandle(reinterpret_cast<HFONT>(brushes[0].first));
  CGdiObject* asBrush = CBrush::FromHandle(brushes[0].first);
  EXPECT_TRUE(dynamic_cast<CBrush*>(asBrush) != nullptr && ::FillRect(dc, &r, brushes[0].first) == 1);
  platform::ClearDisplayList(m_wnd);
  ::MoveToEx(dc, 5, 9, nullptr);
  ::LineTo(dc, 2, 3);
  EXPECT_EQ(CRect(platform::WindowDisplayList(m_wnd).at(0).rect), CRect(2, 3, 6, 10));
  // A gradient takes two vertices a rectangle, three a triangle, each one there.
  const TRIVERTEX corners[3] = {{0, 0}, {8, 4}, {0, 9}};
  const ULONG mesh[9] = {0, 1, 2, 1, 0, 2, 2, 1, 0};
  EXPECT_TRUE(::GradientFill(dc, corners, 3, mesh, 3, GRADIENT_FILL_RECT_V) &&
              ::GradientFill(dc, corners, 3, mesh, 2, GRADIENT_FILL_TRIANGLE) &&
              !::GradientFill(dc, corners, 2, mesh, 1, GRADIENT_FILL_TRIANGLE));
  const DrawOps gradients = platform::WindowDisplayList(m_wnd);
  EXPECT_EQ(std::pair(gradients.at(1).mesh.size(), gradients.at(2).mesh.size()), std::pair(size_t{6}, size_t{6}));
  EXPECT_EQ(CRect(gradients[1].rect), CRect(0, 0, 8, 9));
  platform::ClearDisplayList(m_wnd);  // a 3-D frame: the top and left edges in one colour, bottom and right the other
  CDC::FromHandle(dc)->Draw3dRect(2, 3, 4, 5, 1, 2);
  std::vector<std::pair<CRect, COLORREF>> edges;
  for (const auto& fill : platform::WindowDisplayList(m_wnd)) edges.emplace_back(fill.rect, fill.color);
  EXPECT_EQ(edges, (decltype(edges){{{2, 3, 5, 4}, 1}, {{2, 3, 3, 7}, 1}, {{5, 3, 6, 8}, 2}, {{2, 7, 6, 8}, 2}}));
  ::ReleaseDC(m_wnd, dc);
}

TEST_F(DeviceContextTest, MemoryBitmapsKeepTheirOwnListsAndBlitCarriesASnapshot) {
  CClientDC screen(CWnd::FromHandle(m_wnd));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&screen) && CDC().CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 40, 20));
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(CRect(0, 0, 40, 20), RGB(82, 123, 225));
  RECT clip, windowClip;  // a bitmap's size, a window's client area
  EXPECT_EQ(::GetClipBox(memory, &clip) + ::GetClipBox(screen, &windowClip), 2 * SIMPLEREGION);
  EXPECT_EQ(std::pair(CRect(clip), CRect(windowClip)), std::pair(CRect(0, 0, 40, 20), CRect(0, 0, 300, 200)));
  EXPECT_EQ(::GetClipBox(memory, nullptr) + ::GetClipBox(nullptr, &clip), 0);
  EXPECT_TRUE(platform::WindowDisplayList(m_wnd).empty());
  ASSERT_EQ(platform::BitmapDisplayList(bitmap).size(), 1u);

  ASSERT_TRUE(screen.BitBlt(5, 6, 40, 20, &memory, 0, 0, SRCCOPY));
  memory.FillSolidRect(CRect(0, 0, 1, 1), RGB(0, 0, 0));  // after the copy: not in it
  const DrawOps ops = platform::WindowDisplayList(m_wnd);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, DrawKind::Blit);
  EXPECT_EQ(CRect(ops[0].rect), CRect(5, 6, 45, 26));
  EXPECT_EQ(ops[0].sourceBitmap, HBITMAP(bitmap));
  ASSERT_EQ(ops[0].sourceOps->size(), 1u);
  EXPECT_EQ((*ops[0].sourceOps)[0].color, RGB(82, 123, 225));
  // Operations without a source fill with the selected brush's colour, black or white.
  ::SelectObject(screen, ::GetStockObject(GRAY_BRUSH));
  for (const auto& [rop, colour] : {std::pair{PATCOPY, RGB(128, 128, 128)}, {BLACKNESS, 0}, {WHITENESS, 0xffffff}}) {
    EXPECT_TRUE(::BitBlt(screen, 0, 0, 1, 1, nullptr, 0, 0, rop));
    EXPECT_EQ(platform::WindowDisplayList(m_wnd).back().color, colour) << rop;
  }

  // A bitmap in a DC cannot be deleted; once out, it goes with its list.
  EXPECT_FALSE(::DeleteObject(bitmap));
  memory.SelectObject(old);
  const HBITMAP handle = bitmap;
  EXPECT_EQ(::GetObjectType(handle), OBJ_BITMAP);
  EXPECT_TRUE(bitmap.DeleteObject());
  EXPECT_TRUE(platform::BitmapDisplayList(handle).empty());
  EXPECT_EQ(::GetObject(handle, sizeof(BITMAP), nullptr), 0);
  EXPECT_EQ(::GetObjectType(handle), 0u);  // a deleted handle names nothing
  EXPECT_EQ(::GetObjectType(::GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
  EXPECT_TRUE(::GetStockObject(-1) == nullptr && ::GetStockObject(DEFAULT_GUI_FONT + 1) == nullptr);

  // Rows of a bitmap are word aligned; impossible pens are not made.
  for (const auto& [cx, cy, planes, bits, made] : {std::tuple{0, 0, 1u, 32u, true}, {-1, 1, 1u, 1u, false},
                                                    {1, -1, 1u, 1u, false}, {1, 1, 2u, 1u, false},
                                                    {1, 1, 1u, 0u, false}, {1, 1, 1u, 33u, false}}) {
    EXPECT_EQ(::CreateBitmap(cx, cy, planes, bits, nullptr) != nullptr, made) << cx << " " << planes << " " << bits;
  }
  const HBITMAP odd = ::CreateBitmap(5, 3, 1, 24, nullptr);
  BITMAP bm;
  EXPECT_EQ(::GetObject(odd, sizeof bm - 1, &bm), 0);
  ASSERT_EQ(::GetObject(odd, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(std::vector<LONG>({bm.bmWidth, bm.bmHeight, bm.bmBitsPixel, bm.bmWidthBytes}),
            std::vector<LONG>({5, 3, 24, 16}));
  EXPECT_EQ(::CreatePen(PS_SOLID - 1, 1, 0), nullptr);
  EXPECT_EQ(::CreatePen(PS_INSIDEFRAME + 1, 1, 0), nullptr);
  EXPECT_TRUE(platform::PenOf(::CreatePen(PS_SOLID, 0, 7)) == (platform::PenState{PS_SOLID, 1, 7}))
      << "one pixel at least";
  EXPECT_TRUE(platform::PenOf(::CreatePen(PS_INSIDEFRAME, 3, 7)) == (platform::PenState{PS_INSIDEFRAME, 3, 7}));
}

// Saved states against a stack of (text colour, mode): RestoreDC(n) goes back
// to the n-th save and drops it and every later one, a negative n counts back
// from the latest, and a number outside the stack changes nothing.
TEST_F(DeviceContextTest, SavedStatesBehaveAsAStackAndAnUnknownDcRefusesEverything) {
  const HDC dc = ::CreateCompatibleDC(nullptr);
  std::pair<COLORREF, int> now{RGB(0, 0, 0), OPAQUE};  // the text colour and the background mode
  std::vector<std::pair<COLORREF, int>> saved;
  std::mt19937 random(7);
  for (int step = 0; step < 400; ++step) {
    const int n = static_cast<int>(random() % 9) - 4, count = static_cast<int>(saved.size()), mode = n & 3;
    const int target = n > 0 ? n : count + 1 + n;  // the state RestoreDC(n) goes back to
    const bool restores = n != 0 && target >= 1 && target <= count;
    switch (random() % 4) {
      case 0: ASSERT_EQ(::SetTextColor(dc, n + 9u), std::exchange(now.first, n + 9u)); break;
      case 1:
        ASSERT_EQ(::SetBkMode(dc, mode), mode == TRANSPARENT || mode == OPAQUE ? std::exchange(now.second, mode) : 0);
        break;
      case 2:
        saved.push_back(now);
        ASSERT_EQ(::SaveDC(dc), count + 1);
        break;
      default:
        ASSERT_EQ(::RestoreDC(dc, n), restores ? TRUE : FALSE) << n << " of " << count;
        if (restores) now = saved[static_cast<size_t>(target - 1)], saved.resize(static_cast<size_t>(target - 1));
    }
    ASSERT_EQ(std::pair(::GetTextColor(dc), ::GetBkMode(dc)), now) << step;
  }
  const RECT box{0, 0, 4, 4};
  EXPECT_EQ(::DrawText(dc, "x", 1, nullptr, 0) + ::DrawFocusRect(dc, nullptr), 0) << "no rectangle";
  EXPECT_TRUE(::DrawFocusRect(dc, &box));
  EXPECT_EQ(::GetTextExtentPoint32(dc, "x", 1, nullptr) + ::GetTextMetrics(dc, nullptr), FALSE);
  EXPECT_TRUE(::DeleteDC(dc));

  // A deleted DC, like one never made, does nothing and says so; a window's DC is released, not deleted.
  SIZE size;
  TEXTMETRIC tm;
  EXPECT_EQ(::SetBkMode(dc, OPAQUE) + ::GetBkMode(dc) + ::SaveDC(dc) + ::RestoreDC(dc, 1) + ::RestoreDC(dc, -1), 0);
  EXPECT_EQ(::DeleteDC(dc) + ::GetTextExtentPoint32(dc, "x", 1, &size) + ::GetTextMetrics(dc, &tm) +
                ::DrawFocusRect(dc, &box),
            0);
  const HDC window = ::GetDC(m_wnd);
  EXPECT_FALSE(::DeleteDC(window));
  ::ReleaseDC(m_wnd, window);
}

// Marks, word breaks (a word too wide stands alone) and the extent, as DrawText lays them out.
TEST(TextLayout, MarksWordBreaksAndTheExtent) {
  const platform::FontSpec font{"Tahoma", 11};
  const auto lines = [&](std::string_view text, UINT format, int width) {
    std::string out;
    for (const auto& line : platform::LayOutText(font, text, RECT{0, 0, width, 50}, format).lines)
      out += line.text + "|";
    return out;
  };
  EXPECT_EQ(lines("a&&b&c&", 0, 100), "a&bc&|") << "a last & is kept";
  EXPECT_EQ(lines("aa bb  cc wwwwwwww", DT_WORDBREAK, platform::TextWidth(font, "aa bb")), "aa bb|cc|wwwwwwww|");
  EXPECT_EQ(lines("", DT_WORDBREAK, 100), "|");
  const int h = platform::MeasureFont(font).height;
  // Only a single line moves down or to the middle.
  for (const UINT format : {DT_BOTTOM, DT_VCENTER, DT_SINGLELINE | DT_BOTTOM, DT_SINGLELINE | DT_VCENTER}) {
    const int top = platform::LayOutText(font, "x", RECT{0, 10, 50, 40}, format).lines.at(0).origin.y;
    EXPECT_EQ(top, !(format & DT_SINGLELINE) ? 10 : (format & DT_BOTTOM) ? 40 - h : 10 + (30 - h) / 2) << format;
  }
  EXPECT_EQ(CRect(platform::LayOutText(font, "ab\nabc", RECT{5, 6, 500, 7}, 0).extent),
            CRect(5, 6, 5 + platform::TextWidth(font, "abc"), 6 + 2 * h));
  EXPECT_EQ(CRect(platform::LayOutText(font, "ab", RECT{5, 6, 500, 7}, DT_WORDBREAK).extent), CRect(5, 6, 500, 6 + h));
}

TEST_F(DeviceContextTest, FontsFromLogicalDescriptions) {
  const LOGFONT lf{.lfHeight = 13, .lfWeight = FW_BOLD, .lfFaceName = "Tahoma"};  // a 13-pixel cell: the 11-pixel em
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  LOGFONT back;
  ASSERT_EQ(font.GetLogFont(&back), static_cast<int>(sizeof(LOGFONT)));
  EXPECT_EQ(std::tuple(back.lfHeight, back.lfWeight, std::string(back.lfFaceName)), std::tuple(-11, FW_BOLD, "Tahoma"));
  CClientDC dc(CWnd::FromHandle(m_wnd));
  dc.SelectObject(&font);
  TEXTMETRIC tm;
  ASSERT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_EQ(std::pair(tm.tmHeight, tm.tmWeight), std::pair(13, FW_BOLD));
  // Bold is measured as bold: wider than the regular face.
  const platform::FontSpec regular{"Tahoma", 11};
  const platform::FontSpec bold{"Tahoma", 11, FW_BOLD};
  EXPECT_EQ(dc.GetTextExtent("Wi"), CSize(platform::TextWidth(bold, "Wi"), 13));
  EXPECT_GT(platform::TextWidth(bold, "Wi"), platform::TextWidth(regular, "Wi"));
  // Semi-bold and heavier are drawn bold, anything lighter regular.
  EXPECT_EQ(platform::TextWidth({"Tahoma", 11, FW_SEMIBOLD}, "Wi"), platform::TextWidth(bold, "Wi"));
  EXPECT_EQ(platform::TextWidth({"Tahoma", 11, FW_SEMIBOLD - 1}, "Wi"), platform::TextWidth(regular, "Wi"));
}

TEST_F(DeviceContextTest, BeginPaintStartsTheListAfreshAndAskForErasingWithItsDc) {
  struct Painted : CWnd {
    HDC erasedWith = nullptr;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
      if (message == WM_ERASEBKGND) {
        erasedWith = reinterpret_cast<HDC>(wParam);
        *result = 0;
        return TRUE;
      }
      return CWnd::OnWndMsg(message, wParam, lParam, result);
    }
    void OnPaint() override {
      CPaintDC dc(this);
      dc.TextOut(1, 2, "x");
      EXPECT_TRUE(dc.m_ps.fErase);
      EXPECT_EQ(erasedWith, dc.m_hDC);
    }
  } wnd;
  ASSERT_TRUE(wnd.CreateEx(0, "Test", "p", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0));
  CClientDC(&wnd).TextOut(0, 0, "stale");
  ASSERT_TRUE(::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN));
  RECT waiting;
  ASSERT_TRUE(::GetUpdateRect(wnd, &waiting, FALSE));
  EXPECT_EQ(CRect(waiting), CRect(0, 0, 50, 50));
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_FALSE(::GetUpdateRect(wnd, &waiting, FALSE)) << "the paint took the update region";
  EXPECT_TRUE(CRect(waiting).IsRectEmpty());
  const DrawOps ops = platform::WindowDisplayList(wnd);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].text, "x");
  EXPECT_EQ(CRect(ops[0].rect), CRect(1, 2, 7, 15));
  // A released DC draws nothing: the paint's, and a client DC's once it is gone.
  EXPECT_FALSE(::TextOut(wnd.erasedWith, 0, 0, "x", 1));
  const HDC dc = CClientDC(&wnd).m_hDC;
  EXPECT_FALSE(::TextOut(dc, 0, 0, "x", 1));
  wnd.DestroyWindow();
  EXPECT_TRUE(platform::WindowDisplayList(wnd.m_hWnd).empty());
}

// The screen's DC (GetDC of no window) is what code measures text with
// outside any window: it takes fonts, holds no bitmap, draws where nothing
// records it, and goes back only as the screen's.
TEST_F(DeviceContextTest, TheScreensDcMeasuresInTheFontSelectedAndIsReleasedOnlyAsTheScreens) {
  const HDC screen = ::GetDC(nullptr), window = ::GetDC(m_wnd);
  ASSERT_NE(screen, nullptr);
  CFont big;
  ASSERT_TRUE(big.CreatePointFont(200, "Arial"));
  TEXTMETRIC plain{}, large{};
  ASSERT_TRUE(::GetTextMetrics(screen, &plain));
  ::SelectObject(screen, big);
  ASSERT_TRUE(::GetTextMetrics(screen, &large));
  EXPECT_GT(large.tmHeight, plain.tmHeight);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 4, 4);
  EXPECT_EQ(::SelectObject(screen, bitmap), nullptr);
  EXPECT_FALSE(platform::IsSelectedIntoDC(bitmap)) << "only a memory DC holds a bitmap";
  ::TextOut(screen, 0, 0, "x", 1);
  EXPECT_TRUE(platform::WindowDisplayList(m_wnd).empty());
  EXPECT_FALSE(::DeleteDC(screen));
  EXPECT_EQ(::ReleaseDC(m_wnd, screen) + ::ReleaseDC(nullptr, window), 0);
  EXPECT_EQ(::ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(::ReleaseDC(nullptr, screen), 0) << "released once";
  EXPECT_EQ(::ReleaseDC(m_wnd, window), 1);
  ::DeleteObject(bitmap);
}

}  // namespace
