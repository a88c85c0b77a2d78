#include "mml/codec/dictionary/phrase_dictionary.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace mml {

namespace {
// Lengths below come from the first differing byte of little-endian words.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kGrowth = 8;  // set entries grow 8 at a time

// Length of the common prefix of a and b, from `from` (bytes before it
// already agree; from <= most) up to most, eight bytes at a time.
inline uint32_t match_length(const uint8_t* a, const uint8_t* b, uint32_t from, uint32_t most) {
  uint32_t len = from;
  while (len + 8 <= most) {
    uint64_t x = 0, y = 0;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) return len + static_cast<uint32_t>(std::countr_zero(x ^ y) / 8);
    len += 8;
  }
  while (len < most && a[len] == b[len]) ++len;
  return len;
}

// x mod d through one multiplication by a reciprocal of d computed once;
// exact for every 32-bit x and d >= 1 (Lemire, Kaser, Kurz 2019).
inline uint64_t reciprocal(uint32_t d) { return UINT64_MAX / d + 1; }
inline uint32_t fast_mod(uint32_t x, uint64_t rec, uint32_t d) {
  __extension__ using u128 = unsigned __int128;
  return static_cast<uint32_t>((static_cast<u128>(rec * x) * d) >> 64);
}

// Copies len >= 4 bytes between buffers that do not overlap, in fixed-size
// pieces the compiler inlines (phrases are mostly short).
inline void copy_phrase(uint8_t* to, const uint8_t* from, uint32_t len) {
  if (len < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + len - 4, from + len - 4, 4);
    return;
  }
  uint32_t done = 0;
  for (; done + 8 <= len; done += 8) std::memcpy(to + done, from + done, 8);
  if (done < len) std::memcpy(to + len - 8, from + len - 8, 8);
}

template <class V>
void push_grown_by_8(V& v, const typename V::value_type& item) {
  if (v.size() == v.capacity()) v.reserve(v.capacity() + kGrowth);
  v.push_back(item);
}
}  // namespace

CPhraseDictionary::CPhraseDictionary(uint32_t hashSize, uint32_t phraseSlots, uint32_t bucketSize)
    : m_hashSize(hashSize),
      m_hashReciprocal(reciprocal(hashSize)),
      m_bucketSize(bucketSize),
      m_cursorTurn((bucketSize + 7) / 8 * 8),
      m_heads(hashSize, kNone),
      m_slots(phraseSlots, sSlot{kNone, 0}) {
  Grow(kFirstHistory);
}

void CPhraseDictionary::Reset() {
  std::fill(m_heads.begin(), m_heads.end(), kNone);
  for (uint32_t i = 0; i < m_setCount; ++i) {
    sPhraseSet& set = m_sets[i];
    set.entries.clear();
    set.nLive = set.nFreed = set.nCursor = set.nUses = 0;
    set.nMatchTotal = 0;
  }
  std::fill(m_slots.begin(), m_slots.end(), sSlot{kNone, 0});
  m_historyLen = 0;
  m_nextSlot = 0;
  m_registered = 0;
  m_setCount = 0;
  m_pendingHead = m_pendingTail = 0;
}

// ((b0 x 33 + b1) x 33 + b2) mod size, bytes as signed 8-bit values.
uint32_t CPhraseDictionary::TrigramBucket(const uint8_t* b) const {
  const auto s = [](uint8_t c) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c))); };
  return fast_mod((s(b[0]) * 33u + s(b[1])) * 33u + s(b[2]), m_hashReciprocal, m_hashSize);
}

uint32_t CPhraseDictionary::FindSet(uint32_t packed, uint32_t bucket) const {
  uint32_t id = m_heads[bucket];
  while (id != kNone && m_sets[id].nTrigram != packed) id = m_sets[id].nNextInBucket;
  return id;
}

void CPhraseDictionary::Fill(sEntry& e) const { std::memcpy(&e.nAhead, m_history.get() + e.nPos + 3, kAhead); }

void CPhraseDictionary::Track(uint32_t set, uint32_t entry, uint32_t pos) {
  if (Complete(pos)) {
    Fill(m_sets[set].entries[entry]);
    return;
  }
  m_pending[m_pendingTail++ % kPendingRing] = sPending{set, entry, pos};
}

// Fills the waiting entries the history now covers, oldest (lowest
// position) first. An entry that moved on since is tracked anew.
void CPhraseDictionary::Settle() {
  while (m_pendingHead != m_pendingTail) {
    const sPending& p = m_pending[m_pendingHead % kPendingRing];
    if (!Complete(p.nPos)) return;
    sEntry& e = m_sets[p.nSet].entries[p.nEntry];
    if (e.nPos == p.nPos) Fill(e);
    ++m_pendingHead;
  }
}

