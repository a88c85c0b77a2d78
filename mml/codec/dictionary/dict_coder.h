// The phrase-dictionary coder of one side of a connection.
//
// Compressed message, bits most significant first, last byte zero-padded:
//   table flag (1 bit); when 1, the 258 literal counts through coder A
//   tokens, each opened by a flag bit:
//     1  literal symbol through the literal coder: a byte, 256 end of
//        message, 257 dictionary reset (coding goes on)
//     0  phrase: its number (or move-to-front rank) through coder B, then
//        its length through coder A
// Numbers use the 36-bucket number code (number_code.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "mml/codec/dictionary/dict.h"
#include "mml/codec/dictionary/move_to_front.h"
#include "mml/codec/dictionary/phrase_dictionary.h"
#include "mml/codec/symbol/symbol_coder.h"

struct dict_coder {
  virtual ~dict_coder() = default;
};

namespace mml {

// dict_config_load over any integer-setting lookup with mml_get_int_setting's
// contract (status 5 when not set).
using IntSettingFn = int (*)(const char* name, int32_t* out, int* err);
int load_dict_config(dict_config* cfg, int32_t type, IntSettingFn lookup, int* status);

class CDictCoder : public dict_coder {
 public:
  // Statuses of dict_create.
  static int Create(const dict_config& cfg, std::unique_ptr<CDictCoder>* out);
  // Append to out: the compressed / expanded message.
  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out);
  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out);
  void Reset();
  const dict_stats& Stats() const { return m_stats; }

 private:
  static constexpr uint32_t kEnd = 256;
  static constexpr uint32_t kReset = 257;
  static constexpr int kSymbols = 258;
  static constexpr size_t kBatch = 1024;  // tokens Expand reads before applying them

  struct sToken {
    uint32_t nSymbolOrPhrase;
    uint32_t nLen;  // 0 for a literal or control symbol, else at least 1
  };

  explicit CDictCoder(const dict_config& cfg);
  void Literal(uint32_t symbol);
  void Phrase(const CPhraseDictionary::sMatch& m);
  bool DecideTable(uint32_t messageLen);
  int RefillLiterals(const std::array<uint32_t, kSymbols>& counts);
  int ReadTokens(CBitReader& r);

  dict_config m_cfg;
  CPhraseDictionary m_dict;
  std::unique_ptr<CMoveToFront> m_mtf;
  std::unique_ptr<CSymbolCoder> m_literals;
  std::unique_ptr<CSymbolCoder> m_coderA;  // counts and lengths
  std::unique_ptr<CSymbolCoder> m_coderB;  // phrase numbers
  MVector<sToken> m_tokens;                // the message being compressed
  std::array<sToken, kBatch> m_batch{};    // tokens read and not yet applied
  size_t m_batchLen = 0;
  uint8_t m_sink = 0;  // keeps the loads that warm the cache for a batch
  std::array<uint32_t, kSymbols> m_counts{};
  std::array<uint32_t, kSymbols> m_previous{};
  dict_stats m_stats{};
};

}  // namespace mml
