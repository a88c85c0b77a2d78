#include "allowed_groups/exchange_codes.h"

#include <array>
#include <string_view>

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

}  // namespace

CString ExchangeCodeOf(const CString& displayName) {
  for (const auto& segment : kSegments) {
    if (displayName.view() == segment.display) return CString(segment.code);
  }
  return CString();
}

int ExpiryKindForDisplay(const CString& displayName) {
  return displayName == "MCX" ? kKindEndOfDayShifted : kKindMidnightEpochShifted;
}

int ExpiryKindForCode(const CString& code) {
  return code == "mcx_fo" ? kKindEndOfDayShifted : kKindMidnightEpochShifted;
}
