#include "mml/codec/dictionary/dict_coder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>

#include "mml/codec/common/number_code.h"
#include "mml/status.h"

namespace mml {

namespace {

// The largest count of a sent literal table; larger ones are scaled.
constexpr uint32_t kLargestCount = 32767;
constexpr uint32_t kTableMinMessage = 512;
constexpr int kTableScore = 49;

// Every history byte a writer may leave beyond its buffer limit: one
// longest phrase and the three closing literals. A reader refuses more.
constexpr uint64_t kHistorySlack = CPhraseDictionary::kLongestMatch + 3;

int validate(const dict_config& c) {
  for (const int32_t flag : {c.optimize, c.move_to_front, c.greedy_match, c.adaptive_literals}) {
    if (flag != 0 && flag != 1) return CodecStatus::kBadArgument;
  }
  if (c.phrase_tbl_size < 3 || c.phrase_tbl_size > 250000 || c.bucket_size < 8 || c.max_phrase_set_size < 0 ||
      c.max_phrase_buf_size < 0 || c.hash_tbl_size < 0) {
    return CodecStatus::kBadArgument;
  }
  // The list's index needs a spacing and a refresh period.
  if (c.move_to_front == 1 && (c.refresh_int < 1 || c.mtf_refresh_freq < 1)) return CodecStatus::kBadArgument;
  return 0;
}

}  // namespace

CDictCoder::CDictCoder(const dict_config& cfg)
    : m_cfg(cfg),
      m_dict(static_cast<uint32_t>(cfg.hash_tbl_size), static_cast<uint32_t>(cfg.phrase_tbl_size),
             static_cast<uint32_t>(cfg.bucket_size)) {}

int CDictCoder::Create(const dict_config& given, std::unique_ptr<CDictCoder>* out) {
  if (const int status = validate(given); status != 0) return status;
  dict_config cfg = given;
  if (cfg.max_phrase_set_size == 0) cfg.max_phrase_set_size = 16384;
  if (cfg.max_phrase_buf_size == 0) cfg.max_phrase_buf_size = 104857600;
  if (cfg.hash_tbl_size == 0) cfg.hash_tbl_size = 49999;
  std::unique_ptr<CDictCoder> coder;
  try {
    coder.reset(new CDictCoder(cfg));
    if (cfg.move_to_front == 1) {
      try {
        coder->m_mtf = std::make_unique<CMoveToFront>(static_cast<uint32_t>(cfg.phrase_tbl_size));
      } catch (const std::bad_alloc&) {
        return CodecStatus::kMoveToFront;
      }
    }
    // Coders A and B: adaptive with escape, no end symbol, the 36 buckets
    // in ascending order at weight 2. Literals: adaptive, or static with a
    // refresh of 1.
    const int64_t refresh = cfg.huff_refresh_freq;
    if (CSymbolCoder::Create(CSymbolCoder::kAdaptiveEscape, 2, refresh, &coder->m_coderA) != 0 ||
        CSymbolCoder::Create(CSymbolCoder::kAdaptiveEscape, 2, refresh, &coder->m_coderB) != 0 ||
        CSymbolCoder::Create(cfg.adaptive_literals == 1 ? CSymbolCoder::kAdaptiveEscape : CSymbolCoder::kStaticEscape,
                             2, cfg.adaptive_literals == 1 ? refresh : 1, &coder->m_literals) != 0) {
      return CodecStatus::kHuffman;
    }
    for (uint32_t b = 0; b < static_cast<uint32_t>(kNumberBuckets); ++b) {
      coder->m_coderA->Add(number_key(b), 2);
      coder->m_coderB->Add(number_key(b), 2);
    }
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
  *out = std::move(coder);
  return 0;
}

void CDictCoder::Reset() {
  m_dict.Reset();
  ++m_stats.resets;
}

void CDictCoder::Literal(uint32_t symbol) {
  m_tokens.push_back({symbol, 0});
  ++m_counts[symbol];
  ++m_stats.literals;
  if (symbol < 256) m_dict.AppendLiteral(static_cast<uint8_t>(symbol));
}

void CDictCoder::Phrase(const CPhraseDictionary::sMatch& m) {
  m_tokens.push_back({m.nPhrase, m.nLen});
  ++m_stats.phrases;
  m_stats.longest_match = std::max(m_stats.longest_match, m.nLen);
  m_dict.AppendMatch(m);
}

// Scales the counts to at most 32767 and decides whether this message
// sends them: only messages of 512 bytes or more, and only when they
// differ enough from the counts last scored.
bool CDictCoder::DecideTable(uint32_t messageLen) {
  const uint32_t largest = *std::max_element(m_counts.begin(), m_counts.end());
  if (largest > kLargestCount) {
    uint64_t divisor = 1000;
    while (largest / divisor > kLargestCount) divisor *= 1000;
    for (uint32_t& c : m_counts) {
      if (c == 0) continue;
      const auto scaled = static_cast<uint32_t>(c / divisor);
      c = scaled == 0 ? 1 : scaled + 1;
    }
  }
  if (messageLen < kTableMinMessage) return false;
  int score = 0;
  for (int s = 0; s < kSymbols; ++s) {
    const uint32_t a = m_counts[static_cast<size_t>(s)];
    const uint32_t b = m_previous[static_cast<size_t>(s)];
    const uint32_t diff = std::max(a, b) - std::min(a, b);
    score += diff > 8 ? 2 : (diff > 1 ? 1 : 0);
  }
  m_previous = m_counts;
  return score >= kTableScore;
}

// The literal coder restarts from the table: symbols of non-zero count in
// ascending order, weighted by their counts.
int CDictCoder::RefillLiterals(const std::array<uint32_t, kSymbols>& counts) {
  m_literals->Clear();
  for (uint32_t s = 0; s < static_cast<uint32_t>(kSymbols); ++s) {
    if (counts[s] > 0) m_literals->Add(number_key(s), counts[s]);
  }
  m_literals->Rebuild();
  return 0;
}

int CDictCoder::Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) {
  try {
    m_tokens.clear();
    m_counts.fill(0);
    // Matches stop before the last three bytes, which are always literals.
    const uint32_t limit = len < 3 ? len : len - 3;
    uint32_t pos = 0;
    CPhraseDictionary::sMatch m;
    CPhraseDictionary::sMatch next;
    while (pos < limit) {
      if (m_dict.HistoryLen() < 2) {
        Literal(in[pos++]);
        continue;
      }
      if (m_dict.SetCount() >= static_cast<uint32_t>(m_cfg.max_phrase_set_size) ||
          m_dict.HistoryLen() >= static_cast<uint32_t>(m_cfg.max_phrase_buf_size)) {
        Literal(kReset);
        Reset();
        continue;
      }
      if (limit - pos < 4 || !m_dict.FindMatch(in + pos, limit - pos, m_cfg.optimize == 1, &m)) {
        Literal(in[pos++]);
        continue;
      }
      // Lazy matching: a match one byte later that is longer by more than 2 wins.
      if (m_cfg.greedy_match == 0 && limit - pos - 1 >= 4 &&
          m_dict.FindMatch(in + pos + 1, limit - pos - 1, m_cfg.optimize == 1, &next) && next.nLen > m.nLen + 2) {
        Literal(in[pos++]);
        if (m_dict.StillHolds(next)) {
          Phrase(next);
          pos += next.nLen;
        } else {
          Literal(in[pos++]);
        }
        continue;
      }
      Phrase(m);
      pos += m.nLen;
    }
    while (pos < len) Literal(in[pos++]);
    Literal(kEnd);

    const bool table = DecideTable(len);
    const size_t startBytes = out.size();
    CBitWriter w(out);
    w.Bit(table);
    if (table) {
      RefillLiterals(m_counts);
      for (const uint32_t c : m_counts) {
        if (m_coderA->EncodeNumber(c, w) != 0) return CodecStatus::kHuffman;
      }
    }
    for (const sToken& t : m_tokens) {
      if (t.nLen == 0) {
        w.Bit(true);
        if (m_literals->Encode(number_key(t.nSymbolOrPhrase), w) != 0) return CodecStatus::kHuffman;
      } else {
        w.Bit(false);
        const uint32_t number = m_mtf ? m_mtf->Send(t.nSymbolOrPhrase) : t.nSymbolOrPhrase;
        if (m_coderB->EncodeNumber(number, w) != 0 || m_coderA->EncodeNumber(t.nLen, w) != 0) {
          return CodecStatus::kHuffman;
        }
      }
    }
    w.Finish();
    ++m_stats.messages;
    m_stats.bytes_in += len;
    m_stats.bytes_out += out.size() - startBytes;
    return 0;
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
}

// Decoding a token needs the coders and the move-to-front list but none of
// the dictionary, so Expand reads a batch of tokens (a whole message, as a
// rule) first and then applies them. Before applying, it asks the
// dictionary to start fetching what each phrase will read (its slot, its
// set entry, its history bytes), which mostly misses the cache: fetched
// together these reads overlap instead of waiting one after another.
// A failure reports the status of the first token that fails, reading or
// applying, as coding them one at a time would.
int CDictCoder::Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) {
  try {
    CBitReader r(in, len);
    uint32_t flag = 0;
    if (!r.Bit(&flag)) return CodecStatus::kNoMoreBits;
    if (flag == 1) {
      std::array<uint32_t, kSymbols> counts{};
      for (uint32_t& c : counts) {
        if (const int status = m_coderA->DecodeNumber(r, &c); status != 0) return status;
      }
      RefillLiterals(counts);
    }
    const uint64_t historyLimit = static_cast<uint64_t>(m_cfg.max_phrase_buf_size) + kHistorySlack;
    uint32_t messageStart = m_dict.HistoryLen();
    const auto emit = [&] {
      const uint8_t* h = m_dict.History();
      const size_t at = out.size();
      out.resize(at + (m_dict.HistoryLen() - messageStart));
      if (out.size() > at) std::memcpy(out.data() + at, h + messageStart, out.size() - at);
    };
    for (;;) {
      const int readStatus = ReadTokens(r);
      const std::span<const sToken> tokens(m_batch.data(), m_batchLen);
      // One pass per step of a phrase's lookup, each fetching for every
      // phrase of the batch at once.
      for (const sToken& t : tokens) {
        if (t.nLen != 0) m_dict.PrefetchSlot(t.nSymbolOrPhrase);
      }
      uint8_t loaded = 0;
      for (const sToken& t : tokens) {
        if (t.nLen != 0) loaded ^= m_dict.LoadSource(t.nSymbolOrPhrase);
      }
      m_sink ^= loaded;
      for (const sToken& t : tokens) {
        if (t.nLen != 0) {
          if (m_dict.HistoryLen() + static_cast<uint64_t>(t.nLen) > historyLimit ||
              !m_dict.AppendPhrase(t.nSymbolOrPhrase, t.nLen)) {
            return CodecStatus::kBadArgument;
          }
        } else if (t.nSymbolOrPhrase == kEnd) {
          emit();
          ++m_stats.messages;
          m_stats.bytes_in += len;
          return 0;
        } else if (t.nSymbolOrPhrase == kReset) {
          emit();
          Reset();
          messageStart = 0;
        } else {
          if (m_dict.HistoryLen() + 1 > historyLimit) return CodecStatus::kBadArgument;
          m_dict.AppendLiteral(static_cast<uint8_t>(t.nSymbolOrPhrase));
        }
      }
      if (readStatus != 0) return readStatus;
    }
  } catch (const std::bad_alloc&) {
    return CodecStatus::kNoMemory;
  }
}

// Reads up to kBatch tokens into m_batch, stopping after the end symbol.
// Status 0 when the batch is whole, else that of the token that could not
// be read (the tokens before it are kept).
int CDictCoder::ReadTokens(CBitReader& r) {
  m_batchLen = 0;
  while (m_batchLen < kBatch) {
    uint32_t bit = 0;
    if (!r.Bit(&bit)) return CodecStatus::kNoMoreBits;
    if (bit == 1) {
      sSymbolKey key;
      if (const int status = m_literals->Decode(r, &key); status != 0) return status;
      const uint32_t symbol = key_number(key);
      if (symbol > kReset) return CodecStatus::kCorruptTokens;
      m_batch[m_batchLen++] = sToken{symbol, 0};
      if (symbol == kEnd) return 0;
      continue;
    }
    uint32_t number = 0;
    uint32_t phraseLen = 0;
    if (const int status = m_coderB->DecodeNumber(r, &number); status != 0) return status;
    if (const int status = m_coderA->DecodeNumber(r, &phraseLen); status != 0) return status;
    if (m_mtf && !m_mtf->Receive(number, &number)) return CodecStatus::kBadArgument;
    if (phraseLen == 0) return CodecStatus::kBadArgument;  // no phrase is empty; 0 marks a literal here
    m_batch[m_batchLen++] = sToken{number, phraseLen};
  }
  return 0;
}

}  // namespace mml
