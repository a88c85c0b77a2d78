// Exchange segments: the display names of the exchange-segment combo, the
// codes the server knows them by, and how each segment's groups are put on
// the wire. Every rule is keyed by the server code; a display name becomes a
// code once, where the form reads its combo.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/cstring.h"

struct SegmentRules {
  // Tag of the instrument; 0 when the segment sends none (BSE cash, whose
  // instrument is known only through its trading symbol).
  int32_t instrumentTag;
  int32_t symbolTag;
  int32_t optionTypeTag;  // BSE cash: its group travels here
  // A strike is price x 100 on the wire, times this once more (currencies).
  double strikeExtraFactor;
  // Expiry kind for ConvertExpiryToSeconds (expiry.h).
  int expiryKind;
  // Added to a listed expiry's server seconds to give the Unix seconds of
  // the date shown: derivatives count from 1980 (IST), the rest carry the
  // zone offset.
  int64_t listedExpiryShift;
  // The instrument of a listed group is looked up by its trading symbol.
  bool instrumentFromSymbol;
};

// The rules of a server code; codes not named have the derivative defaults.
const SegmentRules& RulesForCode(std::string_view code);

// The server code of a display name ("NFO" gives "nse_fo"); "" when unknown.
// Names compare exactly, case-sensitive.
CString ExchangeCodeOf(const CString& displayName);

// Strike in server units from the price a combo shows ("26000" gives
// "2600000"), written without decimals.
CString StrikeInServerUnits(std::string_view price, const SegmentRules& rules);

// A price from server units, for the list: currency strikes carry 100000 more.
double StrikePrice(double serverUnits, const SegmentRules& rules);
