// CDC: the framework's device context object. CPaintDC and CClientDC, which
// get and release a window's DC, are the window layer's
// (platform/window/cpaintdc.h).
//
// Members are the handle functions of platform/gdi/device_context.h on m_hDC.
// CDC::FromHandle gives a wrapper that does not own the DC and lives until
// the DC is released or deleted. FillSolidRect fills by setting the
// background colour, which it leaves set, as the framework's does.
#pragma once

#include "platform/base/export.h"

#include "platform/base/cstring.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/base/geometry.h"

class PLATFORM_API CDC {
 public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  // Set by whoever prints through this object: output goes to a printer,
  // which paints straight into its page and needs no off-screen copy.
  BOOL m_bPrinting = FALSE;
  BOOL IsPrinting() const { return m_bPrinting; }
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }  // NOLINT: as in the framework
  static CDC* FromHandle(HDC dc);
  BOOL Attach(HDC dc);
  HDC Detach();
  // A memory DC owned by this object (DeleteDC on destruction).
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  // ---- State ----
  CFont* SelectObject(CFont* font);
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CBitmap* SelectObject(CBitmap* bitmap);
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  virtual int SaveDC() { return ::SaveDC(m_hDC); }
  virtual BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

  // ---- Drawing ----
  void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush != nullptr ? HBRUSH(*brush) : nullptr); }
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, brush != nullptr ? HBRUSH(*brush) : nullptr); }
  BOOL Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
  BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
  // The edges of a rectangle: top and left in one colour, bottom and right
  // in the other, each one pixel wide, as four fills.
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  int DrawText(LPCTSTR text, int length, LPRECT rect, UINT format) {
    return ::DrawText(m_hDC, text, length, rect, format);
  }
  int DrawText(const CString& text, LPRECT rect, UINT format) {
    return ::DrawText(m_hDC, text.GetString(), text.GetLength(), rect, format);
  }
  BOOL TextOut(int x, int y, LPCTSTR text, int length) { return ::TextOut(m_hDC, x, y, text, length); }
  BOOL TextOut(int x, int y, const CString& text) { return ::TextOut(m_hDC, x, y, text.GetString(), text.GetLength()); }
  CSize GetTextExtent(LPCTSTR text, int length) const;
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
  BOOL GetTextExtentPoint32(LPCTSTR text, int length, LPSIZE size) const {
    return ::GetTextExtentPoint32(m_hDC, text, length, size);
  }
  BOOL GetTextMetrics(LPTEXTMETRIC tm) const { return ::GetTextMetrics(m_hDC, tm); }
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr, sx, sy, rop);
  }

 private:
  bool m_ownsMemoryDc = false;
};
