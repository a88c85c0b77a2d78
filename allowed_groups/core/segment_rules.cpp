#include "allowed_groups/core/segment_rules.h"

#include <array>
#include <cstdlib>
#include <string>

#include "allowed_groups/core/request_tags.h"

namespace {

struct Segment {
  std::string_view display;
  std::string_view code;
};

constexpr std::array<Segment, 13> kSegments{{
    {"NSE", "nse_cm"},
    {"NFO", "nse_fo"},
    {"BSE", "bse_cm"},
    {"MCX", "mcx_fo"},
    {"NCDEX", "ncx_fo"},
    {"ICEX", "icx_fo"},
    {"NMCE", "nmc_fo"},
    {"MCXSX", "mcx_sx"},
    {"ACE", "ace_fo"},
    {"RCME", "rmc_fo"},
    {"CDS", "cde_fo"},
    {"BFO", "bse_fo"},
    {"NSEL", "nsel_sm"},
}};

constexpr int kKindEndOfDayShifted = 6;  // MCX: 23:59:59, plus the zone offset
constexpr int kKindMidnightEpochShifted = 4;
constexpr int64_t kFrom1980 = 315460800;
constexpr int64_t kLessZoneOffset = -19800;
constexpr double kCurrencyFactor = 100000;

// Segments whose expiry kind the server does not fix (the cash segments, BSE
// F&O, ICEX, ...) list an expiry with the zone offset taken off, as MCX does;
// so they are sent as MCX is (end of day, plus the offset). A derivative kind
// (counted from 1980) would list as a day ten years off, and the list's
// delete would then name a group the server does not hold.
constexpr SegmentRules kDefault{tag::kInstrument, tag::kSymbol,  tag::kOptionType, 1, kKindEndOfDayShifted,
                                kLessZoneOffset,  false};
constexpr SegmentRules kNseCash{tag::kInstrumentCash, tag::kSymbol,  tag::kOptionType, 1, kKindEndOfDayShifted,
                                kLessZoneOffset,      false};
constexpr SegmentRules kBseCash{0, tag::kTradingSymbol, tag::kInstrumentCash, 1, kKindEndOfDayShifted,
                                kLessZoneOffset, true};
constexpr SegmentRules kMcx{tag::kInstrument, tag::kSymbol, tag::kOptionType, 1, kKindEndOfDayShifted,
                            kLessZoneOffset,  false};
constexpr SegmentRules kFrom1980Derivatives{
    tag::kInstrument, tag::kSymbol, tag::kOptionType, 1, kKindMidnightEpochShifted, kFrom1980, false};
constexpr SegmentRules kCurrency{tag::kInstrument,         tag::kSymbol, tag::kOptionType, kCurrencyFactor,
                                 kKindMidnightEpochShifted, kFrom1980,    false};

}  // namespace

const SegmentRules& RulesForCode(std::string_view code) {
  if (code == "nse_cm") return kNseCash;
  if (code == "bse_cm") return kBseCash;
  if (code == "mcx_fo") return kMcx;
  if (code == "nse_fo" || code == "ncx_fo") return kFrom1980Derivatives;
  if (code == "cde_fo") return kCurrency;
  return kDefault;
}

CString ExchangeCodeOf(const CString& displayName) {
  for (const auto& segment : kSegments) {
    if (displayName.view() == segment.display) return CString(segment.code);
  }
  return CString();
}

CString StrikeInServerUnits(std::string_view price, const SegmentRules& rules) {
  // Two steps, as the server has always been sent them: x 100, then the
  // currency factor (one multiplication by 10000000 rounds differently).
  const double value = std::atof(std::string(price).c_str()) * 100 * rules.strikeExtraFactor;
  CString text;
  text.Format("%0.0f", value);
  return text;
}

double StrikePrice(double serverUnits, const SegmentRules& rules) {
  return serverUnits / (100 * rules.strikeExtraFactor);
}
