// The terminal executable as a person runs it: its output, its exit status,
// and what the server's store holds afterwards; the folders and files a person
// may give it wrongly.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/plugin_harness.h"
#include "tests/shared_folder_run.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

using TerminalRun = SharedFolderRun;

// One add kept in a new store file; the same add against that store opened
// read-only by its URI is refused, said so, and leaves the store as it was.
TEST_F(TerminalRun, AReadOnlyStoreRefusesTheAddAndSaysSo) {
  const fs::path file = folder / "kept.db";
  const std::string script = " --script '" + ScriptFile("add", kAddOneGroup) + "'";
  const RunResult first = RunTerminal("--db '" + file.string() + "'" + script);
  ASSERT_EQ(first.status, 0) << first.output;
  ASSERT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups", file), 1);
  const RunResult second = RunTerminal("--db 'file:" + file.string() + "?mode=ro'" + script);
  EXPECT_EQ(second.status, 1) << second.output;
  for (const char* said : {"is read-only: every add and delete will fail",
                           "SERVER: ks_publish_allowed_group failed (status 3): server store: attempt to write a "
                           "readonly database",
                           "the server store failed 1 request(s)"}) {
    EXPECT_NE(second.output.find(said), std::string::npos) << second.output;
  }
  EXPECT_EQ(Sql("SELECT COUNT(*) FROM allowed_groups", file), 1);
}

// A script line that fails ends the run with status 1 and names the line
// and why; each case in a new store.
TEST_F(TerminalRun, AFailingScriptLineEndsTheRunAndSaysWhy) {
  struct Case {
    const char* name;
    std::string script;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {"keys", "hotkey Alt+Z\n", {"keys.script:1: no plug-in registered the hot key Alt+Z (registered: Alt+A)"}},
      // "Apply for all categories" disables the category combo.
      {"disabled",
       "hotkey Alt+A\n"
       "check \"Allowed Groups\" \"Apply for all categories\" on\n"
       "key \"Allowed Groups\" Category Delete\n",
       {"disabled.script:3: Category is disabled"}},
      // Both ends of a window's size are taken; one past the end is not.
      {"size",
       "hotkey Alt+A\n"
       "resize \"Allowed Groups\" 10000 10000\n"
       "resize \"Allowed Groups\" 1 1\n"
       "resize \"Allowed Groups\" 1 10001\n",
       {"size.script:4: resize takes a width and a height in pixels, from 1 to 10000"}},
      {"wide",
       "hotkey Alt+A\nresize \"Allowed Groups\" 10001 1\n",
       {"wide.script:2: resize takes a width and a height in pixels, from 1 to 10000"}},
      {"zero",
       "hotkey Alt+A\ncommand \"Allowed Groups\" \"Add Group\" 0\n",
       {"zero.script:2: command takes a number from 1 to 65535"}},
      // Four categories: #3 is the last.
      {"past", "hotkey Alt+A\nselect \"Allowed Groups\" Category \"#4\"\n", {"past.script:2: no item #4 in Category"}},
      // The list keeps GOLD while the store swaps it for SILVER: one row
      // each, so only the rows themselves tell them apart.
      {"stale",
       "hotkey Alt+A\n"
       "select \"Allowed Groups\" Category HNI\n"
       "select \"Allowed Groups\" Exhg-Seg MCX\n"
       "select \"Allowed Groups\" \"Instr Name\" FUTCOM\n"
       "select \"Allowed Groups\" Symbol GOLD\n"
       "click \"Allowed Groups\" \"Add Group\"\n"
       "click \"Allowed Groups\" \"View Group\"\n"
       "expect-server-rows \"View Allowed Group\" IDC_GROUP_LIST\n"
       "select \"Allowed Groups\" Symbol SILVER\n"
       "click \"Allowed Groups\" \"Add Group\"\n"
       "select \"Allowed Groups\" Symbol GOLD\n"
       "click \"Allowed Groups\" \"Delete Group\"\n"
       "expect-column \"View Allowed Group\" IDC_GROUP_LIST Symbol GOLD\n"
       "expect-server-rows \"View Allowed Group\" IDC_GROUP_LIST\n",
       {"stale.script:14: IDC_GROUP_LIST shows 1 rows, the server holds 1; shown, not held: "
        "\"HNI\tmcx_fo\tFUTCOM\tGOLD\tALL\t0.00\tALL\tALL\tALL\"; held, not shown: "
        "\"HNI\tmcx_fo\tFUTCOM\tSILVER\tALL\t0.00\tALL\tALL\tALL\""}},
      // A list scrolls to a row out of sight while its own rows are dragged,
      // down then up; not while another list's are (nor is the space below
      // its last row in sight when the rows fill it).
      {"drag",
       "hotkey Alt+A\n"
       "click \"Allowed Groups\" \"View Group\"\n"
       "command \"View Allowed Group\" IDC_GROUP_LIST 4004\n"
       "resize \" Column Profile\" 413 1\n"
       "drag \" Column Profile\" 10008 Category \"#8\"\n"
       "drag \" Column Profile\" 10008 Symbol \"#0\"\n"
       "rows \" Column Profile\" 10008\n"
       "drag \" Column Profile\" 10008 Category \" Column Profile\" 10007 \"#0\"\n"
       "drag \" Column Profile\" 10007 Category \" Column Profile\" 10008 \"#8\"\n",
       {"ROW: Exhg-Seg\nROW: Symbol\nROW: Instr Name\n", "ROW: Transaction Type\nROW: Category\n",
        "drag.script:9: row #8 to drop on stays out of sight: the list does not scroll to it"}},
  };
  for (const Case& c : cases) {
    fs::remove(folder / "server.db");
    const RunResult run = Run(c.name, c.script);
    EXPECT_EQ(run.status, 1) << c.name << ": " << run.output;
    for (const std::string& said : c.said) EXPECT_NE(run.output.find(said), std::string::npos) << run.output;
  }
}

