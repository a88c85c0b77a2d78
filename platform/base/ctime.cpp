#include "platform/base/ctime.h"

#include <cerrno>
#include <string>

#include "platform/base/exceptions.h"

namespace {

CString FormatTm(const char* pszFormat, const struct tm& t) {
  if (pszFormat == nullptr || *pszFormat == '\0') {
    return CString();
  }
  // strftime returns 0 both for "too small" and for an empty result, so grow
  // up to a bound and accept empty output once the buffer is clearly ample.
  std::string buf(256, '\0');
  for (;;) {
    const size_t n = std::strftime(buf.data(), buf.size(), pszFormat, &t);
    if (n > 0 || buf.size() > 64 * (std::char_traits<char>::length(pszFormat) + 16)) {
      buf.resize(n);
      return CString(std::move(buf));
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  if (nYear < 1900) {
    AfxThrowInvalidArgException();
  }
  struct tm t = {};
  t.tm_year = nYear - 1900;
  t.tm_mon = nMonth - 1;
  t.tm_mday = nDay;
  t.tm_hour = nHour;
  t.tm_min = nMin;
  t.tm_sec = nSec;
  t.tm_isdst = nDST;
  errno = 0;
  const time_t result = std::mktime(&t);
  // -1 is also one second before the epoch; only errno tells them apart.
  if (result == static_cast<time_t>(-1) && errno != 0) {
    AfxThrowInvalidArgException();
  }
  m_time = result;
}

CTime CTime::GetCurrentTime() { return CTime(std::time(nullptr)); }

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  if (ptm == nullptr) {
    return nullptr;
  }
  return ::localtime_r(&m_time, ptm);
}

struct tm CTime::Local() const {
  struct tm t = {};
  if (::localtime_r(&m_time, &t) == nullptr) {
    AfxThrowInvalidArgException();
  }
  return t;
}

CString CTime::Format(const char* pszFormat) const { return FormatTm(pszFormat, Local()); }