// The cache of every entry, from the history coded so far.
void CPhraseDictionary::StartMatching() {
  m_matching = true;
  m_pendingHead = m_pendingTail = 0;
  std::array<sPending, kPendingRing> waiting{};
  uint32_t count = 0;
  for (uint32_t s = 0; s < m_setCount; ++s) {
    for (uint32_t i = 0; i < m_sets[s].entries.size(); ++i) {
      sEntry& e = m_sets[s].entries[i];
      if (!e.bValid) continue;
      if (Complete(e.nPos)) {
        Fill(e);
      } else {
        waiting[count++] = sPending{s, i, e.nPos};
      }
    }
  }
  std::ranges::sort(waiting.begin(), waiting.begin() + count, {}, &sPending::nPos);
  for (uint32_t i = 0; i < count; ++i) m_pending[m_pendingTail++ % kPendingRing] = waiting[i];
}

// Most registrations find their trigram's set full and only move its
// cursor's entry; the rest take the slower paths below.
[[gnu::always_inline]] inline void CPhraseDictionary::Register(uint32_t pos) {
  const uint8_t* trigram = m_history.get() + pos;
  const uint32_t packed = Packed(trigram);
  const uint32_t bucket = TrigramBucket(trigram);
  uint32_t setId = FindSet(packed, bucket);
  if (setId == kNone) [[unlikely]] {
    setId = NewSet(packed, bucket);
  }
  sPhraseSet& set = m_sets[setId];
  if (set.nFreed > 0 || set.nLive < m_bucketSize) [[unlikely]] {
    NewEntry(setId, pos);
    return;
  }
  // Full: the rotating cursor's entry moves to the new position and keeps
  // its phrase number. A full set holds exactly m_bucketSize entries (it
  // grows only while fewer live and none are freed), but the cursor runs
  // over the set's capacity, which grows 8 entries at a time: with a bucket
  // size that is not a multiple of 8 its last turns fall on room that holds
  // no entry, and those registrations are lost, on both sides alike.
  const uint32_t index = set.nCursor;
  set.nCursor = index + 1 == m_cursorTurn ? 0 : index + 1;
  if (index >= m_bucketSize) [[unlikely]] {
    return;
  }
  set.entries[index].nPos = pos;
  if (m_matching) Track(setId, index, pos);
}

uint32_t CPhraseDictionary::NewSet(uint32_t packed, uint32_t bucket) {
  const uint32_t setId = m_setCount++;
  if (setId == m_sets.size()) m_sets.emplace_back();  // kept for reuse after a reset
  m_sets[setId].nTrigram = packed;
  m_sets[setId].nNextInBucket = m_heads[bucket];
  m_heads[bucket] = setId;
  return setId;
}

// A new entry (the first freed one, or one more at the end) takes the
// position and the next phrase-table slot, freeing that slot's entry.
void CPhraseDictionary::NewEntry(uint32_t setId, uint32_t pos) {
  sPhraseSet& set = m_sets[setId];
  uint32_t index = 0;
  if (set.nFreed > 0) {
    while (set.entries[index].bValid) ++index;
    --set.nFreed;
  } else {
    index = static_cast<uint32_t>(set.entries.size());
    push_grown_by_8(set.entries, sEntry{});
  }
  const uint32_t slot = m_nextSlot;
  if (m_slots[slot].nSet != kNone) {
    sPhraseSet& old = m_sets[m_slots[slot].nSet];
    old.entries[m_slots[slot].nEntry].bValid = false;
    --old.nLive;
    ++old.nFreed;
  }
  set.entries[index] = sEntry{0, pos, slot, 0, true};
  ++set.nLive;
  m_slots[slot] = sSlot{setId, index};
  m_nextSlot = slot + 1 == m_slots.size() ? 0 : slot + 1;
  ++m_registered;
  if (m_matching) Track(setId, index, pos);
}

// Growing the storage in steps that double it keeps appends cheap; the
// bytes past m_historyLen are spare.
void CPhraseDictionary::Grow(uint32_t more) {
  const uint64_t need = static_cast<uint64_t>(m_historyLen) + more;
  const uint64_t cap = std::max<uint64_t>(need, std::min<uint64_t>(uint64_t{m_historyCap} * 2, INT32_MAX));
  if (cap > INT32_MAX) throw std::bad_alloc();
  sHistory grown(CMmlAllocator<uint8_t>().allocate(cap));
  if (m_historyLen > 0) std::memcpy(grown.get(), m_history.get(), m_historyLen);
  m_history = std::move(grown);
  m_historyCap = static_cast<uint32_t>(cap);
}

