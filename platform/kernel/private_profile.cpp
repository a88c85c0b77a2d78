#include "platform/kernel/private_profile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel/kernel.h"
#include "platform/kernel/module.h"

namespace {

constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_BAD_FILE_TYPE = 222;
constexpr DWORD ERROR_FILE_TOO_LARGE = 223;

// The UTF-8 byte-order mark an editor may put before the first line.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// UTF-16 text, by its byte-order mark or, without one, by a NUL beside the
// first character. Its lines are no lines to this reader, and a line written
// into it in single bytes would mix two encodings in one file.
bool LooksLikeUtf16(std::string_view text) {
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) return true;
  return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
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
  // The file's text, or why there is none: kMissing when it does not exist,
  // kRefused (with the error set) when it exists but is no regular file, is
  // larger than kPrivateProfileMaxBytes or cannot be read. Opening does not
  // wait: a FIFO or a device is refused, never read from.
  enum class Outcome { kLoaded, kMissing, kRefused };
  static Outcome Read(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
      if (errno == ENOENT) return Outcome::kMissing;
      SetLastError(ERROR_ACCESS_DENIED);
      return Outcome::kRefused;
    }
    struct stat info {};
    Outcome outcome = Outcome::kLoaded;
    if (::fstat(fd, &info) != 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      outcome = Outcome::kRefused;
    } else if (!S_ISREG(info.st_mode)) {
      SetLastError(ERROR_BAD_FILE_TYPE);
      outcome = Outcome::kRefused;
    } else if (static_cast<unsigned long long>(info.st_size) > kPrivateProfileMaxBytes) {
      SetLastError(ERROR_FILE_TOO_LARGE);
      outcome = Outcome::kRefused;
    }
    text.clear();
    char chunk[65536];
    while (outcome == Outcome::kLoaded) {
      const ssize_t n = ::read(fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        outcome = Outcome::kRefused;
      } else if (n == 0) {
        if (LooksLikeUtf16(text)) {
          SetLastError(ERROR_UNSUPPORTED_TYPE);
          outcome = Outcome::kRefused;
        }
        break;
      } else if (text.size() + static_cast<size_t>(n) > kPrivateProfileMaxBytes) {
        SetLastError(ERROR_FILE_TOO_LARGE);  // it grew while being read
        outcome = Outcome::kRefused;
      } else {
        text.append(chunk, static_cast<size_t>(n));
      }
    }
    ::close(fd);
    return outcome;
  }

  // Lines end at "\r\n", "\n" or a lone "\r"; the first ending seen is the
  // one new lines get. A leading UTF-8 mark is no part of the first line,
  // and stays at the head of the file when it is written again.
  static IniDocument Parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with(kUtf8Mark)) {
      doc.m_bUtf8Mark = true;
      text.remove_prefix(kUtf8Mark.size());
    }
    bool sawEnding = false;
    size_t start = 0;
    while (start < text.size()) {
      const size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) {
        doc.m_lines.emplace_back(std::string(text.substr(start)));
        break;
      }
      size_t next = end + 1;
      std::string_view ending = "\n";
      if (text[end] == '\r') {
        ending = "\r";
        if (next < text.size() && text[next] == '\n') {
          ending = "\r\n";
          ++next;
        }
      }
      if (!sawEnding) doc.m_ending = ending;
      sawEnding = true;
      doc.m_lines.emplace_back(std::string(text.substr(start, end - start)));
      start = next;
    }
    return doc;
  }

  // Index of the first line of the named section's header, if any.
  std::optional<size_t> FindSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
      if (m_lines[i].kind == Line::Kind::kSection && SameName(m_lines[i].name, section)) return i;
    }
    return std::nullopt;
  }

  // One past the last line belonging to the section whose header is at `header`.
  size_t SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < m_lines.size() && m_lines[i].kind != Line::Kind::kSection) ++i;
    return i;
  }

  std::optional<size_t> FindKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (m_lines[i].kind == Line::Kind::kKey && SameName(m_lines[i].name, key)) return i;
    }
    return std::nullopt;
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : m_lines) {
      if (line.kind == Line::Kind::kSection) names.emplace_back(line.name);
    }
    return names;
  }

  std::vector<std::string> KeyNames(size_t header) const {
    std::vector<std::string> names;
    for (size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (m_lines[i].kind == Line::Kind::kKey) names.emplace_back(m_lines[i].name);
    }
    return names;
  }

  const Line& At(size_t i) const { return m_lines[i]; }

  void SetKey(std::string_view section, std::string_view key, std::string_view value) {
    auto header = FindSection(section);
    if (!header) {
      m_lines.emplace_back("[" + std::string(section) + "]");
      m_lines.emplace_back(std::string(key) + "=" + std::string(value));
      return;
    }
    if (auto at = FindKey(*header, key)) {
      // Keep the key as the file spells it; only the value changes.
      m_lines[*at] = Line(std::string(m_lines[*at].name) + "=" + std::string(value));
      return;
    }
    // After the section's last non-blank line (at the latest its header),
    // so blank separators stay put.
    size_t insert = SectionEnd(*header);
    while (Trim(m_lines[insert - 1].text).empty()) --insert;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insert),
                   Line(std::string(key) + "=" + std::string(value)));
  }

  bool RemoveKey(std::string_view section, std::string_view key) {
    auto header = FindSection(section);
    if (!header) return false;
    auto at = FindKey(*header, key);
    if (!at) return false;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*at));
    return true;
  }

  bool RemoveSection(std::string_view section) {
    auto header = FindSection(section);
    if (!header) return false;
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*header),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)));
    return true;
  }

  std::string Text() const {
    std::string out(m_bUtf8Mark ? kUtf8Mark : std::string_view());
    for (const auto& line : m_lines) {
      out += line.text;
      out += m_ending;
    }
    return out;
  }

 private:
  std::vector<Line> m_lines;
  std::string m_ending = "\r\n";  // the platform's line ending, unless the file uses another
  bool m_bUtf8Mark = false;
};

