#include "platform/kernel/module.h"

#include <dlfcn.h>
#include <sys/auxv.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include "platform/kernel/kernel.h"

// A module record. The handle given out is the record's address, cast to the
// opaque handle type; records live until freed (the main program's forever).
struct HINSTANCE__ {
  enum class Kind { kMainProgram, kLibrary, kBuiltin } kind;
  std::string name;  // full path, or the built-in name
  void* dl = nullptr;
  int loads = 0;
  std::map<std::string, FARPROC, std::less<>> exports;  // built-ins only
};

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string ExecutablePath() {
  std::vector<char> buffer(4096);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return n > 0 ? std::string(buffer.data(), static_cast<size_t>(n)) : std::string();
}

class ModuleRegistry {
 public:
  static ModuleRegistry& Get() {
    static ModuleRegistry registry;
    return registry;
  }

  std::mutex guard;

  HMODULE Main() {
    if (!m_main) {
      m_main = std::make_unique<HINSTANCE__>();
      m_main->kind = HINSTANCE__::Kind::kMainProgram;
      m_main->name = ExecutablePath();
      m_main->dl = ::dlopen(nullptr, RTLD_NOW);
    }
    return m_main.get();
  }

  HMODULE Builtin(std::string_view name, bool create) {
    const std::string key = Lower(name);
    auto it = m_builtins.find(key);
    if (it == m_builtins.end()) {
      if (!create) return nullptr;
      auto module = std::make_unique<HINSTANCE__>();
      module->kind = HINSTANCE__::Kind::kBuiltin;
      module->name = std::string(name);
      it = m_builtins.emplace(key, std::move(module)).first;
    }
    return it->second.get();
  }

  bool BuiltinAvailable(std::string_view name) const { return !m_removed.contains(Lower(name)); }
  void Remove(std::string_view name) { m_removed.insert(Lower(name)); }
  void RestoreAll() { m_removed.clear(); }

  HMODULE FindLibrary(void* dl) {
    for (auto& module : m_libraries) {
      if (module->dl == dl) return module.get();
    }
    return nullptr;
  }

  HMODULE AddLibrary(void* dl, std::string path) {
    auto module = std::make_unique<HINSTANCE__>();
    module->kind = HINSTANCE__::Kind::kLibrary;
    module->name = std::move(path);
    module->dl = dl;
    m_libraries.push_back(std::move(module));
    return m_libraries.back().get();
  }

  bool Known(HMODULE module) {
    if (module == m_main.get()) return true;
    for (auto& [key, builtin] : m_builtins) {
      if (builtin.get() == module) return true;
    }
    return std::any_of(m_libraries.begin(), m_libraries.end(), [&](auto& m) { return m.get() == module; });
  }

  void DropLibrary(HMODULE module) {
    std::erase_if(m_libraries, [&](auto& m) { return m.get() == module; });
  }

 private:
  ModuleRegistry() {
    // The system modules the layer provides; their functions are added by
    // the parts that implement them.
    for (const char* name : {"msimg32.dll", "UxTheme.dll", "comctl32.dll"}) Builtin(name, true);
  }

  std::unique_ptr<HINSTANCE__> m_main;
  std::map<std::string, std::unique_ptr<HINSTANCE__>> m_builtins;
  std::vector<std::unique_ptr<HINSTANCE__>> m_libraries;
  std::set<std::string> m_removed;
};

bool HasFolder(std::string_view path) { return path.find_first_of("/\\") != std::string_view::npos; }

}  // namespace

