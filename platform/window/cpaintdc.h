// CPaintDC and CClientDC: CDCs that get a window's DC on construction and
// give it back on destruction (platform/window/window_paint.h).
#pragma once

#include "platform/base/export.h"

#include "platform/gdi/cdc.h"
#include "platform/window/window_paint.h"

class CWnd;

// A window's DC for painting: BeginPaint on construction, EndPaint on destruction.
class PLATFORM_API CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps;

 private:
  HWND m_hWnd = nullptr;
};

// A window's client-area DC: GetDC on construction, ReleaseDC on destruction.
class PLATFORM_API CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd = nullptr;
};
