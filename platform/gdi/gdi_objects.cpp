#include "platform/gdi/gdi_objects.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/base/handle_table.h"
#include "platform/gdi/sys_colors.h"

namespace platform {
namespace {

struct GdiRecord {
  GdiKind kind = GdiKind::None;
  PenState pen;
  BrushState brush;
  int sysColor = -1;  // a system-colour brush follows the scheme
  SIZE size;          // bitmaps
  int bitsPerPixel = 0;
  bool permanent = false;  // stock objects and system-colour brushes
};

// Handles made up by the table: never a pointer (fonts are the measurer's
// pointers) nor a small (HBRUSH)(COLOR_xxx + 1) value.
using GdiTable = HandleTable<HGDIOBJ, GdiRecord>;

GdiTable& Table() {
  static GdiTable table(0xD00D);
  return table;
}

HGDIOBJ AddPermanent(GdiRecord record) {
  record.permanent = true;
  return Table().Add(record);
}

HGDIOBJ StockBrush(bool hollow, COLORREF color) {
  GdiRecord r;
  r.kind = GdiKind::Brush;
  r.brush = BrushState{hollow, color};
  return AddPermanent(r);
}

HGDIOBJ StockPen(int style, COLORREF color) {
  GdiRecord r;
  r.kind = GdiKind::Pen;
  r.pen = PenState{style, 1, color};
  return AddPermanent(r);
}

}  // namespace

GdiKind GdiObjectKind(HGDIOBJ object) {
  if (object == nullptr) return GdiKind::None;
  if (const GdiRecord* r = Table().Find(object)) return r->kind;
  if (FontFromHandle(static_cast<HFONT>(object)) != nullptr) return GdiKind::Font;
  if (SysColorIndexOfBrush(static_cast<HBRUSH>(object)) >= 0) return GdiKind::Brush;
  return GdiKind::None;
}

PenState PenOf(HPEN pen) {
  const GdiRecord* r = Table().Find(pen);
  return r != nullptr && r->kind == GdiKind::Pen ? r->pen : PenState{};
}

BrushState BrushOf(HBRUSH brush) {
  if (const int index = SysColorIndexOfBrush(brush); index >= 0) return BrushState{false, ::GetSysColor(index)};
  const GdiRecord* r = Table().Find(brush);
  return r != nullptr && r->kind == GdiKind::Brush ? r->brush : BrushState{};
}

}  // namespace platform

HBRUSH GetSysColorBrush(int index) {
  if (!platform::IsSysColorIndex(index)) return nullptr;
  using platform::AddPermanent, platform::GdiKind, platform::GdiRecord;
  static std::array<HGDIOBJ, COLOR_MENUBAR + 1> brushes{};
  auto& slot = brushes.at(static_cast<size_t>(index));
  if (slot == nullptr) {
    GdiRecord r;
    r.kind = GdiKind::Brush;
    r.sysColor = index;
    slot = AddPermanent(r);
  }
  return static_cast<HBRUSH>(slot);
}

namespace platform {

int SysColorIndexOfBrush(HBRUSH brush) {
  if (const GdiRecord* r = Table().Find(brush); r != nullptr && r->sysColor >= 0) return r->sysColor;
  // (HBRUSH)(COLOR_xxx + 1), as window classes and FillRect accept.
  const auto value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= COLOR_MENUBAR + 1 && IsSysColorIndex(static_cast<int>(value) - 1)) {
    return static_cast<int>(value) - 1;
  }
  return -1;
}

FontSpec FontSpecOf(const LOGFONT& lf) {
  FontSpec fontSpec;
  if (lf.lfFaceName[0] != '\0') fontSpec.face.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  if (lf.lfHeight < 0) {
    fontSpec.emPixels = -lf.lfHeight;
  } else if (lf.lfHeight > 0) {
    int em = 1;
    for (int candidate = 1; candidate <= lf.lfHeight; ++candidate) {
      fontSpec.emPixels = candidate;
      if (MeasureFont(fontSpec).height <= lf.lfHeight) em = candidate;
    }
    fontSpec.emPixels = em;
  }
  fontSpec.weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : static_cast<int>(lf.lfWeight);
  fontSpec.italic = lf.lfItalic != 0;
  return fontSpec;
}

LOGFONT LogFontOf(const FontSpec& fontSpec) {
  LOGFONT lf;
  lf.lfHeight = -fontSpec.emPixels;
  lf.lfWeight = fontSpec.weight;
  lf.lfItalic = fontSpec.italic ? 1 : 0;
  const size_t n = std::min(fontSpec.face.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::memcpy(lf.lfFaceName, fontSpec.face.data(), n);
  lf.lfFaceName[n] = '\0';
  return lf;
}

}  // namespace platform

