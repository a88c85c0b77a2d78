// Loads a plug-in library and resolves its five entry points by name.
#pragma once

#include <string>

#include "plugin/host_interface.h"
#include "platform/base/wintypes.h"

namespace terminal {

class LoadedPlugin {
 public:
  // Loads the library; on failure `error` says what is missing and the
  // result is not usable (`ok()` false). A name without a folder is the
  // file in the current folder. Only a regular file whole as its headers
  // describe it is handed to the loader (terminal/app/plugin_file.h).
  LoadedPlugin(const std::string& path, std::string& error);
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  bool ok() const { return m_module != nullptr; }
  HMODULE module() const { return m_module; }

  PFN_GetTarnPluginInfo GetTarnPluginInfo = nullptr;
  PFN_InitTarnPlugin InitTarnPlugin = nullptr;
  PFN_ProcessTarnPluginMsg ProcessTarnPluginMsg = nullptr;
  PFN_PluginProcessHotKey PluginProcessHotKey = nullptr;
  PFN_GetOptionalTarnPluginInfo GetOptionalTarnPluginInfo = nullptr;

 private:
  HMODULE m_module = nullptr;
};

}  // namespace terminal
