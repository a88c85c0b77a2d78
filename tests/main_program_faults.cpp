#include "tests/main_program_faults.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstdio>
#include <type_traits>
#include <utility>

#include "platform/kernel/kernel.h"
#include "platform/kernel/module.h"

namespace e2e {
namespace {

// Test thread only: set by the guard above, read by the lookup below.
std::string g_missingExport;

// The lookup is a C++ function: dlsym takes its mangled name, which the
// assertions tie to the declaration in platform/kernel/module.h.
using FunctionLookup = FARPROC(HMODULE, LPCSTR);
static_assert(std::is_same_v<decltype(::GetProcAddress), FunctionLookup>);
static_assert(std::is_same_v<HMODULE, HINSTANCE__*> && std::is_same_v<LPCSTR, const char*>);
constexpr char kGetProcAddress[] = "_Z14GetProcAddressP11HINSTANCE__PKc";

// libplatform.so's definition of `name`: the next one after this program's.
template <typename Function>
Function* Next(const char* name) {
  void* found = ::dlsym(RTLD_NEXT, name);
  if (found == nullptr) {
    std::fprintf(stderr, "main_program_faults: %s is not in libplatform.so\n", name);
    std::abort();
  }
  return reinterpret_cast<Function*>(found);
}

}  // namespace

MissingExport::MissingExport(std::string name) { g_missingExport = std::move(name); }
MissingExport::~MissingExport() { g_missingExport.clear(); }

}  // namespace e2e

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  static auto* const next = e2e::Next<e2e::FunctionLookup>(e2e::kGetProcAddress);
  if (name != nullptr && !e2e::g_missingExport.empty() && e2e::g_missingExport == name &&
      module == GetModuleHandleA(nullptr)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return next(module, name);
}
