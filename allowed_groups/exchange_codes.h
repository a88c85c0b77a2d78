// Exchange segments: display names of the exchange-segment combo, the codes
// the server knows them by, and the expiry kinds their dates convert with.
#pragma once

#include "platform/base/cstring.h"

// The server code of a display name ("NFO" gives "nse_fo"); "" when unknown.
// Names compare exactly, case-sensitive.
CString ExchangeCodeOf(const CString& displayName);

// Expiry kind for ConvertExpiryToSeconds: 6 for MCX, 4 for the other
// derivative segments. For segments whose kind is not fixed by the server
// (BSE F&O, ICEX, ...) the derivative default 4 is used.
int ExpiryKindForDisplay(const CString& displayName);
int ExpiryKindForCode(const CString& code);
