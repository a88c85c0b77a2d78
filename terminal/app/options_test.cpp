#include "terminal/app/options.h"

#include <gtest/gtest.h>

namespace terminal {
namespace {

TEST(TerminalOptions, RefusesBadLinesAndEmptyNamesAndPicturesTheDemoToo) {
  std::string error;
  EXPECT_FALSE(ParseOptions({"--user"}, error));
  EXPECT_EQ(error, "--user needs a value");
  EXPECT_FALSE(ParseOptions({"--colour"}, error));
  EXPECT_FALSE(ParseOptions({"--demo", "--script", "x"}, error));
  EXPECT_EQ(ParseOptions({"--demo", "--snapshots", "out"}, error)->snapshots, "out");
  EXPECT_FALSE(ParseOptions({"--snapshots"}, error));
  EXPECT_EQ(error, "--snapshots needs a value");
  // The user defaults to the documented one and may be emptied.
  EXPECT_EQ(ParseOptions({"--demo"}, error)->userId, "admin");
  EXPECT_EQ(ParseOptions({"--user", ""}, error)->userId, "");
  // Every option that names a file or a folder refuses an empty name; only
  // the user may be empty.
  for (const char* option : {"--home", "--plugin", "--db", "--wire-log", "--script", "--snapshots", "--window-map"}) {
    EXPECT_FALSE(ParseOptions({"--window", option, ""}, error)) << option;
    EXPECT_EQ(error, std::string(option) + " needs a value: it is empty");
  }
}

TEST(TerminalOptions, TheDesktopModeRunsAloneAndItsMapNeedsIt) {
  std::string error;
  const auto options = ParseOptions({"--window", "--window-map", "map.txt", "--db", "x.db"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_TRUE(options->window);
  EXPECT_EQ(options->windowMap, "map.txt");
  EXPECT_FALSE(ParseOptions({}, error)->window) << "headless unless asked";
  EXPECT_FALSE(ParseOptions({"--window", "--demo"}, error));
  EXPECT_FALSE(ParseOptions({"--script", "s", "--window"}, error));
  EXPECT_FALSE(ParseOptions({"--window-map", "map.txt"}, error));
  EXPECT_EQ(error, "--window-map needs --window");
}

}  // namespace
}  // namespace terminal
