// Module-wide state of the plug-in and its lookups of the terminal's exports.
//
// Created when the library loads, kept until it unloads. The terminal's
// functions are found by name in the process's main program at the moment of
// use, never cached, so a terminal may add or lack any of them.
#pragma once

#include "platform/base/cstring.h"
#include "platform/kernel/module.h"
#include "plugin/host_interface.h"

namespace plugin {

struct ModuleGlobals {
  HMODULE hTerminal = nullptr;  // main program, once InitTarnPlugin or the hot key took it
  CString strUserId;            // login user, from the first InitTarnPlugin
  CString strTerminalDir;       // folder of the terminal's executable (holds UserSetting.ini)
};

ModuleGlobals& Globals();

// The plug-in's own module handle (its resources are registered under it).
HMODULE SelfModule();

// Looks a terminal export up by name. Before the terminal handle has been
// taken (a hot key before any InitTarnPlugin) the main program is asked
// directly, so the lookup does not depend on which entry point came first.
FARPROC FindTerminalExport(const char* name);

template <typename Fn>
Fn TerminalExport(const char* name) {
  return reinterpret_cast<Fn>(FindTerminalExport(name));
}

// Appends a line to the terminal's log; nothing when the export is missing.
void AddToTabbedLog(const CString& text);

}  // namespace plugin
