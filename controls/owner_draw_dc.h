// The device context of an owner-draw request: the one the request brings,
// or, when it brings none (a control model that hands out no DC), the
// drawn window's own client DC for the time of the drawing.
#pragma once

#include <optional>

#include "platform/gdi/cdc.h"
#include "platform/window/cwnd.h"

class COwnerDrawDC {
 public:
  COwnerDrawDC(HDC given, HWND window) {
    if (platform::IsDC(given)) {
      m_dc = CDC::FromHandle(given);
    } else {
      m_own.emplace(CWnd::FromHandle(window));
      m_dc = &*m_own;
    }
  }
  CDC* operator->() const { return m_dc; }
  CDC& operator*() const { return *m_dc; }

 private:
  std::optional<CClientDC> m_own;
  CDC* m_dc = nullptr;
};