void CPhraseDictionary::AppendLiteral(uint8_t byte) {
  Room(1);
  m_history[m_historyLen++] = byte;
  if (m_matching) Settle();
  if (m_historyLen >= 3) Register(m_historyLen - 3);
}

// A phrase held means its trigram is in the history, so the history holds
// the two bytes before the copy that Copy registers trigrams from.
bool CPhraseDictionary::AppendPhrase(uint32_t phrase, uint32_t len) {
  if (phrase >= m_slots.size() || m_slots[phrase].nSet == kNone || len < 4 || len > kLongestMatch) {
    return false;
  }
  const sSlot slot = m_slots[phrase];
  const uint32_t from = m_sets[slot.nSet].entries[slot.nEntry].nPos;
  if (static_cast<uint64_t>(from) + len > m_historyLen) return false;
  Copy(slot.nSet, slot.nEntry, from, len);
  return true;
}

void CPhraseDictionary::AppendMatch(const sMatch& m) { Copy(m.nSet, m.nEntry, m.nPos, m.nLen); }

void CPhraseDictionary::Copy(uint32_t set, uint32_t entry, uint32_t from, uint32_t len) {
  const uint32_t start = m_historyLen;
  Room(len);
  copy_phrase(m_history.get() + start, m_history.get() + from, len);
  m_historyLen += len;
  NoteUse(set, entry, len);
  if (m_matching) Settle();
  Register(start - 2);
  Register(start - 1);
  Register(start);
}

void CPhraseDictionary::NoteUse(uint32_t set, uint32_t entry, uint32_t len) {
  sEntry& e = m_sets[set].entries[entry];
  if (e.nUses < 65535) ++e.nUses;
  ++m_sets[set].nUses;
  m_sets[set].nMatchTotal += len;
}

bool CPhraseDictionary::FindMatch(const uint8_t* in, uint32_t remaining, bool optimize, sMatch* best) {
  if (!m_matching) StartMatching();
  const uint32_t setId = FindSet(Packed(in), TrigramBucket(in));
  if (setId == kNone) return false;
  const sPhraseSet& set = m_sets[setId];
  const uint32_t stop = set.nUses == 0 ? 5 : static_cast<uint32_t>(set.nMatchTotal / set.nUses);
  const uint32_t histLen = m_historyLen;
  const uint32_t limit = std::min(remaining, kLongestMatch);
  // The input's bytes 3..10, when it has them, meet each entry's cache:
  // only a candidate that agrees on all of them reads the history.
  const bool useCache = limit >= 3 + kAhead;
  uint64_t ahead = 0;
  if (useCache) std::memcpy(&ahead, in + 3, kAhead);
  // The best so far as one key: longer wins, then the smaller phrase number.
  uint64_t bestKey = 0;
  uint32_t bestIndex = 0;
  const auto key_length = [](uint64_t key) { return static_cast<uint32_t>(key >> 32); };
  // With optimisation a match longer than stop + 1 ends the scan.
  const uint32_t stopLength = optimize ? stop + 2 : UINT32_MAX;
  const auto count = static_cast<uint32_t>(set.entries.size());
  for (uint32_t i = 0; i < count; ++i) {
    const sEntry& e = set.entries[i];
    if (!e.bValid) continue;
    const uint32_t most = std::min(limit, histLen - e.nPos);
    uint32_t len = 0;
    if (useCache && most >= 3 + kAhead) {
      const uint64_t diff = ahead ^ e.nAhead;
      len = diff != 0 ? 3 + static_cast<uint32_t>(std::countr_zero(diff) / 8)
                      : match_length(in, m_history.get() + e.nPos, 3 + kAhead, most);
    } else {
      len = match_length(in, m_history.get() + e.nPos, 3, most);
    }
    const uint64_t key = static_cast<uint64_t>(len) << 32 | (0xFFFFFFFFu - e.nPhrase);
    bestKey = std::max(bestKey, key);
    bestIndex = key == bestKey ? i : bestIndex;  // keys are distinct: only the best equals it
    if (key_length(bestKey) >= stopLength) break;
  }
  if (key_length(bestKey) <= 3) return false;
  const sEntry& e = set.entries[bestIndex];
  *best = sMatch{key_length(bestKey), e.nPhrase, setId, bestIndex, e.nPos};
  return true;
}

bool CPhraseDictionary::StillHolds(const sMatch& m) const {
  const sEntry& e = m_sets[m.nSet].entries[m.nEntry];
  return e.bValid && e.nPos == m.nPos && e.nPhrase == m.nPhrase;
}

}  // namespace mml
