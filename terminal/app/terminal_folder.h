// The terminal folder given with --home: where UserSetting.ini and the
// default server.db live.
//
// One rule for the path everywhere: "\" separates folders, as "/" does (the
// plug-in's settings path is built with "\" and the platform reads both), so
// `x\y` is the folder y inside x, for the folder made here, for the
// settings file and for the store.
#pragma once

#include <optional>
#include <string>

namespace terminal {

// The folder with "/" separators, made when missing. nullopt with a
// sentence in `error` when it cannot be made or used: a file in its place,
// a name too long, a parent that cannot be read or written. Never throws.
std::optional<std::string> PrepareTerminalFolder(const std::string& requested, std::string& error);

}  // namespace terminal
