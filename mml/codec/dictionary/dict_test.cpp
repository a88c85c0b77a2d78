#include "mml/codec/dictionary/dict.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "mml/testing/stream_gen.h"
#include "mml/codec/dictionary/dict_coder.h"
#include "mml/codec/dictionary/phrase_dictionary.h"

namespace {

// ---- Configuration ----

std::map<std::string, std::string> gSettings;
int fake_setting(const char* name, int32_t* out, int* err) {
  const auto it = gSettings.find(name);
  if (it == gSettings.end()) {
    *err = 5;
    return 0;
  }
  const mml_data text{it->second.data(), static_cast<int32_t>(it->second.size())};
  return mml_parse_int(out, &text, err);
}

TEST(DictConfigTest, DefaultsPerTypeAndOverrides) {
  gSettings.clear();
  dict_config c{};
  int status = -1;
  gSettings["MML_DICT_BUCKET_SIZE"] = "12";
  ASSERT_NE(mml::load_dict_config(&c, 4, fake_setting, &status), 0);
  EXPECT_EQ(c.bucket_size, 12);
  gSettings["MML_DICT_GREEDY_MATCH"] = "1x";
  EXPECT_EQ(mml::load_dict_config(&c, 4, fake_setting, &status), 0);
  EXPECT_EQ(status, 9);
  EXPECT_EQ(dict_config_load(&c, 5, &status), 0);
  EXPECT_EQ(status, 5);
  ASSERT_NE(dict_config_load(&c, 4, &status), 0) << "this process sets no MML_DICT_ key";
  EXPECT_EQ(c.bucket_size, 32);
}

TEST(DictConfigTest, CreateRejectsBadConfigurations) {
  dict_config base{};
  int status = -1;
  ASSERT_NE(dict_config_load(&base, 2, &status), 0);
  const auto refused = [&](auto edit) {
    dict_config c = base;
    edit(c);
    dict_coder* coder = nullptr;
    const int ok = dict_create(&coder, &c, &status);
    if (ok != 0) dict_destroy(&coder, nullptr);
    return ok == 0 ? status : 0;
  };
  EXPECT_EQ(refused([](dict_config& c) { c.optimize = 2; }), 4);
  EXPECT_EQ(refused([](dict_config& c) { c.phrase_tbl_size = 250001; }), 4);
  EXPECT_EQ(refused([](dict_config& c) { c.phrase_tbl_size = 250000; }), 0) << "the largest table is allowed";
  EXPECT_EQ(refused([](dict_config& c) { c.phrase_tbl_size = 2; }), 4);
  EXPECT_EQ(refused([](dict_config& c) { c.bucket_size = 7; }), 4);
  EXPECT_EQ(refused([](dict_config& c) { c.bucket_size = 8; }), 0);
  EXPECT_EQ(refused([](dict_config& c) { c.refresh_int = 0; }), 4) << "move-to-front needs an index spacing";
  EXPECT_EQ(refused([](dict_config& c) { c.refresh_int = c.mtf_refresh_freq = 1; }), 0) << "the least of both";
  EXPECT_EQ(refused([](dict_config& c) { c.huff_refresh_freq = 0; }), 13);
  EXPECT_EQ(refused([](dict_config& c) { c.move_to_front = 0, c.refresh_int = 0, c.mtf_refresh_freq = 0; }), 0);
  EXPECT_EQ(refused([](dict_config& c) { c.max_phrase_set_size = 0, c.max_phrase_buf_size = 0, c.hash_tbl_size = 0; }),
            0);

  dict_coder* coder = nullptr;
  ASSERT_NE(dict_create(&coder, &base, &status), 0);
  dict_coder* held = coder;
  EXPECT_EQ(dict_create(&coder, &base, &status), 0);
  EXPECT_EQ(status, 6);
  EXPECT_EQ(coder, held);
  dict_stats stats{};
  EXPECT_EQ(dict_get_stats(coder, nullptr, &status) + dict_get_stats(nullptr, &stats, &status), 0);
  ASSERT_NE(dict_destroy(&coder, &status), 0);
  EXPECT_EQ(coder, nullptr);
}

// ---- A writer and a reader ----

class DictPair {
 public:
  explicit DictPair(const dict_config& cfg) {
    EXPECT_NE(dict_create(&m_writer, &cfg, nullptr) * dict_create(&m_reader, &cfg, nullptr), 0);
    EXPECT_NE(buf_open(&m_packed, 64, nullptr) * buf_open(&m_plain, 64, nullptr), 0);
  }
  ~DictPair() {
    for (dict_coder** c : {&m_writer, &m_reader}) dict_destroy(c, nullptr);
    for (buf_hndl* b : {&m_packed, &m_plain}) buf_close(b, nullptr);
  }
  // onReader: the reader compresses, as a coder used both ways would.
  std::string Compress(const std::string& msg, bool onReader = false) {
    m_packed->used = 0;
    int status = -1;
    EXPECT_NE(dict_compress(onReader ? m_reader : m_writer, msg.data(), static_cast<int32_t>(msg.size()), m_packed,
                            &status),
              0)
        << status;
    return std::string(m_packed->data, static_cast<size_t>(m_packed->used));
  }
  std::string Expand(const std::string& packed) {
    EXPECT_EQ(ExpandStatus(packed), 0);
    return std::string(m_plain->data, static_cast<size_t>(m_plain->used));
  }
  int ExpandStatus(const std::string& packed) {
    m_plain->used = 0;
    int status = -1;
    dict_expand(m_reader, packed.data(), static_cast<int32_t>(packed.size()), m_plain, &status);
    return status;
  }
  // Through both sides; true when the reader gives the message back.
  bool RoundTrip(const std::string& msg) { return Expand(Compress(msg)) == msg; }
  dict_stats WriterStats() const { return StatsOf(m_writer); }
  dict_stats ReaderStats() const { return StatsOf(m_reader); }

