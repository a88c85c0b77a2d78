// The terminal's scrip master: every tradable scrip of every exchange
// segment, loaded from a CSV file, and the cascade of choices the form's
// combo boxes offer.
//
// File format: one scrip a line, "#" lines and blank lines ignored, fields
//   segment,bse_group,instrument,symbol,option_type,strike,expiry,trading_symbol
// Expiries are written as day, three-letter month and year ("29Dec2026").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace terminal {

struct Scrip {
  std::string segment;     // display name: "NSE", "NFO", "BSE", ...
  std::string group;       // BSE group ("A", "B", "T", "Z"); empty elsewhere
  std::string instrument;  // "EQ", "FUTIDX", "OPTIDX", ...
  std::string symbol;
  std::string optionType;     // "CE", "PE", or empty for futures and cash
  std::string strike;         // as shown, e.g. "25800" or "88.25"
  std::string expiry;         // "29Dec2026", or empty for cash
  std::string tradingSymbol;  // BSE only
};

// What the form has chosen; empty means no restriction ("--ANY--").
struct ScripChoice {
  std::string segment;
  std::string instrument;
  std::string symbol;
  std::string optionType;  // for BSE: the group
};

// New contents for the combo boxes after one selection change; a combo with
// no value is left as it is.
struct CascadeFill {
  std::optional<std::vector<std::string>> instrument, symbol, optionType, strike, expiry;
};

class ScripMaster {
 public:
  // Reads the file; on failure returns nothing and says why (with the line).
  static std::optional<ScripMaster> Load(const std::string& path, std::string& error);
  static std::optional<ScripMaster> Parse(const std::string& text, std::string& error);

  const std::vector<Scrip>& Scrips() const { return m_scrips; }
  std::vector<std::string> Segments() const;
  std::vector<std::string> ProductTypes() const;

  // Level 0: segment changed; 1: instrument; 2: symbol; 3: BSE group (held by
  // the option-type combo when the segment is BSE).
  CascadeFill Cascade(int level, const ScripChoice& choice) const;

  const Scrip* FindTradingSymbol(const std::string& tradingSymbol) const;

 private:
  std::vector<Scrip> m_scrips;
};

}  // namespace terminal
