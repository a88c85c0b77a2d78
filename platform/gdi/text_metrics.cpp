#include "platform/gdi/text_metrics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/gdi/font_faces.h"

namespace platform {
namespace {

// A font's whole-pixel advances for every byte, measured once.
struct Advances {
  FontSpec font;
  std::array<int, 256> width{};
  FontMetrics metrics;
};

FontMetrics MetricsOf(const FontSpec& font, const std::array<int, 256>& width);

const Advances& Measure(const FontSpec& font) {
  std::lock_guard lock(PangoLock());
  static auto* cache = new std::deque<Advances>;  // leaked: entries are handed out by reference
  for (const Advances& a : *cache) {
    if (a.font == font) return a;
  }
  Advances a;
  a.font = font;
  const auto context = NewLayerContext();
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const auto layout = NewTextLayout(context.get(), font, std::string_view(&ch, 1));
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    a.width[static_cast<size_t>(c)] = logical.width;
  }
  a.metrics = MetricsOf(font, a.width);
  cache->push_back(std::move(a));
  return cache->back();
}

// Painting asks for one font many times in a row: the last one a thread
// used is found without the lock (entries never move or go).
const Advances& AdvancesOf(const FontSpec& font) {
  thread_local const Advances* last = nullptr;
  if (last == nullptr || !(last->font == font)) last = &Measure(font);
  return *last;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

FontMetrics MetricsOf(const FontSpec& font, const std::array<int, 256>& width) {
  FontMetrics m;
  m.ascent = Round(font.emPixels * 0.96);
  m.descent = Round(font.emPixels * 0.22);
  m.height = m.ascent + m.descent;
  int letters = 0;
  for (char c = 'A'; c <= 'Z'; ++c) letters += width[static_cast<unsigned char>(c)];
  for (char c = 'a'; c <= 'z'; ++c) letters += width[static_cast<unsigned char>(c)];
  m.averageCharWidth = (letters + 26) / 52;
  m.maxCharWidth = *std::max_element(width.begin(), width.end());
  return m;
}

struct FontTable {
  std::mutex mutex;
  std::deque<FontSpec> fonts;  // a handle is the address of its entry; deque keeps addresses
};

FontTable& Fonts() {
  static auto* table = new FontTable;  // leaked: handles stay valid to the end
  return *table;
}

}  // namespace

int CharWidth(const FontSpec& font, char ch) { return AdvancesOf(font).width[static_cast<unsigned char>(ch)]; }

int TextWidth(const FontSpec& font, std::string_view text) {
  const Advances& a = AdvancesOf(font);
  int width = 0;
  for (char ch : text) width += a.width[static_cast<unsigned char>(ch)];
  return width;
}

FontMetrics MeasureFont(const FontSpec& font) { return AdvancesOf(font).metrics; }

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
