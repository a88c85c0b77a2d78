#include "listview/excel/export_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace listview {

std::string ExportFile::BaseName(const std::string& name, std::time_t when) {
  std::string safe;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    safe += (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) ? '_' : c;
  }
  if (safe.empty() || safe == "." || safe == "..") safe = "List";
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S", &local);
  return safe + stamp;
}

ExportFile::ExportFile(const std::string& folder, const std::string& name, std::time_t when)
    : m_folder(folder), m_base(BaseName(name, when)) {
  // Only the export folder itself is made: a terminal folder that has gone
  // away is a failure, not something to make again.
  std::error_code ec;
  std::filesystem::create_directory(m_folder, ec);
  if (!std::filesystem::is_directory(m_folder)) {
    m_error = "cannot make " + m_folder + (ec ? ": " + ec.message() : "");
    return;
  }
  std::string pattern = m_folder + "/." + m_base + "-XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    m_error = "cannot write in " + m_folder + ": " + std::strerror(errno);
    return;
  }
  // mkstemp makes the file for its owner alone; a sheet is for others to read too.
  ::fchmod(fd, 0644);
  ::close(fd);
  m_temporary = pattern;
}

ExportFile::~ExportFile() {
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
}

std::string ExportFile::Publish() {
  if (m_temporary.empty()) return {};
  // A hard link takes the name only when it is free, whoever else exports
  // into the folder at the same moment.
  for (int attempt = 1; attempt < 1000; ++attempt) {
    const std::string path =
        m_folder + "/" + m_base + (attempt > 1 ? "-" + std::to_string(attempt) : std::string()) + ".xlsx";
    if (::link(m_temporary.c_str(), path.c_str()) == 0) {
      ::unlink(m_temporary.c_str());
      m_temporary.clear();
      return path;
    }
    if (errno != EEXIST) {
      m_error = "cannot name " + path + ": " + std::strerror(errno);
      return {};
    }
  }
  m_error = "no free name for " + m_base;
  return {};
}

}  // namespace listview