 private:
  static dict_stats StatsOf(dict_coder* coder) {
    dict_stats s{};
    dict_get_stats(coder, &s, nullptr);
    return s;
  }
  dict_coder* m_writer = nullptr;
  dict_coder* m_reader = nullptr;
  buf_hndl m_packed = nullptr;
  buf_hndl m_plain = nullptr;
};

dict_config config(int type) {
  dict_config c{};
  dict_config_load(&c, type, nullptr);
  return c;
}

// Phrase numbers are the slots of a ring: with 5 slots, "fgh" (the sixth
// trigram) takes slot 0 and evicts "abc"; the others keep theirs.
TEST(PhraseDictionaryTest, TheSlotAfterTheLastIsTheFirst) {
  mml::CPhraseDictionary dictionary(101, 5, 10);
  for (const char byte : std::string("abcdefgh")) dictionary.AppendLiteral(static_cast<uint8_t>(byte));
  const auto phrase_of = [&](const std::string& probe) -> int {
    mml::CPhraseDictionary::sMatch match;
    return dictionary.FindMatch(reinterpret_cast<const uint8_t*>(probe.data()), 4, false, &match)
               ? static_cast<int>(match.nPhrase)
               : -1;
  };
  for (const auto& [probe, phrase] : {std::pair{"abcd", -1}, {"bcde", 1}, {"efgh", 4}})
    EXPECT_EQ(phrase_of(probe), phrase) << probe;

  // A phrase copies from where its trigram was seen; a copy reaching past the
  // history read so far, or shorter than a match, is corrupt and appends nothing.
  EXPECT_FALSE(dictionary.AppendPhrase(1, 8));
  EXPECT_FALSE(dictionary.AppendPhrase(1, 3));
  ASSERT_TRUE(dictionary.AppendPhrase(1, 7));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(dictionary.History()), dictionary.HistoryLen()),
            "abcdefghbcdefgh");
  // The longest phrase copies, one byte more does not, whatever the history holds.
  mml::CPhraseDictionary roomy(101, 1000, 10);
  for (int i = 0; i < 250010; ++i) roomy.AppendLiteral(i < 3 ? "abc"[i] : 'z');  // phrase 0: "abc" at 0
  EXPECT_FALSE(roomy.AppendPhrase(0, mml::CPhraseDictionary::kLongestMatch + 1));
  EXPECT_TRUE(roomy.AppendPhrase(0, mml::CPhraseDictionary::kLongestMatch));
}

