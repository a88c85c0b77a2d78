#include "terminal/app/plugin_loader.h"

#include <dlfcn.h>

#include "platform/kernel/module.h"
#include "terminal/app/plugin_file.h"

namespace terminal {

namespace {

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn& into, std::string& error) {
  into = reinterpret_cast<Fn>(GetProcAddress(module, name));
  if (into == nullptr && error.empty()) error = std::string("the plug-in does not export ") + name;
  return into != nullptr;
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
  bool all = Resolve(module, "GetTarnPluginInfo", GetTarnPluginInfo, error);
  all = Resolve(module, "InitTarnPlugin", InitTarnPlugin, error) && all;
  all = Resolve(module, "ProcessTarnPluginMsg", ProcessTarnPluginMsg, error) && all;
  all = Resolve(module, "PluginProcessHotKey", PluginProcessHotKey, error) && all;
  all = Resolve(module, "GetOptionalTarnPluginInfo", GetOptionalTarnPluginInfo, error) && all;
  if (!all) {
    FreeLibrary(module);
    return;
  }
  m_module = module;
}

LoadedPlugin::~LoadedPlugin() {
  if (m_module != nullptr) FreeLibrary(m_module);
}

}  // namespace terminal
