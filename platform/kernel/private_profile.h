// The platform's private-profile (INI file) functions.
//
// File format: lines of "[section]", "key=value" and anything else (comments,
// blanks), kept as they are on every write. Sections and keys match without
// regard to case; blanks around names and values are ignored, as is one pair
// of matching quotes around a value; the first matching section and key win.
// Either "\\" or "/" separates folders in the file name.
//
// Reading: the value (or, with a null key, the key names of the section; with
// a null section, the section names, each terminated, the list ending in an
// extra terminator) is copied into the caller's buffer cut to size - 1
// characters; the count copied is returned (size - 2 for a list that did not
// fit). A missing file, section or key gives the default, without its
// trailing blanks (null means empty).
//
// Lines end at "\r\n", "\n" or a lone "\r"; a UTF-8 byte-order mark before
// the first line is no part of it (and is kept when the file is written).
//
// Only a regular file of at most kPrivateProfileMaxBytes is read: a FIFO, a
// device, a folder or a larger file reads as missing, with the last error
// ERROR_BAD_FILE_TYPE (222) or ERROR_FILE_TOO_LARGE (223); an unreadable one
// with ERROR_ACCESS_DENIED (5); UTF-16 text (a UTF-16 byte-order mark, or a
// NUL beside the first character) with ERROR_UNSUPPORTED_TYPE (1630).
// Nothing waits on such a file.
//
// Writing: sets the key (null value: removes the key; null key: removes the
// whole section), creating the file and section when missing. The file is
// replaced atomically (written to "<file>.tmp.<pid>" beside it, flushed to
// disk, renamed over it), so a crash leaves either the old or the new file,
// never a torn one; the new file keeps the old one's permission bits. A
// symbolic link is followed and the file it names is replaced, so the link
// stays. Writing fails, leaving the file as it was, when the file is
// read-only (its owner may not write it; as the desktop's read-only
// attribute, this holds for every user) or could not be read as above.
// A write the system cuts short fails with ERROR_DISK_FULL (112) for a full
// disk, ERROR_FILE_TOO_LARGE (223) past the process's file size limit (with
// SIGXFSZ ignored; otherwise that signal ends the process), and
// ERROR_WRITE_FAULT (29) otherwise.
#pragma once

#include "platform/base/export.h"

#include "platform/base/wintypes.h"

PLATFORM_API DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                                            LPCSTR fileName);
PLATFORM_API BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// The largest file the functions above read: far beyond any settings file,
// small enough that a wrong file costs no noticeable memory or time.
constexpr unsigned long long kPrivateProfileMaxBytes = 16ull << 20;

// Removes the "<file>.tmp.<pid>" files a writer killed during a write left
// beside `fileName` (those of a process that still runs stay). Returns how
// many were removed.
PLATFORM_API int RemoveStalePrivateProfileTemporaries(LPCSTR fileName);

inline DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                                     LPCSTR fileName) {
  return GetPrivateProfileStringA(section, key, defaultValue, returned, size, fileName);
}
inline BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  return WritePrivateProfileStringA(section, key, value, fileName);
}
