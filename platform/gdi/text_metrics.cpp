#include "platform/gdi/text_metrics.h"

#include <cmath>
#include <cstdint>
#include <deque>
#include <mutex>

namespace platform {
namespace {

// Advance widths of ' ' (32) to '~' (126) in thousandths of an em.
constexpr int kWidths[95] = {
    278, 278, 355, 556, 556, 889, 667,  191, 333, 333, 389, 584, 278,
    333, 278, 278,                                                     // space ! " # $ % & ' ( ) * + , - . /
    556, 556, 556, 556, 556, 556, 556,  556, 556, 556,                 // 0-9
    278, 278, 584, 584, 584, 556, 1015,                                // : ; < = > ? @
    667, 667, 722, 722, 667, 611, 778,  722, 278, 500, 667, 556, 833,  // A-M
    722, 778, 667, 778, 722, 667, 611,  722, 667, 944, 667, 667, 611,  // N-Z
    278, 278, 278, 469, 556, 333,                                      // [ \ ] ^ _ `
    556, 556, 500, 556, 556, 278, 556,  556, 222, 222, 500, 222, 833,  // a-m
    556, 556, 556, 556, 333, 500, 278,  556, 500, 722, 500, 500, 500,  // n-z
    334, 260, 334, 584,                                                // { | } ~
};
constexpr int kOtherWidth = 556;

int Round(double v) { return static_cast<int>(std::lround(v)); }

struct FontTable {
  std::mutex mutex;
  std::deque<FontSpec> fonts;  // a handle is the address of its entry; deque keeps addresses
};

FontTable& Fonts() {
  static auto* table = new FontTable;  // leaked: handles stay valid to the end
  return *table;
}

}  // namespace

FontSpec FontSpec::FromPoints(std::string face, int points) {
  FontSpec fontSpec;
  fontSpec.face = std::move(face);
  fontSpec.emPixels = ::MulDiv(points, 96, 72);
  return fontSpec;
}

int CharWidth(const FontSpec& font, char ch) {
  const auto c = static_cast<unsigned char>(ch);
  const int thousandths = (c >= 32 && c <= 126) ? kWidths[c - 32] : kOtherWidth;
  return Round(thousandths * font.emPixels / 1000.0);
}

int TextWidth(const FontSpec& font, std::string_view text) {
  int width = 0;
  for (char ch : text) width += CharWidth(font, ch);
  return width;
}

FontMetrics MeasureFont(const FontSpec& font) {
  FontMetrics m;
  m.ascent = Round(font.emPixels * 0.96);
  m.descent = Round(font.emPixels * 0.22);
  m.height = m.ascent + m.descent;
  int letters = 0;
  for (char c = 'A'; c <= 'Z'; ++c) letters += CharWidth(font, c);
  for (char c = 'a'; c <= 'z'; ++c) letters += CharWidth(font, c);
  m.averageCharWidth = (letters + 26) / 52;
  m.maxCharWidth = CharWidth(font, '@');
  return m;
}

SIZE DialogBaseUnits(const FontSpec& font) {
  const FontMetrics m = MeasureFont(font);
  return SIZE{m.averageCharWidth, m.height};
}

HFONT FontHandle(const FontSpec& font) {
  auto& table = Fonts();
  std::lock_guard lock(table.mutex);
  for (FontSpec& f : table.fonts) {
    if (f == font) return reinterpret_cast<HFONT>(&f);
  }
  table.fonts.push_back(font);
  return reinterpret_cast<HFONT>(&table.fonts.back());
}

const FontSpec* FontFromHandle(HFONT font) {
  auto& table = Fonts();
  std::lock_guard lock(table.mutex);
  for (const FontSpec& f : table.fonts) {
    if (reinterpret_cast<HFONT>(const_cast<FontSpec*>(&f)) == font) return &f;
  }
  return nullptr;
}

HFONT DefaultGuiFont() { return FontHandle(FontSpec{}); }

}  // namespace platform

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t half = (denominator > 0 ? denominator : -denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude =
      ((product < 0 ? -product : product) + half) / (denominator > 0 ? denominator : -denominator);
  return static_cast<int>(negative ? -magnitude : magnitude);
}
