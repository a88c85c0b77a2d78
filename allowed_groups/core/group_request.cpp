#include "allowed_groups/core/group_request.h"

#include <cstdlib>

#include "allowed_groups/core/expiry.h"
#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/core/segment_rules.h"

namespace {

constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void Put(RequestFields& fields, int32_t fieldTag, const std::optional<CString>& text) {
  if (text) fields.push_back({fieldTag, *text});
}

// The fields after the segment code: instrument, symbol, product and side
// are ordered differently by add and delete.
void PutInstrument(RequestFields& fields, const AllowedGroup& group, const SegmentRules& rules) {
  if (rules.instrumentTag != 0) Put(fields, rules.instrumentTag, group.instrument);
}

void PutOptionStrikeExpiry(RequestFields& fields, const AllowedGroup& group, const SegmentRules& rules) {
  Put(fields, rules.optionTypeTag, group.optionType);
  Put(fields, tag::kStrike, group.strike);
  Put(fields, tag::kExpiry, group.expiry);
}

const SegmentRules& RulesOf(const AllowedGroup& group) {
  return RulesForCode(group.exchangeCode ? group.exchangeCode->view() : std::string_view());
}

}  // namespace

// Add: name, category, user, code, instrument, product, side, symbol,
// option type, strike, expiry.
RequestFields EncodeAddRequest(const AllowedGroup& group, const CString& user) {
  const SegmentRules& rules = RulesOf(group);
  RequestFields fields{{tag::kRequestName, "ks_publish_allowed_group"}};
  Put(fields, tag::kCategory, group.category);
  fields.push_back({tag::kUserId, user});
  Put(fields, tag::kExchangeCode, group.exchangeCode);
  PutInstrument(fields, group, rules);
  Put(fields, tag::kProduct, group.product);
  Put(fields, tag::kSide, group.side);
  Put(fields, rules.symbolTag, group.symbol);
  PutOptionStrikeExpiry(fields, group, rules);
  return fields;
}

// Delete: name and user (the list's the other way round), category, code,
// instrument, symbol, product, side, option type, strike, expiry.
RequestFields EncodeDeleteRequest(const AllowedGroup& group, const CString& user, DeleteSource source) {
  const SegmentRules& rules = RulesOf(group);
  const RequestField name{tag::kRequestName, "ks_delete_allowed_group"};
  const RequestField userField{tag::kUserId, user};
  RequestFields fields;
  if (source == DeleteSource::kForm) fields = {name, userField};
  else fields = {userField, name};
  Put(fields, tag::kCategory, group.category);
  Put(fields, tag::kExchangeCode, group.exchangeCode);
  PutInstrument(fields, group, rules);
  Put(fields, rules.symbolTag, group.symbol);
  Put(fields, tag::kProduct, group.product);
  Put(fields, tag::kSide, group.side);
  PutOptionStrikeExpiry(fields, group, rules);
  return fields;
}

CString CompactExpiry(const CString& dayMonthYear) {
  int position = 0;
  const CString day = dayMonthYear.Tokenize("/", position);
  const CString month = dayMonthYear.Tokenize("/", position);  // empty past the last part
  const CString year = dayMonthYear.Tokenize("/", position);
  const int monthNumber = std::atoi(month);
  if (monthNumber < 1 || monthNumber > 12) return dayMonthYear;  // the conversion reports what it makes of it
  CString text;
  text.Format("%02d%s%04d", std::atoi(day), kMonthNames[monthNumber - 1], std::atoi(year));
  return text;
}

CString ExpiryInServerSeconds(const CString& date, int expiryKind) {
  CString text;
  text.Format("%ld", static_cast<long>(ConvertExpiryToSeconds(date, expiryKind)));
  return text;
}

AllowedGroup GroupOfRecord(const AllowedGroupRecord& record) {
  auto given = [](const CGroupText& text) -> std::optional<CString> {
    if (text == "ALL") return std::nullopt;
    return text.Text();
  };
  AllowedGroup group;
  group.category = given(record.strCategory);
  group.exchangeCode = given(record.strExchangeCode);
  group.instrument = given(record.strInstrument);
  group.symbol = given(record.strSymbol);
  group.optionType = given(record.strOptionType);
  group.product = given(record.strProduct);
  group.side = given(record.strSide);
  if (!record.strStrikeAsSent.IsEmpty()) {
    group.strike = record.strStrikeAsSent.Text();
  } else if (record.dStrike != 0) {
    group.strike.emplace().Format("%0.0f", record.dStrike);
  }
  if (given(record.strExpiry)) {
    const int kind = RulesForCode(record.strExchangeCode.view()).expiryKind;
    group.expiry =
        record.ExpiryAsSent() ? record.strExpiry.Text() : ExpiryInServerSeconds(CompactExpiry(record.strExpiry), kind);
  }
  return group;
}