using platform::GdiKind;

namespace platform {
// Provided by cgdiobject.cpp: forgets the wrapper of an object that goes away.
void ForgetGdiWrapper(HGDIOBJ object);
}  // namespace platform

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (lf == nullptr) return nullptr;
  return platform::FontHandle(platform::FontSpecOf(*lf));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR face) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face != nullptr) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  platform::GdiRecord r;
  r.kind = GdiKind::Pen;
  r.pen = platform::PenState{style, std::max(width, 1), color};
  return static_cast<HPEN>(platform::Table().Add(r));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  platform::GdiRecord r;
  r.kind = GdiKind::Brush;
  r.brush = platform::BrushState{false, color};
  return static_cast<HBRUSH>(platform::Table().Add(r));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void*) {
  if (width < 0 || height < 0 || planes != 1 || bitsPerPixel == 0 || bitsPerPixel > 32) return nullptr;
  platform::GdiRecord r;
  r.kind = GdiKind::Bitmap;
  r.size = SIZE{width, height};
  r.bitsPerPixel = static_cast<int>(bitsPerPixel);
  return static_cast<HBITMAP>(platform::Table().Add(r));
}

HGDIOBJ GetStockObject(int index) {
  using platform::StockBrush;
  using platform::StockPen;
  static const std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> stock = [] {
    std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> s{};
    s[WHITE_BRUSH] = StockBrush(false, RGB(255, 255, 255));
    s[LTGRAY_BRUSH] = StockBrush(false, RGB(192, 192, 192));
    s[GRAY_BRUSH] = StockBrush(false, RGB(128, 128, 128));
    s[DKGRAY_BRUSH] = StockBrush(false, RGB(64, 64, 64));
    s[BLACK_BRUSH] = StockBrush(false, RGB(0, 0, 0));
    s[NULL_BRUSH] = StockBrush(true, RGB(0, 0, 0));
    s[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
    s[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
    s[NULL_PEN] = StockPen(PS_NULL, RGB(0, 0, 0));
    const HFONT system = platform::FontHandle(platform::FontSpec{"System", 13, FW_BOLD, false});
    const HFONT fixed = platform::FontHandle(platform::FontSpec{"Courier", 13, FW_NORMAL, false});
    s[OEM_FIXED_FONT] = fixed;
    s[ANSI_FIXED_FONT] = fixed;
    s[ANSI_VAR_FONT] = platform::DefaultGuiFont();
    s[SYSTEM_FONT] = system;
    s[DEVICE_DEFAULT_FONT] = system;
    s[SYSTEM_FIXED_FONT] = fixed;
    s[DEFAULT_GUI_FONT] = platform::DefaultGuiFont();
    return s;
  }();
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  return stock[static_cast<size_t>(index)];
}

BOOL DeleteObject(HGDIOBJ object) {
  switch (platform::GdiObjectKind(object)) {
    case GdiKind::None: return FALSE;
    case GdiKind::Font: return TRUE;  // the measurer's handles live for the process
    default: break;
  }
  platform::GdiRecord* r = platform::Table().Find(object);
  if (r == nullptr || r->permanent) return TRUE;  // stock and system-colour brushes ignore it
  if (platform::IsSelectedIntoDC(object)) return FALSE;
  if (r->kind == GdiKind::Bitmap) platform::DropBitmapSurface(static_cast<HBITMAP>(object));
  platform::Table().Erase(object);
  platform::ForgetGdiWrapper(object);
  return TRUE;
}

int GetObject(HGDIOBJ object, int size, LPVOID out) {
  switch (platform::GdiObjectKind(object)) {
    case GdiKind::Font:
      if (out == nullptr) return sizeof(LOGFONT);
      if (size < static_cast<int>(sizeof(LOGFONT))) return 0;
      *static_cast<LOGFONT*>(out) = platform::LogFontOf(*platform::FontFromHandle(static_cast<HFONT>(object)));
      return sizeof(LOGFONT);
    case GdiKind::Bitmap: {
      if (out == nullptr) return sizeof(BITMAP);
      if (size < static_cast<int>(sizeof(BITMAP))) return 0;
      const platform::GdiRecord& r = *platform::Table().Find(object);
      BITMAP bm;
      bm.bmWidth = r.size.cx;
      bm.bmHeight = r.size.cy;
      bm.bmBitsPixel = static_cast<WORD>(r.bitsPerPixel);
      bm.bmWidthBytes = ((r.size.cx * r.bitsPerPixel + 15) / 16) * 2;  // rows are word aligned
      *static_cast<BITMAP*>(out) = bm;
      return sizeof(BITMAP);
    }
    default: return 0;
  }
}
