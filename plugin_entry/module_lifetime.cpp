// The plug-in as a framework extension module: its resources join the
// framework's resource chain when the library loads and leave it when the
// library unloads.
#include "allowed_groups/alw_grp.h"
#include "platform/afx.h"
#include "plugin/terminal_link.h"
#include "resources/module_resources.h"

namespace {

struct ExtensionModule {
  ExtensionModule() : module(plugin::SelfModule()) {
    resources::RegisterModuleResources(module);
    AllowedGroupsForm();  // the single form object exists from load on, without a window
  }
  ~ExtensionModule() { platform::RemoveModuleResources(module); }
  HMODULE module;
};

const ExtensionModule g_extensionModule;

}  // namespace
