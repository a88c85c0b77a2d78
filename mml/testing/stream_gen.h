// A deterministic stream of realistic tagged messages (wide form) for the
// coders' tests and benchmarks: market-data updates for a few hundred
// symbols whose prices walk, with the repetition a real feed has (exchange
// codes, symbols, field layout), mixed with the plug-in's group requests.
// The same seed always gives the same bytes: the generator uses its own
// arithmetic on std::mt19937's fully specified output.
//
// It builds through the middleware's C interface (its mml_env_init is the
// first or takes a further reference), so it works with whichever copy of
// the library its user links. Aborts when the middleware cannot be set up.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "mml/mml.h"

namespace mml::test {

class CStreamGenerator {
 public:
  explicit CStreamGenerator(uint32_t seed);
  ~CStreamGenerator();
  CStreamGenerator(const CStreamGenerator&) = delete;
  CStreamGenerator& operator=(const CStreamGenerator&) = delete;

  // The next message's bytes.
  std::string Next();

 private:
  struct sSymbol {
    std::string name;
    int exchange;
    int64_t price;  // in paise
    int64_t time;
  };

  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(m_rng() % n); }
  void Add(int32_t tag, const std::string& value);
  // Hot symbols update far more often than the rest.
  sSymbol& PickSymbol();
  void MarketData();
  void Request();

  std::mt19937 m_rng;
  std::vector<sSymbol> m_symbols;
  mnm_hndl m_msg = nullptr;
  buf_hndl m_out = nullptr;
};

}  // namespace mml::test
