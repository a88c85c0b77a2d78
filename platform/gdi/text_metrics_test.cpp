#include <gtest/gtest.h>

#include "platform/gdi/text_metrics.h"

namespace {

using platform::FontSpec;

TEST(TextMetricsTest, TheDialogFontKeepsItsBaseUnitsAndWidthsAddUpPerCharacter) {
  const FontSpec font = FontSpec::FromPoints("MS Shell Dlg", 8);
  EXPECT_EQ(font.emPixels, 11);
  const platform::FontMetrics m = platform::MeasureFont(font);
  EXPECT_EQ(m.ascent, 11);
  EXPECT_EQ(m.descent, 2);
  EXPECT_EQ(m.height, 13);
  EXPECT_EQ(m.averageCharWidth, 6);
  EXPECT_EQ(platform::DialogBaseUnits(font).cx, 6);
  EXPECT_EQ(platform::DialogBaseUnits(font).cy, 13);
  // Proportional: a narrow letter is narrower than a wide one, and a string
  // is the sum of its characters (no kerning), also outside ASCII.
  EXPECT_LT(platform::CharWidth(font, 'i'), platform::CharWidth(font, 'W'));
  EXPECT_GT(platform::CharWidth(font, 'i'), 0);
  EXPECT_EQ(platform::TextWidth(font, "AV\xe9W"), platform::CharWidth(font, 'A') + platform::CharWidth(font, 'V') +
                                                      platform::CharWidth(font, '\xe9') +
                                                      platform::CharWidth(font, 'W'));
  EXPECT_EQ(platform::TextWidth(font, ""), 0);
  // A larger em measures wider; the face's own average follows it.
  const FontSpec big = FontSpec::FromPoints("MS Shell Dlg", 16);
  EXPECT_GT(platform::TextWidth(big, "Allowed Groups"), platform::TextWidth(font, "Allowed Groups") * 3 / 2);
}

TEST(TextMetricsTest, FacesMapToFamiliesOfTheirKind) {
  const FontSpec mono{"Courier New", 13};
  EXPECT_EQ(platform::CharWidth(mono, 'i'), platform::CharWidth(mono, 'W'));
  const FontSpec sans{"Arial", 13};
  EXPECT_NE(platform::CharWidth(sans, 'i'), platform::CharWidth(sans, 'W'));
  // Unknown faces fall back to the sans family rather than failing.
  EXPECT_EQ(platform::TextWidth(FontSpec{"No Such Face", 13}, "Category"), platform::TextWidth(sans, "Category"));
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
