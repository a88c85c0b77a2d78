// The plug-in's file as a person may give it with --plugin: each run ends
// at once with a sentence and status 1, never a hang or a crash, and a name
// without a folder is the file in the current folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

using PluginFileRun = SharedFolderRun;

TEST_F(PluginFileRun, ACutShortCopyIsRefusedAndABareNameIsTheFileHere) {
  const std::string plugin = PluginHarness::BinaryFolder() + "/AllowedGroups.so";
  std::ifstream in(plugin, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), 65536u);
  std::ofstream(folder / "Cut.so", std::ios::binary).write(bytes.data(), 65536);
  std::ofstream(folder / "Copy.so", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

  const RunResult cut =
      RunTerminal("--info --plugin '" + (folder / "Cut.so").string() + "'", {.seconds = 10, .workingFolder = folder});
  EXPECT_EQ(cut.status, 1) << "not killed by SIGBUS";
  EXPECT_EQ(cut.output.rfind("tarnterm: cannot load " + (folder / "Cut.so").string() + ": its segment ", 0), 0u)
      << cut.output;
  EXPECT_TRUE(cut.output.ends_with(" of 65536): the file is cut short\n")) << cut.output;

  // Not on the library path: only in the current folder.
  const RunResult bare = RunTerminal("--info --plugin Copy.so", {.seconds = 10, .workingFolder = folder});
  EXPECT_EQ(bare.status, 0) << bare.output;
  EXPECT_EQ(bare.output.rfind("name: Allowed Group\n", 0), 0u) << bare.output;
}

}  // namespace
}  // namespace e2e
