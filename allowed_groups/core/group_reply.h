// Reading the server's replies: their name and status, and the group a
// list-all reply carries. Nothing here trusts the reply: any field may be
// missing, empty, too long or no number.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "allowed_groups/core/allowed_group_record.h"
#include "mml/mml.h"
#include "platform/base/cstring.h"

// The first value of a tag as text, as "%.*s" copies it (up to a NUL byte);
// nothing when the tag is absent (an empty value reads as the empty text).
// The text points into the reply and lives as long as the reply does.
std::optional<std::string_view> FirstText(mnm_hndl reply, int32_t fieldTag);

inline constexpr int kStatusSuccess = 5;

// The reply's status (tag::kReplyStatus) as its leading number: 5 (success)
// without a status field, 1 when the field cannot be read. 0 is what a
// failed server says; the caller tells the user.
int ReplyStatusOf(mnm_hndl reply);

// The group of a list-all reply, each field the first value of its tag as
// the segment's rules name it (BSE cash carries no instrument). Its texts
// point into the reply: a list of millions reads each once, into the pool.
struct ListedGroup {
  std::optional<std::string_view> category;
  std::optional<std::string_view> exchangeCode;
  std::optional<std::string_view> instrument;
  std::optional<std::string_view> symbol;
  std::optional<std::string_view> optionType;
  std::optional<std::string_view> strike;  // server units
  std::optional<std::string_view> expiry;  // server seconds
  std::optional<std::string_view> product;
  std::optional<std::string_view> side;
};
ListedGroup DecodeAllowedGroup(mnm_hndl reply);

// The instrument of a BSE cash scrip from its trading symbol; nothing when
// the terminal cannot say.
using InstrumentLookup = std::function<std::optional<CString>(const CString& tradingSymbol)>;

// A listed group as the list shows and keeps it: absent and empty texts read
// "ALL"; the strike a number of server units and the expiry "27/12/2012",
// each kept as sent instead when it is no number the list can convert
// (allowed_group_record.h).
AllowedGroupRecord ListedRecord(const ListedGroup& group, const InstrumentLookup& lookup);
