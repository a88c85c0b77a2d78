// Fuzz target: the plug-in loader's check of a plug-in's file before the
// loader maps it (terminal/app/plugin_file.h), on the files a cut-short
// copy, a damaged disk or a wrong file leave in the plug-in's place.
//
// The first byte chooses the input's form:
//   even: the rest is the whole file, arbitrary bytes;
//   odd:  a copy of a real plug-in (AG_FUZZ_PLUGIN: AllowedGroups.so, or in
//         the fuzz preset, which builds no plug-in, a shared object built
//         the same way), cut to the length in the next four bytes (little
//         endian, modulo the file's length + 1), with each following three
//         bytes (offset in the first 64 KiB, little endian; value) written
//         over it.
// Besides never reading outside the image, never crashing and never
// overflowing, the check must refuse every unpatched copy cut short of the
// bytes its program headers name, and take the whole file and every copy
// cut after them (only section tables and debugging data are lost there,
// which the loader never maps). The extent is read from the headers here
// with <elf.h>, apart from the check.
#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "terminal/app/plugin_file.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "plugin_file_fuzz: %s\n", what);
    std::abort();
  }
}

struct RealPlugin {
  std::vector<unsigned char> bytes;
  std::uint64_t extent = 0;  // one past the last byte the program headers name

  RealPlugin() {
    std::ifstream in(AG_FUZZ_PLUGIN, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    Require(bytes.size() > sizeof(ElfW(Ehdr)), "the real plug-in cannot be read");
    ElfW(Ehdr) header;
    std::memcpy(&header, bytes.data(), sizeof header);
    extent = header.e_phoff + std::uint64_t{header.e_phnum} * header.e_phentsize;
    for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
      ElfW(Phdr) segment;
      std::memcpy(&segment, bytes.data() + header.e_phoff + i * header.e_phentsize, sizeof segment);
      if (segment.p_filesz > 0) extent = std::max<std::uint64_t>(extent, segment.p_offset + segment.p_filesz);
    }
    Require(extent <= bytes.size(), "the real plug-in names bytes it does not hold");
    Require(Problem(bytes.size(), {}).empty(), "the whole real plug-in is refused");
  }

  struct Patch {
    std::uint32_t offset;
    unsigned char value;
  };

  // The check on the first `size` bytes with `patches` written over them.
  std::string Problem(std::uint64_t size, const std::vector<Patch>& patches) const {
    return terminal::PluginImageProblem(size, [&](std::uint64_t offset, std::span<unsigned char> into) {
      if (offset > size || into.size() > size - offset) return false;
      std::memcpy(into.data(), bytes.data() + offset, into.size());
      for (const Patch& patch : patches) {
        if (patch.offset >= offset && patch.offset - offset < into.size()) into[patch.offset - offset] = patch.value;
      }
      return true;
    });
  }
};

const RealPlugin& Real() {
  static const RealPlugin real;
  return real;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    const std::vector<unsigned char> image(data + 1, data + size);
    (void)terminal::PluginImageProblem(image.size(), [&](std::uint64_t offset, std::span<unsigned char> into) {
      if (offset > image.size() || into.size() > image.size() - offset) return false;
      std::memcpy(into.data(), image.data() + offset, into.size());
      return true;
    });
    return 0;
  }
  const RealPlugin& real = Real();
  std::uint32_t cut = 0;
  for (size_t i = 1; i < 5; ++i) cut |= static_cast<std::uint32_t>(i < size ? data[i] : 0) << (8 * (i - 1));
  const std::uint64_t length = cut % (real.bytes.size() + 1);
  std::vector<RealPlugin::Patch> patches;
  for (size_t i = 5; i + 3 <= size; i += 3) {
    const std::uint32_t offset = data[i] | static_cast<std::uint32_t>(data[i + 1]) << 8;
    if (offset < length) patches.push_back({offset, data[i + 2]});
  }
  const std::string problem = real.Problem(length, patches);
  if (patches.empty()) {
    Require(problem.empty() == (length >= real.extent),
            length >= real.extent ? "a copy holding every mapped byte is refused" : "a copy cut short is taken");
  }
  return 0;
}