// Serialises writers of this process; a rename keeps readers consistent.
std::mutex g_writeGuard;

// The file a path finally names: symbolic links are followed (also one
// that points nowhere yet), so that a linked settings file is updated where
// it lives and the link stays a link.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::string target(static_cast<size_t>(PATH_MAX), '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;  // no link (or nothing at all) there
    target.resize(static_cast<size_t>(n));
    if (target.front() != '/') {
      const auto slash = path.rfind('/');
      if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    }
    path = std::move(target);
  }
  return path;
}

std::string TemporaryPrefix(const std::string& path) { return path + ".tmp."; }

// `existing` is the file being replaced (null when there is none): its
// permission bits, and its owner where this process may set it, carry over.
bool WriteAtomically(const std::string& path, const std::string& text, const struct stat* existing) {
  const std::string temporary = TemporaryPrefix(path) + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd == -1) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_WRITE_FAULT);
    return false;
  }
  bool ok = true;
  if (existing != nullptr) {
    ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
    // Only the owner may be kept; a file of another user keeps its bits.
    [[maybe_unused]] const int chowned = ::fchown(fd, existing->st_uid, existing->st_gid);
  }
  // A short write is no success: the rest is written until every byte is
  // out or the system refuses (a full disk, a file size limit).
  int failure = 0;
  size_t done = 0;
  while (ok && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
    if (n < 0) failure = errno;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    failure = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    SetLastError(failure == ENOSPC || failure == EDQUOT ? ERROR_DISK_FULL
                 : failure == EFBIG                     ? ERROR_FILE_TOO_LARGE
                                                        : ERROR_WRITE_FAULT);
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
// An empty list is two terminators where the buffer holds them, so that a
// caller looking for the pair finds it.
DWORD CopyOutList(const std::vector<std::string>& names, LPSTR returned, DWORD size) {
  returned[0] = '\0';
  if (size < 2) return 0;
  returned[1] = '\0';
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

  std::string text;
  const auto outcome = IniDocument::Read(platform::NativePath(fileName), text);
  if (outcome != IniDocument::Outcome::kLoaded) {
    if (outcome == IniDocument::Outcome::kMissing) SetLastError(ERROR_FILE_NOT_FOUND);
    if (section == nullptr || key == nullptr) return CopyOutList({}, returned, size);
    return CopyOut(fallback, returned, size);
  }
  const std::optional<IniDocument> doc = IniDocument::Parse(text);
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
  const std::string path = FollowLinks(platform::NativePath(fileName));
  std::string text;
  const auto outcome = IniDocument::Read(path, text);
  // A file that could not be read is never replaced: what it holds would be lost.
  if (outcome == IniDocument::Outcome::kRefused) return FALSE;
  struct stat existing {};
  const bool exists = outcome == IniDocument::Outcome::kLoaded && ::stat(path.c_str(), &existing) == 0;
  // A read-only file (no write permission for its owner, as the desktop's
  // read-only attribute) is refused even to a user who could override it.
  if (exists && ((existing.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  std::optional<IniDocument> doc;
  if (exists) {
    doc = IniDocument::Parse(text);
  } else {
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
  return WriteAtomically(path, doc->Text(), exists ? &existing : nullptr) ? TRUE : FALSE;
}

int RemoveStalePrivateProfileTemporaries(LPCSTR fileName) {
  if (fileName == nullptr) return 0;
  const std::string path = FollowLinks(platform::NativePath(fileName));
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string prefix = TemporaryPrefix(slash == std::string::npos ? path : path.substr(slash + 1));
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (!name.starts_with(prefix)) continue;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
    // A process that still runs may be writing it; only a dead writer's file is stale.
    if (pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM)) continue;
    const std::string stale = folder + std::string(name);
    struct stat info {};
    if (::lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(stale.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}
