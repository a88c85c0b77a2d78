// The LOC coder (compression types 8, 10, 11): a cache of recently seen
// content shared by writer and reader. The writer cuts a message into
// segments (each field of a tagged message, after its header; any other
// message is one segment); a segment the cache holds is sent as a short
// reference. A segment seen for the second time is sent whole and cached on
// both sides; one seen for the first time is sent whole without caching
// (the writer alone remembers a fingerprint of it), so the cache holds only
// content that repeats.
//
// Message: a sequence of tokens, numbers as LEB128 varints:
//   0x00 len bytes   a segment, cached under the next id (ids count from 0)
//   0x01 id          a cached segment again
//   0x02 len bytes   a segment not cached (first sighting, or over 1024 bytes)
// The cache is a hash table of MML_LOC_HASH_SIZE buckets (default 49999)
// chosen by hashr_kelo with seed 0. Every MML_LOC_TRIM_FREQUENCY messages
// (default 20000) both sides drop the segments unused since the last trim.
#include <cstring>
#include <string>
#include <unordered_map>

#include "mml/codec/codec_internal.h"
#include "mml/hash/hashr.h"
#include "mml/message/message_format.h"
#include "mml/status.h"

namespace mml {

namespace {

constexpr uint8_t kNew = 0x00;
constexpr uint8_t kCached = 0x01;
constexpr uint8_t kRaw = 0x02;
constexpr uint32_t kLongestCached = 1024;

void put_varint(MVector<uint8_t>& out, uint32_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<uint8_t>(v));
}

bool get_varint(const uint8_t* in, uint32_t len, uint32_t* pos, uint32_t* v) {
  uint32_t value = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (*pos >= len) return false;
    const uint8_t b = in[(*pos)++];
    value |= static_cast<uint32_t>(b & 0x7F) << shift;
    if ((b & 0x80) == 0) {
      *v = value;
      return true;
    }
  }
  return false;
}

class CLocCodec : public CCodec {
 public:
  CLocCodec(uint32_t buckets, uint32_t trimEvery) : m_buckets(buckets, kNone), m_trimEvery(trimEvery) {}

  int Compress(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    uint32_t pos = 0;
    for (const uint32_t end : Segments(in, len)) {
      const uint8_t* seg = in + pos;
      const uint32_t n = end - pos;
      pos = end;
      if (n > kLongestCached || FirstSighting(seg, n)) {
        out.push_back(kRaw);
        put_varint(out, n);
        out.insert(out.end(), seg, seg + n);
        continue;
      }
      const uint32_t bucket = BucketOf(seg, n);
      if (const uint32_t id = Find(bucket, seg, n); id != kNone) {
        out.push_back(kCached);
        put_varint(out, id);
        Touch(id);
        continue;
      }
      out.push_back(kNew);
      put_varint(out, n);
      out.insert(out.end(), seg, seg + n);
      Insert(bucket, seg, n);
    }
    EndMessage();
    return 0;
  }

  int Expand(const uint8_t* in, uint32_t len, MVector<uint8_t>& out) override {
    uint32_t pos = 0;
    while (pos < len) {
      const uint8_t token = in[pos++];
      uint32_t v = 0;
      if (!get_varint(in, len, &pos, &v)) return CodecStatus::kNoMoreBits;
      if (token == kCached) {
        const auto it = m_entries.find(v);
        if (it == m_entries.end()) return CodecStatus::kBadArgument;
        out.insert(out.end(), it->second.bytes.begin(), it->second.bytes.end());
        Touch(v);
        continue;
      }
      if ((token != kNew && token != kRaw) || v > len - pos || (token == kNew && v > kLongestCached)) {
        return CodecStatus::kBadArgument;
      }
      out.insert(out.end(), in + pos, in + pos + v);
      if (token == kNew) Insert(BucketOf(in + pos, v), in + pos, v);
      pos += v;
    }
    EndMessage();
    return 0;
  }

 private:
  static constexpr uint32_t kNone = 0xFFFFFFFF;
  // Short segments (most fields) live inside the string, without a block of their own.
  using Bytes = std::basic_string<char, std::char_traits<char>, CMmlAllocator<char>>;
  struct sEntry {
    Bytes bytes;
    uint32_t nNext;  // next id in the bucket
    uint32_t nBucket;
    uint64_t nLastUse;  // message number
  };

