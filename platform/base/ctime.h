// CTime: a point in time as seconds since the epoch (64-bit time_t), with
// calendar fields read in the machine's local zone (TZ); CTimeSpan: a
// signed number of seconds.
#pragma once

#include "platform/base/export.h"

#include <compare>
#include <ctime>

#include "platform/base/cstring.h"
#include "platform/base/wintypes.h"

class PLATFORM_API CTimeSpan {
 public:
  CTimeSpan() = default;
  CTimeSpan(time_t seconds) : m_span(seconds) {}  // NOLINT: implicit, as in the framework
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
      : m_span(((static_cast<time_t>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs) {}

  time_t GetTimeSpan() const { return m_span; }
  time_t GetDays() const { return m_span / (24 * 3600); }
  time_t GetTotalHours() const { return m_span / 3600; }
  time_t GetTotalMinutes() const { return m_span / 60; }
  time_t GetTotalSeconds() const { return m_span; }
  LONG GetHours() const { return static_cast<LONG>(GetTotalHours() - GetDays() * 24); }
  LONG GetMinutes() const { return static_cast<LONG>(GetTotalMinutes() - GetTotalHours() * 60); }
  LONG GetSeconds() const { return static_cast<LONG>(GetTotalSeconds() - GetTotalMinutes() * 60); }

  friend auto operator<=>(const CTimeSpan&, const CTimeSpan&) = default;
  CTimeSpan operator+(CTimeSpan s) const { return m_span + s.m_span; }
  CTimeSpan operator-(CTimeSpan s) const { return m_span - s.m_span; }

 private:
  time_t m_span = 0;
};

class PLATFORM_API CTime {
 public:
  CTime() = default;
  CTime(time_t time) : m_time(time) {}  // NOLINT: implicit, as in the framework
  // Local time. Out-of-range fields are normalised as mktime does (day 32
  // becomes the 1st of the next month); a year before 1900 or a time that
  // cannot be represented throws CInvalidArgException*. nDST < 0 lets the
  // zone rules decide whether daylight saving applies.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

  static CTime GetCurrentTime();

  time_t GetTime() const { return m_time; }
  // Fills *ptm with the local calendar fields and returns ptm; nullptr when
  // ptm is null or the time cannot be converted.
  struct tm* GetLocalTm(struct tm* ptm) const;

  int GetYear() const { return Local().tm_year + 1900; }
  int GetMonth() const { return Local().tm_mon + 1; }  // 1-12
  int GetDay() const { return Local().tm_mday; }
  int GetHour() const { return Local().tm_hour; }
  int GetMinute() const { return Local().tm_min; }
  int GetSecond() const { return Local().tm_sec; }
  int GetDayOfWeek() const { return Local().tm_wday + 1; }  // 1 = Sunday

  // strftime of the local time; output of any length.
  CString Format(const char* pszFormat) const;

  friend auto operator<=>(const CTime&, const CTime&) = default;
  CTimeSpan operator-(CTime other) const { return m_time - other.m_time; }
  CTime operator+(CTimeSpan span) const { return m_time + span.GetTimeSpan(); }
  CTime operator-(CTimeSpan span) const { return m_time - span.GetTimeSpan(); }
  CTime& operator+=(CTimeSpan span) {
    m_time += span.GetTimeSpan();
    return *this;
  }
  CTime& operator-=(CTimeSpan span) {
    m_time -= span.GetTimeSpan();
    return *this;
  }

 private:
  struct tm Local() const;

  time_t m_time = 0;
};
