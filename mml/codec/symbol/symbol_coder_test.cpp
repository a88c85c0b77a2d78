#include "mml/codec/symbol/symbol_coder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "mml/codec/common/number_code.h"

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

// Static, 18 numbers weighted 2^17 .. 1: code lengths 1 .. 17 (17 twice).
std::unique_ptr<CSymbolCoder> deep_coder() {
  auto c = make(CSymbolCoder::kStatic, 2, 1);
  for (uint32_t i = 0; i < 18; ++i) c->Add(mml::number_key(i), 1u << (17 - std::min(i, 17u)));
  return c;
}

// Adaptive with escape, every number bucket known with weight 2.
std::unique_ptr<CSymbolCoder> number_coder() {
  auto c = make(CSymbolCoder::kAdaptiveEscape, 2, 8);
  for (uint32_t b = 0; b < mml::kNumberBuckets; ++b) c->Add(mml::number_key(b), 2);
  return c;
}

std::string bits_of(const MVector<uint8_t>& bytes, size_t count) {
  std::string s;
  for (size_t i = 0; i < count; ++i) s += ((bytes[i / 8] >> (7 - i % 8)) & 1) ? '1' : '0';
  return s;
}

TEST(SymbolCoderTest, BuildsTheTreeFromTheOrderedArray) {
  auto c = make(CSymbolCoder::kStatic, 2, 1);
  // A 5, B 3, C 1, D 1: C+D go after B, then B+(CD) after A: A 0, B 10, C 110, D 111.
  for (const auto& [k, w] : {std::pair{"A", 5u}, {"B", 3u}, {"C", 1u}, {"D", 1u}}) ASSERT_TRUE(c->Add(key(k), w));
  MVector<uint8_t> out;
  CBitWriter w(out);
  for (const char* k : {"A", "B", "C", "D"}) ASSERT_EQ(c->Encode(key(k), w), 0);
  w.Finish();
  EXPECT_EQ(bits_of(out, 9), "010110111");
  EXPECT_EQ(c->Encode(key("E"), w), 4) << "no escape in mode 4";
  for (const char* k : {"A", "D"}) EXPECT_FALSE(c->Add(key(k), 9)) << k << ": a symbol it holds";

  auto lone = make(CSymbolCoder::kStatic, 2, 1);
  ASSERT_TRUE(lone->Add(key("x"), 3));
  EXPECT_EQ(lone->CodeLength(key("x")), 1);
}

// Refresh every symbol: C climbs past B (swap only), then past A, when it
// outweighs its parent's sibling and the code is rebuilt: C 1, A 00, B 01.
TEST(SymbolCoderTest, RefreshSwapsForwardAndRebuildsWhenABranchIsOutweighed) {
  auto c = make(CSymbolCoder::kAdaptive, 2, 1);
  for (const auto& [k, w] : {std::pair{"A", 3u}, {"B", 2u}, {"C", 1u}}) ASSERT_TRUE(c->Add(key(k), w));
  MVector<uint8_t> out;
  CBitWriter w(out);
  for (const char* k : {"C", "C", "C", "A", "B"}) ASSERT_EQ(c->Encode(key(k), w), 0);
  w.Finish();
  EXPECT_EQ(bits_of(out, 10), "1111110001");
  EXPECT_EQ(c->WeightOf(key("C")), 4u);
  EXPECT_EQ(c->CodeLength(key("C")), 1);
}

TEST(SymbolCoderTest, RejectsBadSettings) {
  std::unique_ptr<CSymbolCoder> c;
  EXPECT_EQ(CSymbolCoder::Create(0, 1, 1, &c), 4);
  EXPECT_EQ(CSymbolCoder::Create(5, 1, 1, &c), 4);
  EXPECT_EQ(CSymbolCoder::Create(1, 0, 1, &c), 4);
  EXPECT_EQ(CSymbolCoder::Create(1, 2, 0, &c), 4);
  EXPECT_EQ(CSymbolCoder::Create(2, 2, 0, &c), 4);
  EXPECT_EQ(CSymbolCoder::Create(3, 2, 0, &c), 0) << "static modes ignore the refresh";
}

