// The module's dialog templates and icon, registered with the framework
// under the module that owns them.
#pragma once

#include "platform/user/dialog_resources.h"

namespace resources {

// Templates 20000 ("Allowed Groups") and 20001 ("View Allowed Group").
platform::DialogTemplate AllowedGroupsTemplate();
platform::DialogTemplate ViewAllowedGroupTemplate();
// Template 302 ("Font Dialog"), in font_dialog_template.cpp.
platform::DialogTemplate FontDialogTemplate();
// Template 1007 ("Customized Appearance"), in appearance_template.cpp.
platform::DialogTemplate AppearanceTemplate();

// Registers the templates and icon 128 under `module`.
void RegisterModuleResources(HINSTANCE module);

}  // namespace resources
