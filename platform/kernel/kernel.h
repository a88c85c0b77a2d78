// Kernel services of the platform: last-error codes, unnamed mutexes, thread
// identity, the local clock, the tick counter and socket start-up.
//
// Mutexes follow the platform's rules: recursive for the owning thread (each
// wait must be matched by a release), a release by any other thread fails
// with ERROR_NOT_OWNER, and a mutex whose owner thread ends without releasing
// it is handed to the next waiter with WAIT_ABANDONED.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_NOT_OWNER = 288;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_UNSUPPORTED_TYPE = 1630;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

PLATFORM_API DWORD GetLastError();
PLATFORM_API void SetLastError(DWORD error);

// Unnamed mutexes only: a non-null name fails with ERROR_NOT_SUPPORTED.
PLATFORM_API HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
PLATFORM_API HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
PLATFORM_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
PLATFORM_API BOOL ReleaseMutex(HANDLE handle);
PLATFORM_API BOOL CloseHandle(HANDLE handle);

PLATFORM_API DWORD GetCurrentThreadId();
PLATFORM_API void Sleep(DWORD milliseconds);

struct SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

PLATFORM_API void GetLocalTime(LPSYSTEMTIME time);
// Milliseconds since an arbitrary start, wrapping at 2^32 as on the platform.
PLATFORM_API DWORD GetTickCount();

// Socket start-up is reference counted: each successful WSAStartup needs one
// WSACleanup; a cleanup without start-up fails with WSANOTINITIALISED.
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int SOCKET_ERROR = -1;
constexpr int WSADESCRIPTION_LEN = 256;
constexpr int WSASYS_STATUS_LEN = 128;

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
};
using LPWSADATA = WSADATA*;

PLATFORM_API int WSAStartup(WORD versionRequested, LPWSADATA data);
PLATFORM_API int WSACleanup();
PLATFORM_API int WSAGetLastError();
