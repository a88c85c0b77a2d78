// The terminal folder and the script as a person may give them wrongly: each
// refused with a sentence and status 1, quickly, never an abort.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

using TerminalFolderRun = SharedFolderRun;

TEST_F(TerminalFolderRun, HomeFoldersThatCannotBeMadeEndWithStatusOneAndASentence) {
  std::ofstream(folder / "file") << "x";
  const std::string tooLong = (folder / std::string(300, 'n')).string();
  for (const std::string& home : {tooLong, (folder / "file" / "sub").string(), (folder / "file").string()}) {
    const RunResult run = RunTerminal("--db :memory: --home '" + home + "'", {.seconds = 10});
    EXPECT_EQ(run.status, 1) << home << "\n" << run.output;
    EXPECT_EQ(run.output.rfind("tarnterm: cannot make the terminal folder " + home + ": ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.find("terminate called"), std::string::npos) << run.output;
  }
}

// Nothing of the plug-in starts for them.
TEST_F(TerminalFolderRun, ScriptsThatAreNoReadableFileEndWithinASecond) {
  const std::string fifo = (folder / "pipe.script").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = (folder / "huge.script").string();
  { std::ofstream create(huge); }
  fs::resize_file(huge, 64ull << 20);  // sparse
  struct Case {
    std::string path, said;
  };
  for (const Case& c : {Case{"/dev/zero", "/dev/zero is not a regular file (a pipe or a device), not a script"},
                        Case{fifo, fifo + " is not a regular file (a pipe or a device), not a script"},
                        Case{huge, huge + " is 67108864 bytes, more than the 4194304 a script may have"},
                        Case{folder.string(), folder.string() + " is a directory, not a script"},
                        Case{fifo + "x", "cannot read script " + fifo + "x: No such file or directory"}}) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult run = RunTerminal("--db :memory: --script '" + c.path + "'", {.seconds = 10});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.path;
    EXPECT_EQ(run.status, 1) << c.path;
    EXPECT_EQ(run.output, "tarnterm: " + c.said + "\n");
  }
}

}  // namespace
}  // namespace e2e
