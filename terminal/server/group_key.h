// The canonical form of an allowed group: one SQL expression per identifying
// field that maps every way of writing the same group to one value. The
// store keeps a unique index over these expressions, and a delete matches
// through them, so that a group is held once and every group the plug-in
// lists can be named back to the server.
//
//   category, segment   as given (both are required)
//   instrument, symbol, option type, product, side
//                       absent, empty and "ALL" are one value (no restriction)
//   strike              a whole number of server units ("-"? digits) is
//                       compared as a number: leading zeros and the sign of
//                       zero do not count, and 0 is absent (no restriction,
//                       which the list sends by leaving a zero strike out);
//                       any other text is compared as text
//   expiry              absent, empty and "ALL" are one value; a whole number
//                       of seconds the list shows as a date (at most 10
//                       digits, 32 bits before and after the segment's epoch
//                       shift, after the shift above 0) is compared as that
//                       date in Indian Standard Time, the only thing the list
//                       shows and sends back of it; any other text as text
//
// The expressions use SQLite's built-in functions only, so any program that
// writes to the store keeps the index.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace terminal::store {

// The identifying fields as SQL operands: column names, or parameters such
// as "?3", in table order.
struct GroupOperands {
  std::string_view category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};

// The stored columns, and the parameters ?1 to ?9 in the same order.
inline constexpr GroupOperands kGroupColumns{"category", "segment", "instrument", "symbol", "option_type",
                                             "strike",   "expiry",  "product",    "side"};
inline constexpr GroupOperands kGroupParameters{"?1", "?2", "?3", "?4", "?5", "?6", "?7", "?8", "?9"};

// The nine key expressions over the operands, in table order.
std::array<std::string, 9> GroupKey(const GroupOperands& g);

// "k1, k2, ..." over the stored columns: the unique index's terms, and what
// duplicates are grouped by.
std::string GroupKeyList();

// "k1(columns) = k1(?1) AND ...": the stored group that the parameters name.
std::string GroupKeyMatch();

}  // namespace terminal::store
