#include "platform/kernel/private_profile.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/kernel.h"

namespace {

constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_WRITE_FAULT = 29;

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string NativePath(LPCSTR fileName) {
  std::string path(fileName);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

// One line of the file as it stood, with what it means to a lookup.
struct Line {
  enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
  std::string text;        // the line without its ending
  std::string_view name;   // section or key name (into text)
  std::string_view value;  // key value (into text), trimmed

  explicit Line(std::string raw) : text(std::move(raw)) { Classify(); }
  Line(const Line& other) : Line(other.text) {}
  Line& operator=(const Line& other) {
    text = other.text;
    Classify();
    return *this;
  }

 private:
  void Classify() {
    const std::string_view view = Trim(text);
    if (!view.empty() && view.front() == '[') {
      kind = Kind::kSection;
      const auto close = view.find(']');
      name = Trim(view.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else if (const auto eq = view.find('='); eq != std::string_view::npos && !view.starts_with(';')) {
      kind = Kind::kKey;
      name = Trim(view.substr(0, eq));
      value = Trim(view.substr(eq + 1));
    }
  }
};

// The file as a list of lines. Edits touch only the lines they concern.
class IniDocument {
 public:
  static std::optional<IniDocument> Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::stringstream content;
    content << in.rdbuf();
    IniDocument doc;
    const std::string text = content.str();
    size_t start = 0;
    bool sawEnding = false;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      const bool last = end == std::string::npos;
      if (last) end = text.size();
      size_t stop = end;
      if (stop > start && text[stop - 1] == '\r') {
        --stop;
        if (!sawEnding) doc.ending_ = "\r\n";
      } else if (!last && !sawEnding) {
        doc.ending_ = "\n";
      }
      if (!last) sawEnding = true;
      doc.lines_.emplace_back(text.substr(start, stop - start));
      start = end + 1;
    }
    return doc;
  }

  // Index of the first line of the named section's header, if any.
  std::optional<size_t> FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (lines_[i].kind == Line::Kind::kSection && SameName(lines_[i].name, section)) return i;
    }
    return std::nullopt;
  }

  // One past the last line belonging to the section whose header is at `header`.
  size_t SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::kSection) ++i;
    return i;
  }

  std::optional<size_t> FindKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (lines_[i].kind == Line::Kind::kKey && SameName(lines_[i].name, key)) return i;
    }
    return std::nullopt;
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : lines_) {
      if (line.kind == Line::Kind::kSection) names.emplace_back(line.name);
    }
    return names;
  }

  std::vector<std::string> KeyNames(size_t header) const {
    std::vector<std::string> names;
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (lines_[i].kind == Line::Kind::kKey) names.emplace_back(lines_[i].name);
    }
    return names;
  }

  const Line& At(size_t i) const { return lines_[i]; }

  void SetKey(std::string_view section, std::string_view key, std::string_view value) {
    auto header = FindSection(section);
    if (!header) {
      lines_.emplace_back("[" + std::string(section) + "]");
      lines_.emplace_back(std::string(key) + "=" + std::string(value));
      return;
    }
    if (auto at = FindKey(*header, key)) {
      // Keep the key as the file spells it; only the value changes.
      lines_[*at] = Line(std::string(lines_[*at].name) + "=" + std::string(value));
      return;
    }
    // After the section's last non-blank line, so blank separators stay put.
    size_t insert = SectionEnd(*header);
    while (insert > *header + 1 && Trim(lines_[insert - 1].text).empty()) --insert;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert),
                  Line(std::string(key) + "=" + std::string(value)));
  }

  bool RemoveKey(std::string_view section, std::string_view key) {
    auto header = FindSection(section);
    if (!header) return false;
    auto at = FindKey(*header, key);
    if (!at) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    return true;
  }

  bool RemoveSection(std::string_view section) {
    auto header = FindSection(section);
    if (!header) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)));
    return true;
  }

  std::string Text() const {
    std::string out;
    for (const auto& line : lines_) {
      out += line.text;
      out += ending_;
    }
    return out;
  }

 private:
  std::vector<Line> lines_;
  std::string ending_ = "\r\n";  // the platform's line ending, unless the file uses another
};

// Serialises writers of this process; a rename keeps readers consistent.
std::mutex g_writeGuard;

bool WriteAtomically(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp." + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_WRITE_FAULT);
    return false;
  }
  size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    SetLastError(ERROR_WRITE_FAULT);
  }
  return ok;
}

DWORD CopyOut(std::string_view text, LPSTR returned, DWORD size) {
  const DWORD n = static_cast<DWORD>(std::min<size_t>(text.size(), size - 1));
  if (n > 0) std::memcpy(returned, text.data(), n);  // an empty value may have no data pointer
  returned[n] = '\0';
  return n;
}

// Names each terminated, with one more terminator after the last. When they
// do not fit, the list is cut, still doubly terminated, and size - 2 returned.
DWORD CopyOutList(const std::vector<std::string>& names, LPSTR returned, DWORD size) {
  if (size < 2) {
    returned[0] = '\0';
    return 0;
  }
  DWORD used = 0;
  for (const auto& name : names) {
    if (used + name.size() + 1 > size - 1) {
      const DWORD room = size - 2 - used;
      std::memcpy(returned + used, name.data(), room);
      returned[size - 2] = '\0';
      returned[size - 1] = '\0';
      return size - 2;
    }
    std::memcpy(returned + used, name.c_str(), name.size() + 1);
    used += static_cast<DWORD>(name.size() + 1);
  }
  returned[used] = '\0';
  return used;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR returned, DWORD size,
                               LPCSTR fileName) {
  if (returned == nullptr || size == 0) return 0;
  std::string fallback = defaultValue ? defaultValue : "";
  fallback.erase(fallback.find_last_not_of(' ') + 1);
  if (fileName == nullptr) return CopyOut(fallback, returned, size);

  const auto doc = IniDocument::Load(NativePath(fileName));
  if (!doc) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    if (section == nullptr || key == nullptr) return CopyOutList({}, returned, size);
    return CopyOut(fallback, returned, size);
  }
  if (section == nullptr) return CopyOutList(doc->SectionNames(), returned, size);
  const auto header = doc->FindSection(section);
  if (key == nullptr) return CopyOutList(header ? doc->KeyNames(*header) : std::vector<std::string>{}, returned, size);
  if (header) {
    if (auto at = doc->FindKey(*header, key)) return CopyOut(Unquote(doc->At(*at).value), returned, size);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return CopyOut(fallback, returned, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
  if (fileName == nullptr || section == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(g_writeGuard);
  const std::string path = NativePath(fileName);
  auto doc = IniDocument::Load(path);
  if (!doc) {
    if (key == nullptr || value == nullptr) return TRUE;  // nothing to remove from a missing file
    doc.emplace();
  }
  if (key == nullptr) {
    if (!doc->RemoveSection(section)) return TRUE;
  } else if (value == nullptr) {
    if (!doc->RemoveKey(section, key)) return TRUE;
  } else {
    doc->SetKey(section, Trim(key), value);
  }
  return WriteAtomically(path, doc->Text()) ? TRUE : FALSE;
}
