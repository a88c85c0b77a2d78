// The plug-in's shared object exports only what is marked: its entry points,
// the date utilities, and the few functions through which the end-to-end
// tests reach the module's state by name, as a debugger would. Everything
// else stays inside the module, so nothing in it binds to a same-named
// symbol of the terminal or of another plug-in.
#pragma once

#define PLUGIN_TEST_HOOK __attribute__((visibility("default")))
