// CString: the framework's narrow-character string, a value type over
// std::string (every copy is independent; no copy-on-write).
//
// Behaviour users of the framework rely on:
//  - Positions and counts are `int`. Left/Mid/Right/Delete/Insert clamp
//    out-of-range positions and counts instead of throwing; GetAt/SetAt/
//    operator[] outside [0, GetLength()) throw CInvalidArgException* (see
//    platform/base/exceptions.h for the throw-by-pointer convention).
//  - The implicit conversion to LPCTSTR returns a NUL-terminated pointer that
//    stays valid until the string is next modified or destroyed.
//  - GetBuffer(n) hands out a writable buffer of at least n characters plus a
//    terminator; call ReleaseBuffer() before using the CString again.
//  - Format/AppendFormat are printf-style with no length limit. A CString
//    passed to "%s" must be converted explicitly: (LPCTSTR)s or s.GetString().
#pragma once

#include "platform/base/export.h"

#include <compare>
#include <string>
#include <string_view>

#include "platform/base/collections.h"
#include "platform/base/wintypes.h"

#if defined(__GNUC__)
#define AG_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define AG_PRINTF_FORMAT(fmt, args)
#endif

class PLATFORM_API CString {
 public:
  CString() = default;
  CString(const char* psz);  // NOLINT: implicit, as in the framework; nullptr gives ""
  CString(const char* pch, int nLength);
  explicit CString(char ch, int nRepeat = 1);
  CString(std::string_view sv) : m_str(sv) {}        // NOLINT
  CString(const std::string& s) : m_str(s) {}        // NOLINT
  CString(std::string&& s) : m_str(std::move(s)) {}  // NOLINT

  CString& operator=(const char* psz);
  CString& operator=(char ch);
  CString& operator=(std::string_view sv);

  // Length and access.
  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  char GetAt(int nIndex) const;
  void SetAt(int nIndex, char ch);
  char operator[](int nIndex) const { return GetAt(nIndex); }
  operator LPCTSTR() const { return m_str.c_str(); }  // NOLINT: implicit by design
  LPCTSTR GetString() const { return m_str.c_str(); }
  // Modern accessors for our own code.
  const std::string& str() const { return m_str; }
  std::string_view view() const { return m_str; }

  // Direct buffer access. GetBuffer keeps the content and grows the buffer
  // to at least nMinBufLength characters; ReleaseBuffer(-1) takes the length
  // from the first NUL, ReleaseBuffer(n) sets it to n (clamped to the buffer).
  LPTSTR GetBuffer(int nMinBufLength = 0);
  LPTSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);

  // Formatting.
  void Format(const char* pszFormat, ...) AG_PRINTF_FORMAT(2, 3);
  void AppendFormat(const char* pszFormat, ...) AG_PRINTF_FORMAT(2, 3);
  void Append(const char* psz) { *this += psz; }

  // Extraction; counts and positions are clamped.
  CString Left(int nCount) const;
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(const char* pszCharSet) const;
  CString SpanExcluding(const char* pszCharSet) const;
  // Next token after `iStart` skipping empty tokens; at the end returns ""
  // and sets iStart to -1.
  CString Tokenize(const char* pszTokens, int& iStart) const;

  // Searching; all return -1 when nothing is found or iStart is out of range.
  int Find(char ch, int iStart = 0) const;
  int Find(const char* pszSub, int iStart = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* pszCharSet) const;

  // Editing. Replace/Remove return the number of replacements/removals;
  // Insert/Delete return the new length.
  int Replace(char chOld, char chNew);
  int Replace(const char* pszOld, const char* pszNew);
  int Remove(char ch);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, const char* psz);
  int Delete(int nIndex, int nCount = 1);

  // Trimming: no argument trims whitespace, otherwise the given char(s).
  CString& Trim();
  CString& Trim(char chTarget);
  CString& Trim(const char* pszTargets);
  CString& TrimLeft();
  CString& TrimLeft(char chTarget);
  CString& TrimLeft(const char* pszTargets);
  CString& TrimRight();
  CString& TrimRight(char chTarget);
  CString& TrimRight(const char* pszTargets);

  CString& MakeUpper();
  CString& MakeLower();

  // Comparison: negative, zero or positive like strcmp.
  int Compare(const char* psz) const;
  int CompareNoCase(const char* psz) const;

  CString& operator+=(const CString& s);
  CString& operator+=(const char* psz);
  CString& operator+=(char ch);

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, const char* b) { return a.view() == ToView(b); }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.view() <=> b.view(); }
  friend std::strong_ordering operator<=>(const CString& a, const char* b) { return a.view() <=> ToView(b); }

  friend PLATFORM_API CString operator+(const CString& a, const CString& b);
  friend PLATFORM_API CString operator+(const CString& a, const char* b);
  friend PLATFORM_API CString operator+(const char* a, const CString& b);
  friend PLATFORM_API CString operator+(const CString& a, char b);
  friend PLATFORM_API CString operator+(char a, const CString& b);

 private:
  static std::string_view ToView(const char* psz) {
    return psz != nullptr ? std::string_view(psz) : std::string_view();
  }

  std::string m_str;
};

// The framework's array of strings. Add() takes a CString or a const char*.
class PLATFORM_API CStringArray : public CArray<CString, const CString&> {
 public:
  using CArray::CArray;
};
