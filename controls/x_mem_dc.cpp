#include "controls/x_mem_dc.h"

#include "platform/window/window_paint.h"

CXMemDC::CXMemDC(CDC* target) : m_pDC(target), m_bMemDC(target != nullptr && !target->IsPrinting()) {
  if (m_pDC == nullptr) return;  // nothing to draw on: every drawing call fails harmlessly
  if (m_bMemDC) {
    ::GetClipBox(m_pDC->m_hDC, &m_rect);
    CreateCompatibleDC(m_pDC);
    m_bitmap.CreateCompatibleBitmap(m_pDC, m_rect.Width(), m_rect.Height());
    m_pOldBitmap = SelectObject(&m_bitmap);
  } else {
    m_bPrinting = m_pDC->m_bPrinting;
    m_hDC = m_pDC->m_hDC;
  }
}

CXMemDC::~CXMemDC() {
  if (m_pDC == nullptr) return;
  if (m_bMemDC) {
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    SelectObject(m_pOldBitmap);
  } else {
    // The handle is the printer's: it must not be deleted with this object.
    m_hDC = nullptr;
  }
}
