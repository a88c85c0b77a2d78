#include "mml/codec/codec.h"

#include <gtest/gtest.h>

#include <string>

#include "mml/testing/stream_gen.h"

namespace {

codec_settings settings(int type) { return codec_settings{type, 0, 1, 3, 0}; }

// Creates a pair; the status, 0 on success (then both are destroyed).
int create_status(const codec_settings& s, bool* made = nullptr) {
  codec* w = nullptr;
  codec* r = nullptr;
  int status = -1;
  const int ok = codec_create_pair(&w, &r, &s, &status);
  if (made != nullptr) *made = w != nullptr && r != nullptr;
  if (w != nullptr) codec_destroy(&w, nullptr);
  if (r != nullptr) codec_destroy(&r, nullptr);
  return ok != 0 ? 0 : status;
}

TEST(CodecPairTest, CreationStatuses) {
  bool made = true;
  EXPECT_EQ(create_status(settings(1), &made), 0);
  EXPECT_FALSE(made) << "type 1 has no coders";
  codec_settings none = settings(4);
  none.no_coders = 1;
  EXPECT_EQ(create_status(none, &made), 0);
  EXPECT_FALSE(made);
  for (int type = 2; type <= 11; ++type) {
    EXPECT_EQ(create_status(settings(type), &made), 0) << type;
    EXPECT_TRUE(made) << type;
  }
  EXPECT_EQ(create_status(settings(0)), 5);
  EXPECT_EQ(create_status(settings(12)), 5);
  for (int kind : {0, 2, 7, 16}) {
    codec_settings s = settings(4);
    s.kind = kind;
    EXPECT_EQ(create_status(s), 5) << kind;
  }
  for (int kind : {1, 6, 15}) {
    codec_settings s = settings(4);
    s.kind = kind;
    EXPECT_EQ(create_status(s), 0) << kind;
  }
  codec_settings badZstd = settings(7);
  badZstd.zstd_window_log = 99;
  EXPECT_EQ(create_status(badZstd), 32);
}

TEST(CodecPairTest, NullCodersCopyAndSidesAreKept) {
  buf_hndl out = nullptr;
  ASSERT_NE(buf_open(&out, 4, nullptr), 0);
  int status = -1;
  ASSERT_NE(codec_compress(nullptr, "abcdef", 6, out, &status), 0);
  EXPECT_EQ(std::string(out->data, static_cast<size_t>(out->used)), "abcdef");

  codec* w = nullptr;
  codec* r = nullptr;
  const codec_settings s = settings(9);
  ASSERT_NE(codec_create_pair(&w, &r, &s, &status), 0);
  out->used = 0;
  EXPECT_EQ(codec_expand(w, "x", 1, out, &status), 0);
  EXPECT_EQ(status, 4);
  EXPECT_EQ(codec_compress(r, "x", 1, out, &status), 0);
  EXPECT_EQ(status, 4);
  EXPECT_EQ(out->used, 0) << "a failed call appends nothing";
  codec_destroy(&w, nullptr);
  codec_destroy(&r, nullptr);
  buf_close(&out, nullptr);
}

// Empty messages, many in a row, between others: every type gives them back.
TEST(CodecPairTest, EmptyMessagesRoundTripInEveryType) {
  for (int type = 1; type <= 11; ++type) {
    const codec_settings s = settings(type);
    codec *w = nullptr, *r = nullptr;
    ASSERT_NE(codec_create_pair(&w, &r, &s, nullptr), 0);
    buf_hndl packed = nullptr, plain = nullptr;
    buf_open(&packed, 16, nullptr);
    buf_open(&plain, 16, nullptr);
    for (const std::string msg : {"", "x", "", "", "", "", "", "", "", "", "", "",
                                  "", "",  "", "", "", "", "", "", "", "", "", "after many empty ones",
                                  ""}) {
      packed->used = plain->used = 0;
      int status = -1;
      ASSERT_NE(codec_compress(w, msg.data(), static_cast<int32_t>(msg.size()), packed, &status), 0) << type;
      ASSERT_NE(codec_expand(r, packed->data, packed->used, plain, &status), 0)
          << "type " << type << " status " << status;
      ASSERT_EQ(std::string(plain->data, static_cast<size_t>(plain->used)), msg) << type;
    }
    if (w != nullptr) codec_destroy(&w, nullptr);
    if (r != nullptr) codec_destroy(&r, nullptr);
    buf_close(&packed, nullptr);
    buf_close(&plain, nullptr);
  }
}

// 20,000 generated messages through a writer and a separate reader of each
// type; a second writer fed the same stream writes the same bytes.
class CodecStreamTest : public ::testing::TestWithParam<int> {};

TEST_P(CodecStreamTest, LongStreamRoundTripsAndWritersAgree) {
  const codec_settings s = settings(GetParam());
  codec *w = nullptr, *r = nullptr, *twin = nullptr, *twinReader = nullptr;
  ASSERT_NE(codec_create_pair(&w, &r, &s, nullptr), 0);
  ASSERT_NE(codec_create_pair(&twin, &twinReader, &s, nullptr), 0);
  buf_hndl packed = nullptr, again = nullptr, plain = nullptr;
  ASSERT_NE(buf_open(&packed, 64, nullptr) + buf_open(&again, 64, nullptr) + buf_open(&plain, 64, nullptr), 0);
  mml::test::CStreamGenerator gen(21);
  uint64_t in = 0, out = 0;
  for (int i = 0; i < 20000; ++i) {
    const std::string msg = gen.Next();
    packed->used = again->used = plain->used = 0;
    int status = -1;
    ASSERT_NE(codec_compress(w, msg.data(), static_cast<int32_t>(msg.size()), packed, &status), 0) << status;
    ASSERT_NE(codec_compress(twin, msg.data(), static_cast<int32_t>(msg.size()), again, &status), 0) << status;
    ASSERT_EQ(std::string(packed->data, packed->used), std::string(again->data, again->used)) << "message " << i;
    ASSERT_NE(codec_expand(r, packed->data, packed->used, plain, &status), 0)
        << "message " << i << " status " << status;
    ASSERT_EQ(std::string(plain->data, plain->used), msg) << "message " << i;
    in += msg.size();
    out += static_cast<uint64_t>(packed->used);
  }
  RecordProperty("ratio_x100", static_cast<int>(in * 100 / out));
  if (GetParam() != 1 && GetParam() != 3) {
    EXPECT_LT(out, in) << "type " << GetParam() << " gains on the repetitive stream";
  }
  for (codec** c : {&w, &r, &twin, &twinReader}) {
    if (*c != nullptr) codec_destroy(c, nullptr);
  }
  for (buf_hndl* b : {&packed, &again, &plain}) buf_close(b, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryType, CodecStreamTest, ::testing::Range(1, 12),
                         [](const auto& test) { return "Type" + std::to_string(test.param); });

}  // namespace
