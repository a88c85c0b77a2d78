#include "mml/codec/codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "mml/testing/stream_gen.h"

namespace {

// Zstd level 3; by default coders, connection kind 1 and zstd's own window.
codec_settings settings(int type, int noCoders = 0, int kind = 1, int windowLog = 0) {
  return codec_settings{type, noCoders, kind, 3, windowLog};
}

std::string hex(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    out += "0123456789abcdef"[static_cast<uint8_t>(c) >> 4];
    out += "0123456789abcdef"[static_cast<uint8_t>(c) & 15];
  }
  return out;
}

// A writer and a reader of one type and a buffer for each; both codecs must
// be destroyed cleanly at the end (type 1 has none).
class CodecPair {
 public:
  explicit CodecPair(const codec_settings& s) {
    EXPECT_NE(codec_create_pair(&w, &r, &s, nullptr), 0);
    EXPECT_NE(buf_open(&m_packed, 64, nullptr) * buf_open(&m_plain, 64, nullptr), 0);
  }
  ~CodecPair() {
    for (codec** c : {&w, &r}) EXPECT_TRUE(*c == nullptr || codec_destroy(c, nullptr) != 0);
    for (buf_hndl* b : {&m_packed, &m_plain}) buf_close(b, nullptr);
  }
  // What a writer (this pair's unless named) makes of msg; no bytes come as no pointer.
  std::string Compress(std::string_view msg, codec* writer = nullptr) {
    m_packed->used = 0;
    const char* bytes = msg.empty() ? nullptr : msg.data();
    EXPECT_NE(
        codec_compress(writer != nullptr ? writer : w, bytes, static_cast<int32_t>(msg.size()), m_packed, nullptr), 0);
    return std::string(m_packed->data, static_cast<size_t>(m_packed->used));
  }
  // What the reader expands bytes to; nothing when it refuses them.
  std::optional<std::string> Expand(std::string_view bytes) {
    m_plain->used = 0;
    if (codec_expand(r, bytes.data(), static_cast<int32_t>(bytes.size()), m_plain, nullptr) == 0) return {};
    return std::string(m_plain->data, static_cast<size_t>(m_plain->used));
  }
  codec *w = nullptr, *r = nullptr;

 private:
  buf_hndl m_packed = nullptr, m_plain = nullptr;
};

// Creates a pair; the status, 0 on success (then both are destroyed).
int create_status(const codec_settings& s, bool* made = nullptr) {
  codec* w = nullptr;
  codec* r = nullptr;
  int status = -1;
  const int ok = codec_create_pair(&w, &r, &s, &status);
  if (made != nullptr) *made = w != nullptr && r != nullptr;
  for (codec** c : {&w, &r}) EXPECT_TRUE(*c == nullptr || codec_destroy(c, nullptr) != 0);
  return ok != 0 ? 0 : status;
}

TEST(CodecPairTest, CreationStatuses) {
  bool made = true;
  for (const codec_settings& s : {settings(1), settings(4, 1)}) {
    EXPECT_EQ(create_status(s, &made), 0);
    EXPECT_FALSE(made) << "type 1 and no_coders: no coders";
  }
  // Refused with or without coders.
  for (const int type : {0, 12}) EXPECT_EQ(create_status(settings(type, type == 12 ? 1 : 0)), 5) << "type " << type;
  EXPECT_EQ(create_status(settings(8)), 0) << "LOC, under the least cache and trim when a run chooses them";
  int32_t interval = 100;  // the range coder's, which a run may set; at least 1
  mml_get_int_setting("MML_EC_UPDATE_INTERVAL", &interval, nullptr);
  EXPECT_EQ(create_status(settings(6)), interval >= 1 ? 0 : 23) << interval;
  EXPECT_EQ(codec_destroy(nullptr, nullptr), 0) << "no handle at all";
  for (const auto& [kind, status] : {std::pair{0, 5}, {2, 5}, {7, 5}, {16, 5}, {1, 0}, {6, 0}, {15, 0}}) {
    EXPECT_EQ(create_status(settings(4, 0, kind)), status) << "kind " << kind;
  }
  EXPECT_EQ(create_status(settings(7, 0, 1, 99)), 32) << "window log 99";

  // A zstd reader's window log bounds the frames it takes: one written with
  // the default window is refused by a reader held to 1 KiB, whose own
  // writer's frames it reads. A reader reads all it is given: a skippable
  // frame (magic, length, bytes) before its writer's frame is passed over.
  CodecPair wide(settings(7)), narrow(settings(7, 0, 1, 10));
  const std::string message = mml::test::CStreamGenerator(5).Next() + std::string(100000, 'z');
  EXPECT_EQ(narrow.Expand(narrow.Compress(message)), message);
  const std::string packed = narrow.Compress(message, wide.w);
  EXPECT_EQ(narrow.Expand(packed), std::nullopt);
  EXPECT_EQ(wide.Expand(std::string("\x50\x2a\x4d\x18\x01\0\0\0!", 9) + packed), message);
  // No output buffer, bytes counted but not given, a negative count: refused, the buffer untouched.
  buf_hndl out = nullptr;
  ASSERT_NE(buf_open(&out, 4, nullptr), 0);
  for (const auto& [in, len, to, status] : std::vector<std::tuple<const char*, int32_t, buf_hndl, int>>{
           {"x", 1, nullptr, 7}, {nullptr, 1, out, 7}, {"x", -1, out, 4}}) {
    int got = -1;
    EXPECT_EQ(codec_compress(wide.w, in, len, to, &got) == 0 ? got : 0, status) << len;
  }
  EXPECT_EQ(out->used, 0);
  buf_close(&out, nullptr);
}

