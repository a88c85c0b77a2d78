// Module handles: the main program, shared libraries loaded by path, and the
// platform's built-in system modules.
//
// GetModuleHandleA(nullptr) is the main program; GetProcAddress on it finds
// the functions the executable exports (link it with exported symbols). The
// built-in modules ("msimg32.dll", "UxTheme.dll", "comctl32.dll") are tables
// of named functions filled by the parts of the layer that implement them; a
// test removes one to exercise the paths where a library is absent, and
// restores them afterwards. Module names compare without regard to case, as
// on the platform. Handles stay valid until the module is freed.
#pragma once

#include "platform/base/export.h"

#include <string>
#include <string_view>

#include "platform/base/wintypes.h"

PLATFORM_API HMODULE GetModuleHandleA(LPCSTR name);
PLATFORM_API FARPROC GetProcAddress(HMODULE module, LPCSTR name);
PLATFORM_API HMODULE LoadLibraryA(LPCSTR fileName);
PLATFORM_API BOOL FreeLibrary(HMODULE module);
// Copies the module's full path, cut to size - 1 characters and terminated;
// returns the characters copied, or `size` with ERROR_INSUFFICIENT_BUFFER
// when the path did not fit. 0 on failure.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// The loaded module that holds the given code or data address (null when it
// is in none): a library finds its own handle this way.
PLATFORM_API HMODULE ModuleFromAddress(const void* address);

namespace platform {

// The framework's own, not exported. Adds a function to a built-in module's
// table (creating the module when it is new); the implementing part of the
// layer calls this once at start-up.
void AddBuiltinExport(std::string_view module, std::string_view function, FARPROC address);
// Makes a built-in module unavailable to LoadLibraryA until restored.
void RemoveBuiltinModule(std::string_view module);
void RestoreBuiltinModules();

// Makes GetModuleFileNameA report `path` for the main program. A host that
// runs from one folder but keeps its settings in another (a terminal started
// with a home folder) presents itself as living there.
PLATFORM_API void SetMainProgramFileName(std::string path);

// The folder part of a path: everything before its last separator, "\\" or
// "/" alike; empty when there is none.
PLATFORM_API std::string PathFolder(std::string_view path);

// A path of the platform, where "\\" separates folders as "/" does, as the
// C library and the file system here take it: every "\\" becomes "/". The
// one place this rule is written; every file name that reaches the file
// system from a platform path passes through it.
PLATFORM_API std::string NativePath(std::string_view path);

}  // namespace platform
