// A set of texts, each kept once: interning a text gives the one pooled copy
// of it, so equal texts get equal pointers. The copies sit in an arena
// (text_arena.h), found through Abseil's open-addressed hash set of their
// pointers: a text costs its length, 5 bytes beside it and 9 to 21 bytes of
// table. Not locked: the group texts' pool (group_text.h) locks around it.
#pragma once

#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>

#include <string_view>

#include "allowed_groups/core/text_arena.h"

class CTextPool {
 public:
  // A pool whose copies carry the arena's mark when `marked`.
  explicit CTextPool(bool marked = false) : m_marked(marked) {}

  // The pooled copy of `text`, made when the pool has none; the text is
  // hashed once either way.
  const char* Intern(std::string_view text) {
    return *m_texts.lazy_emplace(text, [&](const auto& construct) { construct(m_arena.Copy(text, m_marked)); });
  }
  size_t Size() const { return m_texts.size(); }

 private:
  // The set holds pooled texts and is searched with plain ones: both hash
  // and compare as the characters they hold.
  static std::string_view View(const char* pooled) { return {pooled, CTextArena::LengthOf(pooled)}; }
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return absl::Hash<std::string_view>{}(text); }
    size_t operator()(const char* pooled) const { return (*this)(View(pooled)); }
  };
  struct Eq {
    using is_transparent = void;
    bool operator()(const char* a, const char* b) const { return a == b; }
    bool operator()(const char* pooled, std::string_view text) const { return View(pooled) == text; }
    bool operator()(std::string_view text, const char* pooled) const { return View(pooled) == text; }
  };

  bool m_marked;
  CTextArena m_arena;
  absl::flat_hash_set<const char*, Hash, Eq> m_texts;
};
