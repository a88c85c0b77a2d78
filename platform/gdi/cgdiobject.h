// CGdiObject and the framework's CFont, CPen, CBrush and CBitmap: objects
// that own a GDI handle (platform/gdi/gdi_objects.h) and delete it with
// themselves. FromHandle of each class gives a wrapper that does not own the
// handle, kept until the handle is deleted (for the process, for fonts and
// stock objects).
//
// Each class declares its destructor here and defines it in cgdiobject.cpp:
// that destructor is the class's key function, so its virtual table and type
// information live in libplatform.so alone instead of in every binary that
// makes one of these objects. CBitmap::CreateCompatibleBitmap, which reads
// the CDC it is given, is defined with CDC (cdc.cpp): the device context's
// wrapper sits above these.
#pragma once

#include "platform/base/export.h"
#include "platform/gdi/gdi_objects.h"

class CDC;

class PLATFORM_API CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  BOOL Attach(HGDIOBJ object);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int size, LPVOID out) const { return ::GetObject(m_hObject, size, out); }
};

class PLATFORM_API CFont : public CGdiObject {
 public:
  ~CFont() override;
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT: as in the framework
  // FromHandle of each class: a wrapper that does not own the handle, kept
  // until the handle is deleted (for the process, for fonts and stock objects).
  static CFont* FromHandle(HFONT font);
  BOOL CreateFontIndirect(const LOGFONT* lf);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCSTR face);
  // `tenthsOfPoint` at 96 dots per inch (95 is 9.5 points, 13 pixels).
  BOOL CreatePointFont(int tenthsOfPoint, LPCSTR face, CDC* dc = nullptr);
  int GetLogFont(LOGFONT* lf) const { return GetObject(sizeof(LOGFONT), lf); }
};

class PLATFORM_API CPen : public CGdiObject {
 public:
  ~CPen() override;
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT
  static CPen* FromHandle(HPEN pen);
  BOOL CreatePen(int style, int width, COLORREF color);
};

class PLATFORM_API CBrush : public CGdiObject {
 public:
  ~CBrush() override;
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
  static CBrush* FromHandle(HBRUSH brush);
  BOOL CreateSolidBrush(COLORREF color);
};

class PLATFORM_API CBitmap : public CGdiObject {
 public:
  ~CBitmap() override;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
  static CBitmap* FromHandle(HBITMAP bitmap);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
};
