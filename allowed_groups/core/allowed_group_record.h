// One allowed group as the server lists it: the item data of a row of the
// "View Allowed Group" list. "ALL" in a text field means that field is not
// restricted; a strike of 0 likewise.
//
// What a stored group costs. The list is sized for a million groups, so a
// group must stay small: its eight texts are interned (group_text.h), 8 bytes
// each, and with the strike and the two texts kept as sent (below) the record
// is 88 bytes, kept in the dialog's
// record slab (group_slab.h) without a heap block of its own. Around it the
// group costs 16 bytes in the list's store (item data and check state), 4 in
// its view, 4 in the platform list's per-row state, and 11 to 23 in the
// index that finds the row a reply merges into (one 8-byte slot per group in
// an open-addressed table kept between 35% and 70% full): about 126 bytes,
// up to 166 while the store's arrays have grown ahead by doubling. When the
// record held eight strings of its own (32 bytes each even when empty) in a
// heap block found through two node-based hash tables, it cost some 400. The
// texts themselves are shared: a store of a million groups holds a few
// hundred distinct ones. (bench/view_group.sh measures the terminal's peak
// memory per group.)
#pragma once

#include "allowed_groups/core/group_text.h"

struct AllowedGroupRecord {
  CGroupText strCategory;
  CGroupText strExchangeCode;  // e.g. "nse_fo"
  CGroupText strInstrument;
  CGroupText strSymbol;
  CGroupText strOptionType;
  double dStrike = 0;    // server units: price x 100, or x 10000000 for "cde_fo"
  CGroupText strExpiry;  // day/month/year, or "ALL"
  CGroupText strProduct;
  CGroupText strSide;
  // A strike or expiry that is no number the list can convert (a text, a
  // number beyond a date or beyond what a double holds exactly) is kept as
  // the server sent it: shown so, sent back so in a delete, and compared so.
  // Converting it would make different stored groups look alike and merge
  // into one row. Empty when the field converted normally.
  CGroupText strStrikeAsSent;  // dStrike is then 0
  CGroupText strExpiryAsSent;  // strExpiry is then the same text

  // Same group: all eight texts equal (case-sensitive) and the same strike
  // (as converted, and as sent when it was kept so). Pooled texts are equal
  // exactly when they are the same string.
  bool SameGroup(const AllowedGroupRecord& other) const {
    return strStrikeAsSent == other.strStrikeAsSent && strExpiryAsSent == other.strExpiryAsSent &&
           strCategory == other.strCategory && strExchangeCode == other.strExchangeCode &&
           strInstrument == other.strInstrument && strSymbol == other.strSymbol &&
           strOptionType == other.strOptionType && dStrike == other.dStrike && strExpiry == other.strExpiry &&
           strProduct == other.strProduct && strSide == other.strSide;
  }
};
