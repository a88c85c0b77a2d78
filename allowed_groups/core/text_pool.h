// A set of texts, each kept once: interning a text gives the one pooled copy
// of it, so equal texts get equal pointers. The copies sit in an arena
// (text_arena.h), found through Abseil's open-addressed hash set of their
// pointers, each beside its hash: a text costs its length, 5 bytes beside
// it and 20 to 39 bytes of table. Growing the table rehashes from the kept
// hashes, not from the copies scattered over the arena. Not locked: the
// group texts' pool (group_text.h) locks around it.
#pragma once

#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>

#include <cstddef>
#include <string_view>

#include "allowed_groups/core/huge_page_allocator.h"
#include "allowed_groups/core/text_arena.h"

class CTextPool {
 public:
  // A pool whose copies carry the arena's mark when `marked`.
  explicit CTextPool(bool marked = false) : m_marked(marked) {}

  // The pooled copy of `text`, made when the pool has none; the text is
  // hashed once either way.
  const char* Intern(std::string_view text) {
    const Probe probe{text, absl::Hash<std::string_view>{}(text)};
    return m_texts
        .lazy_emplace(probe, [&](const auto& construct) { construct(Entry{m_arena.Copy(text, m_marked), probe.hash}); })
        ->copy;
  }
  size_t Size() const { return m_texts.size(); }

 private:
  static std::string_view View(const char* pooled) { return {pooled, CTextArena::LengthOf(pooled)}; }
  // A pooled text and its hash; a plain text looked up with its hash.
  struct Entry {
    const char* copy;
    size_t hash;
  };
  struct Probe {
    std::string_view text;
    size_t hash;
  };
  struct Hash {
    using is_transparent = void;
    size_t operator()(const Entry& entry) const { return entry.hash; }
    size_t operator()(const Probe& probe) const { return probe.hash; }
  };
  struct Eq {
    using is_transparent = void;
    // The table asks that its keys compare; the pool only ever looks up by
    // Probe, so this is declared and never defined: a call fails the link.
    bool operator()(const Entry& a, const Entry& b) const;
    bool operator()(const Entry& entry, const Probe& probe) const {
      return entry.hash == probe.hash && View(entry.copy) == probe.text;
    }
    bool operator()(const Probe& probe, const Entry& entry) const { return (*this)(entry, probe); }
  };

  bool m_marked;
  CTextArena m_arena;
  absl::flat_hash_set<Entry, Hash, Eq, HugePageAllocator<Entry>> m_texts;
};
