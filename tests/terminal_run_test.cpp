// The terminal executable as a person runs it: its output, its exit status,
// and what the server's store holds afterwards.
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <regex>
#include <set>
#include <vector>

#include "tests/png_picture.h"
#include "platform/window/metrics.h"
#include "platform/window/messages.h"
#include "resources/module_resources.h"
#include "tests/plugin_harness.h"
#include "tests/terminal_process.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

class TerminalRun : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("tarnterm_run_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder, ec);
  }

  // Runs tarnterm with the arguments (each single-quoted for the shell).
  static RunResult Terminal(const std::string& arguments) { return RunTerminal(arguments); }

  std::string Script(const std::string& name, const std::string& text) const {
    const fs::path path = folder / name;
    std::ofstream(path) << text;
    return path.string();
  }

  // The number of groups a store file holds, read past the terminal.
  static int StoredGroups(const fs::path& database) {
    sqlite3* db = nullptr;
    int count = -1;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM allowed_groups", -1, &stmt, nullptr) == SQLITE_OK &&
          sqlite3_step(stmt) == SQLITE_ROW) {
        count = sqlite3_column_int(stmt, 0);
      }
      sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return count;
  }

  static constexpr const char* kAddOne =
      "hotkey Alt+A\n"
      "select \"Allowed Groups\" Category HNI\n"
      "select \"Allowed Groups\" Exhg-Seg NSE\n"
      "click \"Allowed Groups\" \"Add Group\"\n"
      "expect-log \"ks_add_allowed_group request sent successfully\"\n";

  // Adds one group to a new store file, then runs the same add against it
  // opened as `database` and checks that the refusal is reported and nothing
  // claims to have stored it.
  void ExpectRefusedAdd(const fs::path& file, const std::string& database) {
    const std::string script = Script("add.script", kAddOne);
    const RunResult first = Terminal("--db '" + file.string() + "' --script '" + script + "'");
    ASSERT_EQ(first.status, 0) << first.output;
    ASSERT_EQ(StoredGroups(file), 1);

    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const RunResult second = Terminal("--db '" + database + "' --script '" + script + "'");
    EXPECT_EQ(second.status, 1) << second.output;
    EXPECT_NE(second.output.find("is read-only: every add and delete will fail"), std::string::npos) << second.output;
    EXPECT_NE(second.output.find("SERVER: ks_publish_allowed_group failed (status 3): server store: attempt to write a "
                                 "readonly database"),
              std::string::npos)
        << second.output;
    EXPECT_NE(second.output.find("the server store failed 1 request(s)"), std::string::npos) << second.output;
    EXPECT_EQ(StoredGroups(file), 1);
  }

  fs::path folder;
};

TEST_F(TerminalRun, ReadOnlyStoreUriRefusesTheAddAndSaysSo) {
  const fs::path file = folder / "server.db";
  ExpectRefusedAdd(file, "file:" + file.string() + "?mode=ro");
}

TEST_F(TerminalRun, ReadOnlyStoreFileRefusesTheAddAndSaysSo) {
  if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not stop root; the URI variant covers this";
  const fs::path file = folder / "server.db";
  ExpectRefusedAdd(file, file.string());
}

