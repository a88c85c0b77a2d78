// Where a list's export goes: a new file Export/<name>-YYYYMMDD-HHMMSS.xlsx
// in the terminal folder, never one that exists already (a second export in
// the same second gets "-2", then "-3", ...). The sheet is written to a
// hidden temporary file in the same folder and only a complete sheet is
// published under its name, so that a failed export (a folder that cannot
// be written, a full disk) leaves no partial file behind.
#pragma once

#include <ctime>
#include <string>

namespace listview {

class ExportFile {
 public:
  // Makes the folder (not its parent) when needed and a temporary file in it; Ok() says
  // whether that worked (and why not in Error()).
  ExportFile(const std::string& folder, const std::string& name, std::time_t when);
  // Removes the temporary file unless it was published.
  ~ExportFile();
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;

  bool Ok() const { return !m_temporary.empty(); }
  const std::string& Error() const { return m_error; }
  // The file to write the sheet to.
  const std::string& Temporary() const { return m_temporary; }
  // Gives the written file its final name, taking the first free one; the
  // path it got, or empty (the temporary file removed) when none could be had.
  std::string Publish();

  // "<name>-YYYYMMDD-HHMMSS" in local time, the name made safe for a file
  // name (path separators and control characters become "_").
  static std::string BaseName(const std::string& name, std::time_t when);

 private:
  std::string m_folder;
  std::string m_base;
  std::string m_temporary;
  std::string m_error;
};

}  // namespace listview
