#include "terminal/desktop/clipboard_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace terminal::desktop {

namespace {

// The length of the UTF-8 sequence that `lead` starts; 1 for a byte that
// starts none, so that a broken sequence costs one '?' a byte.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0xC2 || lead > 0xF4) return 1;
  if (lead < 0xE0) return 2;
  return lead < 0xF0 ? 3 : 4;
}

// `text` through iconv from `from` to `to`; what cannot be converted is '?'.
std::string Convert(std::string_view text, const char* from, const char* to) {
  const iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);  // glibc has these sets; never expected
  const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
  const bool fromUtf8 = std::string_view(from) == "UTF-8";
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  char* in = const_cast<char*>(text.data());  // iconv's signature; it does not write the input
  size_t left = text.size();
  char buffer[4096];
  while (left > 0) {
    char* dest = buffer;
    size_t room = sizeof buffer;
    const size_t done = iconv(cd, &in, &left, &dest, &room);
    out.append(buffer, static_cast<size_t>(dest - buffer));
    if (done != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ (no such character, or none in the target) or EINVAL (a cut
    // sequence at the end): one '?' for it, and on past it.
    out += '?';
    const size_t skip = fromUtf8 ? std::min(left, SequenceLength(static_cast<unsigned char>(*in))) : 1;
    in += skip;
    left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string WithoutCarriageReturns(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // text[size()] is the string's terminator, never '\n'.
    if (text[i] == '\r' && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string WithCarriageReturns(std::string text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

std::string ClipboardToUtf8(std::string_view windowsText) {
  return WithoutCarriageReturns(Convert(windowsText, "WINDOWS-1252", "UTF-8"));
}

std::string ClipboardToLatin1(std::string_view windowsText) {
  return WithoutCarriageReturns(Convert(windowsText, "WINDOWS-1252", "ISO-8859-1"));
}

std::string ClipboardFromUtf8(std::string_view utf8) {
  return WithCarriageReturns(Convert(utf8, "UTF-8", "WINDOWS-1252"));
}

std::string ClipboardFromLatin1(std::string_view latin1) {
  return WithCarriageReturns(Convert(latin1, "ISO-8859-1", "WINDOWS-1252"));
}

}  // namespace terminal::desktop
