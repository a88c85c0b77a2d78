// The clipboard's text as the platform keeps it (Windows-1252, lines ending
// in CR LF) and as other programs on an X display exchange it (UTF-8 for
// UTF8_STRING, ISO 8859-1 for STRING, lines ending in LF).
#pragma once

#include <string>
#include <string_view>

namespace terminal::desktop {

// A character that has no code in the target becomes '?'; so does a byte
// that is not a character of the source (a broken UTF-8 sequence).
std::string ClipboardToUtf8(std::string_view windowsText);
std::string ClipboardToLatin1(std::string_view windowsText);
// Lone LFs and CR LFs both become CR LF.
std::string ClipboardFromUtf8(std::string_view utf8);
std::string ClipboardFromLatin1(std::string_view latin1);

}  // namespace terminal::desktop
