#include "terminal/app/plugin_loader.h"

#include <dlfcn.h>

#include "platform/kernel/module.h"
#include "terminal/app/plugin_file.h"

namespace terminal {

namespace {

// Adds `name` to `missing` when the module does not export it.
template <typename Fn>
void Resolve(HMODULE module, const char* name, Fn& into, std::string& missing) {
  into = reinterpret_cast<Fn>(GetProcAddress(module, name));
  if (into == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(name);
}

}  // namespace

LoadedPlugin::LoadedPlugin(const std::string& path, std::string& error) {
  // A backslash separates folders as "/" does, and a name without a folder
  // is the file in the current folder, as for every other option that names
  // a file; the system's loader would look such a name up on its library
  // path.
  std::string file = platform::NativePath(path);
  if (file.find('/') == std::string::npos) file = "./" + file;
  if (const std::string problem = PluginFileProblem(file); !problem.empty()) {
    error = "cannot load " + path + ": " + problem;
    return;
  }
  HMODULE module = LoadLibraryA(file.c_str());
  if (module == nullptr) {
    const char* why = ::dlerror();
    error = "cannot load " + path + (why ? std::string(": ") + why : std::string());
    return;
  }
  // Every entry point missing is named, so one look tells what the file lacks.
  std::string missing;
  Resolve(module, "GetTarnPluginInfo", GetTarnPluginInfo, missing);
  Resolve(module, "InitTarnPlugin", InitTarnPlugin, missing);
  Resolve(module, "ProcessTarnPluginMsg", ProcessTarnPluginMsg, missing);
  Resolve(module, "PluginProcessHotKey", PluginProcessHotKey, missing);
  Resolve(module, "GetOptionalTarnPluginInfo", GetOptionalTarnPluginInfo, missing);
  if (!missing.empty()) {
    error = "the plug-in does not export " + missing;
    FreeLibrary(module);
    return;
  }
  m_module = module;
}

LoadedPlugin::~LoadedPlugin() {
  if (m_module != nullptr) FreeLibrary(m_module);
}

}  // namespace terminal
