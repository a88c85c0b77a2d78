// Installed font families, from fontconfig, behind EnumFontFamiliesEx.
//
// The families are read once per process (sorted, each name once) and
// enumerated in byte-wise order, one call per family: lfFaceName of the
// asking LOGFONT empty means every family, otherwise only that family (the
// name compared without regard to case). Family names longer than
// LF_FACESIZE - 1 characters are left out: a LOGFONT cannot name them.
// Beside the DejaVu families fontconfig lists, the faces the platform draws
// with them are listed too ("Arial", "Courier New", "MS Shell Dlg", ...:
// gdi/font_families.cpp). When fontconfig lists nothing (or is absent from
// the build) nothing is enumerated and the result is 1.
//
// SetInstalledFontFamilies replaces what fontconfig reports (a fixed set for
// tests and for machines without fonts) and, as installing a font does,
// sends WM_FONTCHANGE to every window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"

constexpr int LF_FULLFACESIZE = 64;
constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

struct ENUMLOGFONTEX {
  LOGFONT elfLogFont;  // first, so the callback's LOGFONT* is the whole record
  CHAR elfFullName[LF_FULLFACESIZE] = {};
  CHAR elfStyle[LF_FACESIZE] = {};
  CHAR elfScript[LF_FACESIZE] = {};
};
using ENUMLOGFONTEXA = ENUMLOGFONTEX;

struct NEWTEXTMETRICEX {
  TEXTMETRIC ntmTm;  // first, as above
  DWORD ntmFlags = 0;
};

// Returns 0 to stop the enumeration.
using FONTENUMPROC = int (*)(const LOGFONT* font, const TEXTMETRIC* metric, DWORD fontType, LPARAM lParam);

// The last callback's result (1 when there was none); 0 for an unknown DC,
// a null LOGFONT or a null callback.
PLATFORM_API int EnumFontFamiliesEx(HDC dc, LOGFONT* font, FONTENUMPROC proc, LPARAM lParam, DWORD flags);

namespace platform {

// The families EnumFontFamiliesEx enumerates, in its order.
std::vector<std::string> InstalledFontFamilies();
// nullopt: back to what fontconfig reports.
PLATFORM_API void SetInstalledFontFamilies(std::optional<std::vector<std::string>> families);
// The installed family the platform draws a face with ("DejaVu Sans" for
// "MS Shell Dlg 2" or "Arial", a DejaVu family for itself; gdi/font_faces.h),
// for a font chooser to name the face a person will see.
PLATFORM_API std::string DrawnFamily(std::string_view face);

}  // namespace platform
