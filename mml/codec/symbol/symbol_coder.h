// The symbol Huffman coder: byte-string symbols (1 to 8 bytes) with 32-bit
// weights, coded by a tree rebuilt from an array ordered heaviest first.
//
// Modes: 1 adaptive with escape, 2 adaptive, 3 static with escape, 4 static.
// The escape ("default") codes a symbol the coder does not hold as its code,
// then 3 bits of length - 1 and the bytes; in mode 1 the symbol is then
// added with weight 1. The end symbol ("stop") ends a stream for good.
// Adaptive modes add 1 to each coded symbol's weight and, every `refresh`
// symbols, move the symbol just coded forward and rebuild when it outweighs
// a branch above it. Writer and reader apply the same steps in the same
// order, so their trees stay identical.
//
// Statuses: 2 no more bits, or the end symbol was read; 3 memory; 4 bad
// setting, unknown symbol without escape, symbol too long, corrupt input.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "mml/codec/common/bit_io.h"
#include "mml/codec/common/number_code.h"
#include "mml/status.h"

namespace mml {

struct sSymbolKey {
  uint8_t nLen = 0;
  std::array<uint8_t, 8> aBytes{};
  bool operator==(const sSymbolKey& o) const {
    return nLen == o.nLen && std::equal(aBytes.begin(), aBytes.begin() + nLen, o.aBytes.begin());
  }
};

// A symbol number as the 2-byte big-endian key the dictionary coder uses.
inline sSymbolKey number_key(uint32_t n) {
  sSymbolKey k;
  k.nLen = 2;
  k.aBytes[0] = static_cast<uint8_t>(n >> 8);
  k.aBytes[1] = static_cast<uint8_t>(n);
  return k;
}
inline uint32_t key_number(const sSymbolKey& k) { return k.nLen == 2 ? (k.aBytes[0] << 8) | k.aBytes[1] : 0xFFFFFFFF; }

class CSymbolCoder {
 public:
  enum Mode { kAdaptiveEscape = 1, kAdaptive = 2, kStaticEscape = 3, kStatic = 4 };

  // Status 4 for a mode outside 1..4, an end flag other than 1 (with) or 2
  // (without), or refresh below 1 in an adaptive mode.
  static int Create(int mode, int endFlag, int64_t refresh, std::unique_ptr<CSymbolCoder>* out);

  // Adds a symbol (weight at least 1) after every symbol of equal or
  // greater weight. False if already held.
  bool Add(const sSymbolKey& key, uint32_t weight);
  // Removes every symbol; the reserved ones come back at the next coding.
  void Clear();
  // Builds the code now (after a batch of Add calls).
  void Rebuild();

  int Encode(const sSymbolKey& key, CBitWriter& out);
  int Decode(CBitReader& in, sSymbolKey* key);
  // The number code through this coder: bucket symbol, then extra bits.
  int EncodeNumber(uint32_t n, CBitWriter& out);
  int DecodeNumber(CBitReader& in, uint32_t* n) {
    static_assert(kTableBits + 16 <= CBitReader::kWindow);
    // Inline, the common case: a held bucket whose code the table holds
    // whole, read with its extra bits (at most 16) from one window. It ends
    // as the general path would: the code taken before the bucket is checked
    // and the extra bits read.
    const uint64_t window = in.Window();
    const sDecodeStep* step = PlainStep(window);
    if (step == nullptr) return DecodeNumberSlow(in, n);
    const int32_t symbol = step->nSymbol;
    const int codeBits = step->nBits;
    if (!TakePlain(*step, in)) return CodecStatus::kNoMoreBits;
    const uint32_t bucket = m_symbols[static_cast<size_t>(symbol)].nNumber;
    if (bucket >= static_cast<uint32_t>(kNumberBuckets)) return CodecStatus::kBadArgument;
    const sNumberBucket info = kNumberBucketInfo[bucket];
    if (static_cast<size_t>(info.nExtraBits) > in.BitsLeft()) return CodecStatus::kNoMoreBits;
    in.Skip(static_cast<size_t>(info.nExtraBits));
    const uint64_t extra = info.nExtraBits == 0 ? 0 : (window << codeBits) >> (64 - info.nExtraBits);
    *n = info.nBase + static_cast<uint32_t>(extra);
    return 0;
  }

  // Current weight of a held symbol, or 0.
  uint32_t WeightOf(const sSymbolKey& key) const;
  // Code length of a held symbol, or 0 (for tests).
  int CodeLength(const sSymbolKey& key);

  ~CSymbolCoder();