TEST_F(TerminalRun, ScriptsThatAreNoReadableFileFailBeforeAnythingRuns) {
  RunResult run = Terminal("--db :memory: --script '" + folder.string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find(folder.string() + " is a directory, not a script"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("PLUGIN:"), std::string::npos) << "nothing starts";

  run = Terminal("--db :memory: --script '" + (folder / "missing.script").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("cannot read script"), std::string::npos) << run.output;
}

TEST_F(TerminalRun, UnknownHotKeyFailsTheScriptAndNamesTheKnownOnes) {
  const RunResult run = Terminal("--db :memory: --script '" + Script("keys.script", "hotkey Alt+Z\n") + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find(":1: no plug-in registered the hot key Alt+Z (registered: Alt+A)"), std::string::npos)
      << run.output;
}

TEST_F(TerminalRun, KeysGoToAComboBoxWhileItTakesInputAndSayWhyNot) {
  // The category combo hands the focus to its edit field: keys are taken
  // there (End, then Backspace erases the last letter typed). Once "Apply
  // for all categories" disables it, the error says so.
  const RunResult run = Terminal("--db :memory: --script '" +
                                 Script("combo.script",
                                        "hotkey Alt+A\n"
                                        "type \"Allowed Groups\" Category \"RETX\"\n"
                                        "key \"Allowed Groups\" Category End\n"
                                        "key \"Allowed Groups\" 20000 Backspace\n"
                                        "dump \"Allowed Groups\"\n"
                                        "check \"Allowed Groups\" \"Apply for all categories\" on\n"
                                        "key \"Allowed Groups\" Category Delete\n") +
                                 "'");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("combo.script:7: Category is disabled"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("    Edit #1001 \"RET\""), std::string::npos) << run.output;
}

TEST_F(TerminalRun, ListHeldAgainstTheStoreComparesRowsNotTheirCount) {
  // The list keeps GOLD while the store swaps it for SILVER: one row each,
  // so only the rows themselves tell them apart.
  const RunResult run = Terminal("--db :memory: --script '" +
                                 Script("stale.script",
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
                                        "expect-server-rows \"View Allowed Group\" IDC_GROUP_LIST\n") +
                                 "'");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("stale.script:14: IDC_GROUP_LIST shows 1 rows, the server holds 1; shown, not held: "
                            "\"HNI\tmcx_fo\tFUTCOM\tGOLD\tALL\t0.00\tALL\tALL\tALL\"; held, not shown: "
                            "\"HNI\tmcx_fo\tFUTCOM\tSILVER\tALL\t0.00\tALL\tALL\tALL\""),
            std::string::npos)
      << run.output;
}

TEST_F(TerminalRun, ExpectColumnNamesWhatTheColumnShows) {
  const RunResult run = Terminal("--db :memory: --script '" +
                                 Script("column.script",
                                        "hotkey Alt+A\n"
                                        "click \"Allowed Groups\" \"View Group\"\n"
                                        "expect-column \"View Allowed Group\" IDC_GROUP_LIST Symbol\n"
                                        "expect-column \"View Allowed Group\" IDC_GROUP_LIST Symbol GOLD\n") +
                                 "'");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("column.script:4: the column \"Symbol\" of IDC_GROUP_LIST shows nothing"),
            std::string::npos)
      << run.output;
}

TEST_F(TerminalRun, AMissingTerminalFolderIsMadeAndTheListsLayoutSavedInIt) {
  const fs::path home = folder / "new" / "home";
  const RunResult run = Terminal("--db :memory: --home '" + home.string() + "' --script '" +
                                 Script("view.script",
                                        "hotkey Alt+A\n"
                                        "click \"Allowed Groups\" \"View Group\"\n") +
                                 "'");
  EXPECT_EQ(run.status, 0) << run.output;
  ASSERT_TRUE(fs::is_directory(home));
  std::ifstream settings(home / "UserSetting.ini");
  const std::string text((std::istreambuf_iterator<char>(settings)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("rmsallowedgroups"), std::string::npos) << text;

  // A file where the folder should be is said, and nothing runs.
  std::ofstream(folder / "taken") << "x";
  const RunResult refused = Terminal("--db :memory: --home '" + (folder / "taken").string() + "'");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find("cannot make the terminal folder " + (folder / "taken").string()), std::string::npos)
      << refused.output;
  EXPECT_EQ(refused.output.find("PLUGIN:"), std::string::npos) << refused.output;
}

TEST_F(TerminalRun, EmptyUserIdIsExplainedInTheLog) {
  const RunResult run = Terminal("--db :memory: --user '' --script '" + Script("user.script", "hotkey Alt+A\n") + "'");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("LOG: No user ID: the Allowed Groups plug-in sends no request without one"),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("sent successfully"), std::string::npos) << run.output;
}

