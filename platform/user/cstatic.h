// Static controls: the "STATIC" class model and the framework's CStatic.
//
// A static control is transparent to the mouse unless it has SS_NOTIFY, in
// which case a click sends STN_CLICKED, a double click STN_DBLCLK, and
// enabling it STN_ENABLE / STN_DISABLE. An SS_ICON or SS_BITMAP control
// keeps the image it is given; an SS_OWNERDRAW one asks its parent to draw
// it (WM_DRAWITEM, ODT_STATIC) when painted. A text static paints with the
// colours its parent gives in answer to WM_CTLCOLORSTATIC.
#pragma once

#include "platform/window/cwnd.h"

class CStatic : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
  HICON SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
};
