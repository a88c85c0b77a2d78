// Reading list-all replies into groups and rows, whatever the server put in
// them; and a listed row deleting exactly what was listed.
#include "allowed_groups/core/group_reply.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

#include <string>
#include <utility>
#include <vector>

#include "allowed_groups/core/expiry.h"
#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "allowed_groups/core/segment_rules.h"

// Failures name the field, not its bytes (group_request_test.cpp).
void PrintTo(const RequestField& field, std::ostream* out);

namespace {

using Fields = std::vector<std::pair<int32_t, std::string>>;

// A reply of these fields, parsed as the receiver is handed it.
class Reply {
 public:
  explicit Reply(const Fields& fields) {
    char* noEnvironment[] = {nullptr};
    int error = 0;
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &error);
    mnm_hndl writer = nullptr;
    EXPECT_TRUE(mnm_open(&writer, &error) && buf_open(&m_buffer, 64, &error) && mnm_open(&m_reply, &error));
    EXPECT_TRUE(mnm_init_msg(writer, m_buffer, &error));
    for (const auto& [fieldTag, text] : fields) {
      mml_data value{text.empty() ? nullptr : const_cast<char*>(text.data()), static_cast<int32_t>(text.size())};
      EXPECT_TRUE(mnm_add_field(writer, fieldTag, 1, &value, &error)) << fieldTag;
    }
    mnm_close(&writer, &error);
    EXPECT_TRUE(mnm_parse(m_reply, nullptr, m_buffer, &error));
  }
  ~Reply() {
    mnm_close(&m_reply, nullptr);
    buf_close(&m_buffer, nullptr);
  }
  Reply(const Reply&) = delete;
  Reply& operator=(const Reply&) = delete;
  mnm_hndl handle() const { return m_reply; }

 private:
  buf_hndl m_buffer = nullptr;
  mnm_hndl m_reply = nullptr;
};

AllowedGroupRecord Listed(const Fields& fields, const InstrumentLookup& lookup = nullptr) {
  const Reply reply(fields);
  return ListedRecord(DecodeAllowedGroup(reply.handle()), lookup);
}

// A row's eight texts and its strike, in the list's column order.
std::vector<std::string> Shown(const AllowedGroupRecord& row) {
  std::vector<std::string> out;
  for (const CGroupText* text : {&row.strCategory, &row.strExchangeCode, &row.strInstrument, &row.strSymbol,
                                 &row.strOptionType, &row.strExpiry, &row.strProduct, &row.strSide}) {
    out.emplace_back(text->view());
  }
  out.push_back(std::to_string(row.dStrike));
  return out;
}

TEST(GroupReply, ListedGroupReadsEveryFieldUnderItsSegmentsTags) {
  const AllowedGroupRecord row = Listed({{tag::kCategory, "HNI"},
                                         {tag::kExchangeCode, "nse_fo"},
                                         {tag::kInstrument, "OPTIDX"},
                                         {tag::kInstrumentCash, "ignored"},
                                         {tag::kSymbol, "NIFTY"},
                                         {tag::kOptionType, "CE"},
                                         {tag::kStrike, "2600000"},
                                         {tag::kExpiry, "1041085800"},
                                         {tag::kProduct, "NRML"},
                                         {tag::kSide, "S"}});
  // Derivatives' expiries count from 1980.
  EXPECT_EQ(Shown(row), (std::vector<std::string>{"HNI", "nse_fo", "OPTIDX", "NIFTY", "CE", "27/12/2012", "NRML", "S",
                                                  "2600000.000000"}));
  EXPECT_TRUE(row.strStrikeAsSent.IsEmpty() && !row.ExpiryAsSent());

  EXPECT_EQ(
      Listed({{tag::kExchangeCode, "nse_cm"}, {tag::kInstrumentCash, "EQ"}, {tag::kInstrument, "no"}}).strInstrument,
      "EQ");
  // Other segments carry the zone offset: 27 Dec 2012 00:00 IST.
  EXPECT_EQ(Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356566400"}}).strExpiry, "27/12/2012");
  EXPECT_EQ(Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356566399"}}).strExpiry, "26/12/2012");
  // A field sent empty restricts nothing, as a missing one.
  const AllowedGroupRecord blank = Listed({{tag::kExchangeCode, "nse_fo"},
                                           {tag::kInstrument, ""},
                                           {tag::kSymbol, ""},
                                           {tag::kOptionType, ""},
                                           {tag::kProduct, ""},
                                           {tag::kSide, ""}});
  for (const CGroupText* text :
       {&blank.strInstrument, &blank.strSymbol, &blank.strOptionType, &blank.strProduct, &blank.strSide}) {
    EXPECT_EQ(*text, "ALL");
  }
}

TEST(GroupReply, BseTakesItsInstrumentFromTheTradingSymbol) {
  const Fields bse{{tag::kExchangeCode, "bse_cm"},
                   {tag::kTradingSymbol, "RELIANCE"},
                   {tag::kInstrumentCash, "A"},
                   {tag::kInstrument, "ignored"},
                   {tag::kSymbol, "ignored"}};
  CString asked;
  const AllowedGroupRecord row = Listed(bse, [&asked](const CString& symbol) -> std::optional<CString> {
    asked = symbol;
    return CString("EQ");
  });
  EXPECT_EQ(asked, "RELIANCE");
  EXPECT_EQ(row.strInstrument, "EQ");
  EXPECT_EQ(row.strSymbol, "RELIANCE");
  EXPECT_EQ(row.strOptionType, "A") << "the BSE group";
  EXPECT_EQ(Listed({{tag::kExchangeCode, "bse_cm"}}, [](const CString&) { return std::optional<CString>("X"); })
                .strInstrument,
            "ALL")
      << "no symbol, nothing to look up";
}

TEST(GroupReply, NumbersBeyondTheListAreKeptAsSent) {
  for (const char* strike : {"1234567890123456", "12.5", "-", "", "12 "}) {
    const AllowedGroupRecord row = Listed({{tag::kExchangeCode, "nse_fo"}, {tag::kStrike, strike}});
    EXPECT_EQ(row.dStrike, 0) << strike;
    EXPECT_EQ(row.strStrikeAsSent, strike) << strike;
  }
  EXPECT_EQ(Listed({{tag::kStrike, "-123456789012345"}}).dStrike, -123456789012345.0) << "15 digits are a number";
  for (const char* expiry : {"12345678901", "2147483648", "-2147483649", "x", "0"}) {
    const AllowedGroupRecord row = Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, expiry}});
    EXPECT_EQ(row.strExpiry, expiry) << expiry;
    EXPECT_TRUE(row.ExpiryAsSent()) << expiry;
  }
  const AllowedGroupRecord biggest = Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "2147483647"}});
  EXPECT_EQ(biggest.strExpiry, "19/01/2038");
  EXPECT_FALSE(biggest.ExpiryAsSent());
  // A date sent as text is kept as sent: a field apart from the same date converted.
  const AllowedGroupRecord asText = Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "19/01/2038"}});
  EXPECT_EQ(asText.strExpiry.view(), biggest.strExpiry.view());
  EXPECT_FALSE(asText.SameGroup(biggest));
}

