#include <gtest/gtest.h>

#include "platform/gdi/text_metrics.h"

namespace {

using platform::FontSpec;

TEST(TextMetricsTest, WidthsAreWholePixelAdvancesSummedPerCharacter) {
  const FontSpec font = FontSpec::FromPoints("MS Shell Dlg", 8);
  EXPECT_EQ(font.emPixels, 11);
  EXPECT_EQ(platform::CharWidth(font, 'i'), 2);   // 222 / 1000 em
  EXPECT_EQ(platform::CharWidth(font, 'W'), 10);  // 944
  EXPECT_EQ(platform::TextWidth(font, "iW"), 12);
  EXPECT_EQ(platform::TextWidth(font, ""), 0);
  // Characters outside printable ASCII take the width of a digit.
  EXPECT_EQ(platform::CharWidth(font, '\xe9'), platform::CharWidth(font, '0'));
  const platform::FontMetrics m = platform::MeasureFont(font);
  EXPECT_EQ(m.ascent, 11);
  EXPECT_EQ(m.descent, 2);
  EXPECT_EQ(m.height, 13);
  EXPECT_EQ(m.averageCharWidth, 6);
}

TEST(TextMetricsTest, FontHandlesAreStablePerSpecAndResolveBack) {
  FontSpec bold = FontSpec::FromPoints("Arial", 10);
  bold.weight = 700;
  const HFONT a = platform::FontHandle(bold);
  EXPECT_EQ(platform::FontHandle(bold), a);
  EXPECT_NE(platform::FontHandle(FontSpec::FromPoints("Arial", 10)), a);
  ASSERT_NE(platform::FontFromHandle(a), nullptr);
  EXPECT_EQ(platform::FontFromHandle(a)->weight, 700);
  EXPECT_EQ(platform::FontFromHandle(reinterpret_cast<HFONT>(uintptr_t{8})), nullptr);
  EXPECT_EQ(*platform::FontFromHandle(platform::DefaultGuiFont()), FontSpec{});
}

}  // namespace
