// Group requests: tags and their order; strikes and expiries in the server's
// terms. (The group a stored row stands for, and the fields it leaves out:
// group_reply_test.cpp, from what the server listed.)
#include "allowed_groups/core/group_request.h"

#include <gtest/gtest.h>

#include <ostream>

#include "allowed_groups/core/expiry.h"
#include "allowed_groups/core/request_tags.h"

// Failures name the field, not its bytes.
void PrintTo(const RequestField& field, std::ostream* out) { *out << field.tag << "=\"" << field.text.view() << '"'; }

namespace {

AllowedGroup FullGroup(const char* code) {
  AllowedGroup group;
  group.category = "HNI";
  group.exchangeCode = code;
  group.instrument = "OPTIDX";
  group.symbol = "NIFTY";
  group.optionType = "CE";
  group.strike = "2600000";
  group.expiry = "1041085800";
  group.product = "NRML";
  group.side = "S";
  return group;
}

TEST(GroupRequest, AddAndDeleteCarryEveryFieldInTheirOwnOrder) {
  EXPECT_EQ(EncodeAddRequest(FullGroup("nse_fo"), "admin"),
            (RequestFields{{tag::kRequestName, "ks_publish_allowed_group"}, {tag::kCategory, "HNI"},
                           {tag::kUserId, "admin"}, {tag::kExchangeCode, "nse_fo"}, {tag::kInstrument, "OPTIDX"},
                           {tag::kProduct, "NRML"}, {tag::kSide, "S"}, {tag::kSymbol, "NIFTY"},
                           {tag::kOptionType, "CE"}, {tag::kStrike, "2600000"}, {tag::kExpiry, "1041085800"}}));
  const RequestFields tail{{tag::kCategory, "HNI"},   {tag::kExchangeCode, "nse_fo"}, {tag::kInstrument, "OPTIDX"},
                           {tag::kSymbol, "NIFTY"},   {tag::kProduct, "NRML"},        {tag::kSide, "S"},
                           {tag::kOptionType, "CE"},  {tag::kStrike, "2600000"},      {tag::kExpiry, "1041085800"}};
  RequestFields fromForm{{tag::kRequestName, "ks_delete_allowed_group"}, {tag::kUserId, "admin"}};
  fromForm.insert(fromForm.end(), tail.begin(), tail.end());
  EXPECT_EQ(EncodeDeleteRequest(FullGroup("nse_fo"), "admin", DeleteSource::kForm), fromForm);
  RequestFields fromList{{tag::kUserId, "admin"}, {tag::kRequestName, "ks_delete_allowed_group"}};
  fromList.insert(fromList.end(), tail.begin(), tail.end());
  EXPECT_EQ(EncodeDeleteRequest(FullGroup("nse_fo"), "admin", DeleteSource::kList), fromList);
}

TEST(GroupRequest, CompactExpiryNamesEveryMonthAndLeavesNoMonthAlone) {
  EXPECT_EQ(CompactExpiry("27/12/2012"), "27Dec2012");
  EXPECT_EQ(CompactExpiry("5/1/812"), "05Jan0812");
  // A month outside the table (a server can send any digits) comes back as
  // it was, for the conversion to refuse.
  EXPECT_EQ(CompactExpiry("01/13/2012"), "01/13/2012");
  EXPECT_EQ(CompactExpiry("01/00/2012"), "01/00/2012");
  EXPECT_EQ(CompactExpiry("Dec"), "Dec");
  EXPECT_EQ(ExpiryInServerSeconds(CompactExpiry("01/13/2012"), 4), "-2");
}

}  // namespace
