// Basic types of the window framework's platform, with the platform's sizes
// on this 64-bit build: 32-bit integers stay 32-bit (DWORD is not
// `unsigned long` here), handles and message parameters are pointer-sized.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using UINT_PTR = uintptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;
using DWORD_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCTSTR = const char*;
using LPTSTR = char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPDWORD = DWORD*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define DECLARE_PLATFORM_HANDLE(name) \
  struct name##__;                    \
  using name = name##__*
DECLARE_PLATFORM_HANDLE(HWND);
DECLARE_PLATFORM_HANDLE(HINSTANCE);
DECLARE_PLATFORM_HANDLE(HMENU);
DECLARE_PLATFORM_HANDLE(HDC);
DECLARE_PLATFORM_HANDLE(HFONT);
DECLARE_PLATFORM_HANDLE(HPEN);
DECLARE_PLATFORM_HANDLE(HBRUSH);
DECLARE_PLATFORM_HANDLE(HBITMAP);
DECLARE_PLATFORM_HANDLE(HRGN);
DECLARE_PLATFORM_HANDLE(HICON);
DECLARE_PLATFORM_HANDLE(HCURSOR);
DECLARE_PLATFORM_HANDLE(HIMAGELIST);
#undef DECLARE_PLATFORM_HANDLE
using HMODULE = HINSTANCE;
using HANDLE = void*;
using HGDIOBJ = void*;
using FARPROC = void (*)();

// COLORREF keeps the platform layout 0x00BBGGRR: the settings file stores
// these numbers, so the layout is part of the file format.
using COLORREF = DWORD;
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
// Signed coordinates packed in an LPARAM, as mouse messages carry them.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lp))); }

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr int MAX_PATH = 260;
