#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/comctl/header_control.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/input/input_driver.h"
#include "platform/render/canvas.h"
#include "platform/render/menu_picture.h"
#include "platform/render/replay.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_test.h"
#include "platform/user/menu_layout.h"
#include "platform/window/cwnd.h"
#include "platform/window/winapi.h"

namespace {

using platform::Image;

class WindowRendererTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        m_window.CreateEx(0, "Test", "Pictures", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 120, nullptr, 0));
  }
  CWnd m_window;
};

TEST_F(WindowRendererTest, PicturesAreWrittenAsPngOrSvgAndReadBack) {
  const std::string png = ::testing::TempDir() + "render_test.png";
  const std::string svg = ::testing::TempDir() + "render_test.SVG";
  ASSERT_TRUE(platform::WriteWindowPicture(m_window.m_hWnd, png));
  const auto back = platform::LoadPng(png);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->pixels, platform::RenderWindow(m_window.m_hWnd).pixels);
  ASSERT_TRUE(platform::WriteWindowPicture(m_window.m_hWnd, svg));
  std::string head(200, '\0');
  std::ifstream(svg).read(head.data(), 200);
  EXPECT_NE(head.find("<svg"), std::string::npos);
  std::string error;
  EXPECT_FALSE(platform::WriteWindowPicture(nullptr, png, &error));
  EXPECT_EQ(error, "no such window");
  EXPECT_FALSE(platform::SavePng(platform::RenderWindow(nullptr), png)) << "no window, no picture to write";
  EXPECT_FALSE(platform::WriteWindowPicture(m_window.m_hWnd, "/no/such/folder/x.png", &error));
  EXPECT_FALSE(platform::LoadPng("/no/such/folder/x.png").has_value());
  std::remove(png.c_str());
  std::remove(svg.c_str());
}

TEST(HeaderPicture, ADraggedItemFollowsThePointerWithAMarkWhereItWouldGo) {
  platform::ResetForTest();
  CWnd parent;
  parent.CreateEx(0, "Test", "header", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, nullptr, 0);
  const HWND header = ::CreateWindowEx(0, WC_HEADER, nullptr, WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_DRAGDROP, 0, 0,
                                       400, 40, parent.m_hWnd, nullptr, nullptr, nullptr);
  for (const char* caption : {"Category", "Symbol", "Strike"}) {
    HDITEM item{.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT, .cxy = 100, .pszText = const_cast<char*>(caption),
                .fmt = HDF_LEFT | HDF_STRING};
    ::SendMessage(header, HDM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&item));
  }
  RECT first;
  ::SendMessage(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const int row = first.bottom - first.top;
  const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
  const COLORREF mark = GetSysColor(COLOR_WINDOWTEXT);
  // Over the first and second items, where the first is dragged by 90 pixels.
  const RECT ghost{90 + 2, 2, 190 - 2, row - 2};
  const RECT beforeThird{197, 0, 203, row};  // the two-pixel mark and two pixels either side
  ASSERT_TRUE(platform::input::ButtonDown(header, POINT{50, row / 2}));
  platform::input::MouseMove(header, POINT{100, row / 2});
  platform::input::MouseMove(header, POINT{140, row / 2});
  const Image dragging = platform::RenderWindow(parent.m_hWnd);
  EXPECT_GT(dragging.Count(ghost, shadow), (ghost.right - ghost.left) * (ghost.bottom - ghost.top) / 2)
      << "the item's picture, shifted with the pointer";
  EXPECT_EQ(dragging.Count(beforeThird, mark), 2 * row) << "dropped here it would go after Symbol";
  platform::input::MouseMove(header, POINT{40, row / 2});
  EXPECT_EQ(platform::RenderWindow(parent.m_hWnd).Count(RECT{0, 0, 3, row}, mark), row) << "back over itself";
  platform::input::ButtonUp(header, POINT{140, row / 2});
  EXPECT_LT(platform::RenderWindow(parent.m_hWnd).Count(ghost, shadow), 2 * row) << "gone with the drop";
  platform::ResetForTest();
}

// A drop-down list shows its chosen entry, lit while the list has the focus; an empty entry shows no light.
TEST_F(WindowRendererTest, ADropDownListLightsItsChosenTextOnlyWithTheFocus) {
  const HWND combo = ::CreateWindowEx(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 150,
                                      200, m_window.m_hWnd, nullptr, nullptr, nullptr);
  for (const char* text : {"", "Tahoma"}) ::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  const auto lit = [&](int chosen, HWND focus) {
    ::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    ::SetFocus(focus);
    return platform::RenderWindow(combo).Count(RECT{0, 0, 150, 30}, GetSysColor(COLOR_HIGHLIGHT)) > 0;
  };
  EXPECT_EQ((std::vector<bool>{lit(1, combo), lit(0, combo), lit(1, m_window.m_hWnd), lit(-1, combo)}),
            (std::vector<bool>{true, false, false, false}));
}

