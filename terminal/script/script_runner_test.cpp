#include "terminal/script/script_runner.h"

#include <gtest/gtest.h>

#include "terminal/inspect/control_names.h"

namespace terminal {
namespace {

TEST(ScriptLines, QuotesEscapesAndComments) {
  std::string error;
  auto words = SplitScriptLine(R"(click "Allowed Groups" "Say \"hi\" \\ now"  # a comment "ignored)", error);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"click", "Allowed Groups", "Say \"hi\" \\ now"}));
  EXPECT_EQ(*SplitScriptLine("  \t# only a comment", error), std::vector<std::string>{});
  EXPECT_EQ(*SplitScriptLine(R"(type "W" 20000 "a#b")", error),
            (std::vector<std::string>{"type", "W", "20000", "a#b"}));
  EXPECT_EQ(*SplitScriptLine(R"(x "")", error), (std::vector<std::string>{"x", ""}));
  EXPECT_FALSE(SplitScriptLine(R"(click "open)", error));
  EXPECT_EQ(error, "unclosed quote");
  EXPECT_FALSE(SplitScriptLine(R"(click "ends in escape\")", error));
}

TEST(ControlNames, ReadsNameNumberLinesAndPassesOverTheRest) {
  const auto names =
      ControlNames::Parse("IDC_CATEGORY 20000\nIDC_EXCHANGE 20001\n\nbroken\nIDC_NEG -1\nIDC_X 7 extra\n");
  EXPECT_EQ(names.IdOf("IDC_EXCHANGE"), 20001);
  EXPECT_EQ(names.NameOf(20000), "IDC_CATEGORY");
  EXPECT_FALSE(names.IdOf("IDC_NEG"));
  EXPECT_FALSE(names.IdOf("IDC_X"));
  EXPECT_FALSE(names.IdOf("broken"));
  EXPECT_EQ(names.NameOf(7), "");
}

}  // namespace
}  // namespace terminal
