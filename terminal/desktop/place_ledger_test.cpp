#include "terminal/desktop/place_ledger.h"

#include <gtest/gtest.h>

namespace terminal::desktop {
namespace {

constexpr RECT kA{0, 0, 100, 50};
constexpr RECT kB{10, 0, 110, 50};
constexpr RECT kC{20, 0, 120, 50};
constexpr RECT kOutside{300, 200, 500, 400};

TEST(PlaceLedger, OwnMovesAreNoNewsEvenWhenTheirNoticesLagOrAreSkipped) {
  PlaceLedger ledger(kA);
  EXPECT_FALSE(ledger.Notified(kA));  // restacked where it is
  ledger.Asked(kB);
  ledger.Asked(kC);
  EXPECT_FALSE(ledger.Notified(kB));  // arrives after C was asked for
  EXPECT_EQ(ledger.Place().left, kC.left);
  EXPECT_FALSE(ledger.Notified(kC));
  // A skipped notice: C's answers B's too, so a notice of B after it is someone else's move.
  ledger.Asked(kB);
  ledger.Asked(kC);
  EXPECT_FALSE(ledger.Notified(kC));
  EXPECT_TRUE(ledger.Notified(kB));
  EXPECT_EQ(ledger.Place().left, kB.left);
  // Three in flight: the first one's notice leaves the second still asked for.
  for (const RECT& r : {kA, kB, kC}) ledger.Asked(r);
  EXPECT_FALSE(ledger.Notified(kA) || ledger.Notified(kB));
}

TEST(PlaceLedger, AMoveFromOutsideBecomesThePlaceAndOnlyARunOfRequestsIsKept) {
  PlaceLedger ledger(kA);
  ledger.Asked(kB);
  EXPECT_TRUE(ledger.Notified(kOutside));
  EXPECT_EQ(ledger.Place().top, kOutside.top);
  EXPECT_FALSE(ledger.Notified(kOutside));  // then restacked there
  EXPECT_TRUE(ledger.Notified(kB));         // B was overruled: no longer asked for

  for (LONG i = 0; i < static_cast<LONG>(PlaceLedger::kKept) + 1; ++i) ledger.Asked(RECT{i, 0, i + 10, 10});
  EXPECT_TRUE(ledger.Notified(RECT{0, 0, 10, 10}));  // the oldest request was forgotten
}

}  // namespace
}  // namespace terminal::desktop