// A control draws in the font it was given: a group box's frame runs half
// its caption's height down.
TEST_F(WindowRendererTest, AControlDrawsInTheFontItWasGiven) {
  const HWND box = ::CreateWindowEx(0, "BUTTON", "Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 150, 80,
                                    m_window.m_hWnd, nullptr, nullptr, nullptr);
  const auto frameTop = [&] {  // the first row the frame's shadow crosses, right of the caption
    const Image picture = platform::RenderWindow(box);
    int y = 0;
    while (y < 80 && picture.Count(RECT{100, y, 140, y + 1}, GetSysColor(COLOR_3DSHADOW)) < 40) ++y;
    return y;
  };
  const HFONT big = ::CreateFont(-30, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
  EXPECT_EQ(frameTop(), 6) << "half the default font's 13 pixels";
  ::SendMessage(box, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
  EXPECT_GE(frameTop(), 15) << "half of 30 pixels or more";
  ::DestroyWindow(box);
  ::DeleteObject(big);
}

// A pop-up menu's rows: the hot and the chosen entry lit, a check mark (21 pixels) in the entry's ink in the left
// column, a greyed text embossed, a separator an etched line across its middle rows.
TEST(MenuPicture, EachRowShowsItsStateInItsColours) {
  platform::MenuRecord menu;
  menu.entries = {
      {MF_CHECKED, 1, "One"}, {MF_SEPARATOR, 0, ""}, {MF_CHECKED | MF_GRAYED, 2, "Two"}, {0, 3, "C"}, {0, 0, "Two"}};
  menu.chosen = 3;
  menu.hot = 0;
  const Image picture = platform::RenderPopupMenu(menu);
  const std::vector<RECT> rows = platform::LayOutMenu(menu.entries).rows;
  const auto count = [&](size_t i, int color, RECT part = RECT{0, 0, 999, 99}) {
    const RECT& r = rows[i];
    return picture.Count(RECT{r.left + part.left, r.top + part.top, std::min<LONG>(r.right, r.left + part.right),
                              std::min<LONG>(r.bottom, r.top + part.bottom)},
                         GetSysColor(color));
  };
  const RECT mark{0, 0, platform::kMenuCheckColumn, 99};
  const int half = (rows[0].right - rows[0].left) * (rows[0].bottom - rows[0].top) / 2;
  EXPECT_EQ(
      (std::vector<int>{count(0, COLOR_HIGHLIGHTTEXT, mark), count(2, COLOR_GRAYTEXT, mark),
                        count(3, COLOR_HIGHLIGHT) > half, count(4, COLOR_HIGHLIGHT), count(2, COLOR_3DHILIGHT) > 0,
                        count(4, COLOR_3DHILIGHT), count(1, COLOR_3DSHADOW, RECT{0, 3, 999, 4}),
                        count(1, COLOR_3DHILIGHT)}),
      (std::vector<int>{21, 21, true, 0, true, 0, rows[1].right - rows[1].left - 2, rows[1].right - rows[1].left - 2}));
}

// A buffer copied into a buffer copied into ... shows down to eight copies;
// below that (a surface copying itself) nothing more is drawn.
TEST(Replay, CopiesOfCopiesShowEightDeepAndNoDeeper) {
  constexpr COLORREF kRed = RGB(200, 0, 0);
  const auto innermostShows = [](int copies) {
    auto ops = std::make_shared<platform::DrawOps>(1);
    (*ops)[0].rect = RECT{0, 0, 2, 2};
    (*ops)[0].color = kRed;
    for (int i = 0; i < copies; ++i) {
      auto outer = std::make_shared<platform::DrawOps>(1);
      (*outer)[0].kind = platform::DrawKind::Blit;
      (*outer)[0].rect = RECT{0, 0, 2, 2};
      (*outer)[0].rop = SRCCOPY;
      (*outer)[0].sourceOps = ops;
      ops = outer;
    }
    const Image image =
        platform::PaintPicture(2, 2, [&](cairo_t* cr) { platform::Replay(platform::Painter(cr), *ops); });
    return image.At(1, 1) == kRed;
  };
  EXPECT_TRUE(innermostShows(8));
  EXPECT_FALSE(innermostShows(9));
}

// Shapes cover exactly the pixels a small model names, on black: a straight line from its start up to, not including,
// its end, as thick as its pen and centred on it (rounding towards the start); at every size up to a dozen pixels, a
// focus frame every other pixel of its rectangle's sides inverted, a frame all of them (nothing when empty either way),
// an icon a framed window with its title band (nothing below 4 pixels).
TEST(Replay, ShapesCoverExactlyTheirModelsPixels) {
  constexpr COLORREF kDark = RGB(200, 0, 0);
  const auto check = [](const std::function<void(const platform::Painter&)>& paint, const auto& model) {
    const Image image = platform::PaintPicture(16, 16, [&](cairo_t* cr) { paint(platform::Painter(cr)); });
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) ASSERT_EQ(image.At(x, y), model(x, y)) << x << "," << y;
    }
  };
  for (int width = 1; width <= 4; ++width) {
    using Ends = std::pair<POINT, POINT>;
    for (const auto& [a, b] :
         {Ends{{3, 8}, {12, 8}}, Ends{{12, 8}, {3, 8}}, Ends{{8, 3}, {8, 12}}, Ends{{8, 12}, {8, 3}}}) {
      SCOPED_TRACE(std::to_string(width) + " from " + std::to_string(a.x) + "," + std::to_string(a.y));
      platform::DrawOps line(1);
      line[0].kind = platform::DrawKind::Line;
      line[0].points = {a, b};
      line[0].pen = platform::PenState{PS_SOLID, width, kDark};
      const bool across = a.y == b.y;
      const int from = across ? a.x : a.y, to = across ? b.x : b.y, side = (across ? a.y : a.x) - (width - 1) / 2;
      check([&](const platform::Painter& p) { platform::Replay(p, line); }, [&](int x, int y) -> COLORREF {
        const int along = across ? x : y, off = across ? y : x;
        const bool on = from < to ? along >= from && along < to : along <= from && along > to;
        return on && off >= side && off < side + width ? kDark : 0;
      });
    }
  }
  for (int w = 0; w <= 12; ++w) {
    for (int h = 0; h <= 12; ++h) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
      const RECT r{2, 3, 2 + w, 3 + h};
      const auto in = [&](int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
      const auto side = [&](int x, int y) {
        return in(x, y) && (x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1);
      };
      check([&](const platform::Painter& p) { p.FocusFrame(r); }, [&](int x, int y) -> COLORREF {
        const bool dot = y == r.top || y == r.bottom - 1 ? (x - r.left) % 2 == 0 : (y - r.top) % 2 == 0;
        return side(x, y) && dot ? RGB(255, 255, 255) : 0;
      });
      check([&](const platform::Painter& p) { p.Frame(r, kDark); },
            [&](int x, int y) { return side(x, y) ? kDark : 0; });
      platform::DrawOps icon(1);
      icon[0].kind = platform::DrawKind::Icon;
      icon[0].rect = r;
      check([&](const platform::Painter& p) { platform::Replay(p, icon); }, [&](int x, int y) -> COLORREF {
        if (w < 4 || h < 4 || !in(x, y)) return 0;
        if (side(x, y)) return GetSysColor(COLOR_WINDOWTEXT);
        return GetSysColor(y <= r.top + std::max(2, h / 5) ? COLOR_ACTIVECAPTION : COLOR_WINDOW);
      });
    }
  }
}

