#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "mml/message/message.h"
#include "mml/mml.h"

namespace {

using Bytes = std::vector<uint8_t>;

mml_data text(const char* s) { return {const_cast<char*>(s), static_cast<int32_t>(std::strlen(s))}; }
std::string_view view(const mml_data& d) { return {d.data, static_cast<size_t>(d.len)}; }

// A received buffer holding exactly these bytes, closed when it goes.
struct BufCloser {
  void operator()(buf_rec* b) const { buf_close(&b, nullptr); }
};
using Received = std::unique_ptr<buf_rec, BufCloser>;
Received receive(std::string_view bytes) {
  buf_hndl b = nullptr;
  EXPECT_NE(buf_open(&b, static_cast<int32_t>(std::max<size_t>(bytes.size(), 1)), nullptr), 0);
  std::memcpy(b->data, bytes.data(), bytes.size());
  b->used = static_cast<int32_t>(bytes.size());
  return Received(b);
}

// A handle of one form and an output buffer, closed at the end.
class MessageTest : public ::testing::Test {
 protected:
  void Open(int32_t form) {
    ASSERT_NE(mnm_create(&m_h, form, &m_err), 0);
    ASSERT_NE(buf_open(&m_out, 16, &m_err), 0);
  }
  void SetUp() override {
    ASSERT_NE(mml_get_mem_counters(&m_before, &m_err), 0);
    Open(MNM_FORM_WIDE);
  }
  // Closing gives back every byte the test's messages and buffers took.
  void TearDown() override {
    EXPECT_NE(mnm_close(&m_h, &m_err), 0);
    EXPECT_NE(buf_close(&m_out, &m_err), 0);
    mml_mem_counters after{};
    ASSERT_NE(mml_get_mem_counters(&after, &m_err), 0);
    EXPECT_EQ(after.bytes_allocated - m_before.bytes_allocated, after.bytes_freed - m_before.bytes_freed);
  }
  void Reopen(int32_t form) {
    ASSERT_NE(mnm_close(&m_h, &m_err), 0);
    ASSERT_NE(mnm_create(&m_h, form, &m_err), 0);
  }
  Bytes Used(buf_hndl b) const { return Bytes(b->data, b->data + b->used); }
  void Add(int32_t tag, const char* value) {
    const mml_data d = text(value);
    ASSERT_NE(mnm_add_field(m_h, tag, 1, &d, &m_err), 0) << "tag " << tag << " error " << m_err;
  }
  std::string Get(int32_t tag, int32_t index) {
    mml_data d{};
    EXPECT_NE(mnm_get_field(m_h, tag, index, &d, &m_err), 0) << "tag " << tag << " error " << m_err;
    return std::string(view(d));
  }
  int ErrorOf(int result) const { return result != 0 ? 0 : m_err; }

