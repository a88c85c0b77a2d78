// The add and delete requests of a group: which fields, under which tags, in
// which order. The result is the request's fields in wire order, every value
// one text; the request's name is the field of tag::kRequestName.
#pragma once

#include <cstdint>
#include <vector>

#include "allowed_groups/core/allowed_group.h"
#include "allowed_groups/core/allowed_group_record.h"
#include "platform/base/cstring.h"

struct RequestField {
  int32_t tag;
  CString text;
  friend bool operator==(const RequestField&, const RequestField&) = default;
};
using RequestFields = std::vector<RequestField>;

// Where a delete comes from. The list's delete names the user before the
// request; the server has always received it so.
enum class DeleteSource { kForm, kList };

RequestFields EncodeAddRequest(const AllowedGroup& group, const CString& user);
RequestFields EncodeDeleteRequest(const AllowedGroup& group, const CString& user, DeleteSource source);

// The group a stored row stands for, to delete it: "ALL" fields are absent;
// a strike or expiry kept as sent goes back as sent; a converted expiry
// goes back in server seconds of its segment's kind, a strike of 0 not at all.
AllowedGroup GroupOfRecord(const AllowedGroupRecord& record);

// Expiry in server seconds from a date the form or the list shows
// ("27Dec2012" or "27/12/2012"), for a segment's rules; the conversion's
// error codes (-1, -2) are sent as they are, as they always were.
CString ExpiryInServerSeconds(const CString& date, int expiryKind);

// "27/12/2012" back to "27Dec2012". A text whose month is no month (0, 13,
// none) is returned unchanged, for the conversion to refuse.
CString CompactExpiry(const CString& dayMonthYear);
