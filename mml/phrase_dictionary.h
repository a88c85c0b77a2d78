// The dictionary both sides of a phrase-dictionary coder build: the history
// of every byte coded since the last reset, the trigram hash table leading
// to phrase sets (the history positions where a trigram occurred), and the
// phrase table, a ring that numbers the positions so that a writer can send
// a number instead of the bytes.
//
// Invariant: writer and reader call AppendLiteral / AppendPhrase / Reset in
// the same order with the same arguments, so their tables are identical.
#pragma once

#include <cstdint>

#include "mml/bit_io.h"

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
  uint32_t HistoryLen() const { return static_cast<uint32_t>(history_.size()); }
  const uint8_t* History() const { return history_.data(); }
  uint32_t SetCount() const { return setCount_; }

  // Appends a byte and registers the trigram that ends at it.
  void AppendLiteral(uint8_t byte);
  // Appends len bytes copied from the phrase's position and registers the
  // trigrams starting 2 and 1 bytes before them and at their first byte.
  // False when the phrase number, length or history cannot be right.
  bool AppendPhrase(uint32_t phrase, uint32_t len);

  // Best match for in[0..remaining) against the history; at least 4 bytes
  // long or none. REQUIRES: remaining >= 4.
  bool FindMatch(const uint8_t* in, uint32_t remaining, bool optimize, sMatch* best) const;
  // Whether the match's entry still holds the position it was found at.
  bool StillHolds(const sMatch& m) const;

 private:
  struct sEntry {
    uint32_t nPos;
    uint32_t nPhrase;
    uint16_t nUses;
    bool bValid;
  };
  struct sPhraseSet {
    MVector<sEntry> entries;
    uint32_t nLive = 0;
    uint32_t nFreed = 0;
    uint32_t nCursor = 0;
    uint32_t nUses = 0;
    uint64_t nMatchTotal = 0;
  };
  // A bucket entry keeps its trigram's bytes (packed) beside the set, so a
  // lookup never touches the history.
  struct sBucketEntry {
    uint32_t nTrigram;
    uint32_t nSet;
  };
  // A phrase's slot also keeps its entry's position, so expanding a phrase
  // reads the slot and the history without visiting the set first.
  struct sSlot {
    uint32_t nSet;  // kNone when empty
    uint32_t nEntry;
    uint32_t nPos;
  };
  static constexpr uint32_t kNone = 0xFFFFFFFF;

  uint32_t TrigramBucket(const uint8_t* b) const;
  static uint32_t Packed(const uint8_t* b) { return b[0] | (b[1] << 8) | (static_cast<uint32_t>(b[2]) << 16); }
  uint32_t FindSet(const uint8_t* trigram, uint32_t bucket) const;
  void Register(uint32_t pos);
  void NoteUse(uint32_t set, uint32_t entry, uint32_t len);

  uint32_t hashSize_;
  uint32_t bucketSize_;
  MVector<uint8_t> history_;
  MVector<MVector<sBucketEntry>> buckets_;
  MVector<sPhraseSet> sets_;  // the first setCount_ are in use; the rest wait for reuse
  uint32_t setCount_ = 0;
  MVector<sSlot> slots_;
  uint32_t nextSlot_ = 0;
  uint64_t registered_ = 0;
};

}  // namespace mml