TEST(SymbolCoderTest, EscapeCodesAndLearnsNewSymbols) {
  auto writer = make(CSymbolCoder::kAdaptiveEscape, 2, 4);
  MVector<uint8_t> out;
  CBitWriter w(out);
  ASSERT_EQ(writer->Encode(key("hi"), w), 0);
  // Only the escape exists at first: code 1, length - 1 = 001, then 'h' 'i'.
  w.Finish();
  EXPECT_EQ(bits_of(out, 20), "1001" + std::string("01101000") + "01101001");
  EXPECT_EQ(writer->WeightOf(key("hi")), 1u);
  EXPECT_EQ(writer->Encode(key("123456789"), w), 4) << "longer than 8 bytes";

  auto fixed = make(CSymbolCoder::kStaticEscape, 2, 1);
  MVector<uint8_t> sink;
  CBitWriter s(sink);
  ASSERT_EQ(fixed->Encode(key("a"), s), 0);
  EXPECT_EQ(fixed->WeightOf(key("a")), 0u) << "mode 3 does not learn";

  // Cleared after decoding, a coder starts afresh: only the escape again.
  auto before = number_coder();
  auto after = number_coder();
  MVector<uint8_t> both;
  CBitWriter bw(both);
  ASSERT_EQ(before->EncodeNumber(3, bw), 0);
  before->Clear();
  ASSERT_EQ(before->Encode(key("hi"), bw), 0);
  bw.Finish();
  CBitReader br(both.data(), both.size());
  uint32_t three = 0;
  ASSERT_EQ(after->DecodeNumber(br, &three), 0);
  after->Clear();
  mml::sSymbolKey hi;
  ASSERT_EQ(after->Decode(br, &hi), 0);
  EXPECT_EQ(hi, key("hi"));
}

TEST(SymbolCoderTest, EndSymbolEndsTheStreamForGood) {
  auto writer = make(CSymbolCoder::kAdaptiveEscape, 1, 2);
  auto reader = make(CSymbolCoder::kAdaptiveEscape, 1, 2);
  MVector<uint8_t> out;
  CBitWriter w(out);
  ASSERT_EQ(writer->Encode(key("a"), w), 0);
  ASSERT_EQ(writer->Encode(key("stop"), w), 0);
  w.Finish();
  CBitReader r(out.data(), out.size());
  mml::sSymbolKey got;
  ASSERT_EQ(reader->Decode(r, &got), 0);
  EXPECT_EQ(got, key("a"));
  EXPECT_EQ(reader->Decode(r, &got), 2);
  EXPECT_EQ(reader->Decode(r, &got), 2);
}

// Writer and reader fed the same skewed stream stay in step through
// weight gains, swaps and rebuilds, in every mode that can code it.
TEST(SymbolCoderTest, RandomStreamsRoundTripInEveryMode) {
  for (int mode = 1; mode <= 4; ++mode) {
    for (int64_t refresh : {1, 3, 64}) {
      auto writer = make(mode, 2, refresh);
      auto reader = make(mode, 2, refresh);
      if (mode == CSymbolCoder::kAdaptive || mode == CSymbolCoder::kStatic) {
        for (int i = 0; i < 20; ++i) {
          writer->Add(mml::number_key(i), 1 + i % 3);
          reader->Add(mml::number_key(i), 1 + i % 3);
        }
      }
      std::mt19937 rng(static_cast<uint32_t>(mode * 100 + refresh));
      std::geometric_distribution<int> skew(0.2);
      std::vector<uint32_t> sent;
      MVector<uint8_t> out;
      CBitWriter w(out);
      for (int i = 0; i < 3000; ++i) {
        sent.push_back(static_cast<uint32_t>(std::min(skew(rng), 19)));
        ASSERT_EQ(writer->Encode(mml::number_key(sent.back()), w), 0);
      }
      w.Finish();
      CBitReader r(out.data(), out.size());
      for (size_t i = 0; i < sent.size(); ++i) {
        mml::sSymbolKey got;
        ASSERT_EQ(reader->Decode(r, &got), 0) << "mode " << mode << " symbol " << i;
        ASSERT_EQ(mml::key_number(got), sent[i]) << "mode " << mode << " symbol " << i;
      }
      EXPECT_LT(r.BitsLeft(), 8u);
    }
  }
}

