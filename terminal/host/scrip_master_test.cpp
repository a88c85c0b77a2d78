#include "terminal/host/scrip_master.h"

#include <gtest/gtest.h>

namespace terminal {
namespace {

using Strings = std::vector<std::string>;

const char* kSample =
    "# comment\n"
    "NFO,,OPTIDX,NIFTY,CE,26000,26Jan2027,\n"
    "NFO,,OPTIDX,NIFTY,PE,25900,29Dec2026,\n"
    "NFO,,OPTIDX,NIFTY,CE,25900,29Dec2026,\n"
    "NFO,,OPTIDX,BANKNIFTY,CE,58000,29Dec2026,\n"
    "NFO,,FUTIDX,NIFTY,,,29Dec2026,\n"
    "\n"
    "BSE,A,EQ,RELIANCE,,,,RELIANCE\n"
    "BSE,B,EQ,SUZLON,,,,SUZLON\r\n"
    "BSE,A,OPTCUR,USDINR,,,,USDINR\n";

TEST(ScripMaster, CascadeFillsEachLevelInUsefulOrder) {
  const auto master = ScripMaster::Parse(kSample);
  ASSERT_TRUE(master.Refused().empty());
  EXPECT_EQ(master.Segments(), (Strings{"NFO", "BSE"}));

  const auto segment = master.Cascade(0, {"NFO", "", "", ""});
  EXPECT_EQ(segment.instrument, (Strings{"OPTIDX", "FUTIDX"}));
  EXPECT_EQ(segment.symbol, Strings{});
  EXPECT_EQ(master.Cascade(1, {"NFO", "EQ", "", ""}).symbol, Strings{}) << "another segment's instrument has no symbols";

  const auto symbol = master.Cascade(2, {"NFO", "OPTIDX", "NIFTY", ""});
  EXPECT_EQ(symbol.optionType, (Strings{"CE", "PE"}));
  EXPECT_EQ(symbol.strike, (Strings{"25900", "26000"})) << "strikes ascend numerically";
  EXPECT_EQ(symbol.expiry, (Strings{"29Dec2026", "26Jan2027"})) << "expiries ascend by date";

  // BSE: the option-type combo holds the groups; a group refills instrument and symbol.
  EXPECT_EQ(master.Cascade(0, {"BSE", "", "", ""}).optionType, (Strings{"A", "B"}));
  const auto group = master.Cascade(3, {"BSE", "", "", "A"});
  EXPECT_EQ(group.instrument, (Strings{"EQ", "OPTCUR"}));
  EXPECT_EQ(group.symbol, (Strings{"RELIANCE", "USDINR"}));
  EXPECT_FALSE(master.Cascade(3, {"NFO", "", "", "CE"}).symbol.has_value()) << "level 3 is for BSE only";
  EXPECT_EQ(master.Cascade(1, {"BSE", "EQ", "", "B"}).symbol, Strings{"SUZLON"}) << "an instrument keeps to the group";
  EXPECT_EQ(master.Cascade(1, {"BSE", "EQ", "SUZLON", ""}).symbol, (Strings{"RELIANCE", "SUZLON"})) << "no group: all";
  ASSERT_NE(master.FindTradingSymbol("SUZLON"), nullptr);
  EXPECT_EQ(master.FindTradingSymbol("SUZLON")->instrument, "EQ");
  EXPECT_EQ(master.FindTradingSymbol(""), nullptr);
}

// Every line the form could not mean as written is left out and told once
// (line, field, value); the lines around it load.
TEST(ScripMaster, LeavesOutWhatItCannotMeanAndLoadsTheRest) {
  struct Line {
    std::string text;
    const char* field;  // refused, or null for a line that loads
    const char* value;
  };
  auto strike = [](const char* v) { return std::string("NFO,,OPTIDX,NIFTY,CE,") + v + ",29Dec2026,"; };
  auto expiry = [](const char* v) { return std::string("NFO,,OPTIDX,NIFTY,CE,26000,") + v + ","; };
  std::vector<Line> lines;
  // No price, or one the server cannot hold.
  for (const char* v : {"abc", "1e308", "nan", "99999999999999999999999", "inf", "-5", " 5", "0", "0.001", "100000000",
                        "25800.", "0x10"}) {
    lines.push_back({strike(v), "strike", v});
  }
  // No calendar day, or one the server's seconds cannot count.
  for (const char* v : {"31Feb2027", "01Jan2100", "01Jan1900", "00Jan2027", "29Feb2027", "31Apr2027", "31Dec1979",
                        "01Jan2038", "1Jan2027", "01jan2027", "2027-01-01"}) {
    lines.push_back({expiry(v), "expiry", v});
  }
  lines.push_back({"NFO,,OPTIDX,NIFTY,CE,26000,29Dec2026", "fields", "7"});
  lines.push_back({"NFO,,OPTIDX,NIFTY,CE,26000,29Dec2026,,x", "fields", "9"});
  lines.push_back({"NFO,,,NIFTY,CE,26000,29Dec2026,", "instrument", ""});
  // The ends of what is held, a leap day, no strike or expiry: these load.
  for (const std::string& good : {strike("0.01"), strike("99999999.99"), expiry("01Jan1980"), expiry("31Dec2037"),
                                  expiry("29Feb2028"), std::string("NSE,,EQ,TCS,,,,")}) {
    lines.push_back({good, nullptr, nullptr});
  }
  std::string text = "# a comment\n";
  std::vector<RefusedScripLine> wanted;
  for (size_t i = 0; i < lines.size(); ++i) {
    text += lines[i].text + (i % 2 == 0 ? "\n" : "\r\n");
    if (lines[i].field != nullptr) wanted.push_back({static_cast<int>(i) + 2, lines[i].field, lines[i].value, ""});
  }

  const auto master = ScripMaster::Parse(text, "bad.csv");
  EXPECT_EQ(master.Scrips().size(), lines.size() - wanted.size()) << "every good line loads";
  auto refused = master.Refused();
  for (auto& r : refused) r.why.clear();
  EXPECT_EQ(refused, wanted);
  const auto said = master.Refusals();
  ASSERT_EQ(said.size(), wanted.size());
  EXPECT_EQ(said[0], "bad.csv line 2: strike \"abc\" is not a price written like 25800 or 88.25; the line is left out");
  EXPECT_EQ(said[23].rfind("bad.csv line 25: 7 fields where 8 are wanted (segment,", 0), 0u) << said[23];
  for (size_t i = 0; i < 23; ++i) {
    EXPECT_NE(said[i].find(std::string(lines[i].field) + " \"" + lines[i].value + "\" "), std::string::npos) << said[i];
  }
  // A value is told on one line, whatever bytes it holds.
  const auto odd = ScripMaster::Parse("NFO,,OPTIDX,NIFTY,CE,2\x01\"" + std::string(100, '9') + ",,\n", "odd.csv");
  ASSERT_EQ(odd.Refusals().size(), 1u);
  EXPECT_NE(odd.Refusals()[0].find("\"2\\x01\\\"999"), std::string::npos) << odd.Refusals()[0];
  EXPECT_EQ(odd.Refusals()[0].find('\x01'), std::string::npos);
  // Up to 60 bytes of a value are told whole; beyond, cut and marked.
  for (const size_t length : {60, 61}) {
    const std::string value(length, 'x');
    const auto told = ScripMaster::Parse(strike(value.c_str()) + "\n").Refusals().at(0);
    EXPECT_NE(told.find("\"" + value.substr(0, 60) + (length > 60 ? "...\"" : "\"")), std::string::npos) << told;
  }

  std::string error;
  EXPECT_FALSE(ScripMaster::Load("/no/such/scrips.csv", error));
  EXPECT_NE(error.find("/no/such/scrips.csv"), std::string::npos);
}

TEST(ScripMaster, ShippedFileCoversEveryCascadeLevel) {
  std::string error;
  auto master = ScripMaster::Load(AG_SCRIPS_CSV, error);
  ASSERT_TRUE(master) << error;
  EXPECT_EQ(master->Refusals(), std::vector<std::string>{}) << "the shipped master offers only what it means";
  // Deeper levels: the end-to-end requests choose NFO's instruments, symbols, strikes and expiries from it.
  for (const char* segment : {"NSE", "NFO", "BSE", "MCX", "CDS", "NCDEX"}) {
    EXPECT_FALSE(master->Cascade(0, {segment, "", "", ""}).instrument->empty()) << segment;
  }
}

}  // namespace
}  // namespace terminal
