// The "Color" dialog, driven headless by the input driver while its modal
// loop waits, as a person would drive it on the desktop.
#include "platform/user/color_chooser_dlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/input/input_driver.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"
#include "platform/window/winapi.h"

namespace {

namespace input = platform::input;

class ColorChooserDialog : public platform::ResetTest {
 protected:
  void SetUp() override {
    owner.CreateEx(0, "Test", "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 500, 400, nullptr, 0);
    ::SetActiveWindow(owner.m_hWnd);
    platform::SetColorResponder(platform::ShowColorChooser);
  }

  // Opens the chooser on `initial` and lets `act` drive it; what ChooseColor
  // answered (nullopt for a cancel).
  std::optional<COLORREF> Choose(COLORREF initial, const std::function<void(HWND)>& act) {
    platform::SetModalResponder([&](HWND dialog) {
      seenFocus = ::GetDlgCtrlID(::GetFocus());
      seenOwner = ::GetWindow(dialog, GW_OWNER);
      act(dialog);
    });
    CHOOSECOLOR cc{.hwndOwner = owner.m_hWnd, .rgbResult = initial, .lpCustColors = custom, .Flags = CC_RGBINIT};
    if (!ChooseColor(&cc)) return std::nullopt;
    return cc.rgbResult;
  }

  static HWND Basic(HWND dialog, int index) { return ::GetDlgItem(dialog, platform::kColorBasicFirst + index); }

  CWnd owner;
  COLORREF custom[16] = {};
  int seenFocus = 0;
  HWND seenOwner = nullptr;
};

TEST_F(ColorChooserDialog, TheFieldsSetTheColourAndOutOfRangeValuesAreClamped) {
  CWnd other;  // active, but not the owner the program names
  other.CreateEx(0, "Test", "Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0);
  ::SetActiveWindow(other.m_hWnd);
  const auto chosen = Choose(RGB(0, 0, 0), [](HWND dialog) {
    for (const auto& [id, text] : {std::pair{platform::kColorRed, "200"}, {platform::kColorBlue, "999"}}) {
      HWND field = ::GetDlgItem(dialog, id);
      ASSERT_TRUE(input::Focus(field));
      ::SendMessage(field, EM_SETSEL, 0, -1);
      input::TypeText(text);
    }
    input::PressKey(VK_RETURN);
  });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, RGB(200, 0, 255));
  EXPECT_EQ(seenOwner, owner.m_hWnd);
}

TEST_F(ColorChooserDialog, TheInitialBasicColourIsSelectedAndTheArrowsMoveWithinTheGrid) {
  const auto& basic = platform::BasicColors();
  const auto press = [](std::vector<UINT> keys) {
    return [keys](HWND) {
      for (const UINT key : keys) input::PressKey(key);
    };
  };
  // Opened on basic colour 9 (row 1, column 1): it has the focus, and OK keeps it.
  EXPECT_EQ(Choose(basic[9], press({VK_RETURN})), basic[9]);
  EXPECT_EQ(seenFocus, platform::kColorBasicFirst + 9);
  // Down, Right: colour 18, each from the swatch the last arrow reached. Up
  // from the top row wraps to the bottom row; Left from the first to the last.
  EXPECT_EQ(Choose(basic[9], press({VK_DOWN, VK_RIGHT, VK_RETURN})), basic[18]);
  EXPECT_EQ(Choose(basic[1], press({VK_UP, VK_RETURN})), basic[41]);
  EXPECT_EQ(Choose(basic[0], press({VK_LEFT, VK_RETURN})), basic[47]);
}

TEST_F(ColorChooserDialog, AddToCustomColorsFillsASwatchThatOkWritesBack) {
  const auto chosen = Choose(RGB(1, 2, 3), [](HWND dialog) {
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorCustomFirst + 5)));
    HWND green = ::GetDlgItem(dialog, platform::kColorGreen);
    ASSERT_TRUE(input::Focus(green));
    ::SendMessage(green, EM_SETSEL, 0, -1);
    input::TypeText("77");
    // The colour goes into swatch 5, the one last clicked; the next add fills 6.
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorAddCustom)));
    ASSERT_TRUE(input::Click(Basic(dialog, 47)));
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorAddCustom)));
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorCustomFirst + 5)));
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, IDOK)));
  });
  EXPECT_EQ(chosen, RGB(0, 77, 0)) << "custom swatch 5 was black; green typed over it";
  EXPECT_EQ(std::vector<COLORREF>(custom, custom + 7),
            (std::vector<COLORREF>{0, 0, 0, 0, 0, RGB(0, 77, 0), platform::BasicColors()[47]}));

  // A cancelled chooser leaves the custom colours as they were.
  Choose(RGB(9, 9, 9), [](HWND dialog) {
    input::Click(::GetDlgItem(dialog, platform::kColorAddCustom));
    input::PressKey(VK_ESCAPE);
  });
  EXPECT_EQ(custom[0], 0u);
}

TEST_F(ColorChooserDialog, TheFrameworksCustomColoursStartWhiteAndStayFromOneChooserToTheNext) {
  COLORREF seen = 0;
  platform::SetModalResponder([&](HWND dialog) {
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorCustomFirst + 3)));
    char red[8] = "";
    ::GetDlgItemText(dialog, platform::kColorRed, red, sizeof red);
    seen = static_cast<COLORREF>(std::stoi(red)) << 16;
    ASSERT_TRUE(input::Click(Basic(dialog, 8)));
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorAddCustom)));
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, IDOK)));
  });
  CColorDialog first(0, 0, &owner);
  ASSERT_EQ(first.DoModal(), IDOK);
  EXPECT_EQ(seen, 255u << 16) << "an unused custom swatch is white";
  EXPECT_EQ(first.GetColor(), platform::BasicColors()[8]);

  platform::SetModalResponder([&](HWND dialog) {
    ASSERT_TRUE(input::Click(::GetDlgItem(dialog, platform::kColorCustomFirst + 3)));
    input::PressKey(VK_RETURN);
  });
  CColorDialog second(0, 0, &owner);
  ASSERT_EQ(second.DoModal(), IDOK);
  EXPECT_EQ(second.GetColor(), platform::BasicColors()[8]) << "the colour added in the first chooser";
}

TEST_F(ColorChooserDialog, AnAnswerGivenAheadStillWinsOnceAndTheDialogComesBack) {
  platform::SetColorResponder(platform::ChooseColorOnce(RGB(9, 9, 9)));
  bool opened = false;
  EXPECT_EQ(Choose(0, [&](HWND) { opened = true; }), RGB(9, 9, 9));
  EXPECT_FALSE(opened);
  EXPECT_EQ(Choose(RGB(1, 1, 1), [&](HWND) { input::PressKey(VK_RETURN); }), RGB(1, 1, 1));
}

}  // namespace
