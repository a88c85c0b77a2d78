// The plug-in's file, checked before the loader maps it.
//
// The loader maps a shared object's segments as its ELF program headers
// describe them. In a file cut short (a copy that stopped, a disk that
// filled up) a segment reaches past the end, and the first touch of a page
// beyond the end kills the process with SIGBUS, without a word. A FIFO or a
// device in the plug-in's place would make the loader wait for ever, or read
// without end. So only a regular file is loaded, and only one that holds
// every byte its program headers name.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace terminal {

// Reads exactly `into.size()` bytes at `offset`; false when it cannot.
using ImageReader = std::function<bool(std::uint64_t offset, std::span<unsigned char> into)>;

// Why an image of `size` bytes cannot be loaded; empty when it can as far as
// its headers tell: an ELF shared object of this program's class and byte
// order whose program header table, and every segment's bytes in the file,
// lie within the image.
std::string PluginImageProblem(std::uint64_t size, const ImageReader& read);

// The same for a file, which must first be a regular file; its reads never
// wait. Empty when it can be loaded.
std::string PluginFileProblem(const std::string& path);

}  // namespace terminal