HMODULE GetModuleHandleA(LPCSTR name) {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  if (name == nullptr) return registry.Main();
  if (HMODULE builtin = registry.Builtin(name, false); builtin && registry.BuiltinAvailable(name)) {
    return builtin->loads > 0 ? builtin : nullptr;
  }
  // A library already loaded: RTLD_NOLOAD finds it without loading it.
  if (void* dl = ::dlopen(platform::NativePath(name).c_str(), RTLD_NOW | RTLD_NOLOAD)) {
    HMODULE found = registry.FindLibrary(dl);
    ::dlclose(dl);
    if (found) return found;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  if (module == nullptr || name == nullptr || !registry.Known(module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (module->kind == HINSTANCE__::Kind::kBuiltin) {
    auto it = module->exports.find(std::string_view(name));
    if (it != module->exports.end()) return it->second;
  } else if (void* symbol = ::dlsym(module->dl, name)) {
    return reinterpret_cast<FARPROC>(symbol);
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (fileName == nullptr || *fileName == '\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto& registry = ModuleRegistry::Get();
  if (!HasFolder(fileName)) {
    std::lock_guard lock(registry.guard);
    if (HMODULE builtin = registry.Builtin(fileName, false)) {
      if (!registry.BuiltinAvailable(fileName)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
      }
      ++builtin->loads;
      return builtin;
    }
  }
  // Outside the lock: loading runs the library's initialisers, which may ask
  // for module handles themselves (a library finding its own).
  const std::string path = platform::NativePath(fileName);
  void* dl = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (dl == nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  std::lock_guard lock(registry.guard);
  // A record holds one dlopen reference while its load count is above 0.
  HMODULE module = registry.FindLibrary(dl);
  if (module != nullptr) {
    if (module->loads > 0) ::dlclose(dl);
  } else {
    Dl_info info{};
    void* anySymbol = ::dlsym(dl, "_init");
    std::string fullPath = path;
    if (anySymbol && ::dladdr(anySymbol, &info) && info.dli_fname) fullPath = info.dli_fname;
    module = registry.AddLibrary(dl, std::move(fullPath));
  }
  ++module->loads;
  return module;
}

BOOL FreeLibrary(HMODULE module) {
  auto& registry = ModuleRegistry::Get();
  void* unload = nullptr;
  {
    std::lock_guard lock(registry.guard);
    if (module == nullptr || !registry.Known(module) || module->kind == HINSTANCE__::Kind::kMainProgram) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    if (module->kind == HINSTANCE__::Kind::kBuiltin) {
      if (module->loads > 0) --module->loads;
      return TRUE;
    }
    if (module->loads == 0) {  // a handle we never loaded: not ours to free
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    if (--module->loads == 0) {
      unload = module->dl;
      registry.DropLibrary(module);
    }
  }
  // Outside the lock: unloading runs the library's finalisers.
  if (unload != nullptr) ::dlclose(unload);
  return TRUE;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  std::string path;
  {
    auto& registry = ModuleRegistry::Get();
    std::lock_guard lock(registry.guard);
    if (module == nullptr) module = registry.Main();
    if (!registry.Known(module)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    path = module->name;
  }
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= size) {
    std::memcpy(buffer, path.data(), size - 1);
    buffer[size - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}

HMODULE ModuleFromAddress(const void* address) {
  Dl_info info{};
  if (address == nullptr || !::dladdr(address, &info) || info.dli_fname == nullptr) return nullptr;
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  // The main program is the object that holds the process's entry point.
  Dl_info mainInfo{};
  if (::dladdr(reinterpret_cast<void*>(::getauxval(AT_ENTRY)), &mainInfo) && mainInfo.dli_fbase == info.dli_fbase) {
    return registry.Main();
  }
  void* dl = ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  if (dl == nullptr) return nullptr;
  HMODULE module = registry.FindLibrary(dl);
  if (module != nullptr) {
    ::dlclose(dl);
    return module;
  }
  // Loaded by someone else (the dynamic linker, or a library still being
  // loaded asking for itself): a record that holds no reference, as a module
  // handle from the platform does not keep a library loaded.
  module = registry.AddLibrary(dl, info.dli_fname);
  ::dlclose(dl);
  return module;
}

namespace platform {

void AddBuiltinExport(std::string_view module, std::string_view function, FARPROC address) {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  registry.Builtin(module, true)->exports.insert_or_assign(std::string(function), address);
}

void RemoveBuiltinModule(std::string_view module) {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  registry.Remove(module);
}

void RestoreBuiltinModules() {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  registry.RestoreAll();
}

void SetMainProgramFileName(std::string path) {
  auto& registry = ModuleRegistry::Get();
  std::lock_guard lock(registry.guard);
  registry.Main()->name = std::move(path);
}

std::string NativePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string PathFolder(std::string_view path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

}  // namespace platform
