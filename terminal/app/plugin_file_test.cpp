// The plug-in's file as a cut-short copy, a FIFO, a folder, a device or a
// file of another kind leave it in the plug-in's place: each refused with
// its reason, at once, before the loader would map it; the real plug-in,
// and a copy cut only after the last byte the loader maps, are taken.
#include "terminal/app/plugin_file.h"
#include "terminal/app/plugin_loader.h"

#include <gtest/gtest.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace terminal {
namespace {

namespace fs = std::filesystem;

TEST(PluginFile, OnlyARegularFileHoldingEveryByteItsHeadersNameIsTaken) {
  const fs::path folder = fs::temp_directory_path() / ("plugin_file_test_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  EXPECT_EQ(PluginFileProblem(AG_PLUGIN_FILE), "");

  std::ifstream in(AG_PLUGIN_FILE, std::ios::binary);
  const std::vector<char> plugin((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto copy = [&](size_t length) {
    const fs::path path = folder / ("cut" + std::to_string(length) + ".so");
    std::ofstream(path, std::ios::binary).write(plugin.data(), static_cast<std::streamsize>(length));
    return PluginFileProblem(path.string());
  };
  EXPECT_EQ(copy(40), "it is not a shared object (no ELF header)");
  // The ELF header whole and nothing after it: a shared object cut short.
  EXPECT_TRUE(copy(sizeof(ElfW(Ehdr))).ends_with("the file is cut short")) << copy(sizeof(ElfW(Ehdr)));
  for (const size_t length : {size_t{4096}, size_t{65536}}) {
    const std::string problem = copy(length);
    EXPECT_TRUE(problem.ends_with(" of " + std::to_string(length) + "): the file is cut short"))
        << length << ": " << problem;
  }
  // The section headers at the end are read by no loader.
  EXPECT_EQ(copy(plugin.size() - 1), "");

  const fs::path fifo = folder / "fifo.so";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(folder / "text.so") << "#!/bin/sh\n";
  const auto start = std::chrono::steady_clock::now();
  for (const fs::path& odd : {fifo, fs::path("/dev/zero")})
    EXPECT_EQ(PluginFileProblem(odd.string()), "it is not a regular file (a pipe or a device)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "nothing waits on a FIFO";
  const std::string sysfs = "/sys/devices/system/cpu/online";  // sized 4096, holds a few bytes: not read for ever
  EXPECT_TRUE(!fs::exists(sysfs) || PluginFileProblem(sysfs) == "it is not a shared object (no ELF header)");
  EXPECT_EQ(PluginFileProblem(folder.string()), "it is a directory");
  EXPECT_EQ(PluginFileProblem((folder / "text.so").string()), "it is not a shared object (no ELF header)");
  EXPECT_EQ(PluginFileProblem((folder / "missing.so").string()), "No such file or directory");
  fs::remove_all(folder);
}

// A shared object lacking entry points is no plug-in: not loaded, and each
// missing one named.
TEST(PluginFile, AnObjectWithoutEveryEntryPointIsNotLoaded) {
  std::string error;
  const LoadedPlugin partial(AG_PARTIAL_PLUGIN_FILE, error);
  EXPECT_FALSE(partial.ok());
  EXPECT_EQ(error, "the plug-in does not export InitTarnPlugin, PluginProcessHotKey");
}

}  // namespace
}  // namespace terminal
