// The dictionary both sides of a phrase-dictionary coder build: the history
// of every byte coded since the last reset, the trigram hash table leading
// to phrase sets (the history positions where a trigram occurred), and the
// phrase table, a ring that numbers the positions so that a writer can send
// a number instead of the bytes.
//
// Invariant: writer and reader call AppendLiteral / AppendPhrase / Reset in
// the same order with the same arguments, so their tables are identical.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "mml/codec/common/bit_io.h"

namespace mml {

class CPhraseDictionary {
 public:
  static constexpr uint32_t kLongestMatch = 250000;

  struct sMatch {
    uint32_t nLen = 0;
    uint32_t nPhrase = 0;
    uint32_t nSet = 0;
    uint32_t nEntry = 0;
    uint32_t nPos = 0;  // history position of the entry when found
  };

  // REQUIRES: hashSize >= 1, phraseSlots >= 3, bucketSize >= 1.
  CPhraseDictionary(uint32_t hashSize, uint32_t phraseSlots, uint32_t bucketSize);

  void Reset();
  uint32_t HistoryLen() const { return m_historyLen; }
  // Valid until the next Append or Reset.
  const uint8_t* History() const { return m_history.get(); }
  uint32_t SetCount() const { return m_setCount; }

  // Appends a byte and registers the trigram that ends at it.
  void AppendLiteral(uint8_t byte);
  // Appends len bytes copied from the phrase's position and registers the
  // trigrams starting 2 and 1 bytes before them and at their first byte.
  // False when the phrase number, length or history cannot be right.
  bool AppendPhrase(uint32_t phrase, uint32_t len);
  // AppendPhrase for a match just found, without looking its number up.
  // REQUIRES: StillHolds(m), and m as FindMatch gave it (length 4 to kLongestMatch).
  void AppendMatch(const sMatch& m);

  // Best match for in[0..remaining) against the history; at least 4 bytes
  // long or none. The first call starts the match cache (a writer's tool;
  // a coder that only expands never pays for it). REQUIRES: remaining >= 4.
  bool FindMatch(const uint8_t* in, uint32_t remaining, bool optimize, sMatch* best);
  // For a reader that knows which phrases come next: start fetching what
  // appending them reads, in the order it reads it: the slot, then (through
  // LoadSource) the set entry and the history. They change nothing; one gone
  // stale by the time its phrase is appended only cost its fetch. Past the
  // slot the reads are made outright (LoadSource returns the byte, for the
  // caller to keep): GCC at -O2 emits nothing for a prefetch whose address
  // needs a load first, and over megabytes of history most of these reads
  // fall on pages the TLB does not hold, where a prefetch tends to be dropped
  // and a load is not.
  void PrefetchSlot(uint32_t phrase) const {
    if (phrase < m_slots.size()) __builtin_prefetch(&m_slots[phrase]);
  }
  uint8_t LoadSource(uint32_t phrase) const {
    if (phrase >= m_slots.size() || m_slots[phrase].nSet == kNone) return 0;
    return m_history[m_sets[m_slots[phrase].nSet].entries[m_slots[phrase].nEntry].nPos];
  }
  // Whether the match's entry still holds the position it was found at.
  bool StillHolds(const sMatch& m) const;

 private:
  // History bytes an entry caches beyond its trigram.
  static constexpr uint32_t kAhead = 8;

  struct sEntry {
    // Match cache: history bytes nPos+3 .. nPos+10 (little-endian), valid
    // while m_matching once the history holds them (see Settle). A match
    // search decides most candidates from it without touching the history.
    uint64_t nAhead;
    uint32_t nPos;
    uint32_t nPhrase;
    uint16_t nUses;
    bool bValid;
  };
  // A set is also a link in its hash bucket's chain.
  struct sPhraseSet {
    MVector<sEntry> entries;
    uint32_t nTrigram = 0;  // the three bytes, packed
    uint32_t nNextInBucket = 0;
    uint32_t nLive = 0;
    uint32_t nFreed = 0;
    uint32_t nCursor = 0;
    uint32_t nUses = 0;
    uint64_t nMatchTotal = 0;
  };
  // The entry that holds a phrase number; its position is read from the
  // entry, which expanding a phrase visits anyway to count the use.
  struct sSlot {
    uint32_t nSet;  // kNone when empty
    uint32_t nEntry;
  };
  // An entry whose cache waits for the history to reach nPos + 3 + kAhead.
  struct sPending {
    uint32_t nSet;
    uint32_t nEntry;
    uint32_t nPos;
  };
  static constexpr uint32_t kNone = 0xFFFFFFFF;
  static constexpr uint32_t kFirstHistory = 4096;
  // Positions register in increasing order and wait at most 3 + kAhead
  // bytes, so fewer than 16 wait at any time.
  static constexpr uint32_t kPendingRing = 16;
  static_assert(3 + kAhead < kPendingRing);

  uint32_t TrigramBucket(const uint8_t* b) const;
  static uint32_t Packed(const uint8_t* b) { return b[0] | (b[1] << 8) | (static_cast<uint32_t>(b[2]) << 16); }
  uint32_t FindSet(uint32_t packed, uint32_t bucket) const;
  void Register(uint32_t pos);
  uint32_t NewSet(uint32_t packed, uint32_t bucket);
  void NewEntry(uint32_t set, uint32_t pos);
  // Storage for `more` bytes past the history.
  void Room(uint32_t more) {
    if (static_cast<uint64_t>(m_historyLen) + more > m_historyCap) Grow(more);
  }
  void Grow(uint32_t more);
  void Copy(uint32_t set, uint32_t entry, uint32_t from, uint32_t len);
  void NoteUse(uint32_t set, uint32_t entry, uint32_t len);
  // Match cache upkeep: Track when an entry takes a position, Settle after
  // the history grows.
  bool Complete(uint32_t pos) const { return static_cast<uint64_t>(pos) + 3 + kAhead <= m_historyLen; }
  void Fill(sEntry& e) const;
  void Track(uint32_t set, uint32_t entry, uint32_t pos);
  void Settle();
  void StartMatching();

  uint32_t m_hashSize;
  uint64_t m_hashReciprocal;
  uint32_t m_bucketSize;
  uint32_t m_cursorTurn;  // a full set's capacity: m_bucketSize rounded up to 8
  // Accounted storage that, unlike a vector, does not construct its bytes
  // one by one when it grows; the first m_historyLen are the history.
  struct sRelease {
    void operator()(uint8_t* p) const { CMmlAllocator<uint8_t>().deallocate(p, 0); }
  };
  using sHistory = std::unique_ptr<uint8_t[], sRelease>;
  sHistory m_history;
  uint32_t m_historyCap = 0;
  uint32_t m_historyLen = 0;
  MVector<uint32_t> m_heads;   // per bucket: first set of its chain, or kNone
  MVector<sPhraseSet> m_sets;  // the first m_setCount are in use; the rest wait for reuse
  uint32_t m_setCount = 0;
  MVector<sSlot> m_slots;
  uint32_t m_nextSlot = 0;
  uint64_t m_registered = 0;
  bool m_matching = false;
  std::array<sPending, kPendingRing> m_pending{};
  uint32_t m_pendingHead = 0;  // ring indices; m_pendingTail - m_pendingHead wait
  uint32_t m_pendingTail = 0;
};

}  // namespace mml
