#include "mml/codec/symbol/symbol_coder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "mml/hash/hashr.h"
#include "mml/codec/common/number_code.h"
#include "mml/status.h"

namespace mml {

namespace {

sSymbolKey text_key(const char* text) {
  sSymbolKey k;
  k.nLen = static_cast<uint8_t>(std::strlen(text));
  std::memcpy(k.aBytes.data(), text, k.nLen);
  return k;
}

const sSymbolKey kEscapeKey = text_key("default");
const sSymbolKey kEndKey = text_key("stop");

uint32_t bucket_of(const sSymbolKey& key) {
  return hashr_kelo(mml_data{reinterpret_cast<char*>(const_cast<uint8_t*>(key.aBytes.data())), key.nLen}, 0, 499);
}

}  // namespace

int CSymbolCoder::Create(int mode, int endFlag, int64_t refresh, std::unique_ptr<CSymbolCoder>* out) {
  if (mode < 1 || mode > 4 || (endFlag != 1 && endFlag != 2)) return CodecStatus::kBadArgument;
  const bool adaptive = mode == kAdaptiveEscape || mode == kAdaptive;
  if (adaptive && (refresh < 1 || refresh > UINT32_MAX)) return CodecStatus::kBadArgument;
  try {
    out->reset(new CSymbolCoder(mode, endFlag == 1, adaptive ? static_cast<uint32_t>(refresh) : 1));
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
  return 0;
}

CSymbolCoder::CSymbolCoder(int mode, bool withEnd, uint32_t refresh)
    : m_mode(mode), m_withEnd(withEnd), m_refresh(refresh) {
  m_heads.fill(-1);
  m_byNumber.fill(-1);
}

CSymbolCoder::~CSymbolCoder() = default;

int32_t CSymbolCoder::Find(const sSymbolKey& key) const {
  if (const uint32_t n = key_number(key); n < kDirect) return m_byNumber[n];
  for (int32_t i = m_heads[bucket_of(key)]; i >= 0; i = m_symbols[static_cast<size_t>(i)].nNextInBucket) {
    if (m_symbols[static_cast<size_t>(i)].key == key) return i;
  }
  return -1;
}

// After every symbol of equal or greater weight: before the first lighter one.
int32_t CSymbolCoder::Insert(const sSymbolKey& key, uint32_t weight) {
  const auto id = static_cast<int32_t>(m_symbols.size());
  const uint32_t bucket = bucket_of(key);
  m_symbols.push_back({key, weight, 0, -1, m_heads[bucket], 0, 0, key_number(key)});
  m_heads[bucket] = id;
  if (const uint32_t n = key_number(key); n < kDirect) m_byNumber[n] = id;
  size_t pos = m_order.size();
  while (pos > 0 && m_symbols[static_cast<size_t>(m_order[pos - 1])].nWeight < weight) --pos;
  m_order.insert(m_order.begin() + static_cast<ptrdiff_t>(pos), id);
  for (size_t i = pos; i < m_order.size(); ++i)
    m_symbols[static_cast<size_t>(m_order[i])].nOrderPos = static_cast<int32_t>(i);
  return id;
}

bool CSymbolCoder::Add(const sSymbolKey& key, uint32_t weight) {
  if (key.nLen < 1 || key.nLen > 8 || weight < 1 || Find(key) >= 0) return false;
  Insert(key, weight);
  m_root = -1;  // stale until rebuilt
  m_tableReady = false;
  return true;
}

void CSymbolCoder::Clear() {
  m_symbols.clear();
  m_order.clear();
  m_heads.fill(-1);
  m_byNumber.fill(-1);
  m_escape = m_end = -1;
  m_prepared = false;
  m_ended = false;
  m_coded = 0;
  Build();  // the empty code: no root, and the table no longer ready
}

void CSymbolCoder::Rebuild() { Build(); }

void CSymbolCoder::Prepare() {
  if (m_prepared) return;
  m_prepared = true;
  if (HasEscape()) m_escape = Insert(kEscapeKey, 1);
  if (m_withEnd) m_end = Insert(kEndKey, 1);
  Build();
}

// Merges the two lightest (last) entries into a node, 0-branch the
// second-to-last, and puts it right after the last entry at least as heavy.
void CSymbolCoder::Build() {
  m_tableReady = false;
  m_nodes.clear();
  m_work.clear();
  for (const int32_t id : m_order) {
    sSymbol& s = m_symbols[static_cast<size_t>(id)];
    s.nNode = static_cast<int32_t>(m_nodes.size());
    m_nodes.push_back({s.nWeight, -1, {-1, -1}, id, id != m_escape && id != m_end});
    m_work.push_back(s.nNode);
  }
  while (m_work.size() > 1) {
    const int32_t zero = m_work[m_work.size() - 2];
    const int32_t one = m_work.back();
    m_work.resize(m_work.size() - 2);
    const uint64_t sum = m_nodes[static_cast<size_t>(zero)].nWeight + m_nodes[static_cast<size_t>(one)].nWeight;
    const auto node = static_cast<int32_t>(m_nodes.size());
    m_nodes.push_back({sum, -1, {zero, one}, -1, false});
    m_nodes[static_cast<size_t>(zero)].nParent = node;
    m_nodes[static_cast<size_t>(one)].nParent = node;
    size_t pos = m_work.size();
    while (pos > 0 && m_nodes[static_cast<size_t>(m_work[pos - 1])].nWeight < sum) --pos;
    m_work.insert(m_work.begin() + static_cast<ptrdiff_t>(pos), node);
  }
  m_root = m_work.empty() ? -1 : m_work[0];
  // Codes from the root down; a lone symbol gets the one-bit code 1.
  for (sSymbol& s : m_symbols) {
    int len = 0;
    uint64_t code = 0;
    if (s.nNode == m_root) {
      len = 1;
      code = 1;
    } else {
      for (int32_t n = s.nNode; m_nodes[static_cast<size_t>(n)].nParent >= 0;
           n = m_nodes[static_cast<size_t>(n)].nParent) {
        const sNode& parent = m_nodes[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].nParent)];
        if (len < 64) code |= static_cast<uint64_t>(parent.aChild[1] == n ? 1 : 0) << len;
        ++len;
      }
    }
    s.nCodeLen = len <= 64 ? len : 0;
    s.nCode = code;
  }
}

