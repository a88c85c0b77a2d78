// A fault of the main program as a plug-in meets it: an older terminal that
// lacks a function.
//
// The test executable defines the platform's GetProcAddress itself
// (main_program_faults.cpp) and exports it: being the main program, its
// definition is the one the plug-in binds to. It passes every call on to
// libplatform.so's, except those the fault below refuses. The shared library
// keeps no switch for this.
#pragma once

#include <string>

namespace e2e {

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
