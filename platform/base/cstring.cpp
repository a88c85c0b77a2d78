#include "platform/base/cstring.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "platform/base/exceptions.h"

namespace {

std::string_view View(const char* psz) { return psz != nullptr ? std::string_view(psz) : std::string_view(); }

int Sign(int v) { return (v > 0) - (v < 0); }

// Appends printf output of any length to `out`; false on a bad format.
bool AppendV(std::string& out, const char* fmt, va_list args) {
  if (fmt == nullptr) {
    return false;
  }
  char small[256];
  va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) {
    return false;
  }
  if (static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
    return true;
  }
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(n));
  // vsnprintf writes n characters plus a NUL into size n+1: the NUL lands on
  // the string's own terminator slot, which std::string allows.
  std::vsnprintf(out.data() + old, static_cast<size_t>(n) + 1, fmt, args);
  return true;
}

}  // namespace

CString::CString(const char* psz) : m_str(View(psz)) {}

CString::CString(const char* pch, int nLength) {
  if (pch != nullptr) m_str.assign(pch, static_cast<size_t>(std::max(nLength, 0)));
}

CString::CString(char ch, int nRepeat) : m_str(static_cast<size_t>(std::max(nRepeat, 0)), ch) {}

CString& CString::operator=(const char* psz) {
  m_str = View(psz);
  return *this;
}

CString& CString::operator=(char ch) {
  m_str.assign(1, ch);
  return *this;
}

CString& CString::operator=(std::string_view sv) {
  m_str = sv;
  return *this;
}

char CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) {
    AfxThrowInvalidArgException();
  }
  return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
  if (nIndex < 0 || nIndex >= GetLength()) {
    AfxThrowInvalidArgException();
  }
  m_str[static_cast<size_t>(nIndex)] = ch;
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) {
    m_str.resize(static_cast<size_t>(nMinBufLength));
  }
  return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) {
    m_str.resize(::strnlen(m_str.data(), m_str.size()));
  } else {
    m_str.resize(std::min(static_cast<size_t>(nNewLength), m_str.size()));
  }
}

void CString::Format(const char* pszFormat, ...) {
  std::string out;
  va_list args;
  va_start(args, pszFormat);
  const bool ok = AppendV(out, pszFormat, args);
  va_end(args);
  if (!ok) {
    AfxThrowInvalidArgException();
  }
  m_str = std::move(out);
}

void CString::AppendFormat(const char* pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  // Formatted apart: an argument may point into this string's own buffer,
  // which growing it in place would free.
  std::string extra;
  const bool ok = AppendV(extra, pszFormat, args);
  va_end(args);
  if (!ok) {
    AfxThrowInvalidArgException();
  }
  m_str += extra;
}

CString CString::Left(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  nFirst = std::clamp(nFirst, 0, GetLength());
  nCount = std::clamp(nCount, 0, GetLength() - nFirst);
  return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return CString(m_str.substr(m_str.size() - static_cast<size_t>(nCount)));
}