  mnm_hndl m_h = nullptr;
  buf_hndl m_out = nullptr;
  int m_err = -1;
  mml_mem_counters m_before{};
};

// Field 0 "ab" and field 31003 "x" in the wide form. (Every form's bytes,
// cuts and corruptions: the round-trip property below.)
const Bytes kWideExample = {0x42, 0x42, 0, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0x61, 0x62, 0x79, 0x1B, 0, 0, 0, 1, 0x78};

TEST_F(MessageTest, RefusesBadArgumentsWithTheirCodes) {
  const mml_data ok = text("v");
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, &ok, &m_err)), 2) << "no message started";
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  const mml_data nullWithLength{nullptr, 3}, pointerWithoutLength{const_cast<char*>("x"), 0};
  for (const auto& [tag, count, value] : std::vector<std::tuple<int32_t, int32_t, const mml_data*>>{
           {65535, 1, &ok}, {-1, 1, &ok}, {1, 0, &ok}, {1, 1, nullptr}, {1, 1, &nullWithLength},
           {1, 1, &pointerWithoutLength}}) {
    EXPECT_EQ(ErrorOf(mnm_add_field(m_h, tag, count, value, &m_err)), 2) << tag << " " << count;
  }
  EXPECT_NE(mnm_add_field(m_h, 65534, 1, &ok, &m_err), 0);
  // A field is deleted once: an index past the tag's values is refused, a tag with none left is absent.
  EXPECT_EQ(ErrorOf(mnm_delete_field(m_h, 65534, 1, &m_err)), 2);
  ASSERT_NE(mnm_delete_field(m_h, 65534, 0, &m_err), 0);
  EXPECT_EQ(ErrorOf(mnm_delete_field(m_h, 65534, 0, &m_err)), 6);

  EXPECT_EQ(ErrorOf(mnm_add_field(nullptr, 1, 1, &ok, &m_err)), 1);
  EXPECT_EQ(ErrorOf(mnm_init_msg(nullptr, m_out, &m_err)), 1);
  EXPECT_EQ(ErrorOf(mnm_init_msg(m_h, nullptr, &m_err)), 2);

  Reopen(MNM_FORM_COMPACT);
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 32768, 1, &ok, &m_err)), 2);
  std::string big(65536, 'x');
  const mml_data tooLong{big.data(), 65536};
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, &tooLong, &m_err)), 2);
  const mml_data longest{big.data(), 65535};
  EXPECT_NE(mnm_add_field(m_h, 1, 1, &longest, &m_err), 0);
  // The compact count holds 65535 fields, also when a tag and the buffer have room kept from a larger message.
  const std::vector<mml_data> many(65535, mml_data{nullptr, 0});
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  ASSERT_NE(mnm_add_field(m_h, 5, 65535, many.data(), &m_err), 0);
  m_out->used = 0;  // the buffer reused from its start
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(3, "v");
  ASSERT_NE(mnm_add_field(m_h, 5, 65534, many.data(), &m_err), 0);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 5, 1, &ok, &m_err)), 2);
}

TEST_F(MessageTest, InPlaceParseIsReadOnlyButOneIntoACopyOrItsOwnBufferTakesFields) {
  const Received received = receive({reinterpret_cast<const char*>(kWideExample.data()), kWideExample.size()});
  buf_hndl in = received.get();
  ASSERT_NE(mnm_parse(m_h, nullptr, in, &m_err), 0);
  const mml_data more = text("z");
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 4, 1, &more, &m_err)), 2);

  ASSERT_NE(mnm_parse(m_h, m_out, in, &m_err), 0);
  EXPECT_EQ(Used(m_out), kWideExample);
  ASSERT_NE(mnm_add_field(m_h, 4, 1, &more, &m_err), 0);
  EXPECT_EQ(m_out->data[5], 3);
  EXPECT_EQ(Get(4, 0), "z");
  EXPECT_EQ(Get(0, 0), "ab");
  EXPECT_EQ(Used(in), kWideExample) << "received bytes untouched";

  // Parsed into its own buffer, the message takes fields there, and the
  // header's total counts the parsed ones too, so a reader sees them all.
  ASSERT_NE(mnm_parse(m_h, in, in, &m_err), 0);
  ASSERT_NE(mnm_add_field(m_h, 4, 1, &more, &m_err), 0);
  EXPECT_EQ(in->data[5], 3);
  ASSERT_NE(mnm_parse(m_h, nullptr, in, &m_err), 0);
  EXPECT_EQ(Get(4, 0), "z");
  EXPECT_EQ(Get(31003, 0), "x");
}

