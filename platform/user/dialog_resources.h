// Resources of modules: dialog templates and icons, registered by the module
// that owns them (a plug-in registers its own when it loads and removes them
// when it unloads), and the framework's current resource module.
//
// Lookup follows the framework's resource chain: the current resource module
// first (AfxGetResourceHandle), then every other module in the order it
// registered. A module is named by its handle (HINSTANCE/HMODULE).
//
// CResourceScope switches the current resource module for the length of a
// scope and puts the previous one back on every way out, exceptions too:
//
//   extern "C" void InitTarnPlugin(...) {
//     CResourceScope resources(g_thisModule);
//     ...  // dialog 20000 and icon 128 now load from this module
//   }
//
// All of this belongs to the user-interface thread.
#pragma once

#include "platform/base/export.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

namespace platform {

// One control of a dialog template. The box is in dialog units, relative to
// the dialog's client area. The style is what the resource script gives
// (write WS_VISIBLE, WS_TABSTOP, WS_GROUP explicitly); WS_CHILD is added.
struct DialogItemTemplate {
  int id = IDC_STATIC;
  std::string className;  // "BUTTON", "EDIT", "STATIC", "COMBOBOX", "LISTBOX", "SysListView32", ...
  std::string text;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
};

// A dialog template: size in dialog units of the template's font. x and y
// place a top-level dialog relative to its owner's client area (the screen
// without an owner) unless the style has DS_CENTER.
struct DialogTemplate {
  UINT id = 0;
  std::string caption;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  std::string fontName = "MS Shell Dlg";
  int fontPointSize = 8;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  DWORD exStyle = 0;
  std::vector<DialogItemTemplate> items;
};

// Adds (or replaces) a template of `module`. Returns true.
PLATFORM_API bool RegisterDialogTemplate(HINSTANCE module, DialogTemplate dialog);
// Adds an icon resource of `module` and returns its handle: a value below
// 2^31, so that an int holds it as on the platform's 64-bit systems.
PLATFORM_API HICON RegisterIcon(HINSTANCE module, UINT id);
// Removes every resource `module` registered; handles it gave out stay
// valid as values but no longer resolve.
PLATFORM_API void RemoveModuleResources(HINSTANCE module);

// The template with this id along the resource chain; null when none.
// The pointer stays valid until its module's resources are removed.
const DialogTemplate* FindDialogTemplate(UINT id);

struct IconResource {
  HINSTANCE module = nullptr;
  UINT id = 0;
};
// What an icon handle stands for; nullopt for a handle that is not an icon
// resource or whose module was removed.
std::optional<IconResource> IconFromHandle(HICON icon);

}  // namespace platform

PLATFORM_API HINSTANCE AfxGetResourceHandle();
PLATFORM_API void AfxSetResourceHandle(HINSTANCE module);
// The main program's instance, the default resource module when none was set.
PLATFORM_API HINSTANCE AfxGetInstanceHandle();

// The icon `name` (an integer id through MAKEINTRESOURCE) of `module`; a null
// module searches the resource chain. Null when there is none.
PLATFORM_API HICON LoadIcon(HINSTANCE module, LPCSTR name);
// The framework's LoadIcon of the application object: along the resource chain.
PLATFORM_API HICON AfxLoadIcon(UINT id);

class PLATFORM_API CResourceScope {
 public:
  explicit CResourceScope(HINSTANCE module) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(module); }
  ~CResourceScope() { AfxSetResourceHandle(m_previous); }
  CResourceScope(const CResourceScope&) = delete;
  CResourceScope& operator=(const CResourceScope&) = delete;

 private:
  HINSTANCE m_previous;
};
