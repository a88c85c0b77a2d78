#include "terminal/server/group_key.h"

namespace terminal::store {

namespace {

std::string Unrestricted(std::string_view x) {
  const std::string v(x);
  return v + " IS NULL OR " + v + " IN ('', 'ALL')";
}

std::string Text(std::string_view x) {
  const std::string v(x);
  return "CASE WHEN " + Unrestricted(x) + " THEN '' ELSE " + v + " END";
}

// x is "-"? digits: the digits are substr(x, 2) or x itself.
std::string Digits(std::string_view x) {
  const std::string v(x);
  return "(" + v + " NOT GLOB '*[^0-9]*' OR (" + v + " GLOB '-[0-9]*' AND substr(" + v + ", 2) NOT GLOB '*[^0-9]*'))";
}

std::string Strike(std::string_view x) {
  const std::string v(x);
  const std::string magnitude = "ltrim(ltrim(" + v + ", '-'), '0')";
  return "CASE WHEN " + Unrestricted(x) + " THEN '' WHEN " + Digits(x) + " THEN CASE WHEN " + magnitude +
         " = '' THEN '' WHEN " + v + " GLOB '-*' THEN '-' || " + magnitude + " ELSE " + magnitude + " END ELSE " + v +
         " END";
}

// The seconds as the list reads them: the derivatives segments below count
// from 1980, the others carry the zone offset (the plug-in's segment rules).
std::string Expiry(std::string_view x, std::string_view segment) {
  const std::string v(x);
  const std::string seconds = "CAST(" + v + " AS INTEGER)";
  const std::string shifted = "(" + seconds + " + CASE WHEN " + std::string(segment) +
                              " IN ('nse_fo', 'ncx_fo', 'cde_fo') THEN 315460800 ELSE -19800 END)";
  const std::string shown = Digits(x) + " AND length(" + v + ") - (" + v + " GLOB '-*') <= 10 AND " + seconds +
                            " BETWEEN -2147483648 AND 2147483647 AND " + shifted + " BETWEEN 1 AND 2147483647";
  // The day in Indian Standard Time (UTC+05:30), an integer: never equal to
  // a text kept as it came.
  return "CASE WHEN " + Unrestricted(x) + " THEN '' WHEN " + shown + " THEN (" + shifted + " + 19800) / 86400 ELSE " +
         v + " END";
}

}  // namespace

std::array<std::string, 9> GroupKey(const GroupOperands& g) {
  return {std::string(g.category), std::string(g.segment),      Text(g.instrument), Text(g.symbol), Text(g.optionType),
          Strike(g.strike),        Expiry(g.expiry, g.segment), Text(g.product),    Text(g.side)};
}

std::string GroupKeyList() {
  std::string list;
  for (const std::string& term : GroupKey(kGroupColumns)) list += (list.empty() ? "" : ", ") + term;
  return list;
}

std::string GroupKeyMatch() {
  const auto stored = GroupKey(kGroupColumns);
  const auto named = GroupKey(kGroupParameters);
  std::string match;
  for (size_t i = 0; i < stored.size(); ++i) match += (i > 0 ? " AND " : "") + stored[i] + " = " + named[i];
  return match;
}

}  // namespace terminal::store
