#include "mml/codec/symbol/symbol_coder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "mml/codec/common/number_code.h"
#include "mml/status.h"

namespace {

using mml::CBitReader;
using mml::CBitWriter;
using mml::CSymbolCoder;
using mml::MVector;

mml::sSymbolKey key(const std::string& s) {
  mml::sSymbolKey k;
  k.nLen = static_cast<uint8_t>(s.size());  // may claim more than the 8 bytes held
  std::copy_n(s.begin(), std::min<size_t>(s.size(), 8), k.aBytes.begin());
  return k;
}

std::unique_ptr<CSymbolCoder> make(int mode, int endFlag, int64_t refresh) {
  std::unique_ptr<CSymbolCoder> c;
  EXPECT_EQ(CSymbolCoder::Create(mode, endFlag, refresh, &c), 0);
  return c;
}

// Adaptive with escape, every number bucket known with weight 2.
std::unique_ptr<CSymbolCoder> number_coder() {
  auto c = make(CSymbolCoder::kAdaptiveEscape, 2, 8);
  for (uint32_t b = 0; b < mml::kNumberBuckets; ++b) c->Add(mml::number_key(b), 2);
  return c;
}

// Bits written through `writer`, then read back from their start.
struct Bits {
  MVector<uint8_t> bytes;
  CBitWriter writer{bytes};
  CBitReader Read() {
    writer.Finish();
    return {bytes.data(), bytes.size()};
  }
  // The first `count` written, as text.
  std::string Text(size_t count) {
    writer.Finish();
    std::string s;
    for (size_t i = 0; i < count; ++i) s += ((bytes[i / 8] >> (7 - i % 8)) & 1) ? '1' : '0';
    return s;
  }
};

TEST(SymbolCoderTest, BuildsTheTreeFromTheOrderedArray) {
  auto c = make(CSymbolCoder::kStatic, 2, 1);
  // A 5, B 3, C 1, D 1: C+D go after B, then B+(CD) after A: A 0, B 10, C 110, D 111.
  for (const auto& [k, w] : {std::pair{"A", 5u}, {"B", 3u}, {"C", 1u}, {"D", 1u}}) ASSERT_TRUE(c->Add(key(k), w));
  Bits out;
  for (const char* k : {"A", "B", "C", "D"}) ASSERT_EQ(c->Encode(key(k), out.writer), 0);
  EXPECT_EQ(out.Text(9), "010110111");
  EXPECT_EQ(c->Encode(key("E"), out.writer), 4) << "no escape in mode 4";
  for (const char* k : {"A", "D"}) EXPECT_FALSE(c->Add(key(k), 9)) << k << ": a symbol it holds";
  for (const auto& [k, weight] : {std::pair{"A", 5u}, {"D", 1u}, {"E", 0u}}) EXPECT_EQ(c->WeightOf(key(k)), weight) << k;

  auto lone = make(CSymbolCoder::kStatic, 2, 1);
  ASSERT_TRUE(lone->Add(key("x"), 3));
  EXPECT_EQ(lone->CodeLength(key("x")), 1);
}

TEST(SymbolCoderTest, RejectsBadSettings) {
  // Mode, end flag, refresh: an adaptive coder's refresh is a 32-bit count of at least one; static modes ignore it.
  std::unique_ptr<CSymbolCoder> c;
  for (const auto& [mode, end, refresh, status] : std::vector<std::tuple<int, int, int64_t, int>>{
           {0, 1, 1, 4}, {5, 1, 1, 4}, {1, 0, 1, 4}, {1, 2, 0, 4}, {2, 2, 0, 4}, {2, 2, 1, 0}, {1, 2, UINT32_MAX, 0},
           {1, 2, int64_t{UINT32_MAX} + 1, 4}, {3, 2, 0, 0}}) {
    EXPECT_EQ(CSymbolCoder::Create(mode, end, refresh, &c), status) << mode << " " << end << " " << refresh;
  }
}

TEST(SymbolCoderTest, EscapeCodesAndLearnsNewSymbols) {
  auto writer = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  Bits out;
  ASSERT_EQ(writer->Encode(key("hi"), out.writer), 0);
  // Only the escape exists at first: code 1, length - 1 = 001, then 'h' 'i'.
  EXPECT_EQ(out.Text(20), "1001" + std::string("01101000") + "01101001");
  EXPECT_EQ(writer->WeightOf(key("hi")), 1u);
  EXPECT_EQ(writer->Encode(key("12345678"), out.writer), 0) << "8 bytes, the longest";
  EXPECT_EQ(writer->Encode(key("123456789"), out.writer), 4) << "longer than 8 bytes";
  mml::sSymbolKey got;
  // A writer escapes only what it does not hold: an escape of a symbol the
  // reader learnt is corrupt (here from a writer that learnt another).
  Bits twice, scratch;
  auto other = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  ASSERT_EQ(make(CSymbolCoder::kAdaptiveEscape, 2, 4)->Encode(key("hi"), twice.writer), 0);
  ASSERT_EQ(other->Encode(key("zz"), scratch.writer), 0);
  ASSERT_EQ(other->Encode(key("hi"), twice.writer), 0);
  auto learner = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  mml::CBitReader tr = twice.Read();
  ASSERT_EQ(learner->Decode(tr, &got), 0);
  EXPECT_EQ(learner->Decode(tr, &got), mml::CodecStatus::kBadArgument);
  // The escape's own name is a symbol like any other: escaped once, then coded.
  auto named = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  Bits names;
  for (int i = 0; i < 2; ++i) ASSERT_EQ(named->Encode(key("default"), names.writer), 0);
  auto nameReader = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  mml::CBitReader nr = names.Read();
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(nameReader->Decode(nr, &got), 0) << i;
    EXPECT_EQ(got, key("default"));
  }