TEST_F(MessageTest, ValueTakenFromTheSameBufferSurvivesItsGrowth) {
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(1, "abcdefgh");
  ASSERT_EQ(m_out->capacity, m_out->used);
  mml_data own{};
  ASSERT_NE(mnm_get_field(m_h, 1, 0, &own, &m_err), 0);
  ASSERT_NE(mnm_add_field(m_h, 2, 1, &own, &m_err), 0);
  EXPECT_EQ(Get(2, 0), "abcdefgh");
  // From the buffer's very first byte (the header's marker) on too, the
  // buffer made pages of its own and the page after them taken, so that it
  // must move to grow and its old pages are gone.
  const std::string large(256 << 10, 'l');
  Add(4, large.c_str());
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t end = (reinterpret_cast<uintptr_t>(m_out->data) + m_out->capacity + page - 1) / page * page;
  void* taken =
      mmap(reinterpret_cast<void*>(end), page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
  const mml_data head{m_out->data, 8192};
  const std::string before(head.data, 8192);
  ASSERT_NE(mnm_add_field(m_h, 3, 1, &head, &m_err), 0);
  EXPECT_EQ(Get(3, 0), before);
  if (taken != MAP_FAILED) munmap(taken, page);
}

// Starting a message forgets the last one's tags in constant time, by
// stamping slots with a message number; that number wraps after 2^32
// messages and must not revive a tag from long ago.
TEST_F(MessageTest, TagsOfEarlierMessagesStayForgottenAcrossTheStampWrap) {
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(5, "old");
  Add(6, "old");
  m_h->nStamp = 0xFFFFFFFF;  // as after 2^32 - 1 messages
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(6, "new");
  int32_t count = 0;
  EXPECT_EQ(ErrorOf(mnm_get_field_count(m_h, 6, &count, &m_err)), 0);
  EXPECT_EQ(count, 1);
  m_h->nStamp = 0xFFFFFFFF;
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);  // the stamp wraps here
  for (const int32_t gone : {5, 6}) EXPECT_EQ(ErrorOf(mnm_get_field_count(m_h, gone, &count, &m_err)), 6);
  Add(5, "again");
  EXPECT_EQ(Get(5, 0), "again");
  int32_t tag = 0;
  EXPECT_EQ(ErrorOf(mnm_first_field(m_h, &tag, &count, &m_err)), 0);
  EXPECT_EQ(tag, 5);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(ErrorOf(mnm_next_field(m_h, &tag, &count, &m_err)), 6);
  EXPECT_EQ(ErrorOf(mnm_first_field(m_h, &tag, nullptr, &m_err)), 2);
}

// Round-trip property: random messages of both forms, with repeated tags,
// empty values and deletions, several back to back in one buffer, read back
// identically from the builder, from a parse in place and from a copying
// parse; every truncation and a wrong marker are refused without reading
// past the bytes (received buffers are sized exactly, for the address
// sanitizer).
struct Field {
  int32_t tag;
  std::string value;
  bool deleted = false;
};
using Message = std::vector<Field>;

// Reference encoder, written apart from the library: of the live fields, as a
// copying parse leaves them, or as built, where a deleted field keeps its
// bytes and its place in the total under a marked tag word (the compact
// form's tag plus 32768, the wide form's 65535).
std::string encode(int32_t form, const Message& m, bool built = false) {
  const int width = form == MNM_FORM_COMPACT ? 2 : 4;
  const auto put = [](std::string& s, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) s.push_back(static_cast<char>(v >> (8 * i)));
  };
  std::string s(2, form == MNM_FORM_COMPACT ? 'A' : 'B');
  put(s, static_cast<uint32_t>(std::count_if(m.begin(), m.end(), [&](const Field& f) { return built || !f.deleted; })),
      width);
  for (const Field& f : m) {
    if (f.deleted && !built) continue;
    put(s, !f.deleted ? static_cast<uint32_t>(f.tag) : form == MNM_FORM_COMPACT ? f.tag + 32768u : 65535u, 2);
    put(s, static_cast<uint32_t>(f.value.size()), width);
    s += f.value;
  }
  return s;
}

std::map<int32_t, std::vector<std::string>> live_values(const Message& m) {
  std::map<int32_t, std::vector<std::string>> out;
  for (const Field& f : m) {
    if (!f.deleted) out[f.tag].push_back(f.value);
  }
  return out;
}

// Tags with a live value, by first occurrence: a parse sees only the live
// fields, while the builder keeps each tag where it was first added.
std::vector<int32_t> first_order(const Message& m, bool deletedCount) {
  const auto live = live_values(m);
  std::vector<int32_t> order;
  for (const Field& f : m) {
    if ((deletedCount || !f.deleted) && live.contains(f.tag) &&
        std::find(order.begin(), order.end(), f.tag) == order.end()) {
      order.push_back(f.tag);
    }
  }
  return order;
}

// Everything the handle shows of its current message.
struct Seen {
  std::map<int32_t, std::vector<std::string>> values;
  std::vector<int32_t> order;
};

