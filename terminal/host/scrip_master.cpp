#include "terminal/host/scrip_master.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <ranges>
#include <set>
#include <sstream>

namespace terminal {

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "29Dec2026" as a sortable number yyyymmdd; 0 when it is not such a date.
int ExpiryKey(const std::string& expiry) {
  if (expiry.size() != 9) return 0;
  const std::string month = expiry.substr(2, 3);
  for (int m = 0; m < 12; ++m) {
    if (month == kMonths[m]) {
      return std::atoi(expiry.substr(5, 4).c_str()) * 10000 + (m + 1) * 100 + std::atoi(expiry.substr(0, 2).c_str());
    }
  }
  return 0;
}

bool Matches(const Scrip& s, const ScripChoice& c, bool useSymbol) {
  if (s.segment != c.segment) return false;
  // For BSE the option-type combo holds the group the user picked.
  if (s.segment == "BSE" && !c.optionType.empty() && s.group != c.optionType) return false;
  if (!c.instrument.empty() && s.instrument != c.instrument) return false;
  if (useSymbol && !c.symbol.empty()) {
    const std::string& name = s.segment == "BSE" ? s.tradingSymbol : s.symbol;
    if (name != c.symbol) return false;
  }
  return true;
}

// Distinct non-empty values in order of first appearance.
std::vector<std::string> Distinct(const std::vector<Scrip>& scrips, const std::function<bool(const Scrip&)>& keep,
                                  const std::function<const std::string&(const Scrip&)>& field) {
  std::vector<std::string> out;
  std::set<std::string> seen;
  for (const auto& s : scrips) {
    const std::string& value = field(s);
    if (!value.empty() && keep(s) && seen.insert(value).second) out.push_back(value);
  }
  return out;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, ',')) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

constexpr size_t kFields = 8;
constexpr const char* kFieldNames[kFields] = {"segment",     "bse_group", "instrument", "symbol",
                                              "option_type", "strike",    "expiry",     "trading_symbol"};

// Strikes the server can hold. A price goes out as a whole number of
// hundredths, for currencies times a further 100000, and the server and the
// list compare it as a double: below 1e8 the largest, under 1e15, is still
// a whole number a double holds exactly (exact to 2^53, about 9e15); from
// 0.01 the smallest is 1, never 0, which would mean "any strike".
constexpr double kLowestStrike = 0.01;
constexpr double kStrikeLimit = 1e8;  // not included

// Expiries the server can hold. It counts an expiry in signed 32-bit
// seconds: derivatives from 1980, MCX from 1970 at the day's end, whose
// count runs out on 19 January 2038. 1980 to 2037 is what every segment's
// count holds.
constexpr int kFirstExpiryYear = 1980;
constexpr int kLastExpiryYear = 2037;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why a strike cannot be offered; nothing for a price the server holds, or
// for none (futures and cash).
std::optional<std::string> StrikeRefusal(std::string_view strike) {
  if (strike.empty()) return std::nullopt;
  // Digits with at most one point: a number reader would also take a sign,
  // an exponent, "inf" or "nan", none of which a price is written with.
  const size_t point = strike.find('.');
  const bool written =
      AllDigits(strike.substr(0, point)) && (point == std::string_view::npos || AllDigits(strike.substr(point + 1)));
  if (!written) return "is not a price written like 25800 or 88.25";
  double value = 0;
  const auto [end, status] = std::from_chars(strike.data(), strike.data() + strike.size(), value);
  if (status != std::errc() || end != strike.data() + strike.size() || value < kLowestStrike || value >= kStrikeLimit) {
    return "is outside 0.01 to 99999999.99, the strikes the server can hold";
  }
  return std::nullopt;
}

// Why an expiry cannot be offered; nothing for a calendar date the server
// holds, or for none (cash).
std::optional<std::string> ExpiryRefusal(std::string_view expiry) {
  if (expiry.empty()) return std::nullopt;
  int month = 0;
  if (expiry.size() == 9) {
    for (int m = 0; m < 12; ++m) {
      if (expiry.substr(2, 3) == kMonths[m]) month = m + 1;
    }
  }
  if (month == 0 || !AllDigits(expiry.substr(0, 2)) || !AllDigits(expiry.substr(5, 4))) {
    return "is not a date written like 29Dec2026";
  }
  const int day = (expiry[0] - '0') * 10 + (expiry[1] - '0');
  int year = 0;
  std::from_chars(expiry.data() + 5, expiry.data() + 9, year);
  namespace chrono = std::chrono;
  const chrono::year_month_day date{chrono::year(year), chrono::month(static_cast<unsigned>(month)),
                                    chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return "is no day of the calendar";
  if (year < kFirstExpiryYear || year > kLastExpiryYear) {
    return "is outside 1980 to 2037, the expiries the server can hold";
  }
  return std::nullopt;
}

// Why a line means no scrip, naming the first field at fault; nothing for
// a good line. The line number is the caller's.
std::optional<RefusedScripLine> Refusal(const std::vector<std::string>& f) {
  if (f.size() != kFields) return RefusedScripLine{0, "fields", std::to_string(f.size()), ""};
  for (const size_t needed : {size_t{0}, size_t{2}, size_t{3}}) {
    if (f[needed].empty()) {
      return RefusedScripLine{0, kFieldNames[needed], "",
                              "is empty: a scrip needs a segment, an instrument and a symbol"};
    }
  }
  if (auto why = StrikeRefusal(f[5])) return RefusedScripLine{0, kFieldNames[5], f[5], std::move(*why)};
  if (auto why = ExpiryRefusal(f[6])) return RefusedScripLine{0, kFieldNames[6], f[6], std::move(*why)};
  return std::nullopt;
}

// A value as a report quotes it: on one line, escaped, at most 60 bytes.
std::string Shown(std::string_view value) {
  constexpr size_t kLongest = 60;
  std::string shown;
  for (const char c : value.substr(0, kLongest)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      shown += '\\';
      shown += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    } else {
      shown += c;
    }
  }
  if (value.size() > kLongest) shown += "...";
  return shown;
}

}  // namespace