void CSymbolCoder::BuildTable() {
  FillTable(m_root, 0, 0);
  m_tableReady = true;
}

// Every table index that starts with the depth bits of prefix leads to the
// node reached by them.
void CSymbolCoder::FillTable(int32_t node, int depth, uint32_t prefix) {
  const sNode& n = m_nodes[static_cast<size_t>(node)];
  if (n.nSymbol >= 0 || depth == kTableBits) {
    const int free = kTableBits - depth;
    for (uint32_t low = 0; low < (1u << free); ++low)
      m_table[(prefix << free) | low] = sDecodeStep{n.nSymbol, node, depth, n.bPlain};
    return;
  }
  FillTable(n.aChild[0], depth + 1, prefix << 1);
  FillTable(n.aChild[1], depth + 1, (prefix << 1) | 1);
}

void CSymbolCoder::WriteCode(int32_t symbol, CBitWriter& out) {
  const sSymbol& s = m_symbols[static_cast<size_t>(symbol)];
  if (s.nCodeLen > 0) {
    for (int left = s.nCodeLen; left > 0; left -= std::min(left, 32)) {
      const int count = std::min(left, 32);
      out.Put(static_cast<uint32_t>(s.nCode >> (left - count)), count);
    }
    return;
  }
  // Deeper than 64: collect the branch bits from the leaf up.
  MVector<uint8_t> bits;
  for (int32_t n = s.nNode; m_nodes[static_cast<size_t>(n)].nParent >= 0; n = m_nodes[static_cast<size_t>(n)].nParent) {
    bits.push_back(m_nodes[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].nParent)].aChild[1] == n ? 1 : 0);
  }
  for (auto it = bits.rbegin(); it != bits.rend(); ++it) out.Bit(*it != 0);
}

