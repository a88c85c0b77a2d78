// Reading the file given with --script.
#pragma once

#include <string>

namespace terminal {

// A script is a few kilobytes of text; anything beyond this is no script.
constexpr long long kMaxScriptBytes = 4ll << 20;

// Reads the whole script. false with the reason when it is no regular file
// (a folder, a FIFO, a device such as /dev/zero), is larger than
// kMaxScriptBytes, or cannot be read. Never waits for a writer.
bool ReadScript(const std::string& path, std::string& text, std::string& error);

}  // namespace terminal
