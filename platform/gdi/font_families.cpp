#include "platform/gdi/font_families.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <utility>

#ifdef PLATFORM_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include "platform/gdi/font_faces.h"
#include "platform/gdi/system_change.h"

namespace platform {
namespace {

// Sorted, distinct, each short enough for a LOGFONT.
std::vector<std::string> Normalised(std::vector<std::string> names) {
  std::erase_if(names, [](const std::string& name) {
    return name.empty() || name.size() > static_cast<size_t>(LF_FACESIZE - 1);
  });
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<std::string> FromFontconfig() {
  std::vector<std::string> names;
#ifdef PLATFORM_HAVE_FONTCONFIG
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  if (pattern != nullptr && objects != nullptr) {
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects); set != nullptr) {
      for (int i = 0; i < set->nfont; ++i) {
        // Index 0 is the family's own name; later ones are translations.
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
          names.emplace_back(reinterpret_cast<const char*>(family));
        }
      }
      FcFontSetDestroy(set);
    }
  }
  if (objects != nullptr) FcObjectSetDestroy(objects);
  if (pattern != nullptr) FcPatternDestroy(pattern);
#endif
  return names;
}

struct FamilyState {
  std::optional<std::vector<std::string>> families;  // read on first need
};

// User-interface thread only, like every drawing function.
FamilyState& State() {
  static FamilyState state;
  return state;
}

// The faces programs ask for by name, which the platform draws with the
// DejaVu fonts (gdi/font_faces.h): listed as installed, so that a font
// chooser offers, and can preselect, the face a list was given.
constexpr const char* kMappedFaces[] = {"Arial",          "Courier New", "MS Sans Serif",   "MS Shell Dlg",
                                        "MS Shell Dlg 2", "Tahoma",      "Times New Roman", "Verdana"};

std::vector<std::string> WithMappedFaces(std::vector<std::string> names) {
  const bool dejaVu =
      std::any_of(names.begin(), names.end(), [](const std::string& name) { return name.starts_with("DejaVu"); });
  if (dejaVu) names.insert(names.end(), std::begin(kMappedFaces), std::end(kMappedFaces));
  return names;
}

}  // namespace

std::string DrawnFamily(std::string_view face) { return MapFace(face).family; }

std::vector<std::string> InstalledFontFamilies() {
  FamilyState& state = State();
  if (!state.families) state.families = Normalised(WithMappedFaces(FromFontconfig()));
  return *state.families;
}

void SetInstalledFontFamilies(std::optional<std::vector<std::string>> families) {
  State().families = families ? std::optional(Normalised(std::move(*families))) : std::nullopt;
  BroadcastSystemChange(SystemChange::Fonts);
}

}  // namespace platform

int EnumFontFamiliesEx(HDC dc, LOGFONT* font, FONTENUMPROC proc, LPARAM lParam, DWORD /*flags*/) {
  if (!platform::IsDC(dc) || font == nullptr || proc == nullptr) return 0;
  const std::string wanted(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
  int result = 1;
  for (const std::string& family : platform::InstalledFontFamilies()) {
    if (!wanted.empty() && strcasecmp(wanted.c_str(), family.c_str()) != 0) continue;
    ENUMLOGFONTEX record;
    record.elfLogFont.lfCharSet = font->lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : font->lfCharSet;
    record.elfLogFont.lfWeight = FW_NORMAL;
    std::memcpy(record.elfLogFont.lfFaceName, family.c_str(), family.size() + 1);
    std::memcpy(record.elfFullName, family.c_str(), family.size() + 1);
    std::memcpy(record.elfStyle, "Regular", sizeof("Regular"));
    std::memcpy(record.elfScript, "Western", sizeof("Western"));
    NEWTEXTMETRICEX metric;
    metric.ntmTm.tmCharSet = record.elfLogFont.lfCharSet;
    metric.ntmTm.tmWeight = FW_NORMAL;
    result = proc(&record.elfLogFont, &metric.ntmTm, TRUETYPE_FONTTYPE, lParam);
    if (result == 0) break;
  }
  return result;
}
