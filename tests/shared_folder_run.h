// The terminal executable run as a person runs it, beside the tests; and runs
// of it that share one terminal folder (--home) and one server store: what
// one run saves in UserSetting.ini, the next one reads back.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace e2e {

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr together
};

// How a run of the terminal is started: killed (status 124) after `seconds`
// when that is not 0; under a file size limit of `fileSizeLimit` bytes
// (ulimit -f, SIGXFSZ as the shell leaves it); in the current folder
// `workingFolder` when one is given.
struct RunLimits {
  int seconds = 0;
  rlim_t fileSizeLimit = RLIM_INFINITY;
  std::filesystem::path workingFolder = {};
};

// Runs tarnterm from beside the test executable with `arguments` (already
// quoted for the shell) and waits for it to exit. Status -1: killed by a
// signal.
RunResult RunTerminal(const std::string& arguments, const RunLimits& limits = {});
// The same with the terminal executable at `program` (a copy elsewhere,
// beside files of its own).
RunResult RunTerminalAt(const std::string& program, const std::string& arguments, const RunLimits& limits = {});

// The bytes of a file ("" when it cannot be read).
std::string ReadAll(const std::filesystem::path& file);
// How often `what` occurs in `text`.
size_t Count(const std::string& text, const std::string& what);

// One group added from the form, and the plug-in's line that says it went.
inline constexpr const char* kAddOneGroup =
    "hotkey Alt+A\n"
    "select \"Allowed Groups\" Category HNI\n"
    "select \"Allowed Groups\" Exhg-Seg NSE\n"
    "click \"Allowed Groups\" \"Add Group\"\n"
    "expect-log \"ks_add_allowed_group request sent successfully\"\n";

class SharedFolderRun : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("tarnterm_shared_" + std::to_string(::getpid()) + "_" +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  // Removed last, after a derived fixture's members (a plug-in that saves
  // its lists' layout as it unloads) are gone.
  ~SharedFolderRun() override { std::filesystem::remove_all(folder); }

  // Writes `text` into the shared folder as NAME.script; its path.
  std::string ScriptFile(const std::string& name, const std::string& text) const {
    const std::filesystem::path path = folder / (name + ".script");
    std::ofstream(path) << text;
    return path.string();
  }
  // One run of the terminal with this script, in the shared folder and store, with any further `options`.
  RunResult Run(const std::string& name, const std::string& script, const RunLimits& limits = {},
                const std::string& options = "") const {
    return RunTerminal("--db '" + (folder / "server.db").string() + "' --home '" + folder.string() + "' --script '" +
                           ScriptFile(name, script) + "' " + options,
                       limits);
  }
  // Runs `sql` on a store file, the shared one unless another is named: the
  // first column of the last row it gives as a number (0 without rows). A
  // store that cannot be opened or a statement that fails fails the test.
  int Sql(const std::string& sql, const std::filesystem::path& store = {}) const;
  // The text of UserSetting.ini in the shared folder.
  std::string Settings() const { return ReadAll(folder / "UserSetting.ini"); }

  std::filesystem::path folder;
};

}  // namespace e2e
