// Expiry dates as the server counts them.
#pragma once

#include <cstdint>

#include "platform/base/cstring.h"

// Seconds of an expiry date for the server. `text` is "27Dec2012" (day,
// three-letter month, year) or "27/12/2012"; only its first 35 characters
// are read. The date is taken in Indian Standard Time (UTC+05:30) whatever
// the machine's zone: at 23:59:59 for kinds 6, 9, 10, 13, 14, 16 and 18, else
// at midnight; kinds 6 and 9 add 19800, kinds 4, 5 and 8 subtract 315460800.
// Returns -1 when a "/" part is missing, -2 for an impossible date (and for
// a date whose seconds do not fit in 32 bits).
int32_t ConvertExpiryToSeconds(const CString& text, int kind);
