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

// A row's eight texts and its strike, in the list's column order; a
// strike or an expiry kept as the server sent it says so.
std::vector<std::string> Shown(const AllowedGroupRecord& row) {
  std::vector<std::string> out;
  for (const CGroupText* text : {&row.strCategory, &row.strExchangeCode, &row.strInstrument, &row.strSymbol,
                                 &row.strOptionType, &row.strExpiry, &row.strProduct, &row.strSide}) {
    out.emplace_back(text->view());
  }
  if (row.ExpiryAsSent()) out[5] += " (as sent)";
  out.push_back(row.strStrikeAsSent.IsEmpty() ? std::to_string(row.dStrike)
                                              : std::string(row.strStrikeAsSent.view()) + " (as sent)");
  return out;
}

// Each listed reply read into the row the list shows, every field under its
// segment's tags, and that row deleted from the list: the delete carries
// exactly the fields listed (in their wire order here), but those marked
// "ignored", which are not the segment's, and those sent empty, which
// restrict nothing, as a missing field.
TEST(GroupReply, AListedRowShowsEachFieldUnderItsSegmentsTagsAndDeletesWhatWasListed) {
  const struct {
    Fields listed;
    std::vector<std::string> shown;
  } cases[] = {
      // Derivatives' expiries count from 1980.
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "nse_fo"}, {tag::kInstrument, "OPTIDX"},
        {tag::kInstrumentCash, "ignored"}, {tag::kSymbol, "NIFTY"}, {tag::kProduct, "NRML"}, {tag::kSide, "S"},
        {tag::kOptionType, "PE"}, {tag::kStrike, "2600000"}, {tag::kExpiry, "1041085800"}},
       {"HNI", "nse_fo", "OPTIDX", "NIFTY", "PE", "27/12/2012", "NRML", "S", "2600000.000000"}},
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "nse_cm"}, {tag::kInstrumentCash, "EQ"},
        {tag::kInstrument, "ignored"}},
       {"HNI", "nse_cm", "EQ", "ALL", "ALL", "ALL", "ALL", "ALL", "0.000000"}},
      // Other segments carry the zone offset: the last second of 27 Dec 2012 IST.
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356652799"}},
       {"HNI", "mcx_fo", "ALL", "ALL", "ALL", "27/12/2012", "ALL", "ALL", "0.000000"}},
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "bse_fo"}, {tag::kInstrument, "FUTIDX"},
        {tag::kSymbol, "SENSEX"}},
       {"HNI", "bse_fo", "FUTIDX", "SENSEX", "ALL", "ALL", "ALL", "ALL", "0.000000"}},
      // BSE takes its instrument from the trading symbol (the terminal
      // answers), the group under the cash instrument's tag.
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "bse_cm"}, {tag::kTradingSymbol, "RELIANCE"},
        {tag::kInstrumentCash, "A"}, {tag::kInstrument, "ignored"}, {tag::kSymbol, "ignored"}},
       {"HNI", "bse_cm", "EQ for RELIANCE", "RELIANCE", "A", "ALL", "ALL", "ALL", "0.000000"}},
      // No symbol, nothing to look up.
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "bse_cm"}},
       {"HNI", "bse_cm", "ALL", "ALL", "ALL", "ALL", "ALL", "ALL", "0.000000"}},
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "nse_fo"}, {tag::kInstrument, ""}, {tag::kSymbol, ""},
        {tag::kProduct, ""}, {tag::kSide, ""}, {tag::kOptionType, ""}},
       {"HNI", "nse_fo", "ALL", "ALL", "ALL", "ALL", "ALL", "ALL", "0.000000"}},
      // Numbers the list cannot convert go back as they were sent.
      {{{tag::kCategory, "HNI"}, {tag::kExchangeCode, "nse_fo"}, {tag::kStrike, "12.5x"},
        {tag::kExpiry, "99999999999"}},
       {"HNI", "nse_fo", "ALL", "ALL", "ALL", "99999999999 (as sent)", "ALL", "ALL", "12.5x (as sent)"}},
  };
  const InstrumentLookup lookup = [](const CString& symbol) { return std::optional<CString>(CString("EQ for ") + symbol); };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown[1] + " " + std::to_string(c.listed.size()));
    const AllowedGroupRecord row = Listed(c.listed, lookup);
    EXPECT_EQ(Shown(row), c.shown);
    RequestFields expected{{tag::kUserId, "u"}, {tag::kRequestName, "ks_delete_allowed_group"}};
    for (const auto& [fieldTag, text] : c.listed) {
      if (!text.empty() && text != "ignored") expected.push_back({fieldTag, CString(text)});
    }
    EXPECT_EQ(EncodeDeleteRequest(GroupOfRecord(row), "u", DeleteSource::kList), expected);
  }
  // The day turns at midnight IST, not UTC.
  EXPECT_EQ(Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356566400"}}).strExpiry, "27/12/2012");
  EXPECT_EQ(Listed({{tag::kExchangeCode, "mcx_fo"}, {tag::kExpiry, "1356566399"}}).strExpiry, "26/12/2012");
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
          ListedGroup listed;
          listed.category = "HNI";
          listed.exchangeCode = code.view();
          listed.expiry = sent.view();
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
