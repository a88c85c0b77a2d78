// Exchange segments: every display name's server code, and strikes in server
// units each way (currency strikes carry a further 100000).
#include "allowed_groups/core/segment_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SegmentRules, EachSegmentHasItsCodeAndItsStrikeUnits) {
  struct Case {
    const char* display;
    const char* code;
    const char* price;
    const char* units;
  };
  const Case cases[] = {
      {"NSE", "nse_cm", "1250.5", "125050"},   {"NFO", "nse_fo", "26000", "2600000"},
      {"BSE", "bse_cm", "412.35", "41235"},    {"MCX", "mcx_fo", "71500", "7150000"},
      {"NCDEX", "ncx_fo", "5400", "540000"},   {"ICEX", "icx_fo", "3200.25", "320025"},
      {"NMCE", "nmc_fo", "150", "15000"},      {"MCXSX", "mcx_sx", "64.5", "6450"},
      {"ACE", "ace_fo", "980", "98000"},       {"RCME", "rmc_fo", "12.75", "1275"},
      {"CDS", "cde_fo", "88.25", "882500000"}, {"BFO", "bse_fo", "81000", "8100000"},
      {"NSEL", "nsel_sm", "33.4", "3340"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.display);
    const CString code = ExchangeCodeOf(c.display);
    EXPECT_EQ(code.view(), c.code);
    const SegmentRules& rules = RulesForCode(code.view());
    EXPECT_EQ(StrikeInServerUnits(c.price, rules).view(), c.units);
    EXPECT_DOUBLE_EQ(StrikePrice(std::stod(c.units), rules), std::stod(c.price));
  }
  // Names compare exactly: a name in another case, or with a blank, is none.
  for (const char* none : {"nfo", "NSE ", "", "CDS2"}) EXPECT_TRUE(ExchangeCodeOf(none).IsEmpty()) << none;
}

}  // namespace
