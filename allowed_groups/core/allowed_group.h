// One allowed group as the server knows it: the nine fields an add or delete
// request carries and a list-all reply returns, each as text in the server's
// own terms (the segment by its code, "nse_fo"; the strike in server units;
// the expiry in server seconds). A field that is absent restricts nothing
// and is not sent. The form fills one from its controls, the list's delete
// from a stored row; a reply decodes into one (group_reply.h).
#pragma once

#include <optional>

#include "platform/base/cstring.h"

struct AllowedGroup {
  std::optional<CString> category;
  std::optional<CString> exchangeCode;
  std::optional<CString> instrument;
  std::optional<CString> symbol;
  std::optional<CString> optionType;
  std::optional<CString> strike;  // server units: price x 100, x 10000000 for currencies
  std::optional<CString> expiry;  // server seconds
  std::optional<CString> product;
  std::optional<CString> side;  // "B" or "S"
};