Seen read_all(mnm_hndl h) {
  Seen seen;
  int32_t tag = 0, count = 0;
  int err = 0;
  for (int ok = mnm_first_field(h, &tag, &count, &err); ok != 0; ok = mnm_next_field(h, &tag, &count, &err)) {
    seen.order.push_back(tag);
    for (int32_t i = 0; i < count; ++i) {
      mml_data d{};
      // An empty value, and only an empty one, reads as error 6.
      if (mnm_get_field(h, tag, i, &d, &err) != 0) {
        EXPECT_GT(d.len, 0);
        seen.values[tag].emplace_back(d.data, static_cast<size_t>(d.len));
      } else {
        EXPECT_EQ(err, 6);
        seen.values[tag].emplace_back();
      }
    }
    for (const int32_t outside : {-1, count}) {
      mml_data d{};
      EXPECT_EQ(mnm_get_field(h, tag, outside, &d, &err), 0);
      EXPECT_EQ(err, 2) << "index " << outside << " of " << count;
    }
  }
  EXPECT_EQ(err, 6);
  return seen;
}

class MessagePropertyTest : public ::testing::TestWithParam<int32_t> {
 protected:
  void SetUp() override {
    ASSERT_NE(mnm_create(&m_h, GetParam(), nullptr), 0);
    ASSERT_NE(buf_open(&m_out, 1, nullptr), 0);
    ASSERT_NE(buf_open(&m_copy, 1, nullptr), 0);
  }
  void TearDown() override {
    mnm_close(&m_h, nullptr);
    for (buf_hndl* b : {&m_out, &m_copy}) buf_close(b, nullptr);
  }

  int32_t MaxTag() const { return GetParam() == MNM_FORM_COMPACT ? 32767 : 65534; }

  // Builds one random message into m_out and returns its model.
  Message Build(std::mt19937& rng) {
    const int32_t start = m_out->used;
    EXPECT_NE(mnm_init_msg(m_h, m_out, nullptr), 0);
    std::vector<int32_t> pool;
    for (int i = 0; i < 5; ++i) pool.push_back(std::uniform_int_distribution<int32_t>(0, MaxTag())(rng));
    pool.push_back(0);
    pool.push_back(MaxTag());
    Message m;
    const int adds = std::uniform_int_distribution<int>(0, 10)(rng);
    for (int a = 0; a < adds; ++a) {
      const int32_t tag = pool[rng() % pool.size()];
      const int32_t n = 1 + static_cast<int32_t>(rng() % 3);
      std::vector<std::string> texts(static_cast<size_t>(n));
      std::vector<mml_data> values;
      for (std::string& t : texts) {
        const size_t len = rng() % 5 == 0 ? 0 : 1 + rng() % 40;
        for (size_t i = 0; i < len; ++i) t.push_back(static_cast<char>(rng()));
        values.push_back({t.empty() ? nullptr : t.data(), static_cast<int32_t>(t.size())});
        m.push_back({tag, t});
      }
      int err = 0;
      EXPECT_NE(mnm_add_field(m_h, tag, n, values.data(), &err), 0) << err;
    }
    const int deletes = m.empty() ? 0 : static_cast<int>(rng() % 4);
    for (int d = 0; d < deletes; ++d) {
      Field& victim = m[rng() % m.size()];
      if (victim.deleted) continue;
      // Its index among the tag's live values.
      int32_t index = 0;
      for (const Field& f : m) {
        if (&f == &victim) break;
        if (f.tag == victim.tag && !f.deleted) ++index;
      }
      EXPECT_NE(mnm_delete_field(m_h, victim.tag, index, nullptr), 0);
      victim.deleted = true;
    }
    ExpectHolds(m, "built");
    EXPECT_EQ(std::string(m_out->data + start, static_cast<size_t>(m_out->used - start)), encode(GetParam(), m, true));
    return m;
  }

  void ExpectHolds(const Message& m, const char* how) {
    const Seen seen = read_all(m_h);
    EXPECT_EQ(seen.values, live_values(m)) << how;
    EXPECT_EQ(seen.order, first_order(m, std::string_view(how) == "built")) << how;
  }