 private:
  struct sSymbol {
    sSymbolKey key;
    uint32_t nWeight;
    int32_t nOrderPos;  // index in m_order
    int32_t nNode;      // leaf node in m_nodes
    int32_t nNextInBucket;
    int32_t nCodeLen;  // 0: longer than 64 bits, walk the tree
    uint64_t nCode;
    uint32_t nNumber;  // key_number(key)
  };
  struct sNode {
    uint64_t nWeight;
    int32_t nParent;
    int32_t aChild[2];  // -1 for a leaf
    int32_t nSymbol;    // -1 for an inner node
    bool bPlain;        // a leaf of a symbol coded as itself: neither the escape nor the end
  };
  static constexpr uint32_t kBuckets = 499;
  // Symbols whose key is a 2-byte number below kDirect (those the
  // dictionary coder sends) are also found by number, without hashing.
  static constexpr uint32_t kDirect = 512;
  // Decoding looks up the next kTableBits bits at once: they lead to a
  // symbol (nBits its code length) or, for longer codes, to the inner node
  // reached after kTableBits bits. Built at the first decoding after the
  // code changes.
  static constexpr int kTableBits = 8;
  struct sDecodeStep {
    int32_t nSymbol;  // -1: an inner node
    int32_t nNode;
    int32_t nBits;
    bool bPlain;  // nSymbol is a plain symbol (sNode::bPlain)
  };

  CSymbolCoder(int mode, bool withEnd, uint32_t refresh);
  bool HasEscape() const { return m_mode == kAdaptiveEscape || m_mode == kStaticEscape; }
  // A symbol found and held as itself: the escape's and the end's names
  // ("default", "stop") are held only as those, and a writer escapes them.
  bool HeldAsItself(int32_t id) const { return id >= 0 && id != m_escape && id != m_end; }
  bool Adaptive() const { return m_mode == kAdaptiveEscape || m_mode == kAdaptive; }
  int32_t Find(const sSymbolKey& key) const;
  int32_t Insert(const sSymbolKey& key, uint32_t weight);
  void Prepare();  // reserved symbols and code, at the first coding after creation or Clear
  void Build();
  // Weight gain, and every `m_refresh` symbols the refresh.
  void AfterCoding(int32_t symbol) {
    if (!Adaptive()) return;
    sSymbol& s = m_symbols[static_cast<size_t>(symbol)];
    if (s.nWeight < UINT32_MAX) ++s.nWeight;
    if (++m_coded < m_refresh) return;
    m_coded = 0;
    Refresh(symbol);
  }
  void Refresh(int32_t symbol);
  int DecodeNumberSlow(CBitReader& in, uint32_t* n);
  int ReadCode(CBitReader& in, int32_t* id);
  int DecodeId(CBitReader& in, int32_t* id, sSymbolKey* key);
  // The table's step for the window's first bits when it is ready and the
  // step leads to a plain symbol, else nullptr: the case the inline paths
  // decode whole.
  const sDecodeStep* PlainStep(uint64_t window) const {
    if (!m_tableReady) return nullptr;
    const sDecodeStep& step = m_table[window >> (64 - kTableBits)];
    return step.bPlain ? &step : nullptr;
  }
  // Takes a plain step's code and counts the symbol; false, with nothing
  // consumed, when the code runs past the end.
  bool TakePlain(const sDecodeStep& step, CBitReader& in) {
    if (static_cast<size_t>(step.nBits) > in.BitsLeft()) return false;
    in.Skip(static_cast<size_t>(step.nBits));
    AfterCoding(step.nSymbol);
    return true;
  }
  int ReadEscaped(CBitReader& in, sSymbolKey* key);
  void WriteCode(int32_t symbol, CBitWriter& out);
  void BuildTable();
  void FillTable(int32_t node, int depth, uint32_t prefix);

  int m_mode;
  bool m_withEnd;
  uint32_t m_refresh;
  uint32_t m_coded = 0;  // symbols since the last refresh
  bool m_prepared = false;
  bool m_ended = false;
  int32_t m_escape = -1;
  int32_t m_end = -1;
  int32_t m_root = -1;
  MVector<sSymbol> m_symbols;
  MVector<int32_t> m_order;  // symbol ids, heaviest first
  MVector<sNode> m_nodes;
  MVector<int32_t> m_work;  // node list while building
  std::array<int32_t, kBuckets> m_heads;
  std::array<int32_t, kDirect> m_byNumber;
  // The table matches the code and the end has not been read; implies
  // m_prepared and an inner root.
  bool m_tableReady = false;
  std::array<sDecodeStep, 1u << kTableBits> m_table{};
};

}  // namespace mml
