#include "terminal/app/plugin_file.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace terminal {

namespace {

#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kByteOrder = ELFDATA2LSB;
#else
constexpr unsigned char kByteOrder = ELFDATA2MSB;
#endif
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// offset + length within size, without overflow.
bool Within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace

std::string PluginImageProblem(std::uint64_t size, const ImageReader& read) {
  ElfW(Ehdr) header{};
  if (size < sizeof header || !read(0, std::span(reinterpret_cast<unsigned char*>(&header), sizeof header)) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
    return "it is not a shared object (no ELF header)";
  }
  if (header.e_ident[EI_CLASS] != kClass || header.e_ident[EI_DATA] != kByteOrder) {
    return "it is a shared object for another kind of machine";
  }
  if (header.e_type != ET_DYN) return "it is an ELF file but not a shared object";
  if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0 || header.e_phnum == PN_XNUM) {
    return "its program header table is damaged";
  }
  const std::uint64_t tableBytes = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
  if (!Within(header.e_phoff, tableBytes, size)) {
    return "its program header table reaches past the end of the file (" + std::to_string(size) +
           " bytes): the file is cut short";
  }
  std::vector<ElfW(Phdr)> table(header.e_phnum);
  if (!read(header.e_phoff, std::span(reinterpret_cast<unsigned char*>(table.data()), tableBytes))) {
    return "its program header table cannot be read";
  }
  for (size_t i = 0; i < table.size(); ++i) {
    const ElfW(Phdr)& segment = table[i];
    if (segment.p_filesz > 0 && !Within(segment.p_offset, segment.p_filesz, size)) {
      return "its segment " + std::to_string(i) + " reaches past the end of the file (byte " +
             std::to_string(std::uint64_t{segment.p_offset} + segment.p_filesz) + " of " + std::to_string(size) +
             "): the file is cut short";
    }
  }
  return {};
}

std::string PluginFileProblem(const std::string& path) {
  // Without O_NONBLOCK opening a FIFO waits for a writer that may never come.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd == -1) return std::strerror(errno);
  struct stat info {};
  std::string problem;
  if (::fstat(fd, &info) != 0) {
    problem = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    problem = "it is a directory";
  } else if (!S_ISREG(info.st_mode)) {
    problem = "it is not a regular file (a pipe or a device)";
  } else {
    problem = PluginImageProblem(
        static_cast<std::uint64_t>(info.st_size), [fd](std::uint64_t offset, std::span<unsigned char> into) {
          size_t done = 0;
          while (done < into.size()) {
            const ssize_t n = TEMP_FAILURE_RETRY(
                ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(offset + done)));
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
          }
          return true;
        });
  }
  ::close(fd);
  return problem;
}

}  // namespace terminal
