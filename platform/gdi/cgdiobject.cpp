#include "platform/gdi/cgdiobject.h"

#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>

#include "platform/kernel/mul_div.h"

CGdiObject::~CGdiObject() { DeleteObject(); }
CFont::~CFont() = default;
CPen::~CPen() = default;
CBrush::~CBrush() = default;
CBitmap::~CBitmap() = default;

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (object == nullptr || m_hObject != nullptr) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  const BOOL ok = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return ok;
}

namespace {

// Wrappers handed out by FromHandle, by handle; they never own it.
std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>>& Wrappers() {
  static auto* wrappers = new std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>>;  // outlives statics
  return *wrappers;
}

template <class T>
T* WrapperOf(HGDIOBJ object) {
  if (object == nullptr) return nullptr;
  auto& slot = Wrappers()[object];
  if (!slot || dynamic_cast<T*>(slot.get()) == nullptr) {
    if (slot) slot->m_hObject = nullptr;
    slot = std::make_unique<T>();
    slot->m_hObject = object;
  }
  return static_cast<T*>(slot.get());
}

}  // namespace

namespace platform {

void ForgetGdiWrapper(HGDIOBJ object) {
  auto& wrappers = Wrappers();
  if (auto it = wrappers.find(object); it != wrappers.end()) {
    it->second->m_hObject = nullptr;
    wrappers.erase(it);
  }
}

}  // namespace platform

namespace {}  // namespace

CFont* CFont::FromHandle(HFONT font) { return WrapperOf<CFont>(font); }
CPen* CPen::FromHandle(HPEN pen) { return WrapperOf<CPen>(pen); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return WrapperOf<CBrush>(brush); }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return WrapperOf<CBitmap>(bitmap); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) { return Attach(::CreateFontIndirect(lf)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR face) {
  return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                             outPrecision, clipPrecision, quality, pitchAndFamily, face));
}

BOOL CFont::CreatePointFont(int tenthsOfPoint, LPCSTR face, CDC*) {
  LOGFONT lf;
  lf.lfHeight = -::MulDiv(tenthsOfPoint, 96, 720);
  lf.lfCharSet = DEFAULT_CHARSET;
  if (face != nullptr) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}