CString CString::SpanIncluding(const char* pszCharSet) const {
  const size_t n = m_str.find_first_not_of(View(pszCharSet));
  return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(const char* pszCharSet) const {
  const size_t n = m_str.find_first_of(View(pszCharSet));
  return CString(m_str.substr(0, n));
}

CString CString::Tokenize(const char* pszTokens, int& iStart) const {
  if (iStart < 0 || iStart >= GetLength()) {
    iStart = -1;
    return CString();
  }
  const std::string_view delims = View(pszTokens);
  if (delims.empty()) {
    // No delimiters: the rest is one token.
    CString rest = Mid(iStart);
    iStart = GetLength();
    return rest;
  }
  const size_t from = m_str.find_first_not_of(delims, static_cast<size_t>(iStart));
  if (from == std::string::npos) {
    iStart = -1;
    return CString();
  }
  size_t until = m_str.find_first_of(delims, from);
  if (until == std::string::npos) {
    until = m_str.size();
  }
  iStart = static_cast<int>(until) + 1;
  return CString(m_str.substr(from, until - from));
}

int CString::Find(char ch, int iStart) const {
  if (iStart < 0 || iStart >= GetLength()) {
    return -1;
  }
  const size_t at = m_str.find(ch, static_cast<size_t>(iStart));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* pszSub, int iStart) const {
  if (iStart < 0 || iStart > GetLength()) {
    return -1;
  }
  const size_t at = m_str.find(View(pszSub), static_cast<size_t>(iStart));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  const size_t at = m_str.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* pszCharSet) const {
  const size_t at = m_str.find_first_of(View(pszCharSet));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(char chOld, char chNew) {
  int count = 0;
  for (char& c : m_str) {
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(const char* pszOld, const char* pszNew) {
  const std::string_view from = View(pszOld);
  const std::string_view to = View(pszNew);
  if (from.empty()) {
    return 0;
  }
  // Left to right, non-overlapping; replaced text is never searched again.
  std::string out;
  int count = 0;
  size_t pos = 0;
  for (size_t at; (at = m_str.find(from, pos)) != std::string::npos; pos = at + from.size()) {
    out.append(m_str, pos, at - pos);
    out.append(to);
    ++count;
  }
  if (count > 0) {
    out.append(m_str, pos);
    m_str = std::move(out);
  }
  return count;
}

int CString::Remove(char ch) {
  const size_t before = m_str.size();
  std::erase(m_str, ch);
  return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, char ch) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  m_str.insert(static_cast<size_t>(nIndex), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, const char* psz) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  m_str.insert(static_cast<size_t>(nIndex), View(psz));
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  // Both clamped into the string, so a range past either end deletes only what it covers.
  nIndex = std::clamp(nIndex, 0, GetLength());
  nCount = std::clamp(nCount, 0, GetLength() - nIndex);
  m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
  return GetLength();
}

namespace {
constexpr std::string_view kWhitespace = " \t\n\v\f\r";
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(const char* pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::TrimLeft() {
  m_str.erase(0, std::min(m_str.find_first_not_of(kWhitespace), m_str.size()));
  return *this;
}

CString& CString::TrimLeft(char chTarget) {
  m_str.erase(0, std::min(m_str.find_first_not_of(chTarget), m_str.size()));
  return *this;
}

CString& CString::TrimLeft(const char* pszTargets) {
  m_str.erase(0, std::min(m_str.find_first_not_of(View(pszTargets)), m_str.size()));
  return *this;
}

CString& CString::TrimRight() {
  const size_t last = m_str.find_last_not_of(kWhitespace);
  m_str.erase(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimRight(char chTarget) {
  const size_t last = m_str.find_last_not_of(chTarget);
  m_str.erase(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimRight(const char* pszTargets) {
  const size_t last = m_str.find_last_not_of(View(pszTargets));
  m_str.erase(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::MakeUpper() {
  for (char& c : m_str) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return *this;
}

CString& CString::MakeLower() {
  for (char& c : m_str) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return *this;
}

int CString::Compare(const char* psz) const { return Sign(std::strcmp(m_str.c_str(), psz != nullptr ? psz : "")); }

int CString::CompareNoCase(const char* psz) const {
  return Sign(::strcasecmp(m_str.c_str(), psz != nullptr ? psz : ""));
}

CString& CString::operator+=(const CString& s) {
  m_str += s.m_str;
  return *this;
}

CString& CString::operator+=(const char* psz) {
  m_str += View(psz);
  return *this;
}

CString& CString::operator+=(char ch) {
  m_str += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
CString operator+(const CString& a, const char* b) { return CString(a.m_str + std::string(View(b))); }
CString operator+(const char* a, const CString& b) { return CString(std::string(View(a)) + b.m_str); }
CString operator+(const CString& a, char b) { return CString(a.m_str + b); }
CString operator+(char a, const CString& b) { return CString(a + b.m_str); }