// A lazy writer finds a longer match one byte on, then writes that byte as
// a literal; with a phrase ring of a few slots the literal's own trigram can
// take the slot of the match it was about to send, and the writer must see
// that the match no longer holds. Random texts of two letters make it common.
TEST(DictCoderTest, ALazyMatchEvictedByTheLiteralBeforeItIsNotSent) {
  for (const int slots : {3, 4, 6}) {
    dict_config cfg = config(2);
    cfg.greedy_match = 0;
    cfg.phrase_tbl_size = slots;
    DictPair pair(cfg);
    std::mt19937 rng(static_cast<unsigned>(slots));
    for (int i = 0; i < 400; ++i) {
      std::string msg(4 + rng() % 60, 'a');
      for (char& c : msg) c = "ab"[rng() % 2];
      ASSERT_TRUE(pair.RoundTrip(msg)) << slots << " slots, message " << i << ": " << msg;
    }
  }
}

// A reader takes a history of its buffer limit and one longest phrase and
// three literals beyond it (the most a writer leaves), and refuses a byte
// more: here from a writer with larger limits, which never resets.
TEST(DictCoderTest, AReaderRefusesHistoryBeyondWhatAWriterCanLeave) {
  dict_config small = config(2), large = small;
  small.max_phrase_buf_size = 1;
  large.max_phrase_buf_size = large.max_phrase_set_size = 1 << 20;
  const size_t most = 1 + mml::CPhraseDictionary::kLongestMatch + 3;
  std::mt19937 rng(5);
  std::string text(most + 1, '\0');
  for (char& c : text) c = static_cast<char>(rng());
  for (const size_t size : {most, most + 1}) {
    DictPair writer(large), reader(small);
    EXPECT_EQ(reader.ExpandStatus(writer.Compress(text.substr(0, size))), size == most ? 0 : 4) << size;
  }
}

TEST(DictCoderTest, ShortMessagesAndTheLastThreeBytesAreLiteralsAndTheirPhrasesAreFoundLater) {
  DictPair pair(config(4));
  ASSERT_TRUE(pair.RoundTrip("a"));
  ASSERT_TRUE(pair.RoundTrip("ab"));
  EXPECT_EQ(pair.WriterStats().literals, 2u + 3u) << "bytes and one 256 each";
  EXPECT_EQ(pair.WriterStats().phrases, 0u);
  ASSERT_TRUE(pair.RoundTrip(""));

  ASSERT_TRUE(pair.RoundTrip("abcdefgh"));
  const dict_stats before = pair.WriterStats();
  ASSERT_TRUE(pair.RoundTrip("abcdefgh"));
  const dict_stats after = pair.WriterStats();
  EXPECT_EQ(after.phrases - before.phrases, 1u);
  EXPECT_EQ(after.longest_match, 5u) << "fgh stay literals";
  EXPECT_EQ(after.literals - before.literals, 4u);
  EXPECT_EQ(after.messages, 5u);
  EXPECT_EQ(pair.ReaderStats().messages, 5u);
  // A phrase of short messages whose cache still waits when matching starts is found later.
  DictPair later(config(4));
  for (const char* msg : {"uvwxyz", "UVWXYZ", "0123456789"}) ASSERT_TRUE(later.RoundTrip(msg));
  ASSERT_TRUE(later.RoundTrip("xyzUVWXYZabcdefghijk"));
  EXPECT_EQ(later.WriterStats().phrases, 1u);
}

TEST(DictCoderTest, TablesOnlyForLongMessagesThatChanged) {
  // Counts over 32767 are scaled before they are scored: 34000 each of 49
  // bytes become 35 each, and then 34 each differ by 1 and score nothing;
  // 32 each differ by 2 and score 49. 32767 is kept as it is, so 33 each
  // then differ. (Three phrase slots: the 49-byte cycle never finds a match.)
  dict_config few = config(3);
  few.phrase_tbl_size = 3;
  DictPair scaled(few);
  const auto cycles = [](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      for (char c = '0'; c < '0' + 49; ++c) s += c;
    }
    return s;
  };
  ASSERT_TRUE(scaled.RoundTrip(cycles(34000)));
  ASSERT_EQ(scaled.WriterStats().phrases, 0u);
  EXPECT_EQ(scaled.Compress(cycles(34))[0] & 0x80, 0);
  EXPECT_NE(scaled.Compress(cycles(32))[0] & 0x80, 0);
  scaled.Compress(cycles(32767));
  EXPECT_NE(scaled.Compress(cycles(33))[0] & 0x80, 0);

  // A count 8 off scores 1 and one 9 off scores 2: 25 bytes 8 more often
  // than last time stay under 49, then 9 more often again reach it.
  DictPair shifted(few);
  const auto more = [&](int times) {
    std::string s = cycles(20);
    for (int i = 0; i < times; ++i) s += cycles(1).substr(0, 25);
    return s;
  };
  EXPECT_NE(shifted.Compress(cycles(20))[0] & 0x80, 0);
  EXPECT_EQ(shifted.Compress(more(8))[0] & 0x80, 0);
  EXPECT_NE(shifted.Compress(more(17))[0] & 0x80, 0);
  EXPECT_EQ(shifted.WriterStats().phrases, 0u);
}

