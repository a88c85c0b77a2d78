// The module's dialog templates and icon, registered with the framework
// under the module that owns them.
#pragma once

#include "platform/user/dialog_resources.h"

namespace resources {

// Templates 20000 ("Allowed Groups") and 20001 ("View Allowed Group").
platform::DialogTemplate AllowedGroupsTemplate();
platform::DialogTemplate ViewAllowedGroupTemplate();

// Template 9002, " Column Profile" (the lists' column arrangement).
platform::DialogTemplate ColumnProfileTemplate();

// Registers the templates and icon 128 under `module`.
void RegisterModuleResources(HINSTANCE module);

}  // namespace resources
