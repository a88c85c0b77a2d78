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
  uint32_t HistoryLen() const { return historyLen_; }
  // Valid until the next Append or Reset.
  const uint8_t* History() const { return history_.get(); }
  uint32_t SetCount() const { return setCount_; }

  // Appends a byte and registers the trigram that ends at it.
  void AppendLiteral(uint8_t byte);
  // Appends len bytes copied from the phrase's position and registers the
  // trigrams starting 2 and 1 bytes before them and at their first byte.
  // False when the phrase number, length or history cannot be right.
  bool AppendPhrase(uint32_t phrase, uint32_t len);
  // AppendPhrase for a match just found, without looking its number up.
  // REQUIRES: StillHolds(m).
  void AppendMatch(const sMatch& m);

  // Best match for in[0..remaining) against the history; at least 4 bytes
  // long or none. The first call starts the match cache (a writer's tool;
  // a coder that only expands never pays for it). REQUIRES: remaining >= 4.
  bool FindMatch(const uint8_t* in, uint32_t remaining, bool optimize, sMatch* best);
  // For a reader that knows which phrases come next: start fetching what
  // appending them reads, in the order it reads it: the slot, then the set
  // entry (reading the slot), then the history (reading the entry). They
  // change nothing; one gone stale by the time its phrase is appended only
  // cost its fetch. The history is read outright (LoadSource returns the
  // byte, for the caller to keep): over megabytes of history most of these
  // reads fall on pages the TLB does not hold, where a prefetch tends to be
  // dropped and a load is not.
  void PrefetchSlot(uint32_t phrase) const {
    if (phrase < slots_.size()) __builtin_prefetch(&slots_[phrase]);
  }
  void PrefetchEntry(uint32_t phrase) const {
    if (phrase >= slots_.size() || slots_[phrase].nSet == kNone) return;
    __builtin_prefetch(&sets_[slots_[phrase].nSet].entries[slots_[phrase].nEntry]);
  }
  uint8_t LoadSource(uint32_t phrase) const {
    if (phrase >= slots_.size() || slots_[phrase].nSet == kNone) return 0;
    return history_[sets_[slots_[phrase].nSet].entries[slots_[phrase].nEntry].nPos];
  }
  // Whether the match's entry still holds the position it was found at.
  bool StillHolds(const sMatch& m) const;

 private:
  // History bytes an entry caches beyond its trigram.
  static constexpr uint32_t kAhead = 8;

  struct sEntry {
    // Match cache: history bytes nPos+3 .. nPos+10 (little-endian), valid
    // while matching_ once the history holds them (see Settle). A match
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

  uint32_t TrigramBucket(const uint8_t* b) const;
  static uint32_t Packed(const uint8_t* b) { return b[0] | (b[1] << 8) | (static_cast<uint32_t>(b[2]) << 16); }
  uint32_t FindSet(uint32_t packed, uint32_t bucket) const;
  void Register(uint32_t pos);
  uint32_t NewSet(uint32_t packed, uint32_t bucket);
  void NewEntry(uint32_t set, uint32_t pos);
  // Storage for `more` bytes past the history.
  void Room(uint32_t more) {
    if (static_cast<uint64_t>(historyLen_) + more > historyCap_) Grow(more);
  }
  void Grow(uint32_t more);
  void Copy(uint32_t set, uint32_t entry, uint32_t from, uint32_t len);
  void NoteUse(uint32_t set, uint32_t entry, uint32_t len);
  // Match cache upkeep: Track when an entry takes a position, Settle after
  // the history grows.
  bool Complete(uint32_t pos) const { return static_cast<uint64_t>(pos) + 3 + kAhead <= historyLen_; }
  void Fill(sEntry& e) const;
  void Track(uint32_t set, uint32_t entry, uint32_t pos);
  void Settle();
  void StartMatching();

  uint32_t hashSize_;
  uint64_t hashReciprocal_;
  uint32_t bucketSize_;
  uint32_t cursorTurn_;  // a full set's capacity: bucketSize_ rounded up to 8
  // Accounted storage that, unlike a vector, does not construct its bytes
  // one by one when it grows; the first historyLen_ are the history.
  struct sRelease {
    void operator()(uint8_t* p) const { CMmlAllocator<uint8_t>().deallocate(p, 0); }
  };
  using sHistory = std::unique_ptr<uint8_t[], sRelease>;
  sHistory history_;
  uint32_t historyCap_ = 0;
  uint32_t historyLen_ = 0;
  MVector<uint32_t> heads_;   // per bucket: first set of its chain, or kNone
  MVector<sPhraseSet> sets_;  // the first setCount_ are in use; the rest wait for reuse
  uint32_t setCount_ = 0;
  MVector<sSlot> slots_;
  uint32_t nextSlot_ = 0;
  uint64_t registered_ = 0;
  bool matching_ = false;
  std::array<sPending, kPendingRing> pending_{};
  uint32_t pendingHead_ = 0;  // ring indices; pendingTail_ - pendingHead_ wait
  uint32_t pendingTail_ = 0;
};

}  // namespace mml