// Codes longer than the decoding table's reach walk the rest of the tree;
// a code or extra bits cut short report status 2.
TEST(SymbolCoderTest, LongCodesAndCutStreams) {
  auto writer = deep_coder();
  auto reader = deep_coder();
  EXPECT_EQ(writer->CodeLength(mml::number_key(16)), 17);
  MVector<uint8_t> out;
  CBitWriter w(out);
  std::vector<uint32_t> sent;
  for (uint32_t i = 0; i < 36; ++i) sent.push_back(i < 18 ? 17 - i : i - 18);
  for (const uint32_t n : sent) ASSERT_EQ(writer->Encode(mml::number_key(n), w), 0);
  w.Finish();
  CBitReader r(out.data(), out.size());
  for (size_t i = 0; i < sent.size(); ++i) {
    mml::sSymbolKey got;
    ASSERT_EQ(reader->Decode(r, &got), 0) << i;
    ASSERT_EQ(mml::key_number(got), sent[i]) << i;
  }

  // One symbol with a 17-bit code, cut after each of its bytes.
  MVector<uint8_t> deep;
  CBitWriter d(deep);
  ASSERT_EQ(writer->Encode(mml::number_key(17), d), 0);
  d.Finish();
  for (size_t bytes = 0; bytes < deep.size(); ++bytes) {
    CBitReader cut(deep.data(), bytes);
    mml::sSymbolKey got;
    EXPECT_EQ(deep_coder()->Decode(cut, &got), 2) << bytes << " bytes";
  }

  // A number whose extra bits are cut: its bucket decodes, the rest is missing.
  auto numbers = number_coder();
  auto numbersIn = number_coder();
  MVector<uint8_t> num;
  CBitWriter nw(num);
  ASSERT_EQ(numbers->EncodeNumber(3, nw), 0);  // primes the decoding table
  ASSERT_EQ(numbers->EncodeNumber(200000, nw), 0);
  nw.Finish();
  CBitReader nr(num.data(), num.size() - 1);
  uint32_t value = 0;
  ASSERT_EQ(numbersIn->DecodeNumber(nr, &value), 0);
  EXPECT_EQ(value, 3u);
  EXPECT_EQ(numbersIn->DecodeNumber(nr, &value), 2);
}

TEST(NumberCodeTest, BucketsAndExtraBits) {
  auto coder = number_coder();
  MVector<uint8_t> out;
  CBitWriter w(out);
  EXPECT_EQ(coder->EncodeNumber(mml::kLargestNumber, w), 0);
  EXPECT_EQ(coder->EncodeNumber(mml::kLargestNumber + 1, w), 4);

  // Only a corrupt stream names a bucket past the last: refused, not read
  // as a number beyond the largest.
  auto corrupt = number_coder();
  MVector<uint8_t> bad;
  CBitWriter b(bad);
  ASSERT_EQ(corrupt->Encode(mml::number_key(mml::kNumberBuckets), b), 0);  // escaped
  b.Put(0, 17);
  b.Finish();
  CBitReader r(bad.data(), bad.size());
  uint32_t value = 0;
  EXPECT_EQ(number_coder()->DecodeNumber(r, &value), 4);
}

}  // namespace

#include "mml/codec/dictionary/move_to_front.h"

namespace {

// Against a plain list: ranks and lookups agree through front overflow and
// index rebuilds, for a list whose index is one group of words and for one
// whose index spans many groups, with most picks deep in the tail (as a
// stream's phrase numbers are).
TEST(MoveToFrontTest, MatchesAPlainList) {
  struct sCase {
    uint32_t nSize;
    int nOps;
    uint32_t nNearOneIn;  // picks among the 80 most recent: all but one in this many
  };
  for (const sCase& c : {sCase{300, 5000, 4}, sCase{5000, 30000, 1}}) {
    mml::CMoveToFront writer(c.nSize), reader(c.nSize);
    std::vector<uint32_t> list(c.nSize);
    for (uint32_t i = 0; i < c.nSize; ++i) list[i] = i;
    std::mt19937 rng(9);
    for (int op = 0; op < c.nOps; ++op) {
      const bool near = rng() % c.nNearOneIn != 0;
      const uint32_t n = near ? list[rng() % 80] : (rng() % 2 == 0 ? rng() % c.nSize : list[rng() % (c.nSize / 8)]);
      const auto it = std::find(list.begin(), list.end(), n);
      const auto rank = static_cast<uint32_t>(it - list.begin());
      list.erase(it);
      list.insert(list.begin(), n);
      ASSERT_EQ(writer.Send(n), rank) << "size " << c.nSize << " op " << op;
      uint32_t got = 0;
      ASSERT_TRUE(reader.Receive(rank, &got));
      ASSERT_EQ(got, n) << "size " << c.nSize << " op " << op;
    }
    uint32_t got = 0;
    EXPECT_FALSE(reader.Receive(c.nSize, &got));
  }
}

}  // namespace
