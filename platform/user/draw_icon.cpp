#include "platform/user/draw_icon.h"

#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/user/dialog_resources.h"
#include "platform/window/metrics.h"

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
  if ((flags & DI_NORMAL) == 0 || !platform::IconFromHandle(icon)) return FALSE;
  if (cx == 0) cx = ::GetSystemMetrics(SM_CXICON);
  if (cy == 0) cy = ::GetSystemMetrics(SM_CYICON);
  platform::DrawOp* op = platform::AppendDrawOp(dc, platform::DrawKind::Icon, RECT{x, y, x + cx, y + cy});
  if (op == nullptr) return FALSE;
  op->icon = icon;
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