// A gradient runs from its first vertex's colour to its second's across a
// rectangle (sideways or downwards), or between three corners of a triangle.
TEST(Replay, GradientsRunBetweenTheirVerticesColours) {
  const auto paint = [](ULONG mode, std::vector<TRIVERTEX> vertices, std::vector<ULONG> mesh) {
    platform::DrawOps ops(1);
    ops[0].kind = platform::DrawKind::Gradient;
    ops[0].gradientMode = mode;
    ops[0].vertices = std::move(vertices);
    ops[0].mesh = std::move(mesh);
    return platform::PaintPicture(20, 20, [&](cairo_t* cr) { platform::Replay(platform::Painter(cr), ops); });
  };
  const TRIVERTEX red{0, 0, 0xFF00, 0, 0, 0};
  const TRIVERTEX blue{20, 20, 0, 0, 0xFF00, 0};
  const Image across = paint(GRADIENT_FILL_RECT_H, {red, blue}, {0, 1});
  const Image down = paint(GRADIENT_FILL_RECT_V, {blue, red}, {1, 0});
  for (int k = 0; k < 20; ++k) {
    EXPECT_GT(GetRValue(across.At(0, k)), 240);
    EXPECT_GT(GetBValue(across.At(19, k)), 240);
    EXPECT_GT(GetRValue(down.At(k, 0)), 240);
    EXPECT_GT(GetBValue(down.At(k, 19)), 240);
  }
  const TRIVERTEX green{20, 0, 0, 0xFF00, 0, 0};
  const Image corners = paint(GRADIENT_FILL_TRIANGLE, {red, green, TRIVERTEX{0, 20, 0, 0, 0xFF00, 0}}, {0, 1, 2});
  EXPECT_GT(GetRValue(corners.At(0, 0)), 200);
  EXPECT_GT(GetGValue(corners.At(18, 0)), 200);
  EXPECT_GT(GetBValue(corners.At(0, 18)), 200);
  EXPECT_EQ(corners.At(19, 19), 0u) << "outside the triangle";
}

}  // namespace
