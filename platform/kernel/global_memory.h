// Global memory blocks, the platform's way of handing bytes to the
// clipboard: GlobalAlloc gives a handle, GlobalLock the bytes behind it.
//
// Blocks are zero-filled. A GMEM_FIXED block's handle is its address; a
// GMEM_MOVEABLE block's handle is not an address (lock it to reach the
// bytes). Lock counts nest; GlobalUnlock reports whether the block is still
// locked. GlobalFree returns null on success and the handle when it is not
// a block (ERROR_INVALID_HANDLE).
#pragma once

#include "platform/base/export.h"

#include <cstddef>

#include "platform/base/wintypes.h"

using HGLOBAL = HANDLE;
using SIZE_T = size_t;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = GMEM_DDESHARE;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
PLATFORM_API LPVOID GlobalLock(HGLOBAL block);  // null for an unknown handle or an empty block
PLATFORM_API BOOL GlobalUnlock(HGLOBAL block);
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);
PLATFORM_API SIZE_T GlobalSize(HGLOBAL block);  // 0 for an unknown handle
