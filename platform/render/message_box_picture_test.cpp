#include "platform/render/message_box_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_metrics.h"
#include "platform/window/metrics.h"

namespace {

using platform::Image;
using platform::MessageBoxRecord;

MessageBoxRecord Box(std::string text, UINT type) {
  MessageBoxRecord box;
  box.text = std::move(text);
  box.type = type;
  return box;
}

constexpr COLORREF kWarningYellow = RGB(255, 220, 0);

TEST(MessageBoxPicture, IsLaidOutAroundItsIconTextAndButtons) {
  const std::string text = "Please select a Category";
  const Image image = platform::RenderMessageBox(Box(text, MB_OK | MB_ICONEXCLAMATION));
  const int frame = GetSystemMetrics(SM_CXDLGFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int textWidth = platform::TextWidth(platform::FontSpec{}, text);
  // Margin, icon, margin, text, margin; the icon (32) is taller than the
  // text, the button 14 below it, then a margin.
  EXPECT_EQ(image.width, 11 + 32 + 11 + textWidth + 11 + 2 * frame);
  EXPECT_EQ(image.height, 11 + 32 + 14 + 23 + 11 + 2 * frame + caption);
  EXPECT_GT(image.Count(RECT{frame + 11, frame + caption + 11, frame + 43, frame + caption + 43}, kWarningYellow), 100);
  // No caption given: the platform's "Error", in the active caption's colours.
  EXPECT_EQ(image.At(frame, frame + 5), GetSysColor(COLOR_ACTIVECAPTION));
  // The one button is the default: framed in black, centred.
  const int buttonLeft = frame + (image.width - 2 * frame - 75) / 2;
  const int buttonTop = image.height - frame - 11 - 23;
  EXPECT_EQ(image.At(buttonLeft, buttonTop + 10), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(image.At(buttonLeft - 1, buttonTop + 10), GetSysColor(COLOR_3DFACE));
}

TEST(MessageBoxPicture, ButtonsFollowTheTypeAndTheDefaultItsNumber) {
  const Image ok = platform::RenderMessageBox(Box("Delete?", MB_OK));
  const Image yesNo = platform::RenderMessageBox(Box("Delete?", MB_YESNO | MB_DEFBUTTON2));
  const Image three = platform::RenderMessageBox(Box("Delete?", MB_YESNOCANCEL | MB_ICONQUESTION));
  // Short text: the buttons set the width (75 each, 6 apart, margins of 11).
  EXPECT_EQ(yesNo.width - ok.width, 75 + 6);
  EXPECT_EQ(three.width, 3 * 75 + 2 * 6 + 22 + 2 * GetSystemMetrics(SM_CXDLGFRAME));
  const int frame = GetSystemMetrics(SM_CXDLGFRAME);
  const int top = yesNo.height - frame - 11 - 23 + 10;
  const int first = frame + (yesNo.width - 2 * frame - (2 * 75 + 6)) / 2;
  EXPECT_NE(yesNo.At(first, top), GetSysColor(COLOR_WINDOWFRAME)) << "Yes is not the default";
  EXPECT_EQ(yesNo.At(first + 75 + 6, top), GetSysColor(COLOR_WINDOWFRAME)) << "No is";
}

TEST(MessageBoxPicture, LongTextWrapsAtItsWidestLine) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "allowed group ";
  const Image wide = platform::RenderMessageBox(Box(text, MB_OK));
  const Image one = platform::RenderMessageBox(Box("allowed group", MB_OK));
  EXPECT_LE(wide.width, 450 + 22 + 2 * GetSystemMetrics(SM_CXDLGFRAME));
  EXPECT_GE(wide.height - one.height, 13 * 2) << "at least three lines instead of one";
}

}  // namespace