  // With an end symbol as well, a symbol not held still escapes, and the
  // end reads back as the end of the stream, past which nothing is read,
  // from that stream or another, wherever the end's last bit falls (after
  // 0 to 7 filler bits, one stream ends exactly at a byte's end).
  for (int filler = 0; filler < 8; ++filler) {
    auto ending = make(CSymbolCoder::kAdaptiveEscape, 1, 4);
    auto reading = make(CSymbolCoder::kAdaptiveEscape, 1, 4);
    Bits bytes, more;
    bytes.writer.Put(0, filler);
    ASSERT_EQ(ending->Encode(key("new"), bytes.writer), 0);
    ASSERT_EQ(ending->Encode(key("stop"), bytes.writer), 0);
    ASSERT_EQ(ending->Encode(key("new"), more.writer), 0);  // held now: its code would read whole
    mml::CBitReader r = bytes.Read(), next = more.Read();
    uint32_t skipped = 0;
    ASSERT_TRUE(r.Get(filler, &skipped));
    ASSERT_EQ(reading->Decode(r, &got), 0);
    EXPECT_EQ(got, key("new"));
    EXPECT_EQ(reading->Decode(r, &got), mml::CodecStatus::kNoMoreBits);
    EXPECT_EQ(reading->Decode(next, &got), mml::CodecStatus::kNoMoreBits) << filler;
  }

  // Without an escape or any symbol added, the end is the one symbol held,
  // and still ends the stream.
  auto bare = make(CSymbolCoder::kAdaptive, 1, 4);
  Bits bareBytes;
  EXPECT_EQ(bare->Encode(key("a"), bareBytes.writer), 4) << "nothing else is held";
  ASSERT_EQ(bare->Encode(key("stop"), bareBytes.writer), 0);
  mml::CBitReader br = bareBytes.Read();
  EXPECT_EQ(make(CSymbolCoder::kAdaptive, 1, 4)->Decode(br, &got), mml::CodecStatus::kNoMoreBits);
}

TEST(BitReaderTest, GivesEachBitOnceAndNothingPastItsRange) {
  const std::vector<uint8_t> bytes{0xA5, 0x0F};
  CBitReader one(bytes.data(), 1);  // the second byte is not its to read
  std::string seen;
  uint32_t value = 0;
  for (int i = 0; i < 9 && one.Bit(&value); ++i) seen += value != 0 ? '1' : '0';
  EXPECT_EQ(seen, "10100101");
}

// (Refresh, rebuilding and clearing are pinned through the Huffman and
// dictionary types' bytes in codec_test.cpp.)
TEST(NumberCodeTest, BucketsAndExtraBits) {
  auto coder = number_coder();
  Bits out;
  EXPECT_EQ(coder->EncodeNumber(mml::kLargestNumber + 1, out.writer), 4);

  // Numbers of every size read back whole wherever the stream's last bit
  // falls: after 0 to 7 filler bits, one run ends exactly at a byte's end.
  std::mt19937 rng(35);
  for (const uint32_t last : {0u, 3u, 5u, 1000u, mml::kLargestNumber}) {
    std::vector<uint32_t> numbers(rng() % 24 + 1);
    for (uint32_t& n : numbers) n = (rng() % (mml::kLargestNumber + 1)) >> (rng() % 19);
    numbers.back() = last;
    for (int filler = 0; filler < 8; ++filler) {
      auto writer = number_coder();
      auto reader = number_coder();
      Bits bytes;
      bytes.writer.Put(0, filler);
      for (const uint32_t n : numbers) ASSERT_EQ(writer->EncodeNumber(n, bytes.writer), 0);
      CBitReader br = bytes.Read();
      uint32_t got = 0;
      ASSERT_TRUE(br.Get(filler, &got));
      for (const uint32_t n : numbers) {
        ASSERT_EQ(reader->DecodeNumber(br, &got), 0) << last << " after " << filler;
        EXPECT_EQ(got, n);
      }
    }
  }

  // Only a corrupt stream names a bucket past the last: refused, not read
  // as a number beyond the largest, escaped or (once learnt) by its code.
  auto corrupt = number_coder();
  Bits bad;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(corrupt->Encode(mml::number_key(mml::kNumberBuckets), bad.writer), 0);
  bad.writer.Put(0, 17);
  CBitReader r = bad.Read();
  uint32_t value = 0;
  auto refusing = number_coder();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(refusing->DecodeNumber(r, &value), 4) << i;
}

}  // namespace