std::optional<ScripMaster> ScripMaster::Load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read scrip master " + path;
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) {
    error = "cannot read scrip master " + path;
    return std::nullopt;
  }
  return Parse(text.str(), path);
}

ScripMaster ScripMaster::Parse(std::string_view text, std::string source) {
  ScripMaster master;
  master.m_source = std::move(source);
  int number = 0;
  for (const auto piece : std::views::split(text, '\n')) {
    ++number;
    std::string_view line(piece.begin(), piece.end());
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const auto f = Split(std::string(line));
    if (auto refusal = Refusal(f)) {
      refusal->line = number;
      master.m_refused.push_back(std::move(*refusal));
      continue;
    }
    master.m_scrips.push_back(Scrip{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
  }
  return master;
}

std::vector<std::string> ScripMaster::Refusals() const {
  std::vector<std::string> said;
  for (const auto& r : m_refused) {
    std::string sentence = m_source + " line " + std::to_string(r.line) + ": ";
    if (r.field == "fields") {
      sentence += r.value + " fields where " + std::to_string(kFields) + " are wanted (" + kFieldNames[0];
      for (size_t i = 1; i < kFields; ++i) sentence += std::string(",") + kFieldNames[i];
      sentence += ")";
    } else {
      sentence += r.field + " \"" + Shown(r.value) + "\" " + r.why;
    }
    said.push_back(sentence + "; the line is left out");
  }
  return said;
}

std::vector<std::string> ScripMaster::Segments() const {
  return Distinct(
      m_scrips, [](const Scrip&) { return true; }, [](const Scrip& s) -> const std::string& { return s.segment; });
}

std::vector<std::string> ScripMaster::ProductTypes() const { return {"CNC", "MIS", "NRML", "CO", "BO"}; }

CascadeFill ScripMaster::Cascade(int level, const ScripChoice& choice) const {
  CascadeFill fill;
  const bool bse = choice.segment == "BSE";
  auto field = [](std::string Scrip::*member) {
    return [member](const Scrip& s) -> const std::string& { return s.*member; };
  };
  auto strikes = [&](const std::function<bool(const Scrip&)>& keep) {
    auto values = Distinct(m_scrips, keep, field(&Scrip::strike));
    std::ranges::stable_sort(values, {}, [](const std::string& s) { return std::atof(s.c_str()); });
    return values;
  };
  auto expiries = [&](const std::function<bool(const Scrip&)>& keep) {
    auto values = Distinct(m_scrips, keep, field(&Scrip::expiry));
    std::ranges::stable_sort(values, {}, ExpiryKey);
    return values;
  };
  const auto& symbolField = bse ? field(&Scrip::tradingSymbol) : field(&Scrip::symbol);
  switch (level) {
    case 0: {
      auto inSegment = [&](const Scrip& s) { return s.segment == choice.segment; };
      fill.instrument = Distinct(m_scrips, inSegment, field(&Scrip::instrument));
      fill.symbol = std::vector<std::string>{};
      fill.strike = std::vector<std::string>{};
      fill.expiry = std::vector<std::string>{};
      fill.optionType = bse ? Distinct(m_scrips, inSegment, field(&Scrip::group)) : std::vector<std::string>{};
      break;
    }
    case 1: {
      auto keep = [&](const Scrip& s) { return Matches(s, choice, false); };
      fill.symbol = Distinct(m_scrips, keep, symbolField);
      if (bse) break;  // the group the user picked stays; cash has no strikes or expiries
      fill.optionType = Distinct(m_scrips, keep, field(&Scrip::optionType));
      fill.strike = std::vector<std::string>{};  // strikes mean something only per symbol
      fill.expiry = expiries(keep);
      break;
    }
    case 2: {
      if (bse) break;  // a BSE symbol narrows nothing further
      auto keep = [&](const Scrip& s) { return Matches(s, choice, true); };
      fill.optionType = Distinct(m_scrips, keep, field(&Scrip::optionType));
      fill.strike = strikes(keep);
      fill.expiry = expiries(keep);
      break;
    }
    case 3: {
      if (!bse) break;
      auto inGroup = [&](const Scrip& s) {
        return s.segment == choice.segment && (choice.optionType.empty() || s.group == choice.optionType);
      };
      fill.instrument = Distinct(m_scrips, inGroup, field(&Scrip::instrument));
      fill.symbol = Distinct(m_scrips, inGroup, symbolField);
      break;
    }
    default: break;
  }
  return fill;
}

const Scrip* ScripMaster::FindTradingSymbol(const std::string& tradingSymbol) const {
  for (const auto& s : m_scrips) {
    if (!tradingSymbol.empty() && s.tradingSymbol == tradingSymbol) return &s;
  }
  return nullptr;
}

}  // namespace terminal
