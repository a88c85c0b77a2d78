#include "mml/symbol_coder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "mml/number_code.h"

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

TEST(NumberCodeTest, BucketsAndExtraBits) {
  EXPECT_EQ(mml::number_bucket(0), 0);
  EXPECT_EQ(mml::number_bucket(3), 3);
  EXPECT_EQ(mml::number_bucket(4), 4);
  EXPECT_EQ(mml::number_bucket(5), 4);
  EXPECT_EQ(mml::number_bucket(6), 5);
  EXPECT_EQ(mml::number_bucket(12), 7);
  EXPECT_EQ(mml::number_bucket(196607), 34);
  EXPECT_EQ(mml::number_bucket(196608), 35);
  EXPECT_EQ(mml::number_bucket(262143), 35);
  EXPECT_EQ(mml::number_bucket_info(35).nExtraBits, 16);
  for (uint32_t n = 0; n <= mml::kLargestNumber; n += 97) {
    const auto info = mml::number_bucket_info(mml::number_bucket(n));
    ASSERT_GE(n, info.nBase);
    ASSERT_LT(n - info.nBase, 1u << info.nExtraBits | (info.nExtraBits == 0 ? 1u : 0u));
  }

  auto coder = make(CSymbolCoder::kAdaptiveEscape, 2, 8);
  for (int b = 0; b < mml::kNumberBuckets; ++b) coder->Add(mml::number_key(static_cast<uint32_t>(b)), 2);
  MVector<uint8_t> out;
  CBitWriter w(out);
  const int code35 = coder->CodeLength(mml::number_key(35));
  ASSERT_EQ(coder->EncodeNumber(262143, w), 0);
  w.Finish();
  EXPECT_EQ(bits_of(out, static_cast<size_t>(code35) + 16).substr(static_cast<size_t>(code35)), std::string(16, '1'));
  EXPECT_EQ(coder->EncodeNumber(262144, w), 4);
}

}  // namespace

#include "mml/move_to_front.h"

namespace {

// Against a plain list: ranks and lookups agree through front overflow and
// index rebuilds.
TEST(MoveToFrontTest, MatchesAPlainList) {
  constexpr uint32_t kSize = 300;
  mml::CMoveToFront writer(kSize), reader(kSize);
  std::vector<uint32_t> list(kSize);
  for (uint32_t i = 0; i < kSize; ++i) list[i] = i;
  std::mt19937 rng(9);
  for (int op = 0; op < 5000; ++op) {
    const uint32_t n = rng() % 4 == 0 ? rng() % kSize : list[rng() % 80];
    const auto it = std::find(list.begin(), list.end(), n);
    const auto rank = static_cast<uint32_t>(it - list.begin());
    list.erase(it);
    list.insert(list.begin(), n);
    ASSERT_EQ(writer.Send(n), rank) << "op " << op;
    uint32_t got = 0;
    ASSERT_TRUE(reader.Receive(rank, &got));
    ASSERT_EQ(got, n) << "op " << op;
  }
  uint32_t got = 0;
  EXPECT_FALSE(reader.Receive(kSize, &got));
}

}  // namespace
