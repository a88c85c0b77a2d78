// A text field of an allowed group, interned: each distinct text a list of
// groups holds (categories, segment codes, symbols, dates, "ALL") is kept
// once in a process-wide pool, and a field is a pointer to its pooled
// characters. A group of eight fields thus costs eight pointers however
// long its texts are, and two fields hold the same text exactly when they
// point at the same characters, which makes comparing and hashing groups a
// matter of comparing pointers.
//
// Pooled texts sit in the pool's arena (text_pool.h, text_arena.h: the
// characters, NUL-terminated, after their length), found through one
// open-addressed hash set of pointers; a text costs its length plus some 20
// bytes, and the pool is freed in a few dozen blocks at exit or unload.
// Texts live until then; the pool grows only with texts never seen before.
//
// Reading a field (the text, comparisons with texts) is inline and needs
// nothing of the pool, so code outside the plug-in can read records it is
// handed; setting one interns the text in the pool of the plug-in. Interning
// takes the pool's lock, so that replies may be decoded on any thread; a
// Batch holds it across the texts of one reply.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "allowed_groups/core/text_arena.h"
#include "platform/base/cstring.h"

class CGroupText {
 public:
  CGroupText() : m_psz(EmptyText()) {}
  CGroupText(std::string_view text) : m_psz(Intern(text)) {}  // NOLINT: a field is set from text
  CGroupText(const char* text) : CGroupText(std::string_view(text != nullptr ? text : "")) {}  // NOLINT
  CGroupText(const CString& text) : CGroupText(text.view()) {}                                 // NOLINT
  CGroupText(const std::string& text) : CGroupText(std::string_view(text)) {}                  // NOLINT

  CString Text() const { return CString(view()); }
  operator CString() const { return Text(); }  // NOLINT: reads as the text it holds
  LPCTSTR GetString() const { return m_psz; }
  int GetLength() const { return static_cast<int>(CTextArena::LengthOf(m_psz)); }
  bool IsEmpty() const { return GetLength() == 0; }
  std::string_view view() const { return {m_psz, CTextArena::LengthOf(m_psz)}; }
  // The pooled characters themselves: equal texts, equal pointers.
  const char* Pooled() const { return m_psz; }

  friend bool operator==(const CGroupText& a, const CGroupText& b) { return a.m_psz == b.m_psz; }
  friend bool operator==(const CGroupText& a, const CString& b) { return a.view() == b.view(); }
  friend bool operator==(const CGroupText& a, const char* b) { return a.view() == std::string_view(b ? b : ""); }

  // A field whose text is kept as the server sent it rather than converted
  // (allowed_group_record.h): pooled apart from the same text converted, so
  // the two are different fields, and marked so (IsKeptAsSent).
  static CGroupText KeptAsSent(std::string_view text);
  bool IsKeptAsSent() const { return CTextArena::IsMarked(m_psz); }

  // The pooled copy of `text` (the empty text is the one static empty text).
  static const char* Intern(std::string_view text);

  // Holds the pool's lock on this thread for its lifetime, so that the
  // texts interned meanwhile take it once rather than once each.
  class Batch {
   public:
    Batch();
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    std::unique_lock<std::mutex> m_lock;
  };

 private:
  static const char* EmptyText() {
    // A zero length, then the empty text's NUL.
    static constexpr char kEmpty[sizeof(uint32_t) + 1] = {};
    return kEmpty + sizeof(uint32_t);
  }
  struct Pooled_ {};
  CGroupText(Pooled_, const char* pooled) : m_psz(pooled) {}
  const char* m_psz;
};
