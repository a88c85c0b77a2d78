#include "platform/gdi/font_families.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/sys_colors.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/winapi.h"

namespace {

int Collect(const LOGFONT* font, const TEXTMETRIC*, DWORD type, LPARAM list) {
  EXPECT_EQ(type, TRUETYPE_FONTTYPE);
  reinterpret_cast<std::vector<std::string>*>(list)->emplace_back(font->lfFaceName);
  return 1;
}

std::vector<std::string> Enumerate(const char* face = "") {
  HDC dc = ::CreateCompatibleDC(nullptr);
  LOGFONT lf;
  lf.lfCharSet = ANSI_CHARSET;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  std::vector<std::string> names;
  EXPECT_EQ(EnumFontFamiliesEx(dc, &lf, &Collect, reinterpret_cast<LPARAM>(&names), 0), 1);
  ::DeleteDC(dc);
  return names;
}

// Counts the settings-change messages a window hears.
class Listener : public CWnd {
 public:
  int colourChanges = 0;
  int fontChanges = 0;

 protected:
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == WM_SYSCOLORCHANGE) ++colourChanges;
    if (message == WM_FONTCHANGE) ++fontChanges;
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }
};

class FontFamilies : public platform::ResetTest {
 protected:
  void TearDown() override { platform::SetInstalledFontFamilies(std::nullopt); }
};

// A fixed set is enumerated sorted, once each and without overlong names; a
// face name asks for that family only.
TEST_F(FontFamilies, AFixedSetIsEnumeratedSortedOnceEachOrOneFamilyByName) {
  platform::SetInstalledFontFamilies(std::vector<std::string>{"Verdana", "Arial", "Courier New", "Arial", "",
                                                              "Arial Black", std::string(31, 'x'), std::string(32, 'y')});
  EXPECT_EQ(Enumerate(),
            (std::vector<std::string>{"Arial", "Arial Black", "Courier New", "Verdana", std::string(31, 'x')}));
  EXPECT_EQ(Enumerate("arial"), std::vector<std::string>{"Arial"});
  EXPECT_TRUE(Enumerate("Tahoma").empty());
}

TEST_F(FontFamilies, ChangesOfColoursAndFontsReachEveryWindowDescendantsIncluded) {
  Listener top;
  Listener child;
  ASSERT_TRUE(top.CreateEx(0, "Test", "top", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
  ASSERT_TRUE(child.CreateEx(0, "Test", "child", WS_CHILD, 0, 0, 10, 10, top.GetSafeHwnd(), 5));
  const int indices[] = {COLOR_SCROLLBAR, COLOR_MENUBAR};  // the first and the last colour
  const COLORREF colours[] = {0x010203, 0x040506};
  ASSERT_TRUE(SetSysColors(2, indices, colours));
  EXPECT_EQ(GetSysColor(COLOR_MENUBAR), colours[1]);
  platform::SetInstalledFontFamilies(std::vector<std::string>{"Arial"});
  EXPECT_EQ(top.colourChanges, 1);
  EXPECT_EQ(top.fontChanges, 1);
  EXPECT_EQ(child.fontChanges, 1);
  for (const int unknown : {-1, 25, COLOR_MENUBAR + 1}) EXPECT_FALSE(SetSysColors(1, &unknown, colours));
  EXPECT_FALSE(SetSysColors(-1, indices, colours) || SetSysColors(1, nullptr, colours) || SetSysColors(1, indices, nullptr));
  EXPECT_EQ(child.colourChanges, 1) << "the child heard the one change; a refused one announces nothing";
  top.DestroyWindow();
}

}  // namespace
