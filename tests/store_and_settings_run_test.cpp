// The store and the settings file against what an unlucky or hostile run
// gives the terminal: a wire log that names a file the run keeps, a wire
// log that cannot be written, a file size limit under every save, a
// settings file that cannot be written. Nothing kept is lost, each failure
// is said where a person sees it, and the run's status says it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

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
  ASSERT_EQ(RunTerminal(Arguments(Script("add", kAddOneGroup))).status, 0);
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
    const RunResult run = RunTerminal(
        Arguments("--wire-log '" + c.log.string() + "' " + Script("scripted", kAddOneGroup)), {.seconds = 10});
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
  ASSERT_EQ(RunTerminal(Arguments("--wire-log '" + log.string() + "' " + Script("again", kAddOneGroup))).status, 0);
  const std::string logged = ReadAll(log);
  EXPECT_EQ(logged.rfind("SEND earlier 00\nSEND ", 0), 0u) << logged;
  EXPECT_NE(logged.find("\nSEND ks_publish_allowed_group "), std::string::npos) << logged;
}

// A log that cannot take its lines (here: already at the file size limit)
// is said once, and the run ends with status 1 rather than 0.
TEST_F(StoreAndSettingsRun, AWireLogThatCannotBeWrittenIsToldOnceAndFailsTheRun) {
  const fs::path log = folder / "wire.log";
  std::ofstream(log) << std::string(4096, '#');
  const RunResult run = RunTerminal("--home '" + folder.string() + "' --db :memory: --wire-log '" + log.string() +
                                        "' " + "--script '" + ScriptFile("add", kAddOneGroup) + "'",
                                    {.fileSizeLimit = 4096});
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(Count(run.output, "tarnterm: the wire log cannot be written (File too large): its lines are lost"), 1u)
      << run.output;
  EXPECT_NE(run.output.find("LOG: ks_add_allowed_group request sent successfully"), std::string::npos)
      << "the run itself went on";
  EXPECT_EQ(fs::file_size(log), 4096u);
}

// Whichever dialog saves (the column profile dialog's Save, the appearance
// dialog's Apply), a failed save shows the one box with the file and why,
// and the file is kept whole: a read-only file, and one that the save
// would take past a file size limit, which fails as on a full disk (the
// terminal is not killed by SIGXFSZ) and leaves no temporary behind.
TEST_F(StoreAndSettingsRun, EveryFailedSaveShowsItsBoxWhicheverDialogSavedAndKeepsTheFile) {
  const fs::path settings = folder / "UserSetting.ini";
  const std::string profile =
      "[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,90,1,1,80,2,2,80,3,3,80,4,4,80,5,5,80,6,6,80,7,7,80,8,8,80\r\n";
  struct Case {
    std::string before;
    mode_t mode;
    RunLimits limits;
    const char* why;
  };
  for (const Case& c : {Case{profile, 0444, {}, "the file is read-only"},
                        Case{profile + std::string(16000, ';') + "\r\n",
                             0644,
                             {.fileSizeLimit = 8192},
                             "the file would pass the file size limit the terminal runs under"}}) {
    SCOPED_TRACE(c.why);
    std::ofstream(settings, std::ios::binary) << c.before;
    ::chmod(settings.c_str(), c.mode);
    const RunResult run = RunTerminal(
        "--home '" + folder.string() + "' --db :memory: --script '" + ScriptFile("save", kSaveBoth) + "'", c.limits);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Count(run.output, NotSavedBox(c.why)), 2u) << run.output;
    EXPECT_EQ(Count(run.output, "BOX: "), 2u) << "no other box:\n" << run.output;
    ::chmod(settings.c_str(), 0644);
    EXPECT_EQ(ReadAll(settings), c.before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 2) << "the settings and the script, no temporary";
  }
}

}  // namespace
}  // namespace e2e
