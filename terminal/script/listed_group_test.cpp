#include "terminal/script/listed_group.h"

#include <gtest/gtest.h>

namespace terminal {
namespace {

std::string NoLookup(const std::string&) { return "unexpected"; }

TEST(ListedGroup, UnrestrictedFieldsReadAllTheStrikeScalesBySegmentAndOtherShapesAreRefused) {
  const auto nfo = ListedGroup("HNI\tnse_fo\tOPTIDX\tNIFTY\tCE\t2580000\t\t\t", NoLookup);
  ASSERT_TRUE(nfo);
  EXPECT_EQ(*nfo, (ListedGroupCells{"HNI", "nse_fo", "OPTIDX", "NIFTY", "CE", "25800.00", "ALL", "ALL", "ALL"}));

  EXPECT_EQ(ListedGroup("RETAIL\tcde_fo\t\t\t\t452500000\t\tNRML\tBUY", NoLookup),
            (ListedGroupCells{"RETAIL", "cde_fo", "ALL", "ALL", "ALL", "45.25", "ALL", "NRML", "BUY"}));
  EXPECT_EQ((*ListedGroup("RETAIL\tnse_fo\t\t\t\t125050\t\t\t", NoLookup))[5], "1250.50");
  EXPECT_EQ((*ListedGroup("RETAIL\tnse_cm\t\t\t\t\t\t\t", NoLookup))[5], "0.00") << "no strike given";
  // Texts of another shape are refused.
  EXPECT_FALSE(ListedGroup("", NoLookup));
  EXPECT_FALSE(ListedGroup("HNI\tnse_fo", NoLookup));
  EXPECT_FALSE(ListedGroup("a\tb\tc\td\te\tf\tg\th\ti\tj", NoLookup));
}

TEST(ListedGroup, ExpiryCountsFromTheSegmentsEpochInIndianTimeAndWhatCannotBeConvertedShowsAsStored) {
  // 26 Jan 2027 23:59:59 IST is 1800988199 since 1970; derivatives count from 1980.
  constexpr long kEndOfDayIst = 1800988199;
  const std::string derivative = std::to_string(kEndOfDayIst - 315460800);
  EXPECT_EQ((*ListedGroup("HNI\tnse_fo\t\t\t\t\t" + derivative + "\t\t", NoLookup))[6], "26/01/2027");
  EXPECT_EQ((*ListedGroup("HNI\tncx_fo\t\t\t\t\t" + derivative + "\t\t", NoLookup))[6], "26/01/2027");
  // Other segments store seconds since 1970 with the offset added: the last second of the day, then the next.
  const std::string cash = std::to_string(kEndOfDayIst + 19800);
  EXPECT_EQ((*ListedGroup("HNI\tmcx_fo\t\t\t\t\t" + cash + "\t\t", NoLookup))[6], "26/01/2027");
  const std::string nextDay = std::to_string(kEndOfDayIst + 1 + 19800);
  EXPECT_EQ((*ListedGroup("HNI\tmcx_fo\t\t\t\t\t" + nextDay + "\t\t", NoLookup))[6], "27/01/2027");

  // What the list cannot read as a price or a date it shows as the server sent it.
  auto cells = [](const std::string& strike, const std::string& expiry) {
    return *ListedGroup("HNI\tmcx_fo\t\t\t\t" + strike + "\t" + expiry + "\t\t", NoLookup);
  };
  // The first second of 1970 is no date, the next is; 11 digits are none; 2147483647 is the last second a date
  // holds. A strike of 15 digits is a price, one of 23 is not.
  for (const auto& [strike, expiry, shown] :
       {std::tuple{"", "19800", "19800"}, {"", "19801", "01/01/1970"}, {"", "ALL", "ALL"},
        {"", "12345678901", "12345678901"}, {"", "-0000000005", "-0000000005"}, {"", "2147483647", "19/01/2038"},
        {"", "2147483648", "2147483648"}, {"999999999999999", "", "9999999999999.99"},
        {"99999999999999999999999", "", "99999999999999999999999"}, {"2580000.5", "", "2580000.5"}, {"-0", "", "-0.00"}}) {
    EXPECT_EQ(cells(strike, expiry)[*strike != '\0' ? 5 : 6], shown) << strike << expiry;
  }
}

TEST(ListedGroup, BseInstrumentComesFromTheTradingSymbol) {
  std::string asked;
  auto lookup = [&](const std::string& symbol) {
    asked = symbol;
    return std::string("EQ-A");
  };
  const auto named = ListedGroup("HNI\tbse_cm\t\tRELIANCE\tA\t\t\t\t", lookup);
  ASSERT_TRUE(named);
  EXPECT_EQ(asked, "RELIANCE");
  EXPECT_EQ((*named)[2], "EQ-A");
  EXPECT_EQ((*named)[4], "A");
  asked.clear();
  EXPECT_EQ((*ListedGroup("HNI\tbse_cm\t\t\tA\t\t\t\t", lookup))[2], "ALL");
  EXPECT_TRUE(asked.empty()) << "no symbol, no lookup";
}

}  // namespace
}  // namespace terminal
