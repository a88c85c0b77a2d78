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

// The store and the settings file against what an unlucky or hostile run
// gives the terminal: a wire log that names a file the run keeps, a wire
// log that cannot be written, a file size limit under every save, a
// settings file that cannot be written. Nothing kept is lost, each failure
// is said where a person sees it, and the run's status says it.
class StoreAndSettingsRun : public SharedFolderRun {
 protected:
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
  ASSERT_EQ(Run("add", kAddOneGroup).status, 0);
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
    const RunResult run = Run("scripted", kAddOneGroup, {.seconds = 10}, "--wire-log '" + c.log.string() + "'");
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
  const std::string script = std::string(kAddOneGroup) + "click \"Allowed Groups\" \"View Group\"\n";
  ASSERT_EQ(Run("again", script, {}, "--wire-log '" + log.string() + "'").status, 0);
  const std::string logged = ReadAll(log);
  EXPECT_EQ(logged.rfind("SEND earlier 00\nSEND ", 0), 0u) << logged;
  EXPECT_NE(logged.find("\nRECV ks_get_all_allowed_groups "), std::string::npos) << "a list's replies too\n" << logged;
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

// A person shapes the View Allowed Group list in one run of the terminal: a
// computed column over "Strike Price", a column moved and one hidden in the
// column profile dialog, colours and a keyword for "Transaction Type", two
// values chosen in a filter pop-up. A second run in the same terminal folder
// must show that list again, read back from UserSetting.ini alone.
// Three NIFTY options for HNI: 25800 and 26000 calls, a 26100 put.
constexpr const char* kGroups = R"(hotkey Alt+A
select "Allowed Groups" Category HNI
select "Allowed Groups" Exhg-Seg NFO
select "Allowed Groups" "Instr Name" OPTIDX
select "Allowed Groups" Symbol NIFTY
select "Allowed Groups" Type CE
select "Allowed Groups" IDC_STRIKE 25800
click "Allowed Groups" "Add Group"
select "Allowed Groups" IDC_STRIKE 26000
click "Allowed Groups" "Add Group"
select "Allowed Groups" Type PE
select "Allowed Groups" IDC_STRIKE 26100
click "Allowed Groups" "Add Group"
click "Allowed Groups" "View Group"
)";

constexpr const char* kShape = R"(command "View Allowed Group" IDC_GROUP_LIST 33079
type "rmsallowedgroups: Add Custom Columns" IDC_UC_NAME "Double Strike"
select "rmsallowedgroups: Add Custom Columns" IDC_UC_COLUMNS "Strike Price"
click "rmsallowedgroups: Add Custom Columns" "*"
key "rmsallowedgroups: Add Custom Columns" IDC_UC_FORMULA End
type "rmsallowedgroups: Add Custom Columns" IDC_UC_FORMULA "2"
click "rmsallowedgroups: Add Custom Columns" Add
command "View Allowed Group" IDC_GROUP_LIST 4004
drag " Column Profile" 10008 Symbol Category
drag " Column Profile" 10008 "Product Type" " Column Profile" 10007 "#0"
click " Column Profile" 10005
command "View Allowed Group" IDC_GROUP_LIST 4009
answer-color 000080
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
select "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_PROPERTY "Text"
click "Customize Appearance :rmsallowedgroups" "..."
select "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_COLUMN "Transaction Type"
answer-color 00FF00
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
type "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_EDIT "ALL"
click "Customize Appearance :rmsallowedgroups" IDC_KEYWORD_ADD
answer-color FFFF00
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_COLOR
click "Customize Appearance :rmsallowedgroups" IDC_APPEARANCE_APPLY
filter-button "View Allowed Group" IDC_GROUP_LIST "Strike Price"
select "" 1032 25800.00
select "" 1032 26100.00
key "" 1032 Enter
rows "View Allowed Group" IDC_GROUP_LIST
)";

// Symbol moved after Category, "Product Type" hidden, the computed column last.
constexpr const char* kLayout =
    "COLS: Category\tSymbol\tExhg-Seg\tInstr Name\tOption Type\tStrike Price\tExpiry Date\tTransaction Type\t"
    "Double Strike\n";

TEST_F(StoreAndSettingsRun, TheShapedListComesBackFromTheSettingsFile) {
  const RunResult first = Run("shape", std::string(kGroups) + kShape);
  ASSERT_EQ(first.status, 0) << first.output;
  // The two strikes chosen in the pop-up leave two rows.
  const size_t shown = first.output.rfind("COLS: ");
  ASSERT_NE(shown, std::string::npos) << first.output;
  const std::string filtered = std::string(kLayout) +
                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tPE\t26100.00\tALL\tALL\t52200.00\n"
                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t25800.00\tALL\tALL\t51600.00\n";
  EXPECT_EQ(first.output.substr(shown, filtered.size()), filtered);
  EXPECT_EQ(first.output.find("ROW:", shown + filtered.size()), std::string::npos) << "two rows only\n" << first.output;

  // Each column as index, position (-1: hidden) and width; the computed
  // column with its name, its stored formula (columns by index) and the
  // formula as typed. Then the look: navy background, yellow text, the
  // font, keyword column 8 ("Transaction Type") with "all" in green.
  const std::string settings = Settings();
  EXPECT_EQ(settings,
            "[rmsallowedgroups]\r\n"
            "COLUMNPROFILE=0,0,80,1,2,80,2,3,80,3,1,80,4,4,80,5,5,80,6,6,80,7,-1,0,8,7,80,"
            "9,8,100,Double Strike# \"5\" * 2#\"Strike Price\" * 2\r\n"
            "[CUSTOMIZE_LISTS]\r\n"
            "rmsallowedgroups-20016=800000,FFFF,MS Shell Dlg 2,8,8,all,FF00,\r\n");

  const RunResult again = Run("again",
                              "hotkey Alt+A\n"
                              "click \"Allowed Groups\" \"View Group\"\n"
                              "rows \"View Allowed Group\" IDC_GROUP_LIST\n"
                              "command \"View Allowed Group\" IDC_GROUP_LIST 4009\n"
                              "select \"Customize Appearance :rmsallowedgroups\" IDC_APPEARANCE_PROPERTY Text\n"
                              "rows \"Customize Appearance :rmsallowedgroups\" IDC_KEYWORD_LIST\n");
  ASSERT_EQ(again.status, 0) << again.output;
  // Filters are not kept: all three rows, in the saved layout.
  EXPECT_NE(
      again.output.find(std::string(kLayout) + "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tPE\t26100.00\tALL\tALL\t52200.00\n"
                                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t26000.00\tALL\tALL\t52000.00\n"
                                               "ROW: HNI\tNIFTY\tnse_fo\tOPTIDX\tCE\t25800.00\tALL\tALL\t51600.00\n"),
      std::string::npos)
      << again.output;
  EXPECT_NE(again.output.find("ROW: all\t"), std::string::npos) << "the keyword read back\n" << again.output;
  EXPECT_EQ(Settings(), settings) << "reading the layout back writes nothing new";
}

}  // namespace
}  // namespace e2e
