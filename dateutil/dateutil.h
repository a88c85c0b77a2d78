// Date and time utilities: conversions between long dates, calendar
// structures and the text forms dates take in the terminal and its lists,
// and comparisons of dates held as text.
//
// Every function is a plain C++ function (decorated names) that the plug-in
// exports; all are stateless and may be called from any thread. They use the
// process's local zone (TZ, as tzset() reads it) except where noted.
//
// Long dates. A long date is a signed 32-bit count of seconds since
// 1970-01-01 00:00:00 UTC. The parameters stay `long` (64-bit here):
//  - a `long` argument outside the 32-bit range is not a long date and is
//    treated like "no date" (empty text, result 0 where a result exists);
//  - the parsers return -2 ("out of range") for a date whose long date would
//    not fit in 32 bits (before 1901-12-13 or after 2038-01-19 UTC) rather
//    than a wrapped number.
//
// Buffers. Output buffers are the caller's; each function writes at most the
// number of bytes given beside it, including the terminating zero. Input
// texts longer than the stated limit are rejected as listed below, never
// read past their terminator, and never copied into a fixed buffer.
//
// Choices where behaviour was open:
//  - GetCorrectTime reports the current local time.
//  - Convert_DateString_to_longDate reads the time after the first space as
//    "H:M:S" (":" separated); a date with no time means midnight.
//  - A long date below 0 given to
//    tarnu_convert_longdate_to_Stringdate_month_year_as_required, or a CTime
//    before the epoch given to DateFormat, gives an empty text.
//  - Convert_longDate_to_IstDateString prints the calendar date at UTC+05:30
//    exactly, whatever the machine's zone and its daylight saving.
//  - CompareDateTime1 clamps its product to the int range, so any order
//    factor is safe.
#pragma once

#include <ctime>

#include "platform/base/cstring.h"
#include "platform/base/ctime.h"

// Exported from the plug-in; the module's own helpers stay inside it.
#define DATEUTIL_API __attribute__((visibility("default")))
#define DATEUTIL_INTERNAL __attribute__((visibility("hidden")))

// ----------------------------------------------------------- clock readings

// Writes "H:M:S:ms" of the local clock without leading zeros (9:5:3:40).
// REQUIRES: out holds 13 bytes.
DATEUTIL_API void tarnu_get_local_time(char* out);
// Milliseconds since local midnight, 0 to 86,399,999.
DATEUTIL_API long tarnu_get_time_in_mili_seconds();
// Writes the current local time as "%d/%m/%Y  %H:%M:%S" (two spaces).
// REQUIRES: out holds 30 bytes.
DATEUTIL_API void GetCorrectTime(char* out);
// Reads "H:M:S" split at any of ":,-" (missing parts are 0; at most the first
// 15 characters are read) and stores H*3600+M*60+S. Always returns 1.
DATEUTIL_API int tarnu_cnvrt_hrminsec_to_sec(long& seconds, CString text);

// ------------------------------------------------------ long date to text

// Local date of `time` by format code 1 to 7 (05/01, 05/01/24, 05-Jan,
// 05-Jan-24, Jan-24, 05-01-2024, 05-Jan-2024); any other code gives "".
DATEUTIL_API CString DateFormat(CTime time, int code);
// Clears out[0..3], then writes the local date by code: 0 05Jan2024,
// 1 05JAN2024, 2 05, 3 05Jan, 4 05JAN, 5 locale short date, 6 05-01-2024,
// 7 05/01/2024; other codes leave it empty. Returns 1.
// REQUIRES: out holds 11 bytes (and at least 4 whatever the code).
DATEUTIL_API int tarnu_convert_longdate_to_Stringdate_month_year_as_required(char* out, long longDate, int code);
// 1 when the long date lies in the current local month and year, else 0
// (also for no date).
DATEUTIL_API int tarnu_check_for_current_month_expiry(long longDate);
// Writes "%d%b%Y" (05Jan2024), or "%d%b%Y %H:%M:%S"; for no date (below 1)
// writes "" and returns 0, else returns 1. REQUIRES: out holds 50 bytes.
DATEUTIL_API int nse_fo_tarnu_convert_long_to_date(long longDate, char* out);
DATEUTIL_API int nse_fo_tarnu_convert_long_to_datetime(long longDate, char* out);

