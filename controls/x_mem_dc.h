// CXMemDC: a device context that paints into an off-screen bitmap of the
// target's clip box and copies it to the target (SRCCOPY, same place) when
// it is destroyed, so that a control's repaint appears in one step.
//
//   CPaintDC paint(this);
//   CXMemDC dc(&paint);   // draw on dc in paint's coordinates
//   ...                   // ~CXMemDC copies the picture to paint
//
// A printing target (CDC::IsPrinting) is drawn into directly: the object
// borrows the target's handle and gives it back untouched on destruction.
// The target must outlive the object. Device contexts here have no mapping,
// so the clip box starts at 0, 0 and the bitmap's pixels are the target's
// logical coordinates; the window origin needs no shifting.
//
// There are no text or visibility overrides (TextOut, DrawText, PtVisible,
// ...): they exist where a device context keeps a second, attribute handle
// apart from its output handle, to make those calls use the output one. CDC
// here has a single handle for both, so its own members already draw on
// this object's surface.
#pragma once

#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"

class CXMemDC : public CDC {
 public:
  explicit CXMemDC(CDC* target);
  ~CXMemDC() override;
  CXMemDC(const CXMemDC&) = delete;
  CXMemDC& operator=(const CXMemDC&) = delete;

  // Whether painting goes to the off-screen bitmap (not to a printer).
  BOOL IsOffScreen() const { return m_bMemDC; }

 private:
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC;
};
