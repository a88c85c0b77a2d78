// Environment start-up and settings lookup over a process state. The C
// interface runs them on the process's one state; tests run them on states
// of their own so that every start-up path can be taken afresh.
#pragma once

#include <string_view>

#include "mml/mml.h"
#include "mml/environment/process_state.h"

namespace mml {

// Reads a variable of the live process environment (the memory map's two
// switches are read this way, before the table exists).
using GetenvFn = const char* (*)(const char* name);

// mml_env_init on state: see mml.h for the errors.
int env_init(sProcessState& state, char** envp, GetenvFn getenv, int* err);
int env_is_ready(sProcessState& state, int* err);
// First entry of the captured table whose name equals name byte for byte.
// Error 4 not set (or not initialised).
int env_lookup(sProcessState& state, std::string_view name, mml_data* out, int* err);

}  // namespace mml