TEST(DictCoderTest, CorruptInputFailsWithoutCrashing) {
  const auto expand_fresh = [](int type, const std::string& bytes) {
    return DictPair(config(type)).ExpandStatus(bytes);
  };
  EXPECT_EQ(expand_fresh(4, ""), 2);
  EXPECT_NE(expand_fresh(4, std::string(2, '\0')), 0) << "a phrase before any history";
  // A reader with history given a phrase its writer made in a message the
  // reader never saw: the phrase names an empty slot.
  DictPair skipped(config(4));
  ASSERT_TRUE(skipped.RoundTrip("abcdefgh"));
  skipped.Compress("qrstuvwxyz");
  EXPECT_EQ(skipped.ExpandStatus(skipped.Compress("qrstuvwxyz")), 4);
  // A message cut anywhere fails: its end symbol is the last thing written.
  const std::string whole = DictPair(config(2)).Compress(mml::test::CStreamGenerator(3).Next());
  ASSERT_EQ(expand_fresh(2, whole), 0);
  for (size_t n = 1; n < whole.size(); ++n) EXPECT_NE(expand_fresh(2, whole.substr(0, n)), 0) << n;
}

// 5,000 generated messages (1.9 MB: seven type-4 resets) through a writer
// and a separate reader, for ways of matching, numbering and coding literals
// that no type has by default; a twin writer fed the same stream writes the same bytes. (What
// each type writes under its defaults is pinned in codec_test.cpp.)
struct StreamCase {
  const char* name;
  int type, mtf, greedy, adaptive;
};

class DictStreamTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(DictStreamTest, LongStreamRoundTripsAndWritersAgree) {
  const StreamCase& c = GetParam();
  dict_config cfg = config(c.type);
  cfg.move_to_front = c.mtf;
  cfg.greedy_match = c.greedy;
  cfg.adaptive_literals = c.adaptive;
  if (c.mtf == 1 && cfg.refresh_int == 0) cfg.refresh_int = cfg.mtf_refresh_freq = 512;
  DictPair pair(cfg), twin(cfg);
  mml::test::CStreamGenerator gen(99);
  uint64_t in = 0, out = 0;
  for (int i = 0; i < 5000; ++i) {
    const std::string msg = gen.Next();
    const std::string packed = pair.Compress(msg);
    ASSERT_EQ(pair.Expand(packed), msg) << "message " << i;
    ASSERT_EQ(twin.Compress(msg), packed) << "writers differ at message " << i;
    in += msg.size();
    out += packed.size();
  }
  EXPECT_LT(out * 3, in) << "compresses the repetitive stream at least 3:1";
  EXPECT_EQ(pair.WriterStats().resets, pair.ReaderStats().resets);
  if (c.type == 4) {
    // A dictionary resets once its history holds 250000 bytes, not before.
    EXPECT_EQ(pair.WriterStats().resets, in / 250000) << in;
  }
  // The reader, which has only expanded, starts compressing: it builds its
  // match search from the dictionary it rebuilt and writes what its writer
  // writes. (Under 512 bytes: the literal table decision looks back at
  // counts only a writer keeps.)
  for (int i = 0; i < 50; ++i) {
    const std::string m = gen.Next().substr(0, 511);
    ASSERT_EQ(pair.Compress(m, true), pair.Compress(m)) << "message " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Variants, DictStreamTest,
    ::testing::Values(StreamCase{"Type4MoveToFrontGreedy", 4, 1, 1, 1}, StreamCase{"Type2LazyAdaptive", 2, 1, 0, 1}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
