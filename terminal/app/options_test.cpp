#include "terminal/app/options.h"

#include <gtest/gtest.h>

#include "terminal/script/script_runner.h"

namespace terminal {
namespace {

TEST(TerminalOptions, ParsesEveryOptionAndRefusesBadLines) {
  std::string error;
  const auto options = ParseOptions({"--user", "admin", "--home", "/tmp/t", "--db", ":memory:", "--wire-log", "w.log",
                                     "--script", "s.script", "--plugin", "p.so"},
                                    error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->userId, "admin");
  EXPECT_EQ(options->home, "/tmp/t");
  EXPECT_EQ(options->database, ":memory:");
  EXPECT_EQ(options->wireLog, "w.log");
  EXPECT_EQ(options->script, "s.script");
  EXPECT_EQ(options->pluginPath, "p.so");
  EXPECT_FALSE(options->demo);

  EXPECT_FALSE(ParseOptions({"--user"}, error));
  EXPECT_EQ(error, "--user needs a value");
  EXPECT_FALSE(ParseOptions({"--colour"}, error));
  EXPECT_FALSE(ParseOptions({"--demo", "--script", "x"}, error));
  EXPECT_TRUE(ParseOptions({"--info"}, error)->info);
}

TEST(ScriptLines, QuotesEscapesAndComments) {
  std::string error;
  auto words = SplitScriptLine(R"(click "Allowed Groups" "Say \"hi\" \\ now"  # a comment "ignored)", error);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"click", "Allowed Groups", "Say \"hi\" \\ now"}));
  EXPECT_EQ(*SplitScriptLine("  \t# only a comment", error), std::vector<std::string>{});
  EXPECT_EQ(*SplitScriptLine(R"(type "W" 20000 "a#b")", error), (std::vector<std::string>{"type", "W", "20000", "a#b"}));
  EXPECT_EQ(*SplitScriptLine(R"(x "")", error), (std::vector<std::string>{"x", ""}));
  EXPECT_FALSE(SplitScriptLine(R"(click "open)", error));
  EXPECT_EQ(error, "unclosed quote");
  EXPECT_FALSE(SplitScriptLine(R"(click "ends in escape\")", error));
}

}  // namespace
}  // namespace terminal