// The move forward and the rebuild check against the branches above the
// symbol's parent.
void CSymbolCoder::Refresh(int32_t id) {
  sSymbol& s = m_symbols[static_cast<size_t>(id)];
  for (int32_t i = 0; i < s.nOrderPos; ++i) {
    const int32_t other = m_order[static_cast<size_t>(i)];
    if (m_symbols[static_cast<size_t>(other)].nWeight < s.nWeight) {
      std::swap(m_order[static_cast<size_t>(i)], m_order[static_cast<size_t>(s.nOrderPos)]);
      m_symbols[static_cast<size_t>(other)].nOrderPos = s.nOrderPos;
      s.nOrderPos = i;
      break;
    }
  }
  const int32_t parent = m_nodes[static_cast<size_t>(s.nNode)].nParent;
  if (parent < 0) return;
  for (int32_t n = parent; m_nodes[static_cast<size_t>(n)].nParent >= 0; n = m_nodes[static_cast<size_t>(n)].nParent) {
    const sNode& up = m_nodes[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].nParent)];
    const int32_t sibling = up.aChild[0] == n ? up.aChild[1] : up.aChild[0];
    if (s.nWeight > m_nodes[static_cast<size_t>(sibling)].nWeight) {
      Build();
      return;
    }
  }
}

