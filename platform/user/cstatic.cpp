#include "platform/user/cstatic.h"

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CreateEx(0, "STATIC", text, style | WS_CHILD, rect, parent, id);
}
