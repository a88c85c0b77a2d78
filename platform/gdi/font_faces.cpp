#include "platform/gdi/font_faces.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace platform {
namespace {

constexpr const char* kFontDirs[] = {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu"};

// The average letter (A-Z, a-z) a proportional face is scaled to, in ems.
constexpr double kDialogAverageLetter = 0.53;

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

std::string FamilyOf(std::string_view face) {
  const std::string f = Lower(face);
  for (const char* mono : {"courier new", "courier", "consolas", "lucida console", "fixedsys", "terminal"}) {
    if (f == mono) return "DejaVu Sans Mono";
  }
  for (const char* serif : {"times new roman", "times", "georgia", "ms serif"}) {
    if (f == serif) return "DejaVu Serif";
  }
  for (const char* dejavu : {"DejaVu Sans Mono", "DejaVu Serif", "DejaVu Sans"}) {
    if (f == Lower(dejavu)) return dejavu;
  }
  return "DejaVu Sans";
}

// The DejaVu folder alone, with the machine's caches: nothing else of the
// machine's fontconfig set-up is read.
FcConfig* OwnFontConfig() {
  for (const char* dir : kFontDirs) {
    if (!g_file_test(dir, G_FILE_TEST_IS_DIR)) continue;
    const std::string xml = std::string("<fontconfig><dir>") + dir +
                            "</dir><cachedir>/var/cache/fontconfig</cachedir>"
                            "<cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
    FcConfig* config = FcConfigCreate();
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse) &&
        FcConfigBuildFonts(config)) {
      return config;
    }
    FcConfigDestroy(config);
  }
  // No DejaVu folder where Debian puts it: fall back to the machine's set.
  return FcInitLoadConfigAndFonts();
}

// The unscaled average letter of a family, in ems, measured once.
double AverageLetter(const std::string& family) {
  auto context = GObjectPtr<PangoContext>(pango_font_map_create_context(LayerFontMap()));
  FontDescriptionPtr desc(pango_font_description_new());
  pango_font_description_set_family(desc.get(), family.c_str());
  constexpr int kSize = 1000;
  pango_font_description_set_absolute_size(desc.get(), kSize * PANGO_SCALE);
  auto layout = GObjectPtr<PangoLayout>(pango_layout_new(context.get()));
  pango_layout_set_font_description(layout.get(), desc.get());
  pango_layout_set_text(layout.get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return static_cast<double>(logical.width) / PANGO_SCALE / kSize / 52.0;
}

// Windows-1252's 0x80-0x9F; 0 where the code page has no character.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void GObjectDeleter::operator()(void* object) const {
  if (object != nullptr) g_object_unref(object);
}

std::recursive_mutex& PangoLock() {
  static auto* lock = new std::recursive_mutex;  // leaked: used until the process ends
  return *lock;
}

PangoFontMap* LayerFontMap() {
  static PangoFontMap* map = [] {
    PangoFontMap* m = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    FcConfig* config = OwnFontConfig();
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m), config);
    FcConfigDestroy(config);  // the font map holds its own reference
    return m;
  }();
  return map;
}

FaceMapping MapFace(std::string_view face) {
  FaceMapping mapping;
  mapping.family = FamilyOf(face);
  if (mapping.family == "DejaVu Sans Mono") return mapping;
  static const double sansAverage = AverageLetter("DejaVu Sans");
  static const double serifAverage = AverageLetter("DejaVu Serif");
  const double average = mapping.family == "DejaVu Serif" ? serifAverage : sansAverage;
  if (average > 0) mapping.scale = kDialogAverageLetter / average;
  return mapping;
}

FontDescriptionPtr NewFontDescription(const FontSpec& font) {
  const FaceMapping mapping = MapFace(font.face);
  FontDescriptionPtr desc(pango_font_description_new());
  pango_font_description_set_family(desc.get(), mapping.family.c_str());
  const double pixels = std::max(1, font.emPixels) * mapping.scale;
  pango_font_description_set_absolute_size(desc.get(), std::round(pixels * PANGO_SCALE));
  pango_font_description_set_weight(desc.get(), font.weight >= 600 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc.get(), font.italic ? PANGO_STYLE_OBLIQUE : PANGO_STYLE_NORMAL);
  return desc;
}

GObjectPtr<PangoContext> NewLayerContext() {
  GObjectPtr<PangoContext> context(pango_font_map_create_context(LayerFontMap()));
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context.get(), options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context.get(), TRUE);
  return context;
}

GObjectPtr<PangoLayout> NewTextLayout(PangoContext* context, const FontSpec& font, std::string_view text) {
  GObjectPtr<PangoLayout> layout(pango_layout_new(context));
  const FontDescriptionPtr desc = NewFontDescription(font);
  pango_layout_set_font_description(layout.get(), desc.get());
  PangoAttrList* attrs = pango_attr_list_new();
  pango_attr_list_insert(attrs, pango_attr_font_features_new("kern 0, liga 0, clig 0"));
  pango_layout_set_attributes(layout.get(), attrs);
  pango_attr_list_unref(attrs);
  pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
  const std::string utf8 = ToUtf8(text);
  pango_layout_set_text(layout.get(), utf8.c_str(), static_cast<int>(utf8.size()));
  return layout;
}

std::string ToUtf8(std::string_view windows1252) {
  std::string out;
  out.reserve(windows1252.size());
  for (char ch : windows1252) {
    const auto c = static_cast<unsigned char>(ch);
    char32_t u = c;
    if (c < 0x20 || c == 0x7F) u = ' ';  // control characters show as blanks
    if (c >= 0x80 && c < 0xA0) u = kHighControls[c - 0x80] != 0 ? kHighControls[c - 0x80] : U'?';
    AppendUtf8(out, u);
  }
  return out;
}

}  // namespace platform
