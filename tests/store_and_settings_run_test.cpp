// The store and the settings file against what an unlucky or hostile run
// gives the terminal: a wire log that names a file the run keeps, a wire
// log that cannot be written, a file size limit under every save, a
// settings file that cannot be written. Nothing kept is lost, each failure
// is said where a person sees it, and the run's status says it.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// tarnterm run as RunTerminal runs it, under a file size limit of `bytes`
// (ulimit -f), with SIGXFSZ as the shell leaves it. Status -1: killed.
RunResult RunUnderFileSizeLimit(const std::string& arguments, rlim_t bytes) {
  const std::string command = PluginHarness::BinaryFolder() + "/tarnterm " + arguments;
  int out[2];
  if (::pipe(out) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], 1);
    ::dup2(out[1], 2);
    ::close(out[0]);
    ::close(out[1]);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  RunResult run;
  char chunk[4096];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;) run.output.append(chunk, static_cast<size_t>(n));
  ::close(out[0]);
  int raw = 0;
  ::waitpid(child, &raw, 0);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

class StoreAndSettingsRun : public SharedFolderRun {
 protected:
  std::string Arguments(const std::string& rest) const {
    return "--home '" + folder.string() + "' --db '" + (folder / "server.db").string() + "' " + rest;
  }
  std::string Script(const std::string& name, const std::string& text) const {
    return "--script '" + ScriptFile(name, text) + "'";
  }
  // The box every failed save of the settings file shows.
  std::string NotSavedBox(const std::string& why) const {
    return "BOX: Error while saving settings to " + (folder / "UserSetting.ini").string() + ": " + why +
           ". The file was left as it was.\n";
  }

  static constexpr const char* kAddOne =
      "hotkey Alt+A\n"
      "select \"Allowed Groups\" Category HNI\n"
      "select \"Allowed Groups\" Exhg-Seg NSE\n"
      "click \"Allowed Groups\" \"Add Group\"\n";
  // Saves the column profile from its dialog, then the appearance from its.
  static constexpr const char* kSaveBoth =
      "hotkey Alt+A\n"
      "click \"Allowed Groups\" \"View Group\"\n"
      "command \"View Allowed Group\" 20016 4004\n"
      "click \" Column Profile\" 10005\n"
      "command \"View Allowed Group\" 20016 4009\n"
      "click \"Customize Appearance :rmsallowedgroups\" 1696\n";
};

// The log is appended to, and refused (status 1, one sentence, nothing
// touched) when it names a file the run keeps or no regular file.
TEST_F(StoreAndSettingsRun, AWireLogNeverTakesTheStoreTheSettingsOrAnythingButARegularFile) {
  ASSERT_EQ(RunTerminal(Arguments(Script("add", kAddOne))).status, 0);
  ASSERT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups"), 1);
  const fs::path store = folder / "server.db";
  const fs::path settings = folder / "UserSetting.ini";
  std::ofstream(settings, std::ios::binary) << "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,90\r\n";
  const std::string storeBefore = ReadAll(store);
  const fs::path fifo = folder / "wire.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(store, folder / "link.db");
  struct Case {
    fs::path log;
    std::string why;
  };
  for (const Case& c :
       {Case{store, "it is the server store (" + store.string() + "), which the log would damage"},
        Case{folder / "link.db", "it is the server store (" + store.string() + ")"},
        Case{folder / "." / "server.db-journal", "it is the server store's journal"},
        Case{settings, "it is the settings file (" + settings.string() + ")"},
        Case{folder / "scripted.script", "it is the script"},
        Case{fifo, "it is not a regular file (a pipe or a device)"},
        Case{"/dev/full", "it is not a regular file (a pipe or a device)"}, Case{folder, "it is a directory"}}) {
    const auto start = std::chrono::steady_clock::now();
    const RunResult run =
        RunTerminal(Arguments("--wire-log '" + c.log.string() + "' " + Script("scripted", kAddOne)), 10);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.log;
    EXPECT_EQ(run.status, 1) << c.log << "\n" << run.output;
    EXPECT_EQ(run.output.rfind("tarnterm: the wire log " + c.log.string() + " is refused: " + c.why, 0), 0u)
        << run.output;
    EXPECT_EQ(run.output.find("LOG:"), std::string::npos) << "nothing ran";
  }
  EXPECT_EQ(ReadAll(store), storeBefore) << "the store's groups are all there";
  EXPECT_EQ(ReadAll(settings), "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,90\r\n");
  EXPECT_FALSE(fs::exists(folder / "server.db-journal"));

  // A log of an earlier run keeps its lines; this run's follow them.
  const fs::path log = folder / "wire.log";
  std::ofstream(log) << "SEND earlier 00\n";
  ASSERT_EQ(RunTerminal(Arguments("--wire-log '" + log.string() + "' " + Script("again", kAddOne))).status, 0);
  const std::string logged = ReadAll(log);
  EXPECT_EQ(logged.rfind("SEND earlier 00\nSEND ", 0), 0u) << logged;
  EXPECT_NE(logged.find("\nSEND ks_publish_allowed_group "), std::string::npos) << logged;
}

