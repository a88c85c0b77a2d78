#include "allowed_groups/core/expiry.h"

#include <gtest/gtest.h>

#include "platform/testing/scoped_zone.h"

namespace {

// 2012-12-27 00:00 IST is 1356546600 UTC seconds; kind 4 counts from the
// server's epoch 315460800 seconds later.
constexpr int32_t k27Dec2012Kind4 = 1041085800;

TEST(ConvertExpiryToSeconds, BothTextFormsAgreeInEveryZone) {
  for (const char* zone : {"UTC", "Asia/Kolkata", "America/New_York"}) {
    ScopedZone scoped(zone);
    EXPECT_EQ(ConvertExpiryToSeconds("27Dec2012", 4), k27Dec2012Kind4) << zone;
    EXPECT_EQ(ConvertExpiryToSeconds("27/12/2012", 4), k27Dec2012Kind4) << zone;
  }
}

TEST(ConvertExpiryToSeconds, KindsPickTimeOfDayAndShift) {
  const int32_t midnightIst = 1356546600;
  EXPECT_EQ(ConvertExpiryToSeconds("27Dec2012", 1), midnightIst);
  EXPECT_EQ(ConvertExpiryToSeconds("27Dec2012", 6), midnightIst + 86399 + 19800) << "23:59:59, plus the offset";
  EXPECT_EQ(ConvertExpiryToSeconds("27Dec2012", 10), midnightIst + 86399);
  EXPECT_EQ(ConvertExpiryToSeconds("27Dec2012", 5), midnightIst - 315460800);
  EXPECT_EQ(ConvertExpiryToSeconds("27dec2012", 1), midnightIst - 335 * 86400)
      << "month names are case-sensitive: anything else is January";
}

TEST(ConvertExpiryToSeconds, RejectsImpossibleDatesAndMissingParts) {
  const struct {
    const char* date;
    int32_t seconds;  // -2 an impossible date, -1 a missing part, 1 any time
  } cases[] = {
      {"31/04/2012", -2}, {"31/06/2012", -2}, {"31/09/2012", -2}, {"31/11/2012", -2}, {"31/01/2013", 1},
      {"31/03/2013", 1},  {"31/05/2013", 1},  {"31/07/2013", 1},  {"31/08/2013", 1},  {"31/10/2013", 1},
      {"31/12/2013", 1},  {"30/02/2012", -2}, {"29/02/2013", -2} /* not a leap year */, {"29/02/2012", 1},
      {"01/13/2012", -2}, {"32/01/2012", -2}, {"27/12", -1},      {"", -1}, {"/12/2012", -1},
      {"01/01/9999", -2},  // beyond 32 bits
      {"27/12/20129999999999999999999999999", -2},  // a huge year, never a wrapped one
  };
  for (const auto& c : cases) {
    const int32_t seconds = ConvertExpiryToSeconds(c.date, 4);
    EXPECT_EQ(seconds > 0 ? 1 : seconds, c.seconds) << c.date;
  }
  EXPECT_EQ(ConvertExpiryToSeconds(CString("27/12/2012/") + CString('x', 60), 4), k27Dec2012Kind4);
}

}  // namespace
