// A text field of an allowed group, interned: the few distinct texts a list
// of groups holds (categories, segment codes, symbols, dates, "ALL") are
// kept once each in a process-wide pool, and a field is a pointer to its
// pooled text. A group of eight fields thus costs eight pointers however
// long its texts are, and two fields hold the same text exactly when they
// point at the same pooled string, which makes comparing and hashing groups
// a matter of comparing pointers.
//
// Reading a field (the text, comparisons with texts) is inline and needs
// nothing of the pool, so code outside the plug-in can read records it is
// handed; setting one interns the text in the pool of the plug-in. Pooled
// texts live until the process ends; the pool grows only with texts never
// seen before. Interning takes a lock, so that replies may be decoded on
// any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/cstring.h"

class CGroupText {
 public:
  CGroupText() : m_pText(&Empty()) {}
  CGroupText(std::string_view text) : m_pText(Intern(text)) {}  // NOLINT: a field is set from text
  CGroupText(const char* text) : CGroupText(std::string_view(text != nullptr ? text : "")) {}  // NOLINT
  CGroupText(const CString& text) : CGroupText(text.view()) {}                                 // NOLINT
  CGroupText(const std::string& text) : CGroupText(std::string_view(text)) {}                  // NOLINT

  const CString& Text() const { return *m_pText; }
  operator const CString&() const { return *m_pText; }  // NOLINT: reads as the text it holds
  LPCTSTR GetString() const { return m_pText->GetString(); }
  int GetLength() const { return m_pText->GetLength(); }
  bool IsEmpty() const { return m_pText->IsEmpty(); }
  std::string_view view() const { return m_pText->view(); }
  // The pooled string itself: equal texts, equal pointers.
  const CString* Pooled() const { return m_pText; }

  friend bool operator==(const CGroupText& a, const CGroupText& b) { return a.m_pText == b.m_pText; }
  friend bool operator==(const CGroupText& a, const CString& b) { return *a.m_pText == b; }
  friend bool operator==(const CGroupText& a, const char* b) { return a.view() == std::string_view(b ? b : ""); }

  // The pooled copy of `text` (the empty text is Empty()).
  static const CString* Intern(std::string_view text);

 private:
  static const CString& Empty() {
    static const CString empty;
    return empty;
  }
  const CString* m_pText;
};
