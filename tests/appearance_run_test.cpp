// A list's appearance across two runs of the terminal with one --home: the
// first chooses colours, font and a keyword colour and applies them, the
// second finds them in UserSetting.ini and shows them again.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/plugin_harness.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Runs tarnterm from beside the test executable; stdout and stderr together.
std::string RunTerminal(const std::string& arguments, int& status) {
  const std::string command = PluginHarness::BinaryFolder() + "/tarnterm " + arguments + " 2>&1";
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int raw = ::pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(AppearanceRun, TheAppliedLineIsStoredAsTextAndTheNextRunShowsItAgain) {
  const char* source = std::getenv("AG_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "AG_SOURCE_DIR names the source tree";
  const fs::path home = fs::temp_directory_path() / ("appearance_run_" + std::to_string(::getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  const std::string common = "--db :memory: --home '" + home.string() + "' --script ";

  int status = -1;
  const std::string first =
      RunTerminal(common + "'" + std::string(source) + "/tests/scripts/appearance.script'", status);
  ASSERT_EQ(status, 0) << first;
  EXPECT_NE(first.find("ROW: B\t"), std::string::npos) << "the dialog shows the keyword as typed\n" << first;
  const std::string settings = ReadFile(home / "UserSetting.ini");
  // Colours are the platform's COLORREF (blue in the high byte), in hexadecimal.
  EXPECT_NE(settings.find("[CUSTOMIZE_LISTS]\r\nrmsallowedgroups-20016=800000,FFFF,DejaVu Sans,10,8,b,FF00,\r\n"),
            std::string::npos)
      << settings;

  const fs::path second = home / "second.script";
  std::ofstream(second) << "hotkey Alt+A\n"
                           "click \"Allowed Groups\" \"View Group\"\n"
                           "command \"View Allowed Group\" IDC_GROUP_LIST 4009\n"
                           "dump \"Customize Appearance :rmsallowedgroups\"\n"
                           "select \"Customize Appearance :rmsallowedgroups\" IDC_APPEARANCE_PROPERTY \"Text\"\n"
                           "rows \"Customize Appearance :rmsallowedgroups\" IDC_KEYWORD_LIST\n";
  const std::string again = RunTerminal(common + "'" + second.string() + "'", status);
  ASSERT_EQ(status, 0) << again;
  EXPECT_NE(again.find("DejaVu Sans (10)"), std::string::npos) << again;
  EXPECT_NE(again.find("Transaction Type"), std::string::npos) << again;
  EXPECT_NE(again.find("ROW: b\t"), std::string::npos) << "stored lower case\n" << again;
  EXPECT_EQ(ReadFile(home / "UserSetting.ini"), settings) << "showing the dialog writes nothing";
  fs::remove_all(home);
}

}  // namespace
}  // namespace e2e
