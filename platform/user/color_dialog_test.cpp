#include "platform/user/color_dialog.h"

#include <gtest/gtest.h>

#include "platform/testing/reset_test.h"
#include "platform/window/cwnd.h"

namespace {

class ColorChooser : public platform::ResetTest {};

TEST_F(ColorChooser, TheDefaultCancelsAndTheChooserStartsFromTheGivenColourOrBlack) {
  CHOOSECOLOR cc{.rgbResult = 0x123456, .Flags = CC_RGBINIT};
  EXPECT_FALSE(ChooseColor(&cc));
  EXPECT_EQ(cc.rgbResult, 0x123456u) << "cancelled: the structure is left alone";
  cc.Flags = 0;
  ChooseColor(&cc);
  ASSERT_EQ(platform::ColorLog().size(), 2u);
  EXPECT_FALSE(platform::ColorLog()[0].chosen.has_value());
  EXPECT_EQ(std::pair(platform::ColorLog()[0].initial, platform::ColorLog()[1].initial), std::pair(0x123456u, 0u))
      << "without CC_RGBINIT: black";
}

TEST_F(ColorChooser, BadStructuresNeverReachTheResponderAndOnlyTheColourBitsOfItsPickArrive) {
  bool asked = false;
  platform::SetColorResponder([&](const platform::ColorRequest& r) {
    asked = true;
    return std::optional<COLORREF>(r.initial ^ 0xFF000000 ^ 0x0000FF);
  });
  EXPECT_FALSE(ChooseColor(nullptr));
  CHOOSECOLOR cc;
  cc.lStructSize = 3;
  EXPECT_FALSE(ChooseColor(&cc));
  EXPECT_TRUE(!asked && platform::ColorLog().empty());
  CColorDialog dialog(0x00FF00);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetColor(), 0x00FFFFu) << "the high byte a responder sets is dropped";
}

}  // namespace