// A reader expands a message to 64 MiB and refuses one byte more (one rule
// serves every format; zstd's reader reaches it soonest).
TEST(CodecPairTest, AReaderTakes64MiBAMessageAndNoMore) {
  const std::string zeros((64 << 20) + 1, '\0');
  CodecPair pair(settings(7));
  EXPECT_EQ(pair.Expand(pair.Compress(std::string_view(zeros).substr(0, 64 << 20))).value_or("").size(), 64u << 20);
  EXPECT_FALSE(pair.Expand(pair.Compress(zeros)).has_value());
}

// LOC's cache trims every 20000 messages on both sides, dropping what went
// unused since the trim before; the first trim therefore drops nothing. Two
// segments cached at messages 2 and 4: the first, referred to at 20001 (the
// first message after a trim), is still referred to at 40001; the second,
// gone with the trim at 40000, is sent whole and cached afresh at 40002.
TEST(CodecPairTest, LocDropsWhatATrimPeriodLeftUnused) {
  CodecPair pair(settings(8));
  for (int n = 1; n <= 40002; ++n) {
    const std::string msg = n == 1 || n == 2 || n == 20001 || n == 40001 ? "NIFTY"
                            : n == 3 || n == 4 || n == 40002             ? "BANKNIFTY"
                                                                         : "SBIN";
    const std::string packed = pair.Compress(msg);
    ASSERT_EQ(pair.Expand(packed), msg) << n;
    if (n == 20001 || n == 40001) {
      EXPECT_EQ(hex(packed), "0100") << n << ": NIFTY, id 0, still cached";
    } else if (n == 40002) {
      EXPECT_EQ(hex(packed), "000942414e4b4e49465459") << "BANKNIFTY, cached again";
    }
  }
  // A message cut inside a token's number, or whose number runs past the
  // five bytes a 32-bit number takes, is refused, not read as 0.
  EXPECT_EQ(pair.Expand("\x02"), std::nullopt);
  EXPECT_EQ(pair.Expand("\x02\x80\x80\x80\x80\x80"), std::nullopt);
  // A compact tagged message is cut at its fields: once seen twice, only a changed field goes in full. A segment
  // of 1024 bytes, the longest cached, goes as an id the third time. The reader takes each.
  const std::string compact("AA\0\x10\0\1\0\2ab\0\2\0\2cd", 16), longest(1024, 'x');
  std::vector<size_t> sizes;
  for (const std::string& msg : {compact, compact, compact.substr(0, 15) + "e", longest, longest, longest}) {
    const std::string packed = pair.Compress(msg);
    ASSERT_EQ(pair.Expand(packed), msg) << msg.size();
    sizes.push_back(packed.size());
  }
  EXPECT_LT(sizes[2], 16u);
  EXPECT_EQ(sizes[5], 2u) << "0x01 and the id";
}

