#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "platform/comctl/clistctrl.h"
#include "platform/comctl/header_control.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/input/input_driver.h"
#include "platform/render/canvas.h"
#include "platform/render/replay.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_test.h"
#include "platform/user/cdialog.h"
#include "platform/user/dialog_resources.h"
#include "platform/window/metrics.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/winapi.h"

namespace {

using platform::Image;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x5100});
constexpr UINT kDialogId = 310;
constexpr int kCheck = 1001, kButton = 1002, kOther = 1003, kList = 1004, kEdit = 1006, kCombo = 1007;

platform::DialogTemplate Template() {
  platform::DialogTemplate t;
  t.id = kDialogId;
  t.caption = "Pictures";
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 200;
  t.cy = 140;
  t.items = {
      {kCheck, "BUTTON", "Apply", 10, 10, 60, 10, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
      {kButton, "BUTTON", "Delete", 10, 30, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
      {kOther, "BUTTON", "Close", 70, 30, 50, 14, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0},
      {kEdit, "EDIT", "NIFTY", 130, 10, 60, 12, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
      {kCombo, "COMBOBOX", "", 130, 30, 60, 60, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0},
  };
  return t;
}

// Colour channels' darkest value over a rectangle of the picture.
int Darkest(const Image& image, const RECT& r) {
  int darkest = 255;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = image.At(x, y);
      darkest = std::min(
          {darkest, static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)), static_cast<int>(GetBValue(c))});
    }
  }
  return darkest;
}

// How many pixels of a rectangle are near white (every channel above 224).
int NearWhite(const Image& image, const RECT& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = image.At(x, y);
      if (GetRValue(c) > 224 && GetGValue(c) > 224 && GetBValue(c) > 224) ++n;
    }
  }
  return n;
}

class WindowRendererTest : public platform::ResetTest {
 protected:
  void SetUp() override {
    platform::RegisterDialogTemplate(kModule, Template());
    AfxSetResourceHandle(kModule);
    ASSERT_TRUE(m_dialog.Create(kDialogId));
    m_dialog.ShowWindow(SW_SHOWNORMAL);
  }
  void TearDown() override {
    m_dialog.DestroyWindow();
    platform::RemoveModuleResources(kModule);
    AfxSetResourceHandle(nullptr);
  }
  HWND Item(int id) { return ::GetDlgItem(m_dialog.m_hWnd, id); }
  // A control's window rectangle in picture coordinates.
  RECT InPicture(HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    return ScreenInPicture(r);
  }
  // A rectangle of a window's client area in picture coordinates.
  RECT ClientInPicture(HWND w, RECT r) {
    ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return ScreenInPicture(r);
  }
  RECT ScreenInPicture(const RECT& r) {
    RECT dialog;
    ::GetWindowRect(m_dialog.m_hWnd, &dialog);
    return RECT{r.left - dialog.left, r.top - dialog.top, r.right - dialog.left, r.bottom - dialog.top};
  }
  CDialog m_dialog{kDialogId};
};