// What the list shows of a group, deleted from the list, is what the server
// listed: the same fields under the same tags.
TEST(GroupReply, AListedRowDeletesWhatTheServerListed) {
  const Fields derivative{{tag::kCategory, "HNI"},  {tag::kExchangeCode, "nse_fo"}, {tag::kInstrument, "OPTIDX"},
                          {tag::kSymbol, "NIFTY"},  {tag::kProduct, "NRML"},        {tag::kSide, "S"},
                          {tag::kOptionType, "PE"}, {tag::kStrike, "2600000"},      {tag::kExpiry, "1041085800"}};
  const Fields commodity{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356652799"}};
  const Fields bse{{tag::kCategory, "HNI"},
                   {tag::kExchangeCode, "bse_cm"},
                   {tag::kTradingSymbol, "RELIANCE"},
                   {tag::kInstrumentCash, "A"}};
  // Numbers the list cannot convert go back as they were sent.
  const Fields unread{
      {tag::kCategory, "HNI"}, {tag::kExchangeCode, "nse_fo"}, {tag::kStrike, "12.5x"}, {tag::kExpiry, "99999999999"}};
  for (const Fields* listed : {&derivative, &commodity, &bse, &unread}) {
    const AllowedGroupRecord row = Listed(*listed, [](const CString&) { return std::optional<CString>("EQ"); });
    RequestFields expected{{tag::kUserId, "u"}, {tag::kRequestName, "ks_delete_allowed_group"}};
    for (const auto& [fieldTag, text] : *listed) expected.push_back({fieldTag, CString(text)});
    EXPECT_EQ(EncodeDeleteRequest(GroupOfRecord(row), "u", DeleteSource::kList), expected)
        << (*listed)[1].second << " " << listed->size();
  }
}

// What the form sends for an expiry, the list shows as that day, and the
// list's delete sends back exactly: for every segment, over four decades of
// days (every month length and leap year among them).
TEST(GroupReply, EverySegmentsExpiryIsListedAsItsDayAndDeletedAsSent) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (const char* display :
       {"NSE", "NFO", "BSE", "MCX", "NCDEX", "ICEX", "NMCE", "MCXSX", "ACE", "RCME", "CDS", "BFO", "NSEL"}) {
    const CString code = ExchangeCodeOf(display);
    const SegmentRules& rules = RulesForCode(code.view());
    int failures = 0;
    for (int year = 1990; year <= 2030; ++year) {
      for (int month = 1; month <= 12; ++month) {
        static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int last = kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
        for (int day : {1, 13, last}) {
          char compact[16];
          std::snprintf(compact, sizeof compact, "%02d%s%04d", day, kMonths[month - 1], year);
          const CString sent = ExpiryInServerSeconds(compact, rules.expiryKind);
          AllowedGroup listed;
          listed.category = CString("HNI");
          listed.exchangeCode = code;
          listed.expiry = sent;
          const AllowedGroupRecord row =
              ListedRecord(listed, [](const CString&) { return std::optional<CString>("EQ"); });
          const AllowedGroup back = GroupOfRecord(row);
          const bool same = CompactExpiry(row.strExpiry).view() == std::string_view(compact) && back.expiry &&
                            back.expiry->view() == sent.view();
          // Three failures of a segment tell its story.
          if (!same && ++failures <= 3) {
            ADD_FAILURE() << display << " " << compact << " sent " << sent.GetString() << " listed "
                          << std::string(row.strExpiry.view()) << " deleted as "
                          << (back.expiry ? back.expiry->GetString() : "nothing");
          }
        }
      }
    }
  }
}

}  // namespace
