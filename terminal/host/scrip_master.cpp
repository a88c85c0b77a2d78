#include "terminal/host/scrip_master.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
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

}  // namespace

std::optional<ScripMaster> ScripMaster::Load(const std::string& path, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read scrip master " + path;
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  auto master = Parse(text.str(), error);
  if (!master) error = path + ": " + error;
  return master;
}

std::optional<ScripMaster> ScripMaster::Parse(const std::string& text, std::string& error) {
  ScripMaster master;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const auto f = Split(line);
    if (f.size() != 8 || f[0].empty() || f[2].empty() || f[3].empty()) {
      error = "line " + std::to_string(number) + ": expected 8 fields with segment, instrument and symbol";
      return std::nullopt;
    }
    if (!f[6].empty() && ExpiryKey(f[6]) == 0) {
      error = "line " + std::to_string(number) + ": expiry must look like 29Dec2026";
      return std::nullopt;
    }
    master.m_scrips.push_back(Scrip{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
  }
  return master;
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
    std::stable_sort(values.begin(), values.end(), [](const std::string& a, const std::string& b) {
      return std::atof(a.c_str()) < std::atof(b.c_str());
    });
    return values;
  };
  auto expiries = [&](const std::function<bool(const Scrip&)>& keep) {
    auto values = Distinct(m_scrips, keep, field(&Scrip::expiry));
    std::stable_sort(values.begin(), values.end(),
                     [](const std::string& a, const std::string& b) { return ExpiryKey(a) < ExpiryKey(b); });
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
