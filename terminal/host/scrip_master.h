// The terminal's scrip master: every tradable scrip of every exchange
// segment, loaded from a CSV file, and the cascade of choices the form's
// combo boxes offer.
//
// File format: one scrip a line, "#" lines and blank lines ignored, fields
//   segment,bse_group,instrument,symbol,option_type,strike,expiry,trading_symbol
// Strikes are prices written in decimals ("25800", "88.25"); expiries are
// day, three-letter month and year ("29Dec2026"). A line the form could not
// mean as written (a wrong number of fields, an empty segment, instrument or
// symbol, a strike or expiry the server cannot hold) is left out and kept
// in Refused(); the rest of the file loads.
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

// A line of the file left out: its number (from 1), the field refused
// ("fields" for a line of the wrong length), that field's value as written
// (for "fields", the count) and why.
struct RefusedScripLine {
  int line = 0;
  std::string field;
  std::string value;
  std::string why;
  friend bool operator==(const RefusedScripLine&, const RefusedScripLine&) = default;
};

class ScripMaster {
 public:
  // Reads the file; nothing, and why, only when it cannot be read at all.
  static std::optional<ScripMaster> Load(const std::string& path, std::string& error);
  // Every line that means a scrip; `source` names the text in Refusals().
  static ScripMaster Parse(std::string_view text, std::string source = "scrip master");

  const std::vector<Scrip>& Scrips() const { return m_scrips; }
  // The lines left out, one entry each (the first field refused), in file order.
  const std::vector<RefusedScripLine>& Refused() const { return m_refused; }
  // Each of them as one sentence naming the file, the line, the field and
  // its value: what the terminal tells at start.
  std::vector<std::string> Refusals() const;
  std::vector<std::string> Segments() const;
  std::vector<std::string> ProductTypes() const;

  // Level 0: segment changed; 1: instrument; 2: symbol; 3: BSE group (held by
  // the option-type combo when the segment is BSE).
  CascadeFill Cascade(int level, const ScripChoice& choice) const;

  const Scrip* FindTradingSymbol(const std::string& tradingSymbol) const;

 private:
  std::string m_source;
  std::vector<Scrip> m_scrips;
  std::vector<RefusedScripLine> m_refused;
};

}  // namespace terminal
