#include "platform/gdi/cdc.h"

#include <memory>
#include <unordered_map>
#include <utility>

namespace platform {
namespace {

std::unordered_map<HDC, std::unique_ptr<CDC>>& Wrappers() {
  static auto* wrappers = new std::unordered_map<HDC, std::unique_ptr<CDC>>;  // outlives statics
  return *wrappers;
}

}  // namespace

void ForgetDcWrapper(HDC dc) {
  auto& wrappers = Wrappers();
  if (auto it = wrappers.find(dc); it != wrappers.end()) {
    it->second->m_hDC = nullptr;
    wrappers.erase(it);
  }
}

}  // namespace platform

CDC::~CDC() {
  if (m_ownsMemoryDc) DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) {
  if (!platform::IsDC(dc)) return nullptr;
  auto& slot = platform::Wrappers()[dc];
  if (!slot) {
    slot = std::make_unique<CDC>();
    slot->m_hDC = dc;
  }
  return slot.get();
}

BOOL CDC::Attach(HDC dc) {
  if (m_hDC != nullptr || dc == nullptr) return FALSE;
  m_hDC = dc;
  return TRUE;
}

HDC CDC::Detach() {
  m_ownsMemoryDc = false;
  return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC != nullptr) return FALSE;
  m_hDC = ::CreateCompatibleDC(dc != nullptr ? dc->m_hDC : nullptr);
  m_ownsMemoryDc = m_hDC != nullptr;
  return m_ownsMemoryDc ? TRUE : FALSE;
}

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  m_ownsMemoryDc = false;
  return ::DeleteDC(std::exchange(m_hDC, nullptr));
}

CFont* CDC::SelectObject(CFont* font) {
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font != nullptr ? font->m_hObject : nullptr)));
}
CPen* CDC::SelectObject(CPen* pen) {
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen != nullptr ? pen->m_hObject : nullptr)));
}
CBrush* CDC::SelectObject(CBrush* brush) {
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush != nullptr ? brush->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return CBitmap::FromHandle(
      static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap != nullptr ? bitmap->m_hObject : nullptr)));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  if (rect == nullptr) return;
  FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  ::SetBkColor(m_hDC, color);
  CRect r(x, y, x + cx, y + cy);
  r.NormalizeRect();
  // One fill in the colour, as an opaque empty text would paint it.
  if (platform::DrawOp* op = platform::AppendDrawOp(m_hDC, platform::DrawKind::FillRect, r)) op->color = color;
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx, y, -1, cy, bottomRight);
  FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CPoint CDC::MoveTo(int x, int y) {
  POINT previous{};
  ::MoveToEx(m_hDC, x, y, &previous);
  return previous;
}

CSize CDC::GetTextExtent(LPCTSTR text, int length) const {
  SIZE size{};
  ::GetTextExtentPoint32(m_hDC, text, length, &size);
  return size;
}

// CBitmap's one member that reads a CDC: defined with CDC, as the wrappers
// of GDI objects sit below the device context's.
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Attach(::CreateCompatibleBitmap(dc != nullptr ? dc->m_hDC : nullptr, width, height));
}
