// The file given with --wire-log. Lines are appended to it; it is never
// emptied, so that a name given by mistake costs no more than the lines
// added at its end. A file the run keeps (the store, the settings file, the
// plug-in, ...) or anything but a regular file or a new one is refused
// before it is opened, and nothing is touched.
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace terminal {

// A file the run keeps, and what it is to the person ("the server store").
struct KeptFile {
  std::string path;
  std::string what;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The log opened for appending (created when missing), or null with the
// reason in `error`: the path names one of `kept` (the same file by any
// name: a link, another spelling, a file still to be made), or something
// that is no regular file (a folder, a FIFO, a device such as /dev/full).
// Never waits on the file.
FilePtr OpenWireLog(const std::string& path, std::span<const KeptFile> kept, std::string& error);

}  // namespace terminal