TEST_F(TerminalRun, EmptyUserIdIsExplainedInTheLog) {
  const RunResult run = RunTerminal("--db :memory: --user '' --script '" + ScriptFile("user", "hotkey Alt+A\n") + "'");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("LOG: No user ID: the Allowed Groups plug-in sends no request without one"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("sent successfully"), std::string::npos) << run.output;
}

// A scrip master beside the executable with lines the server could not hold
// (which lines those are, the scrip master's own tests tell): each is told
// once as the terminal starts, on standard error and in its log, and the
// rest of the master loads.
TEST_F(TerminalRun, ScripMasterLinesTheServerCannotHoldAreToldOnceAtStart) {
  // The terminal reads the master beside itself: a copy of it, beside this one.
  const fs::path program = folder / "tarnterm";
  fs::copy_file(PluginHarness::BinaryFolder() + "/tarnterm", program);
  std::ofstream(folder / "scrips.csv") << "NFO,,OPTIDX,NIFTY,CE,26000,29Dec2026,\n"
                                          "NFO,,OPTIDX,NIFTY,CE,abc,29Dec2026,\n"
                                          "NFO,,OPTIDX,NIFTY,CE,26100,31Feb2027,\n"
                                          "NFO,,OPTIDX,NIFTY,CE,26100,26Jan2027\n";
  const RunResult run = RunTerminalAt(program.string(), "--db :memory: --plugin '" + PluginHarness::BinaryFolder() +
                                                            "/AllowedGroups.so' --script '" +
                                                            ScriptFile("add",
                                                                       "hotkey Alt+A\n"
                                                                       "select \"Allowed Groups\" 20000 HNI\n"
                                                                       "select \"Allowed Groups\" 20001 NFO\n"
                                                                       "select \"Allowed Groups\" 20002 OPTIDX\n"
                                                                       "select \"Allowed Groups\" 20003 NIFTY\n"
                                                                       "select \"Allowed Groups\" 9012 26000\n"
                                                                       "click \"Allowed Groups\" \"Add Group\"\n") +
                                                            "'");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string file = (folder / "scrips.csv").string();
  for (const std::string& said : {file + " line 2: strike \"abc\" ", file + " line 3: expiry \"31Feb2027\" ",
                                  file + " line 4: 7 fields where 8 are wanted"}) {
    EXPECT_EQ(Count(run.output, "tarnterm: " + said), 1u) << said << "\n" << run.output;
    EXPECT_EQ(Count(run.output, "LOG: " + said), 1u) << said << "\n" << run.output;
  }
  EXPECT_EQ(Count(run.output, file + " line"), 6u) << run.output;
  EXPECT_EQ(Count(run.output, "LOG: ks_add_allowed_group request sent successfully"), 1u) << run.output;
}

// --snapshots pictures each window as a run changes it, numbered in the order
// written, and a message box as it shows; a picture that cannot be written
// ends the run at its line.
TEST_F(TerminalRun, SnapshotsPictureTheWindowsAndBoxesAsARunShowsThem) {
  const std::string arguments = "--db :memory: --snapshots '" + (folder / "shots").string() + "' --script '" +
                                ScriptFile("box",
                                           "hotkey Alt+A\nclick \"Allowed Groups\" \"Add Group\"\n"
                                           "click \"Allowed Groups\" \"View Group\"\n") +
                                "'";
  const RunResult cut = RunTerminal(arguments, {.fileSizeLimit = 1024});
  EXPECT_EQ(cut.status, 1) << cut.output;
  EXPECT_NE(cut.output.find("box.script:1: cannot write "), std::string::npos) << cut.output;
  const RunResult run = RunTerminal(arguments);
  ASSERT_EQ(run.status, 0) << run.output;
  // "SNAPSHOT: <dir>/NNN-<window>.png", numbered 1, 2, 3, ... in the order written.
  const std::regex line("SNAPSHOT: (.*/([0-9]{3})-([a-z-]+)[.]png)\n");
  std::map<std::string, std::string> last;  // a window's file word, its last picture
  int expected = 1;
  for (auto it = std::sregex_iterator(run.output.begin(), run.output.end(), line); it != std::sregex_iterator(); ++it) {
    EXPECT_EQ(std::stoi((*it)[2].str()), expected++);
    last[(*it)[3]] = (*it)[1];
  }
  for (const char* window : {"allowed-groups", "view-allowed-group", "error"}) {
    EXPECT_TRUE(fs::is_regular_file(last[window])) << window << "\n" << run.output;
  }
  EXPECT_EQ(last.size(), 3u) << "the module's windows only, not the terminal's frame\n" << run.output;
  // A box without caption is pictured as it shows, before the line goes on.
  EXPECT_NE(run.output.find("BOX: Please Select a valid Category\nSNAPSHOT: " + last["error"] + "\n"),
            std::string::npos)
      << run.output;
}

// The terminal folder and the script as a person may give them wrongly: each
// refused with a sentence and status 1, quickly, never an abort.
TEST_F(TerminalRun, HomeFoldersThatCannotBeMadeEndWithStatusOneAndASentence) {
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
TEST_F(TerminalRun, ScriptsThatAreNoReadableFileEndWithinASecond) {
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

// The plug-in's file as a person may give it with --plugin: each run ends at
// once with a sentence and status 1, never a hang or a crash, and a name
// without a folder is the file in the current folder.
TEST_F(TerminalRun, ACutShortPluginCopyIsRefusedAndABareNameIsTheFileHere) {
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