int CSymbolCoder::Encode(const sSymbolKey& key, CBitWriter& out) {
  if (key.nLen < 1 || key.nLen > 8) return CodecStatus::kBadArgument;
  try {
    Prepare();
    if (m_root < 0) Build();
    const int32_t id = Find(key);
    if (HeldAsItself(id)) {
      WriteCode(id, out);
      AfterCoding(id);
      return 0;
    }
    if (key == kEndKey && m_end >= 0) {
      WriteCode(m_end, out);
      return 0;
    }
    if (m_escape < 0) return CodecStatus::kBadArgument;
    WriteCode(m_escape, out);
    out.Put(key.nLen - 1u, 3);
    for (int i = 0; i < key.nLen; ++i) out.Put(key.aBytes[static_cast<size_t>(i)], 8);
    if (m_mode == kAdaptiveEscape) {
      Insert(key, 1);
      Build();
    }
    return 0;
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
}

// The symbol the next code leads to, the escape and the end included.
// REQUIRES: a built code.
inline int CSymbolCoder::ReadCode(CBitReader& in, int32_t* id) {
  int32_t n = m_root;
  uint32_t bit = 0;
  if (m_nodes[static_cast<size_t>(n)].nSymbol >= 0) {
    if (!in.Bit(&bit)) return CodecStatus::kNoMoreBits;
    if (bit != 1) return CodecStatus::kBadArgument;
  } else {
    if (!m_tableReady) BuildTable();
    // A step longer than the bits left means the code runs past the end:
    // the bits that are there lead down the same path as the table's.
    const sDecodeStep& step = m_table[in.Peek(kTableBits)];
    if (static_cast<size_t>(step.nBits) > in.BitsLeft()) return CodecStatus::kNoMoreBits;
    in.Skip(static_cast<size_t>(step.nBits));
    n = step.nNode;  // a leaf, or the inner node to go on from
    while (m_nodes[static_cast<size_t>(n)].nSymbol < 0) {
      if (!in.Bit(&bit)) return CodecStatus::kNoMoreBits;
      n = m_nodes[static_cast<size_t>(n)].aChild[bit];
    }
  }
  *id = m_nodes[static_cast<size_t>(n)].nSymbol;
  return 0;
}

// A held symbol comes back as *id; an escaped one as *id = -1 and *key.
int CSymbolCoder::DecodeId(CBitReader& in, int32_t* id, sSymbolKey* key) {
  try {
    if (m_ended) return CodecStatus::kNoMoreBits;
    Prepare();
    if (m_root < 0) Build();
    if (m_root < 0) return CodecStatus::kBadArgument;
    int32_t got = -1;
    if (const int status = ReadCode(in, &got); status != 0) return status;
    if (got == m_end) {
      m_ended = true;
      m_tableReady = false;  // the inline paths decode no more
      return CodecStatus::kNoMoreBits;
    }
    if (got != m_escape) {
      AfterCoding(got);
      *id = got;
      return 0;
    }
    *id = -1;
    return ReadEscaped(in, key);
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
}

// After the escape: 3 bits of length - 1, then the bytes; mode 1 learns
// the symbol.
int CSymbolCoder::ReadEscaped(CBitReader& in, sSymbolKey* key) {
  uint32_t len = 0;
  if (!in.Get(3, &len)) return CodecStatus::kNoMoreBits;
  sSymbolKey k;
  k.nLen = static_cast<uint8_t>(len + 1);
  for (int i = 0; i < k.nLen; ++i) {
    uint32_t byte = 0;
    if (!in.Get(8, &byte)) return CodecStatus::kNoMoreBits;
    k.aBytes[static_cast<size_t>(i)] = static_cast<uint8_t>(byte);
  }
  if (m_mode == kAdaptiveEscape) {
    if (HeldAsItself(Find(k))) return CodecStatus::kBadArgument;  // a writer escapes only what it does not hold
    Insert(k, 1);
    Build();
  }
  *key = k;
  return 0;
}

int CSymbolCoder::Decode(CBitReader& in, sSymbolKey* key) {
  if (const sDecodeStep* step = PlainStep(in.Window())) {
    const int32_t id = step->nSymbol;
    if (!TakePlain(*step, in)) return CodecStatus::kNoMoreBits;
    *key = m_symbols[static_cast<size_t>(id)].key;
    return 0;
  }
  int32_t id = -1;
  if (const int status = DecodeId(in, &id, key); status != 0) return status;
  if (id >= 0) *key = m_symbols[static_cast<size_t>(id)].key;
  return 0;
}

int CSymbolCoder::EncodeNumber(uint32_t n, CBitWriter& out) {
  if (n > kLargestNumber) return CodecStatus::kBadArgument;
  const int bucket = number_bucket(n);
  if (const int status = Encode(number_key(static_cast<uint32_t>(bucket)), out); status != 0) return status;
  const sNumberBucket info = number_bucket_info(bucket);
  out.Put(n - info.nBase, info.nExtraBits);
  return 0;
}

// The general path of DecodeNumber: everything but a table step to a
// plain symbol.
int CSymbolCoder::DecodeNumberSlow(CBitReader& in, uint32_t* n) {
  int32_t id = -1;
  sSymbolKey key;
  if (const int status = DecodeId(in, &id, &key); status != 0) return status;
  const uint32_t bucket = id >= 0 ? m_symbols[static_cast<size_t>(id)].nNumber : key_number(key);
  if (bucket >= static_cast<uint32_t>(kNumberBuckets)) return CodecStatus::kBadArgument;
  const sNumberBucket info = number_bucket_info(static_cast<int>(bucket));
  uint32_t extra = 0;
  if (!in.Get(info.nExtraBits, &extra)) return CodecStatus::kNoMoreBits;
  *n = info.nBase + extra;
  return 0;
}

uint32_t CSymbolCoder::WeightOf(const sSymbolKey& key) const {
  const int32_t id = Find(key);
  return id < 0 ? 0 : m_symbols[static_cast<size_t>(id)].nWeight;
}

int CSymbolCoder::CodeLength(const sSymbolKey& key) {
  Prepare();
  if (m_root < 0) Build();
  const int32_t id = Find(key);
  if (id < 0) return 0;
  int len = 0;
  for (int32_t n = m_symbols[static_cast<size_t>(id)].nNode; m_nodes[static_cast<size_t>(n)].nParent >= 0;
       n = m_nodes[static_cast<size_t>(n)].nParent) {
    ++len;
  }
  return len == 0 ? 1 : len;
}

}  // namespace mml
