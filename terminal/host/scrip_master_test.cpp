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
  std::string error;
  auto master = ScripMaster::Parse(kSample, error);
  ASSERT_TRUE(master) << error;
  EXPECT_EQ(master->Segments(), (Strings{"NFO", "BSE"}));

  const auto segment = master->Cascade(0, {"NFO", "", "", ""});
  EXPECT_EQ(segment.instrument, (Strings{"OPTIDX", "FUTIDX"}));
  EXPECT_EQ(segment.symbol, Strings{});

  const auto symbol = master->Cascade(2, {"NFO", "OPTIDX", "NIFTY", ""});
  EXPECT_EQ(symbol.optionType, (Strings{"CE", "PE"}));
  EXPECT_EQ(symbol.strike, (Strings{"25900", "26000"})) << "strikes ascend numerically";
  EXPECT_EQ(symbol.expiry, (Strings{"29Dec2026", "26Jan2027"})) << "expiries ascend by date";

  // BSE: the option-type combo holds the groups; a group refills instrument and symbol.
  EXPECT_EQ(master->Cascade(0, {"BSE", "", "", ""}).optionType, (Strings{"A", "B"}));
  const auto group = master->Cascade(3, {"BSE", "", "", "A"});
  EXPECT_EQ(group.instrument, (Strings{"EQ", "OPTCUR"}));
  EXPECT_EQ(group.symbol, (Strings{"RELIANCE", "USDINR"}));
  EXPECT_FALSE(master->Cascade(3, {"NFO", "", "", "CE"}).symbol.has_value()) << "level 3 is for BSE only";
  ASSERT_NE(master->FindTradingSymbol("SUZLON"), nullptr);
  EXPECT_EQ(master->FindTradingSymbol("SUZLON")->instrument, "EQ");
  EXPECT_EQ(master->FindTradingSymbol(""), nullptr);
}

TEST(ScripMaster, RejectsMalformedLinesWithTheirNumber) {
  std::string error;
  EXPECT_FALSE(ScripMaster::Parse("NFO,,OPTIDX,NIFTY,CE,1\n", error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
  EXPECT_FALSE(ScripMaster::Parse("# x\nNFO,,OPTIDX,NIFTY,CE,1,2026-12-29,\n", error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  EXPECT_FALSE(ScripMaster::Load("/no/such/scrips.csv", error));
}

TEST(ScripMaster, ShippedFileCoversEveryCascadeLevel) {
  std::string error;
  auto master = ScripMaster::Load(AG_SCRIPS_CSV, error);
  ASSERT_TRUE(master) << error;
  for (const char* segment : {"NSE", "NFO", "BSE", "MCX", "CDS", "NCDEX"}) {
    EXPECT_FALSE(master->Cascade(0, {segment, "", "", ""}).instrument->empty()) << segment;
  }
  const auto nfo = master->Cascade(0, {"NFO", "", "", ""});
  for (const char* instrument : {"FUTIDX", "FUTSTK", "OPTIDX", "OPTSTK"}) {
    EXPECT_NE(std::find(nfo.instrument->begin(), nfo.instrument->end(), instrument), nfo.instrument->end());
  }
  const auto optidx = master->Cascade(1, {"NFO", "OPTIDX", "", ""});
  EXPECT_NE(std::find(optidx.symbol->begin(), optidx.symbol->end(), "BANKNIFTY"), optidx.symbol->end());
  const auto nifty = master->Cascade(2, {"NFO", "OPTIDX", "NIFTY", ""});
  EXPECT_EQ(nifty.optionType, (Strings{"CE", "PE"}));
  EXPECT_GE(nifty.strike->size(), 3u);
  EXPECT_GE(nifty.expiry->size(), 2u);
}

}  // namespace
}  // namespace terminal