// "Reposition Columns" on the View Allowed Group list: a column dragged to a
// new place and one dragged out of sight, saved; the next run of the
// terminal in the same folder shows that layout from the settings file.
TEST_F(TerminalRun, TheColumnProfileSavedFromTheDialogIsTheNextRunsLayout) {
  const std::string home = " --db :memory: --home '" + folder.string() + "' --script '";
  const RunResult first = Terminal(home +
                                   Script("arrange.script",
                                          "hotkey Alt+A\n"
                                          "click \"Allowed Groups\" \"View Group\"\n"
                                          "command \"View Allowed Group\" 20016 4004\n"
                                          "drag \" Column Profile\" 10008 Symbol Category\n"
                                          "drag \" Column Profile\" 10008 \"Product Type\" "
                                          "\" Column Profile\" 10007 \"#0\"\n"
                                          "rows \" Column Profile\" 10007\n"
                                          "click \" Column Profile\" 10005\n"
                                          "rows \"View Allowed Group\" 20016\n") +
                                   "'");
  ASSERT_EQ(first.status, 0) << first.output;
  const std::string layout =
      "COLS: Category\tSymbol\tExhg-Seg\tInstr Name\tOption Type\tStrike Price\tExpiry Date\tTransaction Type\n";
  EXPECT_NE(first.output.find("COLS: Available Columns\nROW: Product Type\n"), std::string::npos) << first.output;
  EXPECT_NE(first.output.find(layout), std::string::npos) << first.output;

  std::ifstream file(folder / "UserSetting.ini");
  const std::string settings((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(settings.find("[rmsallowedgroups]\r\nCOLUMNPROFILE=0,0,80,1,2,80,2,3,80,3,1,80,4,4,80,5,5,80,6,6,80,7,-1,0,"
                          "8,7,80\r\n"),
            std::string::npos)
      << settings;

  const RunResult second = Terminal(home +
                                    Script("again.script",
                                           "hotkey Alt+A\n"
                                           "click \"Allowed Groups\" \"View Group\"\n"
                                           "rows \"View Allowed Group\" 20016\n") +
                                    "'");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_NE(second.output.find(layout), std::string::npos) << second.output;
}

TEST_F(TerminalRun, DragRefusesRowsItCannotFindAndListsThatDoNotDrag) {
  RunResult run = Terminal(" --db :memory: --script '" +
                           Script("missing.script",
                                  "hotkey Alt+A\n"
                                  "click \"Allowed Groups\" \"View Group\"\n"
                                  "command \"View Allowed Group\" 20016 4004\n"
                                  "drag \" Column Profile\" 10008 Nothing Category\n") +
                           "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("missing.script:4: no row Nothing in 10008"), std::string::npos) << run.output;

  run = Terminal(" --db :memory: --script '" +
                 Script("plain.script", std::string(kAddOne) + "click \"Allowed Groups\" \"View Group\"\n"
                                                               "drag \"View Allowed Group\" 20016 \"#0\" \"#0\"\n") +
                 "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("plain.script:7: 20016 does not drag its rows"), std::string::npos) << run.output;
}

// ---- Pictures ----

// The picture size a dialog template gives: client MulDiv(cx, 6, 4) x
// MulDiv(cy, 13, 8) in "MS Shell Dlg" 8, with its frame and caption.
SIZE PictureSize(const platform::DialogTemplate& t) {
  const int frame = (t.style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
  return SIZE{MulDiv(t.cx, 6, 4) + 2 * frame, MulDiv(t.cy, 13, 8) + 2 * frame + GetSystemMetrics(SM_CYCAPTION)};
}

// Bands of text, top to bottom, in a strip of the picture: runs of at least
// four pixel rows in which the strip holds more than one colour. Edges,
// empty rows and filter boxes are one colour across the strip; a line of
// text is not.
int TextBands(const PngPicture& image, int left, int right, int top) {
  int bands = 0;
  int run = 0;
  for (int y = top; y <= image.height; ++y) {
    std::set<COLORREF> colours;
    for (int x = left; y < image.height && x < right; ++x) colours.insert(image.At(x, y));
    if (colours.size() > 1) {
      ++run;
      continue;
    }
    if (run >= 4) ++bands;
    run = 0;
  }
  return bands;
}

TEST_F(TerminalRun, TheDemoWritesNumberedPicturesOfTheFormAndTheListShowingItsRows) {
  const fs::path pictures = folder / "pictures";
  const RunResult run =
      Terminal("--db :memory: --home '" + folder.string() + "' --demo --snapshots '" + pictures.string() + "'");
  ASSERT_EQ(run.status, 0) << run.output;

  // "SNAPSHOT: <dir>/NNN-<window>.png", numbered 1, 2, 3, ... in the order written.
  const std::regex line("SNAPSHOT: (.*/([0-9]{3})-([a-z-]+)[.]png)\n");
  std::string lastForm, lastView;
  int expected = 1;
  const size_t lastRows = run.output.rfind("> rows \"View Allowed Group\"");
  ASSERT_NE(lastRows, std::string::npos) << run.output;
  for (auto it = std::sregex_iterator(run.output.begin(), run.output.end(), line); it != std::sregex_iterator(); ++it) {
    EXPECT_EQ(std::stoi((*it)[2].str()), expected++);
    if ((*it)[3] == "allowed-groups") lastForm = (*it)[1];
    // The list as the last "rows" line printed it.
    if ((*it)[3] == "view-allowed-group" && static_cast<size_t>(it->position()) < lastRows) lastView = (*it)[1];
  }
  ASSERT_FALSE(lastForm.empty()) << run.output;
  ASSERT_FALSE(lastView.empty()) << run.output;

  const auto form = ReadPng(lastForm);
  ASSERT_TRUE(form.has_value()) << lastForm;
  const SIZE formSize = PictureSize(resources::AllowedGroupsTemplate());
  EXPECT_EQ(form->width, formSize.cx);
  EXPECT_EQ(form->height, formSize.cy);

  const auto view = ReadPng(lastView);
  ASSERT_TRUE(view.has_value()) << lastView;
  const SIZE viewSize = PictureSize(resources::ViewAllowedGroupTemplate());
  EXPECT_EQ(view->width, viewSize.cx);
  EXPECT_EQ(view->height, viewSize.cy);

  // The rows printed after the last "rows" line, against the lines of text in
  // one column of the picture: the header's caption, then one a row.
  int rows = 0;
  for (size_t at = run.output.find("\nROW: ", lastRows); at != std::string::npos;
       at = run.output.find("\nROW: ", at + 1)) {
    ++rows;
  }
  ASSERT_GT(rows, 0) << run.output;
  // The strip lies in the second column ("Exhg-Seg"), clear of its filter
  // button: the demo filters on the first column, whose filter box then
  // holds a line of text of its own.
  const int top = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(TextBands(*view, 95, 150, top), rows + 1) << lastView;
}

TEST_F(TerminalRun, SnapshotWritesAPictureOfAWindowOrSaysWhyNot) {
  const fs::path png = folder / "form.png";
  const fs::path svg = folder / "form.svg";
  const RunResult run = Terminal("--db :memory: --script '" +
                                 Script("pictures.script",
                                        "hotkey Alt+A\n"
                                        "snapshot \"Allowed Groups\" \"" +
                                            png.string() +
                                            "\"\n"
                                            "snapshot \"Allowed Groups\" \"" +
                                            svg.string() +
                                            "\"\n"
                                            "snapshot \"Allowed Groups\" /no/such/folder/x.png\n") +
                                 "'");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_NE(run.output.find("pictures.script:4: cannot write /no/such/folder/x.png"), std::string::npos) << run.output;
  const auto picture = ReadPng(png.string());
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, PictureSize(resources::AllowedGroupsTemplate()).cx);
  std::string text;
  std::getline(std::ifstream(svg), text, '\0');
  EXPECT_NE(text.find("<svg"), std::string::npos);

  // A message box is no window: its picture is written as it shows.
  const fs::path boxes = folder / "boxes";
  const RunResult box = Terminal("--db :memory: --snapshots '" + boxes.string() + "' --script '" +
                                 Script("box.script", "hotkey Alt+A\nclick \"Allowed Groups\" \"Add Group\"\n") + "'");
  EXPECT_EQ(box.status, 0) << box.output;
  const std::string announced = "BOX: Please Select a valid Category\nSNAPSHOT: ";
  const size_t shown = box.output.find(announced);
  ASSERT_NE(shown, std::string::npos) << box.output;
  const size_t from = shown + announced.size();
  const std::string boxPath = box.output.substr(from, box.output.find('\n', from) - from);
  EXPECT_NE(boxPath.find("-error.png"), std::string::npos) << boxPath;
  const auto boxPicture = ReadPng(boxPath);
  ASSERT_TRUE(boxPicture.has_value()) << boxPath;
  EXPECT_LT(boxPicture->width, PictureSize(resources::AllowedGroupsTemplate()).cx);

  std::ofstream(folder / "a-file") << "x";
  const RunResult refused = Terminal("--db :memory: --snapshots '" + (folder / "a-file").string() + "'");
  EXPECT_EQ(refused.status, 1) << refused.output;
  EXPECT_NE(refused.output.find("cannot make the snapshot folder"), std::string::npos) << refused.output;
}

}  // namespace
}  // namespace e2e
