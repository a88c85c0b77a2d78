// One allowed group as the server lists it: the item data of a row of the
// "View Allowed Group" list. "ALL" in a text field means that field is not
// restricted; a strike of 0 likewise.
//
// What a stored group costs. The list is sized for ten million groups, so a
// group must stay small: its eight texts are interned (group_text.h), 8 bytes
// each, and with the strike and the strike's text kept as sent (below) the
// record is 80 bytes, kept in the dialog's record slab (group_slab.h)
// without a heap block of its own. Around it the group costs 16 bytes in
// the list's store (item data and check state), 4 in its view, 4 in the
// platform list's per-row state, and 6 to 12 in the index that finds the
// row a reply merges into (a 4-byte record number and a control byte a slot
// in an open-addressed table kept between 44% and 87% full): about 115
// bytes, more while the arrays have grown ahead by doubling. When the record
// held eight strings of its own (32 bytes each even when empty) in a heap
// block found through two node-based hash tables, it cost some 400. Texts
// are shared: a store of index options holds a few hundred distinct ones;
// one whose every symbol differs adds a pooled text, some 30 bytes, a
// group. (bench/view_group.sh measures the terminal's peak memory per
// group.)
#pragma once

#include "allowed_groups/core/group_text.h"

struct AllowedGroupRecord {
  CGroupText strCategory;
  CGroupText strExchangeCode;  // e.g. "nse_fo"
  CGroupText strInstrument;
  CGroupText strSymbol;
  CGroupText strOptionType;
  double dStrike = 0;  // server units: price x 100, or x 10000000 for "cde_fo"
  // day/month/year, or "ALL"; or the text the server sent, kept so (below)
  CGroupText strExpiry;
  CGroupText strProduct;
  CGroupText strSide;
  // A strike or expiry that is no number the list can convert (a text, a
  // number beyond a date or beyond what a double holds exactly) is kept as
  // the server sent it: shown so, sent back so in a delete, and compared so.
  // Converting it would make different stored groups look alike and merge
  // into one row. The strike's text is empty when it converted normally; an
  // expiry kept so is strExpiry made by CGroupText::KeptAsSent, a field
  // apart from the same text converted.
  CGroupText strStrikeAsSent;  // dStrike is then 0
  bool ExpiryAsSent() const { return strExpiry.IsKeptAsSent(); }

  // Same group: all eight texts equal (case-sensitive, and an expiry kept as
  // sent only to one kept so) and the same strike (as converted, and as sent
  // when it was kept so). Pooled texts are equal exactly when they are the
  // same string.
  bool SameGroup(const AllowedGroupRecord& other) const {
    return strStrikeAsSent == other.strStrikeAsSent && strCategory == other.strCategory &&
           strExchangeCode == other.strExchangeCode && strInstrument == other.strInstrument &&
           strSymbol == other.strSymbol && strOptionType == other.strOptionType && dStrike == other.dStrike &&
           strExpiry == other.strExpiry && strProduct == other.strProduct && strSide == other.strSide;
  }
};
