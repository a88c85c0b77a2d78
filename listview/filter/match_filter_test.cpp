#include "listview/filter/match_filter.h"

#include <gtest/gtest.h>

namespace listview {
namespace {

TEST(MatchFilter, AlternativesAndPrefixesIgnoreCase) {
  EXPECT_TRUE(MatchFilter("anything", "", false));
  EXPECT_TRUE(MatchFilter("BUY", "buy~sell", false));
  EXPECT_TRUE(MatchFilter("Selling", "buy~sell", false));
  EXPECT_FALSE(MatchFilter("hold", "buy~sell", false));
  EXPECT_TRUE(MatchFilter("sell", "~~sell~", false)) << "empty alternatives are skipped";
  EXPECT_FALSE(MatchFilter("x", "~", false)) << "only empty alternatives: nothing passes";
  EXPECT_FALSE(MatchFilter("bu", "buy", false)) << "the prefix is longer than the cell";
}

TEST(MatchFilter, Wildcards) {
  EXPECT_TRUE(MatchFilter("NIFTY FUT 26", "*fut*", false));
  EXPECT_FALSE(MatchFilter("NIFTY OPT", "*fut*", false));
  EXPECT_TRUE(MatchFilter("BANKFUT", "*fut", false));
  EXPECT_FALSE(MatchFilter("FUTIDX", "*fut", false));
  EXPECT_TRUE(MatchFilter("", "*", false));
  EXPECT_TRUE(MatchFilter("", "**", false));
  EXPECT_FALSE(MatchFilter("ab", "*abc", false));
}

TEST(MatchFilter, NumericBounds) {
  EXPECT_TRUE(MatchFilter("100.5", ">100", false));
  EXPECT_FALSE(MatchFilter("100", ">100", false));
  EXPECT_TRUE(MatchFilter("4.99", "<5", false));
  EXPECT_TRUE(MatchFilter("-3abc", "<5", false)) << "the number at the start counts";
  EXPECT_FALSE(MatchFilter("", "<5", false)) << "an empty cell reads as no number";
  EXPECT_FALSE(MatchFilter("NA", ">0", false));
  EXPECT_FALSE(MatchFilter("7", ">x", false)) << "a bound that is no number";
  EXPECT_TRUE(MatchFilter("7", "<1~>5", false));
}

TEST(MatchFilter, ExactModeWantsTheWholeCell) {
  EXPECT_TRUE(MatchFilter("buy", "BUY", true));
  EXPECT_FALSE(MatchFilter("buyer", "BUY", true));
  EXPECT_FALSE(MatchFilter("x*y", "*", true)) << "no wildcards in exact mode";
  EXPECT_TRUE(MatchFilter("SELL", "buy~sell", true));
}

}  // namespace
}  // namespace listview
