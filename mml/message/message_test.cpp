#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "mml/message/message.h"
#include "mml/mml.h"

namespace {

using Bytes = std::vector<uint8_t>;

mml_data text(const char* s) { return {const_cast<char*>(s), static_cast<int32_t>(std::strlen(s))}; }
std::string_view view(const mml_data& d) { return {d.data, static_cast<size_t>(d.len)}; }

// A handle of one form and an output buffer, closed at the end.
class MessageTest : public ::testing::Test {
 protected:
  void Open(int32_t form) {
    ASSERT_NE(mnm_create(&m_h, form, &m_err), 0);
    ASSERT_NE(buf_open(&m_out, 16, &m_err), 0);
  }
  void SetUp() override { Open(MNM_FORM_WIDE); }
  void TearDown() override {
    EXPECT_NE(mnm_close(&m_h, &m_err), 0);
    for (buf_hndl* b : {&m_out, &m_in}) {
      if (*b != nullptr) {
        EXPECT_NE(buf_close(b, &m_err), 0);
      }
    }
  }
  void Reopen(int32_t form) {
    ASSERT_NE(mnm_close(&m_h, &m_err), 0);
    ASSERT_NE(mnm_create(&m_h, form, &m_err), 0);
  }
  Bytes Used(buf_hndl b) const { return Bytes(b->data, b->data + b->used); }
  // A received buffer holding exactly these bytes (capacity = length, so
  // any read past them is caught by the address sanitizer).
  void Receive(const Bytes& bytes) {
    if (m_in != nullptr) {
      ASSERT_NE(buf_close(&m_in, &m_err), 0);
    }
    ASSERT_NE(buf_open(&m_in, bytes.empty() ? 1 : static_cast<int32_t>(bytes.size()), &m_err), 0);
    std::memcpy(m_in->data, bytes.data(), bytes.size());
    m_in->used = static_cast<int32_t>(bytes.size());
  }
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
  buf_hndl m_in = nullptr;
  int m_err = -1;
};

const Bytes kWideExample = {0x42, 0x42, 0, 0, 0, 2, 0, 0, 0, 0, 0, 2, 0x61, 0x62, 0x79, 0x1B, 0, 0, 0, 1, 0x78};
const Bytes kCompactExample = {0x41, 0x41, 0, 2, 0, 0, 0, 2, 0x61, 0x62, 0x79, 0x1B, 0, 1, 0x78};

// Each form builds its example byte for byte, parses it, and refuses the
// other form's bytes and a foreign marker (truncations: the round-trip
// property).
TEST_F(MessageTest, BuildsParsesAndRefusesEachFormsBytes) {
  for (const int32_t form : {MNM_FORM_WIDE, MNM_FORM_COMPACT}) {
    SCOPED_TRACE(form == MNM_FORM_WIDE ? "wide" : "compact");
    const Bytes& own = form == MNM_FORM_WIDE ? kWideExample : kCompactExample;
    Reopen(form);
    m_out->used = 0;
    ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
    Add(0, "ab");
    Add(31003, "x");
    EXPECT_EQ(Used(m_out), own);

    Receive(own);
    ASSERT_NE(mnm_parse(m_h, nullptr, m_in, &m_err), 0);
    EXPECT_EQ(Get(31003, 0), "x");
    Receive(form == MNM_FORM_WIDE ? kCompactExample : kWideExample);
    EXPECT_EQ(ErrorOf(mnm_parse(m_h, nullptr, m_in, &m_err)), 2);
    Bytes other = own;
    other[1] = 0x43;
    Receive(other);
    EXPECT_EQ(ErrorOf(mnm_parse(m_h, nullptr, m_in, &m_err)), 2);
  }
  // A length running past the data, and a wide length with the top bit set.
  Reopen(MNM_FORM_WIDE);
  Bytes lying = kWideExample;
  lying[19] = 2;
  Receive(lying);
  EXPECT_EQ(ErrorOf(mnm_parse(m_h, nullptr, m_in, &m_err)), 2);
  lying[16] = 0x80;
  Receive(lying);
  EXPECT_EQ(ErrorOf(mnm_parse(m_h, nullptr, m_in, &m_err)), 2);
}

TEST_F(MessageTest, RefusesBadArgumentsWithTheirCodes) {
  const mml_data ok = text("v");
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, &ok, &m_err)), 2) << "no message started";
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 65535, 1, &ok, &m_err)), 2);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, -1, 1, &ok, &m_err)), 2);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 0, &ok, &m_err)), 2);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, nullptr, &m_err)), 2);
  const mml_data nullWithLength{nullptr, 3};
  const mml_data pointerWithoutLength{const_cast<char*>("x"), 0};
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, &nullWithLength, &m_err)), 2);
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 1, 1, &pointerWithoutLength, &m_err)), 2);
  EXPECT_NE(mnm_add_field(m_h, 65534, 1, &ok, &m_err), 0);

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
}

