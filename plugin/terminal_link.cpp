#include "plugin/terminal_link.h"

namespace plugin {

ModuleGlobals& Globals() {
  static ModuleGlobals globals;
  return globals;
}

HMODULE SelfModule() {
  static const HMODULE self = ModuleFromAddress(reinterpret_cast<const void*>(&SelfModule));
  return self;
}

FARPROC FindTerminalExport(const char* name) {
  HMODULE terminal = Globals().hTerminal ? Globals().hTerminal : GetModuleHandleA(nullptr);
  return terminal ? GetProcAddress(terminal, name) : nullptr;
}

void AddToTabbedLog(const CString& text) {
  if (auto log = TerminalExport<PFN_pu_add_to_tabbed_log>("pu_add_to_tabbed_log")) log(text);
}

}  // namespace plugin