// A log that cannot take its lines (here: already at the file size limit)
// is said once, and the run ends with status 1 rather than 0.
TEST_F(StoreAndSettingsRun, AWireLogThatCannotBeWrittenIsToldOnceAndFailsTheRun) {
  const fs::path log = folder / "wire.log";
  std::ofstream(log) << std::string(4096, '#');
  const RunResult run = RunUnderFileSizeLimit("--home '" + folder.string() + "' --db :memory: --wire-log '" +
                                                  log.string() + "' " + "--script '" + ScriptFile("add", kAddOne) + "'",
                                              4096);
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(Count(run.output, "tarnterm: the wire log cannot be written (File too large): its lines are lost"), 1u)
      << run.output;
  EXPECT_NE(run.output.find("LOG: ks_add_allowed_group request sent successfully"), std::string::npos)
      << "the run itself went on";
  EXPECT_EQ(fs::file_size(log), 4096u);
}

// Under a file size limit a save that would pass it fails as on a full
// disk: the box, the file kept; the terminal is not killed by SIGXFSZ.
TEST_F(StoreAndSettingsRun, ASaveUnderAFileSizeLimitIsAFailedSaveAndTheFileIsKept) {
  const fs::path settings = folder / "UserSetting.ini";
  const std::string before =
      "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,90,1,1,80,2,2,80,3,3,80,4,4,80,5,5,80,6,6,80,7,7,80,8,8,80\r\n" +
      std::string(16000, ';') + "\r\n";
  std::ofstream(settings, std::ios::binary) << before;
  const RunResult run = RunUnderFileSizeLimit(
      "--home '" + folder.string() + "' --db :memory: --script '" + ScriptFile("save", kSaveBoth) + "'", 8192);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_GE(Count(run.output, NotSavedBox("the file would pass the file size limit the terminal runs under")), 2u)
      << run.output;
  EXPECT_EQ(ReadAll(settings), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2) << "the settings and the script, no temporary";
}

// Whichever dialog saves, a failed save shows the one box with the file and
// why: the column profile dialog's Save and the appearance dialog's Apply.
TEST_F(StoreAndSettingsRun, EveryFailedSaveShowsTheSameBoxWhicheverDialogSaved) {
  const fs::path settings = folder / "UserSetting.ini";
  const std::string before =
      "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,90,1,1,80,2,2,80,3,3,80,4,4,80,5,5,80,6,6,80,"
      "7,7,80,8,8,80\r\n";
  std::ofstream(settings, std::ios::binary) << before;
  ::chmod(settings.c_str(), 0444);
  const RunResult run =
      RunTerminal("--home '" + folder.string() + "' --db :memory: --script '" + ScriptFile("save", kSaveBoth) + "'");
  EXPECT_EQ(run.status, 0) << run.output;
  const std::string box = NotSavedBox("the file is read-only");
  EXPECT_EQ(Count(run.output, box), 2u) << run.output;
  EXPECT_EQ(Count(run.output, "BOX: "), Count(run.output, box)) << "no other box:\n" << run.output;
  ::chmod(settings.c_str(), 0644);
  EXPECT_EQ(ReadAll(settings), before);
}

}  // namespace
}  // namespace e2e