// ------------------------------------------------------------ text to text

// Rewrites "05Jan2024" or "05-Jan-2024" in place as "05/01/2024"; returns 1,
// or 0 for a text that is not such a date (its hyphens may already be gone).
// Month names are case-sensitive. A text of more than 19 characters is
// rejected untouched. The output is one character longer than the text
// without hyphens; it is written only when it fits in the larger of the
// text's own bytes and 11 bytes, else 0 is returned.
DATEUTIL_API int tarnu_format_date(char* text);
// Normalises a numeric date in place to "dd/mm/yyyy" (" 5 - 1 - 2024 "
// gives "05/01/2024"; separators \ - _ , . become /) and validates it;
// returns 1 for a valid date, else 0 (the text may be partly rewritten).
DATEUTIL_API int tarnu_convert_date_format(CString& text);
// Fills *out from "05-Jan-2024 10:30:15": tm_mday, tm_mon = 1 to 12 (NOT
// 0 to 11), tm_year as written (2024), then hour, minute, second. Filling
// stops at the first missing part; other fields stay 0. A text longer than
// 31 characters is cut to its first 31. Does nothing when out is null.
DATEUTIL_API void tarnu_get_date_time_in_TM(char* text, tm* out);

// ------------------------------------------------------- text to long date

// Parses "d/m/y" (month as a number or a case-sensitive name; any other name
// is January) and an optional "H:M:S" after the first space, as local time.
// Returns the long date; -1 for a missing part; -2 for a field out of range
// (month above 12, day above the month's length with every fourth year a leap
// year), a long date that does not fit 32 bits, or a text longer than 255
// characters. Day or month 0 roll back into the previous month or year. The
// runtime's own failure value -1 is returned as is.
DATEUTIL_API long Convert_DateString_to_longDate(char* text);
// As above for the date, with the current local time of day; stores the long
// date and returns 1, or returns -1/-2 leaving `longDate` untouched.
DATEUTIL_API int ConvertDateFormat(const CString& text, long& longDate);

// ------------------------------------------------------------- comparisons
// Results are 1 when the first operand is later, -1 earlier, 0 equal.

// Compares the times of day "HH:MM:SS" at the end of each text (hours at
// len-8, minutes at len-5, seconds at len-2; a text too short for a field
// reads it as 0). Lengths above the texts' own are cut to the terminator.
DATEUTIL_API int comparedate1(char* first, int firstLength, char* second, int secondLength);
// -2 for texts of different length. With an empty separator compares
// "05Jan2024" forms by year, month name, day; else splits at the separator
// into day and numeric month, takes the 4 year characters after them, and
// breaks ties with comparedate1 on what follows the year.
DATEUTIL_API int CompareDates1(CString& first, CString& second, CString& separator);
// The list sort comparison, multiplied by `order` (1 ascending, -1
// descending): texts of different length order byte-wise (second against
// first); else dates with "/" or "-", then times with ":" (AM before PM, the
// 12-hour clock not folded), else "05Jan2024" forms.
DATEUTIL_API int CompareDateTime1(char* first, char* second, int order);
// Reads "d/m/y" and compares it with today's local date into `result`;
// returns false (result untouched) when the text is not such a date.
DATEUTIL_API bool CompareStringTimeWithCurrentTime(CString& date, int& result);

// ------------------------------------------------------ module's own use

// "Jan".."Dec" (whole token, case-sensitive) give 1 to 12; null gives 0;
// anything else gives 1.
DATEUTIL_INTERNAL int GetMonthNumber(const char* token);
// The date of a long date at UTC+05:30 as "dd/mm/yyyy"; 1, or 0 and "" for
// no date (below 1).
DATEUTIL_INTERNAL int Convert_longDate_to_IstDateString(long longDate, CString& text);