TEST_F(WindowRendererTest, ThePictureIsTheWindowAsLargeAsItsTemplateMakesIt) {
  const Image image = platform::RenderWindow(m_dialog.m_hWnd);
  // Client MulDiv(200, 6, 4) x MulDiv(140, 13, 8), a dialog frame of 3 and a caption of 19.
  EXPECT_EQ(image.width, 300 + 2 * 3);
  EXPECT_EQ(image.height, 228 + 2 * 3 + 19);
  // The caption bar runs from the active caption colour to its gradient colour;
  // the client area is the face colour.
  EXPECT_EQ(image.At(3, 10), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_LE(GetBValue(image.At(image.width - 30, 5)), GetBValue(GetSysColor(COLOR_GRADIENTACTIVECAPTION)));
  EXPECT_GT(GetGValue(image.At(image.width - 30, 5)), 100);
  EXPECT_EQ(image.At(150, 200), GetSysColor(COLOR_3DFACE));
  EXPECT_TRUE(platform::RenderWindow(nullptr).pixels.empty());
}

TEST_F(WindowRendererTest, ACheckedBoxShowsItsTickAndAnUncheckedOneIsBlank) {
  const RECT check = InPicture(Item(kCheck));
  const int boxTop = check.top + (check.bottom - check.top - 13) / 2;
  const RECT inside{check.left + 2, boxTop + 2, check.left + 11, boxTop + 11};
  const COLORREF black = GetSysColor(COLOR_WINDOWTEXT);
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_EQ(image.Count(inside, GetSysColor(COLOR_WINDOW)), 9 * 9);
  ::SendMessage(Item(kCheck), BM_SETCHECK, BST_CHECKED, 0);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  // The tick: seven columns three pixels high.
  EXPECT_EQ(image.Count(inside, black), 21);
  EXPECT_EQ(image.Count(inside, GetSysColor(COLOR_WINDOW)), 9 * 9 - 21);
  // The box's sunken edge: shadow at its top-left corner, highlight at its bottom-right.
  EXPECT_EQ(image.At(check.left, boxTop), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(image.At(check.left + 12, boxTop + 12), GetSysColor(COLOR_3DHILIGHT));
}

TEST_F(WindowRendererTest, ADisabledButtonsCaptionIsEmbossedGrey) {
  const RECT button = InPicture(Item(kButton));
  const RECT caption{button.left + 4, button.top + 4, button.right - 4, button.bottom - 4};
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_LT(Darkest(image, caption), 64) << "an enabled caption is black";
  const int whiteBefore = NearWhite(image, caption);
  ::EnableWindow(Item(kButton), FALSE);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_GE(Darkest(image, caption), 100) << "nothing darker than the grey text";
  EXPECT_LT(Darkest(image, caption), 160) << "the grey text itself";
  EXPECT_GT(NearWhite(image, caption), whiteBefore + 5) << "the highlight copy under it";
}

TEST_F(WindowRendererTest, TheFocusedButtonShowsItsFocusFrameAndTheDefaultItsBlackFrame) {
  ::SendMessage(Item(kButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  ::SetFocus(Item(kButton));
  const RECT button = InPicture(Item(kButton));
  const Image image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_EQ(image.At(button.left, button.top + 5), GetSysColor(COLOR_WINDOWFRAME));
  // The focus frame inverts the face every other pixel, four pixels in.
  EXPECT_EQ(image.At(button.left + 4, button.top + 4), RGB(63, 63, 63));
  EXPECT_EQ(image.At(button.left + 5, button.top + 4), GetSysColor(COLOR_3DFACE));
  const RECT other = InPicture(Item(kOther));
  EXPECT_EQ(image.At(other.left + 4, other.top + 4), GetSysColor(COLOR_3DFACE));
  EXPECT_NE(image.At(other.left, other.top + 5), GetSysColor(COLOR_WINDOWFRAME));
}

TEST_F(WindowRendererTest, ACheckBoxShowsItsFocusFrameAroundItsCaptionOnceTheKeyboardIsUsed) {
  // As a dialog opened with the mouse: no focus cues until a key is used in it.
  ::SendMessage(m_dialog.m_hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  const RECT check = InPicture(Item(kCheck));
  const RECT frameLeft{check.left + 15, check.top, check.left + 16, check.bottom};  // just left of "Apply"
  // The face, inverted: the frame's dots.
  const COLORREF dotted = RGB(63, 63, 63);
  ::SetFocus(Item(kCheck));
  EXPECT_EQ(platform::RenderWindow(m_dialog.m_hWnd).Count(frameLeft, dotted), 0) << "hidden after the mouse";
  ::SetFocus(Item(kCombo));
  ASSERT_TRUE(platform::input::PressKey(VK_TAB));  // round to the check box
  ASSERT_EQ(::GetFocus(), Item(kCheck));
  const Image image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_GE(image.Count(frameLeft, dotted), 4) << "every other pixel of the frame's left side";
  const RECT box{check.left, check.top, check.left + 13, check.bottom};
  EXPECT_EQ(image.Count(box, dotted), 0) << "around the caption, not the box";
  ::SetFocus(Item(kEdit));
  EXPECT_EQ(platform::RenderWindow(m_dialog.m_hWnd).Count(frameLeft, dotted), 0) << "only while it has the focus";
}

TEST_F(WindowRendererTest, ASelectedRowIsHighlightedWithFocusAndGreyWithout) {
  CListCtrl list;
  ASSERT_TRUE(list.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                            RECT{10, 80, 290, 220}, &m_dialog, kList));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, "Symbol", LVCFMT_LEFT, 120);
  for (int i = 0; i < 3; ++i) list.InsertItem(i, i == 1 ? "NIFTY" : "GOLD");
  list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  CRect row;
  ASSERT_TRUE(list.GetItemRect(1, &row, LVIR_BOUNDS));
  const RECT inPicture = ClientInPicture(list.m_hWnd, RECT{row.left, row.top, row.left + 100, row.bottom});
  const int area = 100 * row.Height();

  list.SetFocus();
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  const int highlighted = image.Count(inPicture, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(highlighted, area * 2 / 3);
  EXPECT_GT(NearWhite(image, inPicture), 5) << "the text in the highlight text colour";

  ::SetFocus(Item(kOther));
  image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_EQ(image.Count(inPicture, GetSysColor(COLOR_HIGHLIGHT)), 0);
  EXPECT_GT(image.Count(inPicture, GetSysColor(COLOR_3DFACE)), area * 2 / 3);
  // The row above stays white.
  const RECT above{inPicture.left, inPicture.top - row.Height(), inPicture.right, inPicture.top};
  EXPECT_GT(image.Count(above, GetSysColor(COLOR_WINDOW)), area * 2 / 3);
}

TEST_F(WindowRendererTest, AnEditShowsItsSelectionOrCaretWhileFocused) {
  HWND edit = Item(kEdit);
  RECT client;
  ::GetClientRect(edit, &client);
  const RECT text = ClientInPicture(edit, client);
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_EQ(image.Count(text, GetSysColor(COLOR_HIGHLIGHT)), 0) << "no selection shows without the focus";
  ::SetFocus(edit);
  ::SendMessage(edit, EM_SETSEL, 0, 3);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  const platform::FontSpec font;
  const int selected = platform::TextWidth(font, "NIF");
  EXPECT_GT(image.Count(text, GetSysColor(COLOR_HIGHLIGHT)), selected * 13 / 2);
  EXPECT_EQ(image.At(text.left + selected + 1, text.top + 6), GetSysColor(COLOR_WINDOW)) << "the rest is not selected";
  // No selection: a caret after the text, as high as a line.
  ::SendMessage(edit, EM_SETSEL, 5, 5);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_EQ(image.Count(text, GetSysColor(COLOR_HIGHLIGHT)), 0);
  const int caret = text.left + platform::TextWidth(font, "NIFTY");
  EXPECT_EQ(image.Count(RECT{caret, text.top, caret + 1, text.top + 13}, GetSysColor(COLOR_WINDOWTEXT)), 13);
}

TEST_F(WindowRendererTest, AComboShowsItsChoiceAndItsOpenListOverTheWindowBelow) {
  HWND combo = Item(kCombo);
  for (const char* item : {"BSE", "MCX", "NFO"}) {
    ::SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  const RECT box = InPicture(combo);
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  const RECT field{box.left + 3, box.top + 3, box.left + 30, box.bottom - 3};
  EXPECT_EQ(Darkest(image, field), 255) << "nothing chosen: an empty white field";
  ::SendMessage(combo, CB_SETCURSEL, 1, 0);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  EXPECT_LT(Darkest(image, field), 64) << "the choice's text";
  // The drop-down arrow: black pixels in the button at the right.
  EXPECT_GT(image.Count(RECT{box.right - 22, box.top, box.right, box.bottom}, GetSysColor(COLOR_BTNTEXT)), 5);

  const RECT below{box.left + 2, box.bottom + 2, box.right - 24, box.bottom + 12};
  EXPECT_EQ(image.Count(below, GetSysColor(COLOR_WINDOW)), 0) << "closed: the dialog's face below";
  ::SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
  image = platform::RenderWindow(m_dialog.m_hWnd);
  const int area = (below.right - below.left) * (below.bottom - below.top);
  EXPECT_GT(image.Count(below, GetSysColor(COLOR_WINDOW)) + image.Count(below, GetSysColor(COLOR_HIGHLIGHT)), area / 2)
      << "open: its list floats over the dialog";
}

// A part of a scroll bar (window coordinates of `w`) in picture coordinates.
RECT PartInPicture(HWND dialog, HWND w, const RECT& part) {
  RECT d;
  RECT r;
  ::GetWindowRect(dialog, &d);
  ::GetWindowRect(w, &r);
  const int dx = r.left - d.left;
  const int dy = r.top - d.top;
  return RECT{part.left + dx, part.top + dy, part.right + dx, part.bottom + dy};
}

RECT Inside(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// The classic bar: black arrows on raised buttons, a checkered track and a
// plain raised thumb where the position puts it.
void ExpectClassicBar(const Image& image, HWND dialog, HWND w, int bar) {
  const platform::ScrollBarRects g = platform::ScrollBarGeometry(w, bar);
  ASSERT_TRUE(g.shown);
  const COLORREF black = GetSysColor(COLOR_BTNTEXT);
  const COLORREF white = GetSysColor(COLOR_3DHILIGHT);
  const COLORREF face = GetSysColor(COLOR_3DFACE);
  for (const RECT& arrow : {g.lineUp, g.lineDown}) {
    const RECT a = PartInPicture(dialog, w, arrow);
    EXPECT_GE(image.Count(Inside(a, 2), black), 10) << "an arrow's glyph";
    EXPECT_EQ(image.At(a.left + 1, a.top + 5), white) << "the raised button's light inner edge";
    EXPECT_EQ(image.At(a.right - 1, a.bottom - 1), GetSysColor(COLOR_3DDKSHADOW)) << "... and its dark outer edge";
  }
  const RECT thumb = PartInPicture(dialog, w, g.thumb);
  ASSERT_GT(thumb.bottom - thumb.top, 4);
  const int thumbArea = (thumb.right - thumb.left - 4) * (thumb.bottom - thumb.top - 4);
  EXPECT_EQ(image.Count(Inside(thumb, 2), face), thumbArea) << "a plain face inside the thumb";
  // The longer part of the track beside the thumb is checkered: half its pixels white.
  const RECT track = PartInPicture(dialog, w, g.track);
  const bool vertical = bar == SB_VERT;
  const bool after = vertical ? track.bottom - thumb.bottom > thumb.top - track.top
                              : track.right - thumb.right > thumb.left - track.left;
  const RECT rest = vertical ? (after ? RECT{track.left, thumb.bottom, track.right, track.bottom}
                                      : RECT{track.left, track.top, track.right, thumb.top})
                             : RECT{thumb.right, track.top, track.right, track.bottom};
  const int restArea = (rest.right - rest.left) * (rest.bottom - rest.top);
  ASSERT_GT(restArea, 20);
  EXPECT_NEAR(image.Count(rest, white), restArea / 2, 1);
  EXPECT_NEAR(image.Count(rest, face), restArea / 2, 1);
}

TEST_F(WindowRendererTest, AListThatDoesNotFitShowsBothBarsWithTheirThumbsWhereTheyStand) {
  CListCtrl list;
  ASSERT_TRUE(
      list.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{10, 100, 290, 225}, &m_dialog, kList));
  list.InsertColumn(0, "Symbol", LVCFMT_LEFT, 400);
  for (int i = 0; i < 40; ++i) list.InsertItem(i, "NIFTY");
  Image image = platform::RenderWindow(m_dialog.m_hWnd);
  ExpectClassicBar(image, m_dialog.m_hWnd, list.m_hWnd, SB_VERT);
  ExpectClassicBar(image, m_dialog.m_hWnd, list.m_hWnd, SB_HORZ);
  const platform::ScrollBarRects top = platform::ScrollBarGeometry(list.m_hWnd, SB_VERT);
  EXPECT_EQ(top.thumb.top, top.track.top);
  // The corner between the bars is the face colour.
  const platform::ScrollBarRects h = platform::ScrollBarGeometry(list.m_hWnd, SB_HORZ);
  const RECT corner =
      PartInPicture(m_dialog.m_hWnd, list.m_hWnd, RECT{h.bar.right, h.bar.top, top.bar.right, h.bar.bottom});
  EXPECT_EQ(image.Count(corner, GetSysColor(COLOR_3DFACE)),
            (corner.right - corner.left) * (corner.bottom - corner.top));

  // Scrolled to the end: the thumb is drawn at the bottom, the track checkered above it.
  list.SendMessage(WM_VSCROLL, SB_BOTTOM);
  ExpectClassicBar(platform::RenderWindow(m_dialog.m_hWnd), m_dialog.m_hWnd, list.m_hWnd, SB_VERT);
  const platform::ScrollBarRects bottom = platform::ScrollBarGeometry(list.m_hWnd, SB_VERT);
  EXPECT_EQ(bottom.thumb.bottom, bottom.track.bottom);
}

TEST_F(WindowRendererTest, PicturesAreWrittenAsPngOrSvgAndReadBack) {
  const std::string png = ::testing::TempDir() + "render_test.png";
  const std::string svg = ::testing::TempDir() + "render_test.SVG";
  ASSERT_TRUE(platform::WriteWindowPicture(m_dialog.m_hWnd, png));
  const auto back = platform::LoadPng(png);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->pixels, platform::RenderWindow(m_dialog.m_hWnd).pixels);
  ASSERT_TRUE(platform::WriteWindowPicture(m_dialog.m_hWnd, svg));
  std::ifstream in(svg);
  std::string head(200, '\0');
  in.read(head.data(), 200);
  EXPECT_NE(head.find("<svg"), std::string::npos);
  std::string error;
  EXPECT_FALSE(platform::WriteWindowPicture(nullptr, png, &error));
  EXPECT_EQ(error, "no such window");
  EXPECT_FALSE(platform::WriteWindowPicture(m_dialog.m_hWnd, "/no/such/folder/x.png", &error));
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
    HDITEM item;
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.cxy = 100;
    item.pszText = const_cast<char*>(caption);
    ::SendMessage(header, HDM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&item));
  }
  RECT first;
  ::SendMessage(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  const int row = first.bottom - first.top;
  const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
  const COLORREF mark = GetSysColor(COLOR_WINDOWTEXT);
  // Over the first and second items, where the first is dragged by 90 pixels.
  const RECT ghost{90 + 2, 2, 190 - 2, row - 2};
  const RECT beforeThird{199, 0, 201, row};
  // Undragged, only the items' shadowed edges there.
  EXPECT_LT(platform::RenderWindow(parent.m_hWnd).Count(ghost, shadow), 2 * row);
  ASSERT_TRUE(platform::input::ButtonDown(header, POINT{50, row / 2}));
  platform::input::MouseMove(header, POINT{100, row / 2});
  platform::input::MouseMove(header, POINT{140, row / 2});
  const Image dragging = platform::RenderWindow(parent.m_hWnd);
  EXPECT_GT(dragging.Count(ghost, shadow), (ghost.right - ghost.left) * (ghost.bottom - ghost.top) / 2)
      << "the item's picture, shifted with the pointer";
  EXPECT_EQ(dragging.Count(beforeThird, mark), 2 * row) << "dropped here it would go after Symbol";
  platform::input::ButtonUp(header, POINT{140, row / 2});
  EXPECT_LT(platform::RenderWindow(parent.m_hWnd).Count(ghost, shadow), 2 * row) << "gone with the drop";
  platform::ResetForTest();
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
    const Image image = platform::PaintPicture(2, 2, [&](cairo_t* cr) { platform::Replay(platform::Painter(cr), *ops); });
    return image.At(1, 1) == kRed;
  };
  EXPECT_TRUE(innermostShows(8));
  EXPECT_FALSE(innermostShows(9));
}

}  // namespace
