// Expiries in the server's terms. (The requests' tags and their order: the
// form's add and delete in tests/requests_test.cpp, as they leave the
// terminal; the list's delete, and the fields a stored row leaves out, in
// group_reply_test.cpp, from what the server listed.)
#include "allowed_groups/core/group_request.h"

#include <gtest/gtest.h>

#include <ostream>

// Failures name the field, not its bytes.
void PrintTo(const RequestField& field, std::ostream* out) { *out << field.tag << "=\"" << field.text.view() << '"'; }

namespace {

TEST(GroupRequest, CompactExpiryPadsDayAndYearAndLeavesNoMonthAlone) {
  EXPECT_EQ(CompactExpiry("5/1/812"), "05Jan0812");
  // A month outside the table (a server can send any digits) comes back as
  // it was, for the conversion to refuse.
  for (const char* kept : {"01/13/2012", "01/00/2012", "Dec"}) EXPECT_EQ(CompactExpiry(kept), kept);
  EXPECT_EQ(ExpiryInServerSeconds(CompactExpiry("01/13/2012"), 4), "-2");
}

}  // namespace
