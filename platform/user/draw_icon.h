// Drawing an icon resource into a device context. The display list records
// an Icon operation: the destination rectangle and the icon's handle, for a
// renderer to look up (platform::IconFromHandle) and paint.
#pragma once

#include "platform/base/export.h"
#include "platform/base/wintypes.h"

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

// Draws `icon` with its top-left corner at (x, y), cx by cy pixels; a zero
// cx or cy with DI_DEFAULTSIZE takes the system's icon size (SM_CXICON,
// SM_CYICON), without it the icon's own (the same here). `step` and
// `flickerFree` are accepted and ignored. FALSE, with nothing drawn, for a
// dead DC, a handle that is no icon (or whose module was unloaded), or flags
// that draw neither mask nor image.
PLATFORM_API BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree,
                             UINT flags);
// DrawIconEx at the system's icon size.
PLATFORM_API BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
