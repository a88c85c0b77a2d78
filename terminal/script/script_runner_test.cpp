#include "terminal/script/script_runner.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "terminal/readout/control_names.h"
#include "terminal/script/script_verbs.h"

namespace terminal {
namespace {

TEST(ScriptLines, QuotesEscapesAndComments) {
  std::string error;
  auto words = SplitScriptLine(R"(click "Allowed Groups" "Say \"hi\" \\ C:\tmp"  # a comment "ignored)", error);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"click", "Allowed Groups", "Say \"hi\" \\ C:\\tmp"}));
  EXPECT_EQ(*SplitScriptLine("  \t# only a comment", error), std::vector<std::string>{});
  EXPECT_EQ(*SplitScriptLine(R"(type "W" 20000 "a#b")", error),
            (std::vector<std::string>{"type", "W", "20000", "a#b"}));
  EXPECT_EQ(*SplitScriptLine(R"(x "")", error), (std::vector<std::string>{"x", ""}));
  EXPECT_FALSE(SplitScriptLine(R"(click "open)", error));
  EXPECT_EQ(error, "unclosed quote");
  EXPECT_FALSE(SplitScriptLine(R"(click "ends in escape\")", error));
}

// Each verb is found by its name, once, and its usage line starts with that
// name and has as many words as the verb checks for (the optional ones and
// the repeated ones aside), so a line of the wrong shape is told the shape
// the verb really takes.
TEST(ScriptVerbs, EachVerbIsFoundByItsNameAndItsUsageShowsItsShape) {
  std::set<std::string_view> names;
  for (const Verb& verb : ScriptVerbs()) {
    EXPECT_TRUE(names.insert(verb.name).second) << verb.name << " is listed twice";
    EXPECT_EQ(FindVerb(verb.name), &verb) << verb.name;
    std::string error;
    const auto words = SplitScriptLine(std::string(verb.usage), error);
    ASSERT_TRUE(words) << verb.usage;
    ASSERT_FALSE(words->empty());
    EXPECT_EQ((*words)[0], verb.name);
    size_t required = 0;
    for (const std::string& word : *words) required += word.front() != '[' && word.find("...") == std::string::npos;
    if (verb.atLeast) {
      EXPECT_LE(required, verb.words) << verb.usage;
    } else {
      EXPECT_EQ(required, verb.words) << verb.usage;
    }
    EXPECT_NE(verb.run, nullptr) << verb.name;
    EXPECT_EQ(verb.target == Verb::Target::kControl, verb.wanted != nullptr) << verb.name;
  }
  EXPECT_EQ(names.size(), 30u);
  EXPECT_EQ(FindVerb("bogus"), nullptr);
}

TEST(ControlNames, ReadsNameNumberLinesAndPassesOverTheRest) {
  const auto names =
      ControlNames::Parse("IDC_CATEGORY 20000\nIDC_EXCHANGE 20001\n\nbroken\nIDC_NEG -1\nIDC_X 7 extra\n");
  EXPECT_EQ(names.IdOf("IDC_EXCHANGE"), 20001);
  EXPECT_EQ(names.NameOf(20000), "IDC_CATEGORY");
  for (const char* passedOver : {"IDC_NEG", "IDC_X", "broken"}) EXPECT_FALSE(names.IdOf(passedOver)) << passedOver;
  EXPECT_EQ(names.NameOf(7), "");
}

}  // namespace
}  // namespace terminal
