// Faults of the main program as a plug-in meets them: a process that cannot
// name its main module, and an older terminal that lacks a function.
//
// The test executable defines the platform's GetModuleHandleA and
// GetProcAddress itself (main_program_faults.cpp) and exports them: being the
// main program, its definitions are the ones the plug-in binds to. They pass
// every call on to libplatform.so's, except those a fault below refuses. The
// shared library keeps no switch for this.
#pragma once

#include <string>

namespace e2e {

// While it lives, GetModuleHandleA(nullptr) gives no handle
// (ERROR_MOD_NOT_FOUND).
class NoMainModule {
 public:
  NoMainModule();
  ~NoMainModule();
  NoMainModule(const NoMainModule&) = delete;
  NoMainModule& operator=(const NoMainModule&) = delete;
};

// While it lives, GetProcAddress on the main program does not find `name`
// (ERROR_PROC_NOT_FOUND). One at a time.
class MissingExport {
 public:
  explicit MissingExport(std::string name);
  ~MissingExport();
  MissingExport(const MissingExport&) = delete;
  MissingExport& operator=(const MissingExport&) = delete;
};

}  // namespace e2e
