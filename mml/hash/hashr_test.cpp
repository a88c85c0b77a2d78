#include "mml/hash/hashr.h"

#include <gtest/gtest.h>

#include <string>

namespace {

mml_data key(const std::string& s) { return {const_cast<char*>(s.data()), static_cast<int32_t>(s.size())}; }

TEST(HashTest, KnownValues) {
  EXPECT_EQ(hashr_kelo(key("\x41"), 0, 499), 65u);
  EXPECT_EQ(hashr_kelo(key("\xC1"), 0, 499), 381u) << "0xC1 counts as -63";
  EXPECT_EQ(hashr_torek(key("ab"), 0, 1000), 299u);
  EXPECT_EQ(hashr_oz(key("ab"), 1, 1u << 31), (65599u + 97u) * 65599u + 98u);
  EXPECT_EQ(hashr_phong(key("a"), 0, 0xFFFFFFFFu), (97u + 2621031229u) % 0xFFFFFFFFu);
  EXPECT_EQ(hashr_qov(key("a"), 2, 1000000), ((2u * 37u) ^ 65u) % 1048583u);
  EXPECT_EQ(hashr_qov(key("\xFF"), 0, 1u << 31), (0u ^ static_cast<uint32_t>(-33)) % 1048583u);
  // hashr_test: b0 ^= c0; b0 = c1 ^ b1; b2 ^= c2; b3 ^= c3; then b0 ^= c4.
  EXPECT_EQ(hashr_test(key("\x01\x02\x04\x08\x10"), 0x11223344u, 0xFFFFFFFFu),
            ((0x02u ^ 0x33u) ^ 0x10u) | (0x33u << 8) | ((0x22u ^ 0x04u) << 16) | ((0x11u ^ 0x08u) << 24));
}

TEST(HashTest, EmptyKeyGivesSeedModN) {
  for (hashr_fn fn : {hashr_kelo, hashr_torek, hashr_oz, hashr_phong, hashr_qov, hashr_test}) {
    EXPECT_EQ(fn(mml_data{nullptr, 0}, 1234567, 1000), 567u);
    EXPECT_EQ(fn(mml_data{nullptr, -3}, 5, 3), 2u);
  }
}

TEST(HashTest, SelectionAndTableCreation) {
  EXPECT_EQ(hashr_select("hashr_kelo", 10), &hashr_kelo);
  EXPECT_EQ(hashr_select("hashr_test", 10), &hashr_test);
  for (const char* none : {"HASHR_KELO", static_cast<const char*>(nullptr)}) EXPECT_EQ(hashr_select(none, 10), nullptr);

  hashr_table* t = nullptr;
  int status = -1;
  ASSERT_NE(hashr_table_create(&t, 499, "hashr_kelo", 10, 0, &status), 0);
  EXPECT_EQ(t->memory, 56u + 8u * 499);
  EXPECT_EQ(t->elements, 0u);
  EXPECT_EQ(hashr_table_bucket(t, key("\x41")), 65u);
  hashr_table* held = t;
  EXPECT_EQ(hashr_table_create(&t, 7, "hashr_oz", 8, 0, &status), 0);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(t, held);
  ASSERT_NE(hashr_table_destroy(&t, &status), 0);
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(hashr_table_destroy(&t, &status), 0) << "destroyed already";
  EXPECT_EQ(status, 7);
  EXPECT_EQ(hashr_table_create(&t, 5, "hashr_kel", 9, 0, &status), 0);
  EXPECT_EQ(status, 3);
}

}  // namespace
