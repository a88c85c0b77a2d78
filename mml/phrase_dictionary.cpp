#include "mml/phrase_dictionary.h"

#include <algorithm>
#include <cstring>

namespace mml {

namespace {
constexpr size_t kGrowth = 8;

// Length of the common prefix of a and b, from 3 (the trigram already
// agrees) up to most, eight bytes at a time.
inline uint32_t match_length(const uint8_t* a, const uint8_t* b, uint32_t most) {
  uint32_t len = 3;
  while (len + 8 <= most) {
    uint64_t x = 0, y = 0;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) return len + static_cast<uint32_t>(__builtin_ctzll(x ^ y) / 8);
    len += 8;
  }
  while (len < most && a[len] == b[len]) ++len;
  return len < 3 ? 3 : len;
}  // buckets, sets and set entries grow 8 at a time

template <class V>
void push_grown_by_8(V& v, const typename V::value_type& item) {
  if (v.size() == v.capacity()) v.reserve(v.capacity() + kGrowth);
  v.push_back(item);
}
}  // namespace

CPhraseDictionary::CPhraseDictionary(uint32_t hashSize, uint32_t phraseSlots, uint32_t bucketSize)
    : hashSize_(hashSize), bucketSize_(bucketSize), buckets_(hashSize), slots_(phraseSlots, sSlot{kNone, 0, 0}) {
  history_.reserve(4096);
}

void CPhraseDictionary::Reset() {
  for (auto& bucket : buckets_) bucket.clear();
  for (uint32_t i = 0; i < setCount_; ++i) {
    sPhraseSet& set = sets_[i];
    set.entries.clear();
    set.nLive = set.nFreed = set.nCursor = set.nUses = 0;
    set.nMatchTotal = 0;
  }
  std::fill(slots_.begin(), slots_.end(), sSlot{kNone, 0, 0});
  history_.clear();
  nextSlot_ = 0;
  registered_ = 0;
  setCount_ = 0;
}

// ((b0 x 33 + b1) x 33 + b2) mod size, bytes as signed 8-bit values.
uint32_t CPhraseDictionary::TrigramBucket(const uint8_t* b) const {
  const auto s = [](uint8_t c) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c))); };
  return ((s(b[0]) * 33u + s(b[1])) * 33u + s(b[2])) % hashSize_;
}

uint32_t CPhraseDictionary::FindSet(const uint8_t* trigram, uint32_t bucket) const {
  const uint32_t packed = Packed(trigram);
  for (const sBucketEntry& e : buckets_[bucket]) {
    if (e.nTrigram == packed) return e.nSet;
  }
  return kNone;
}

void CPhraseDictionary::Register(uint32_t pos) {
  const uint8_t* trigram = history_.data() + pos;
  const uint32_t bucket = TrigramBucket(trigram);
  uint32_t setId = FindSet(trigram, bucket);
  if (setId == kNone) {
    setId = setCount_++;
    if (setId == sets_.size()) {
      if (sets_.size() == sets_.capacity()) sets_.reserve(sets_.capacity() + kGrowth);
      sets_.emplace_back();
    }
    push_grown_by_8(buckets_[bucket], sBucketEntry{Packed(trigram), setId});
  }
  sPhraseSet& set = sets_[setId];
  uint32_t index = 0;
  if (set.nFreed > 0) {
    while (set.entries[index].bValid) ++index;
    --set.nFreed;
  } else if (set.nLive < bucketSize_) {
    index = static_cast<uint32_t>(set.entries.size());
    push_grown_by_8(set.entries, sEntry{});
  } else {
    // Full: the rotating cursor's entry moves to the new position and keeps
    // its phrase number.
    index = set.nCursor;
    set.nCursor = (set.nCursor + 1) % static_cast<uint32_t>(set.entries.size());
    set.entries[index].nPos = pos;
    slots_[set.entries[index].nPhrase].nPos = pos;
    return;
  }
  const uint32_t slot = nextSlot_;
  if (slots_[slot].nSet != kNone) {
    sPhraseSet& old = sets_[slots_[slot].nSet];
    old.entries[slots_[slot].nEntry].bValid = false;
    --old.nLive;
    ++old.nFreed;
  }
  set.entries[index] = sEntry{pos, slot, 0, true};
  ++set.nLive;
  slots_[slot] = sSlot{setId, index, pos};
  nextSlot_ = slot + 1 == slots_.size() ? 0 : slot + 1;
  ++registered_;
}

void CPhraseDictionary::AppendLiteral(uint8_t byte) {
  history_.push_back(byte);
  if (history_.size() >= 3) Register(static_cast<uint32_t>(history_.size() - 3));
}

bool CPhraseDictionary::AppendPhrase(uint32_t phrase, uint32_t len) {
  if (phrase >= slots_.size() || slots_[phrase].nSet == kNone || len < 4 || len > kLongestMatch ||
      history_.size() < 2) {
    return false;
  }
  const sSlot slot = slots_[phrase];
  const uint32_t from = slot.nPos;
  const auto start = static_cast<uint32_t>(history_.size());
  if (static_cast<uint64_t>(from) + len > start) return false;
  if (history_.capacity() < start + len) history_.reserve(std::max<size_t>(history_.capacity() * 2, start + len));
  history_.resize(start + len);  // reserved: the source does not move
  std::memcpy(history_.data() + start, history_.data() + from, len);
  NoteUse(slot.nSet, slot.nEntry, len);
  Register(start - 2);
  Register(start - 1);
  Register(start);
  return true;
}

void CPhraseDictionary::NoteUse(uint32_t set, uint32_t entry, uint32_t len) {
  sEntry& e = sets_[set].entries[entry];
  if (e.nUses < 65535) ++e.nUses;
  ++sets_[set].nUses;
  sets_[set].nMatchTotal += len;
}

bool CPhraseDictionary::FindMatch(const uint8_t* in, uint32_t remaining, bool optimize, sMatch* best) const {
  if (history_.size() < 3) return false;
  const uint32_t setId = FindSet(in, TrigramBucket(in));
  if (setId == kNone) return false;
  const sPhraseSet& set = sets_[setId];
  const uint32_t stop = set.nUses == 0 ? 5 : static_cast<uint32_t>(set.nMatchTotal / set.nUses);
  const auto histLen = static_cast<uint32_t>(history_.size());
  const uint32_t limit = std::min(remaining, kLongestMatch);
  sMatch found;
  for (uint32_t i = 0; i < set.entries.size(); ++i) {
    const sEntry& e = set.entries[i];
    if (!e.bValid) continue;
    const uint8_t* h = history_.data() + e.nPos;
    const uint32_t most = std::min(limit, histLen - e.nPos);
    const uint32_t len = match_length(in, h, most);
    if (len > found.nLen || (len == found.nLen && e.nPhrase < found.nPhrase)) found = {len, e.nPhrase, setId, i, e.nPos};
    if (optimize && found.nLen > stop + 1) break;
  }
  if (found.nLen <= 3) return false;
  *best = found;
  return true;
}

bool CPhraseDictionary::StillHolds(const sMatch& m) const {
  const sEntry& e = sets_[m.nSet].entries[m.nEntry];
  return e.bValid && e.nPos == m.nPos && e.nPhrase == m.nPhrase;
}

}  // namespace mml
