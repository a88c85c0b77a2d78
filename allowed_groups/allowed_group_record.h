// One allowed group as the server lists it: the item data of a row of the
// "View Allowed Group" list. "ALL" in a text field means that field is not
// restricted; a strike of 0 likewise.
#pragma once

#include "platform/base/cstring.h"

struct AllowedGroupRecord {
  CString strCategory;
  CString strExchangeCode;  // e.g. "nse_fo"
  CString strInstrument;
  CString strSymbol;
  CString strOptionType;
  double dStrike = 0;  // server units: price x 100, or x 10000000 for "cde_fo"
  CString strExpiry;   // day/month/year, or "ALL"
  CString strProduct;
  CString strSide;
  // A strike or expiry that is no number the list can convert (a text, a
  // number beyond a date or beyond what a double holds exactly) is kept as
  // the server sent it: shown so, sent back so in a delete, and compared so.
  // Converting it would make different stored groups look alike and merge
  // into one row. Empty when the field converted normally.
  CString strStrikeAsSent;  // dStrike is then 0
  CString strExpiryAsSent;  // strExpiry is then the same text

  // Same group: all eight texts equal (case-sensitive) and the same strike
  // (as converted, and as sent when it was kept so).
  bool SameGroup(const AllowedGroupRecord& other) const {
    return strStrikeAsSent == other.strStrikeAsSent && strExpiryAsSent == other.strExpiryAsSent &&
           strCategory == other.strCategory && strExchangeCode == other.strExchangeCode &&
           strInstrument == other.strInstrument && strSymbol == other.strSymbol &&
           strOptionType == other.strOptionType && dStrike == other.dStrike && strExpiry == other.strExpiry &&
           strProduct == other.strProduct && strSide == other.strSide;
  }
};
