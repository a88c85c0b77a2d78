#include "mml/testing/stream_gen.h"

#include <algorithm>
#include <cstdlib>

namespace mml::test {

namespace {

constexpr const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr const char* kExchanges[] = {"NSE_FO", "NSE_CM", "BSE_CM", "MCX_FO"};

std::string Price(int64_t paise) {
  std::string cents = std::to_string(paise % 100);
  return std::to_string(paise / 100) + "." + (cents.size() < 2 ? "0" + cents : cents);
}

}  // namespace

CStreamGenerator::CStreamGenerator(uint32_t seed) : m_rng(seed) {
  char* envp[] = {nullptr};
  if (mml_env_init(0, nullptr, envp, 2, 0, nullptr) == 0 || mnm_open(&m_msg, nullptr) == 0 ||
      buf_open(&m_out, 4096, nullptr) == 0) {
    std::abort();
  }
  static const char* const kRoots[] = {"NIFTY", "BANKNIFTY", "RELIANCE", "TCS",  "INFY",   "HDFCBANK", "SBIN",
                                       "ITC",   "LT",        "AXISBANK", "GOLD", "SILVER", "CRUDEOIL", "USDINR"};
  for (int i = 0; i < 300; ++i) {
    const std::string root = kRoots[i % 14];
    m_symbols.push_back({root + (i < 14 ? "" : "2" + std::to_string(4 + i % 3) + kMonths[i % 12]), i % 4,
                         100000 + static_cast<int64_t>(Below(5000000)), 1700000000});
  }
}

CStreamGenerator::~CStreamGenerator() {
  mnm_close(&m_msg, nullptr);
  buf_close(&m_out, nullptr);
}

std::string CStreamGenerator::Next() {
  m_out->used = 0;
  mnm_init_msg(m_msg, m_out, nullptr);
  if (Below(10) < 8) {
    MarketData();
  } else {
    Request();
  }
  return std::string(m_out->data, static_cast<size_t>(m_out->used));
}

void CStreamGenerator::Add(int32_t tag, const std::string& value) {
  const mml_data d{value.empty() ? nullptr : const_cast<char*>(value.data()), static_cast<int32_t>(value.size())};
  mnm_add_field(m_msg, tag, 1, &d, nullptr);
}

CStreamGenerator::sSymbol& CStreamGenerator::PickSymbol() {
  const uint32_t r = Below(100);
  return m_symbols[r < 60 ? Below(20) : (r < 90 ? Below(100) : Below(300))];
}

void CStreamGenerator::MarketData() {
  sSymbol& s = PickSymbol();
  s.price = std::max<int64_t>(100, s.price + static_cast<int64_t>(Below(201)) - 100);
  s.time += 1 + Below(3);
  Add(0, "md_update");
  Add(1, kExchanges[s.exchange]);
  Add(2, s.name);
  Add(3, std::to_string(s.time));
  Add(4, Price(s.price));
  Add(5, std::to_string(1 + Below(500) * 25));
  Add(6, Price(s.price - 500));  // day low
  Add(7, Price(s.price + 700));  // day high
  const int depth = 5 + static_cast<int>(Below(6));
  for (int level = 0; level < depth; ++level) {
    Add(100 + level, Price(s.price - 5 * (level + 1)));
    Add(200 + level, std::to_string(25 * (1 + Below(40))));
    Add(300 + level, Price(s.price + 5 * (level + 1)));
    Add(400 + level, std::to_string(25 * (1 + Below(40))));
  }
  Add(9, Below(4) == 0 ? "" : "OK");
}

void CStreamGenerator::Request() {
  static const char* const kRequests[] = {"ks_publish_allowed_group", "ks_delete_allowed_group",
                                          "ks_get_all_allowed_groups", "ks_get_category"};
  static const char* const kCategories[] = {"RETAIL", "HNI", "PROP", "INSTITUTION"};
  const uint32_t kind = Below(4);
  Add(0, kRequests[kind]);
  Add(1, kCategories[Below(4)]);
  Add(2, "RMSADMIN0" + std::to_string(Below(3)));
  if (kind >= 2) return;
  const sSymbol& s = PickSymbol();
  Add(3, std::to_string(s.exchange + 1));
  Add(4, s.exchange == 0 ? "OPTIDX" : "EQ");
  Add(5, s.name);
  Add(6, Below(2) == 0 ? "CE" : "PE");
  Add(7, std::to_string(s.price / 100 * 100));
  Add(8, std::to_string(1419984000 + 604800 * static_cast<int64_t>(Below(8))));
  Add(9, Below(2) == 0 ? "NRML" : "MIS");
  Add(10, Below(2) == 0 ? "B" : "S");
}

}  // namespace mml::test
