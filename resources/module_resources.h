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
// Template 1008, the custom columns of a list (user_column_template.cpp).
platform::DialogTemplate UserColumnTemplate();
// Template 1010, a list's filter text pop-up (filter_text_template.cpp).
platform::DialogTemplate FilterTextTemplate();

// Registers the templates and icon 128 under `module`.
void RegisterModuleResources(HINSTANCE module);

}  // namespace resources