  mnm_hndl m_h = nullptr;
  buf_hndl m_out = nullptr;
  buf_hndl m_copy = nullptr;
};

TEST_P(MessagePropertyTest, RandomMessagesRoundTrip) {
  const int32_t form = GetParam();
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    m_out->used = 0;
    std::vector<Message> messages;
    std::vector<size_t> ends;
    const int count = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i) {
      messages.push_back(Build(rng));
      ends.push_back(static_cast<size_t>(m_out->used));
    }
    const std::string bytes(m_out->data, static_cast<size_t>(m_out->used));

    const Received received = receive(bytes);
    buf_hndl in = received.get();
    int err = 0;
    for (int i = 0; i < count; ++i) {
      ASSERT_NE(i == 0 ? mnm_parse(m_h, nullptr, in, &err) : mnm_parse_next(m_h, nullptr, &err), 0) << err;
      ExpectHolds(messages[static_cast<size_t>(i)], "in place");
      int32_t start = 0, len = 0;
      ASSERT_NE(mnm_get_msg_span(m_h, &start, &len, nullptr), 0);
      EXPECT_EQ(static_cast<size_t>(start + len), ends[static_cast<size_t>(i)]);
      mml_data whole{};
      ASSERT_NE(mnm_get_msg(m_h, &whole, nullptr), 0);
      EXPECT_EQ(whole.data, in->data + start) << "in place: the received bytes themselves";
      EXPECT_EQ(whole.len, len);
    }
    EXPECT_EQ(mnm_parse_next(m_h, nullptr, &err), 0);
    EXPECT_EQ(err, 6);

    for (int i = 0; i < count; ++i) {
      m_copy->used = 0;
      ASSERT_NE(i == 0 ? mnm_parse(m_h, m_copy, in, &err) : mnm_parse_next(m_h, m_copy, &err), 0) << err;
      ExpectHolds(messages[static_cast<size_t>(i)], "copied");
      EXPECT_EQ(std::string(m_copy->data, static_cast<size_t>(m_copy->used)),
                encode(form, messages[static_cast<size_t>(i)]));
    }

    // Corrupted: a foreign marker, the other form's marker, or a wide length
    // with its top bit set is refused with 2.
    for (int k = 0; k < 3; ++k) {
      std::string bad = bytes;
      if (k == 0) bad[1] = 'C';
      if (k == 1) bad[0] = bad[1] = form == MNM_FORM_COMPACT ? 'B' : 'A';
      if (k == 2 && (form == MNM_FORM_COMPACT || ends[0] == 6)) continue;
      if (k == 2) bad[8] = static_cast<char>(bad[8] | 0x80);
      EXPECT_EQ(mnm_parse(m_h, k == 1 ? m_copy : nullptr, receive(bad).get(), &err), 0) << "corruption " << k;
      EXPECT_EQ(err, 2) << "corruption " << k;
    }

    // Every cut: whole messages before it parse, the one it splits is
    // refused with 2, and a cut on a boundary ends with 6.
    for (size_t cut = 1; cut < bytes.size(); cut += 1 + rng() % 3) {
      const Received received_part = receive(std::string_view(bytes).substr(0, cut));
      buf_hndl part = received_part.get();
      const size_t whole = static_cast<size_t>(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
      for (size_t i = 0; i <= whole; ++i) {
        buf_hndl copy = (cut & 1) != 0 ? m_copy : nullptr;
        const int ok = i == 0 ? mnm_parse(m_h, copy, part, &err) : mnm_parse_next(m_h, copy, &err);
        if (i < whole) {
          EXPECT_NE(ok, 0) << "cut " << cut << " message " << i;
        } else {
          EXPECT_EQ(ok, 0) << "cut " << cut;
          EXPECT_EQ(err, cut == (whole == 0 ? 0 : ends[whole - 1]) ? 6 : 2) << "cut " << cut;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothForms, MessagePropertyTest, ::testing::Values(MNM_FORM_COMPACT, MNM_FORM_WIDE),
                         [](const auto& test) { return test.param == MNM_FORM_COMPACT ? "Compact" : "Wide"; });

}  // namespace