TEST_F(MessageTest, InPlaceParseIsReadOnlyButOneIntoACopyOrItsOwnBufferTakesFields) {
  Receive(kWideExample);
  ASSERT_NE(mnm_parse(m_h, nullptr, m_in, &m_err), 0);
  const mml_data more = text("z");
  EXPECT_EQ(ErrorOf(mnm_add_field(m_h, 4, 1, &more, &m_err)), 2);

  ASSERT_NE(mnm_parse(m_h, m_out, m_in, &m_err), 0);
  EXPECT_EQ(Used(m_out), kWideExample);
  ASSERT_NE(mnm_add_field(m_h, 4, 1, &more, &m_err), 0);
  EXPECT_EQ(m_out->data[5], 3);
  EXPECT_EQ(Get(4, 0), "z");
  EXPECT_EQ(Get(0, 0), "ab");
  EXPECT_EQ(Used(m_in), kWideExample) << "received bytes untouched";

  // Parsed into its own buffer, the message takes fields there, and the
  // header's total counts the parsed ones too, so a reader sees them all.
  ASSERT_NE(mnm_parse(m_h, m_in, m_in, &m_err), 0);
  ASSERT_NE(mnm_add_field(m_h, 4, 1, &more, &m_err), 0);
  EXPECT_EQ(m_in->data[5], 3);
  ASSERT_NE(mnm_parse(m_h, nullptr, m_in, &m_err), 0);
  EXPECT_EQ(Get(4, 0), "z");
  EXPECT_EQ(Get(31003, 0), "x");
}

TEST_F(MessageTest, DeletionMarksTheFieldAndCopyingDropsIt) {
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(0, "ab");
  Add(31003, "x");
  Add(0, "cd");
  ASSERT_NE(mnm_delete_field(m_h, 0, 0, &m_err), 0);
  EXPECT_EQ(static_cast<uint8_t>(m_out->data[6]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(m_out->data[7]), 0xFF);
  EXPECT_EQ(m_out->data[5], 3) << "header total unchanged";
  EXPECT_EQ(ErrorOf(mnm_delete_field(m_h, 0, 1, &m_err)), 2);
  ASSERT_NE(mnm_delete_field(m_h, 31003, 0, &m_err), 0);
  EXPECT_EQ(ErrorOf(mnm_delete_field(m_h, 31003, 0, &m_err)), 6);

  Receive(Used(m_out));
  buf_hndl copy = nullptr;
  ASSERT_NE(buf_open(&copy, 1, &m_err), 0);
  ASSERT_NE(mnm_parse(m_h, copy, m_in, &m_err), 0);
  EXPECT_EQ(Used(copy), (Bytes{0x42, 0x42, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2, 'c', 'd'}));
  ASSERT_NE(buf_close(&copy, &m_err), 0);

  Reopen(MNM_FORM_COMPACT);
  m_out->used = 0;
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(5, "v");
  ASSERT_NE(mnm_delete_field(m_h, 5, 0, &m_err), 0);
  EXPECT_EQ(Used(m_out), (Bytes{0x41, 0x41, 0, 1, 0x80, 5, 0, 1, 'v'}));
}

TEST_F(MessageTest, ValueTakenFromTheSameBufferSurvivesItsGrowth) {
  ASSERT_NE(mnm_init_msg(m_h, m_out, &m_err), 0);
  Add(1, "abcdefgh");
  ASSERT_EQ(m_out->capacity, m_out->used);
  mml_data own{};
  ASSERT_NE(mnm_get_field(m_h, 1, 0, &own, &m_err), 0);
  ASSERT_NE(mnm_add_field(m_h, 2, 1, &own, &m_err), 0);
  EXPECT_EQ(Get(2, 0), "abcdefgh");
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
  EXPECT_EQ(ErrorOf(mnm_get_field_count(m_h, 5, &count, &m_err)), 6);
  EXPECT_EQ(ErrorOf(mnm_get_field_count(m_h, 6, &count, &m_err)), 6);
  Add(5, "again");
  EXPECT_EQ(Get(5, 0), "again");
  int32_t tag = 0;
  EXPECT_EQ(ErrorOf(mnm_first_field(m_h, &tag, &count, &m_err)), 0);
  EXPECT_EQ(tag, 5);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(ErrorOf(mnm_next_field(m_h, &tag, &count, &m_err)), 6);
}

}  // namespace