// What each type writes under its default settings, pinned: a peer built
// elsewhere with the same defaults must read exactly these bytes, and a
// round trip inside one process cannot notice a changed default or bit
// layout, as writer and reader would share it. A short message first, whose
// bytes are given in full; then 40000 random bytes, more distinct trigrams
// than any dictionary type keeps phrase sets for; then generated messages,
// enough to pass every other default's refresh point (range coder 100
// symbols, Huffman 128, dictionary tables 512 and type 4's 250000-byte
// history). All but the first are pinned by their count of bytes and
// FNV-1a. Types 7, 9 and 10 carry the zstd and zlib libraries' formats:
// another version of a library may write other bytes that every reader
// still reads, and then only their pins move.
struct sPinned {
  const char* pFirstHex;  // the short message, coded
  uint64_t nBytes;
  uint64_t nHash;
};
constexpr const char* kFirst = "NIFTY NIFTY NIFTY 24000 CE";
const sPinned kPinned[12] = {
    {},
    // 1: the bytes as given
    {"4e49465459204e49465459204e49465459203234303030204345", 7894291, 0x87220f2b78661c37ULL},
    // 2, 3: table flag 0, then literal and phrase tokens
    {"64013b2009390046c802a6401672004028c1466400cb2006990030c80186400c32004190043c8022e40400", 2144590,
     0x59707fb6e03a9461ULL},
    {"64013b2009390046c802a6401672004028c1466400cb2006990030c80186400c32004190043c8022e40400", 2265058,
     0x156f4232125bd312ULL},
    // 4, 11: adaptive literals
    {"64013a2009390046c4015290059a2004028c1467200654400d2480185dc388021e88022e880800", 2209295, 0xe909d1a32cbf15c7ULL},
    // 5: 32-bit count, then an escape and the byte, or a symbol's code
    {"0000001a84e04984682a21650209530654c1c19606981814a304361140", 4515344, 0x1a2a67a6092dc13bULL},
    // 6: the range coder's bytes and its four flush bytes
    {"4dfb01c621b2612bb82a3a774ac7a6777d6cfbfc0d63f7ad2fa2bfb10000", 4463386, 0x48a9eda830a094fdULL},
    // 7: a zstd frame
    {"28b52ffd0058a40000704e494654592032343030302043450100e14a11", 2712380, 0x64e1526bb4532d89ULL},
    // 8: 0x02, a segment not cached yet
    {"021a4e49465459204e49465459204e49465459203234303030204345", 5793465, 0xace254f84d609ee7ULL},
    // 9: deflate ending in a sync flush, 00 00 ff ff
    {"789cf2f3740b8954f043228d4c0c0c0c149c5d01000000ffff", 2333871, 0xd1670045ad6951e9ULL},
    // 10: type 9's bytes in one LOC segment
    {"0219789cf2f3740b8954f043228d4c0c0c0c149c5d01000000ffff", 2384117, 0x58b568f83662770aULL},
    // 11: type 4's bytes in one LOC segment
    {"022764013a2009390046c4015290059a2004028c1467200654400d2480185dc388021e88022e880800", 2257449,
     0x322e8bc640f0f26bULL},
};

// Generated messages through a writer and a separate reader of each type;
// the writer writes the pinned bytes.
class CodecStreamTest : public ::testing::TestWithParam<int> {};

TEST_P(CodecStreamTest, LongStreamRoundTripsAndWritesThePinnedBytes) {
  const sPinned& pinned = kPinned[GetParam()];
  const codec_settings s = settings(GetParam());
  CodecPair pair(s), twin(s);
  mml::test::CStreamGenerator gen(21);
  std::mt19937 rng(7);
  std::string noise(40000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  uint64_t in = 0, out = 0;
  uint64_t hash = 1469598103934665603ULL;
  for (int i = 0; i <= 20000; ++i) {
    const std::string msg = i == 0 ? kFirst : i == 1 ? noise : gen.Next();
    const std::string packed = pair.Compress(msg);
    ASSERT_EQ(pair.Expand(packed), msg) << "message " << i;
    if (i == 0) {
      EXPECT_EQ(hex(packed), pinned.pFirstHex);
      continue;
    }
    for (const char b : packed) hash = (hash ^ static_cast<uint8_t>(b)) * 1099511628211ULL;
    in += msg.size();
    out += packed.size();
  }
  EXPECT_EQ(out, pinned.nBytes);
  EXPECT_EQ(hash, pinned.nHash) << std::hex << hash;
  RecordProperty("ratio_x100", static_cast<int>(in * 100 / out));
  // Empty messages, many in a row, between others, after all that history
  // and on a fresh pair.
  for (CodecPair* p : {&pair, &twin}) {
    for (const std::string msg : {"", "x", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                                  "", "", "after many empty ones", ""}) {
      ASSERT_EQ(p->Expand(p->Compress(msg)), msg) << '"' << msg << '"';
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryType, CodecStreamTest, ::testing::Range(1, 12),
                         [](const auto& test) { return "Type" + std::to_string(test.param); });

}  // namespace