  // Segment ends: the header and each field of a well-formed tagged
  // message; the rest (or all of anything else) as one segment.
  MVector<uint32_t> Segments(const uint8_t* in, uint32_t len) {
    MVector<uint32_t> ends;
    const bool wide = len >= 6 && in[0] == 0x42 && in[1] == 0x42;
    const bool compact = len >= 4 && in[0] == 0x41 && in[1] == 0x41;
    if (wide || compact) {
      const uint32_t width = wide ? 4 : 2;
      uint32_t pos = 2 + width;
      ends.push_back(pos);
      while (len - pos >= 2 + width) {
        const uint32_t value = get_be(reinterpret_cast<const char*>(in + pos + 2), static_cast<int32_t>(width));
        if (value > len - pos - 2 - width) break;
        pos += 2 + width + value;
        ends.push_back(pos);
      }
    }
    if (ends.empty() || ends.back() != len) ends.push_back(len);
    return ends;
  }

  // Writer only: whether this content is new to the fingerprint table
  // (direct-mapped, 64-bit FNV-1a), remembering it if so.
  bool FirstSighting(const uint8_t* seg, uint32_t n) {
    uint64_t h = 14695981039346656037ULL;
    for (uint32_t i = 0; i < n; ++i) h = (h ^ seg[i]) * 1099511628211ULL;
    if (m_seen.empty()) m_seen.assign(kSeenSlots, 0);
    uint64_t& slot = m_seen[h % kSeenSlots];
    if (slot == h) return false;
    slot = h;
    return true;
  }

  uint32_t BucketOf(const uint8_t* seg, uint32_t n) const {
    return hashr_kelo(mml_data{reinterpret_cast<char*>(const_cast<uint8_t*>(seg)), static_cast<int32_t>(n)}, 0,
                      static_cast<uint32_t>(m_buckets.size()));
  }
  uint32_t Find(uint32_t bucket, const uint8_t* seg, uint32_t n) const {
    for (uint32_t id = m_buckets[bucket]; id != kNone;) {
      const sEntry& e = m_entries.at(id);
      if (e.bytes.size() == n && std::memcmp(e.bytes.data(), seg, n) == 0) return id;
      id = e.nNext;
    }
    return kNone;
  }
  void Insert(uint32_t bucket, const uint8_t* seg, uint32_t n) {
    const uint32_t id = m_nextId++;
    sEntry& e = m_entries[id];
    e.bytes.assign(reinterpret_cast<const char*>(seg), n);
    e.nNext = m_buckets[bucket];
    e.nBucket = bucket;
    e.nLastUse = m_messages;
    m_buckets[bucket] = id;
  }
  void Touch(uint32_t id) { m_entries.at(id).nLastUse = m_messages; }

  // Every m_trimEvery messages: drop what was not used since the last trim.
  void EndMessage() {
    if (++m_messages % m_trimEvery != 0) return;
    const uint64_t since = m_messages - m_trimEvery;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
      it = it->second.nLastUse < since ? Drop(it) : std::next(it);
    }
  }
  template <class It>
  It Drop(It it) {
    uint32_t* link = &m_buckets[it->second.nBucket];
    while (*link != it->first) link = &m_entries.at(*link).nNext;
    *link = it->second.nNext;
    return m_entries.erase(it);
  }

  static constexpr uint32_t kSeenSlots = 1u << 16;
  MVector<uint64_t> m_seen;     // writer's fingerprints of segments sent uncached
  MVector<uint32_t> m_buckets;  // first id of each bucket
  std::unordered_map<uint32_t, sEntry, std::hash<uint32_t>, std::equal_to<uint32_t>,
                     CMmlAllocator<std::pair<const uint32_t, sEntry>>>
      m_entries;
  uint32_t m_trimEvery;
  uint32_t m_nextId = 0;
  uint64_t m_messages = 0;
};

}  // namespace

int make_loc_codec(Side, std::unique_ptr<CCodec>* out) {
  int32_t buckets = 0, trim = 0;
  if (!int_setting_or("MML_LOC_HASH_SIZE", 49999, &buckets) ||
      !int_setting_or("MML_LOC_TRIM_FREQUENCY", 20000, &trim) || buckets < 1 || trim < 1) {
    return CodecStatus::kBadArgument;
  }
  *out = std::make_unique<CLocCodec>(static_cast<uint32_t>(buckets), static_cast<uint32_t>(trim));
  return 0;
}

}  // namespace mml
