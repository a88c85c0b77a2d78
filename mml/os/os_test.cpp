#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "mml/mml.h"

namespace {

int code(int result, const int& err) { return result != 0 ? 0 : err; }  // err read after the call

// Formats t with each form into one fresh buffer, in a zone of a fixed
// offset of -5 hours with no summer time (the machine's zone restored after).
class TimeFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) m_savedTz = tz;
    setenv("TZ", "EST5", 1);
    tzset();
    ASSERT_NE(buf_open(&m_b, 1, &m_err), 0);
  }
  void TearDown() override {
    buf_close(&m_b, &m_err);
    m_savedTz ? setenv("TZ", m_savedTz->c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  std::string Format(os_time t, int32_t form) {
    m_b->used = 0;
    EXPECT_NE(os_time_format(&t, m_b, form, &m_err), 0) << "form " << form << " error " << m_err;
    EXPECT_EQ(m_b->data[m_b->used], '\0');
    return std::string(m_b->data, static_cast<size_t>(m_b->used));
  }

  buf_hndl m_b = nullptr;
  int m_err = -1;
  std::optional<std::string> m_savedTz;
};

// 2024-03-05 07:08:09 UTC, 02:08:09 in the test's local zone.
constexpr os_time kTime{1709622489, 123456};

TEST_F(TimeFormatTest, SixteenFormsInTheirZones) {
  std::string all;
  for (int32_t form = 1; form <= 16; ++form) all += Format(kTime, form) + "|";
  EXPECT_EQ(all,
            "03-05-24|20240305|030524|Tue Mar 05 02:08:09 2024|02:08:09|070809|020809|123456|1709622489|"
            "Tue Mar 05|2024-03-05|20240305|Tue Mar 05 07:08:09 2024|20240305-07:08:09.123|"
            "20240305-07:08:09.123456|20240305-07:08:09|");
}

TEST_F(TimeFormatTest, EdgesOfTheSubSecondForms) {
  EXPECT_EQ(Format({kTime.sec, 999999}, 14), "20240305-07:08:09.999");
  EXPECT_EQ(Format({0, 7}, 8), "000007");
  os_time now{};
  ASSERT_NE(os_time_now(&now, &m_err), 0);
  EXPECT_EQ(Format(now, 8).substr(3), "000");
  EXPECT_LE(std::abs(now.sec - static_cast<int32_t>(std::time(nullptr))), 1);
}

TEST_F(TimeFormatTest, AppendsAndGrowsExactlyOrFailsWithoutChange) {
  ASSERT_NE(buf_reserve(m_b, 3, &m_err), 0);
  m_b->used = 3;  // capacity == used
  ASSERT_NE(os_time_format(&kTime, m_b, 5, &m_err), 0);
  EXPECT_EQ(m_b->capacity, 3 + 26);
  EXPECT_EQ(std::string(m_b->data + 3, 8), "02:08:09");
  EXPECT_EQ(m_b->used, 11);

  for (const int32_t form : {0, 17}) EXPECT_EQ(code(os_time_format(&kTime, m_b, form, &m_err), m_err), 5);
  EXPECT_EQ(m_b->capacity, 3 + 26) << "an unknown form is refused before the buffer grows";
  EXPECT_EQ(code(os_time_format(nullptr, m_b, 1, &m_err), m_err), 2);
  EXPECT_EQ(code(os_time_format(&kTime, nullptr, 1, &m_err), m_err), 2);
  const os_time badMicro{kTime.sec, 12345678};
  EXPECT_EQ(code(os_time_format(&badMicro, m_b, 15, &m_err), m_err), 5);
  EXPECT_EQ(m_b->used, 11);
}

TEST(OsServicesTest, RandomBytesAreOneDrawEachAndTheProcessIdIsOurs) {
  char bytes[5] = {};
  mml_data d{bytes, 5};
  int err = -1;
  std::srand(77);
  ASSERT_NE(os_rand_bytes(&d, &err), 0);
  std::srand(77);
  for (char b : bytes) EXPECT_EQ(static_cast<uint8_t>(b), std::rand() & 0xFF);
  mml_data empty{bytes, 0};
  EXPECT_EQ(code(os_rand_bytes(&empty, &err), err), 5);
  EXPECT_EQ(code(os_rand_bytes(nullptr, &err), err), 2);
  int32_t pid = 0;
  ASSERT_NE(os_getpid(&pid, &err), 0);
  EXPECT_EQ(pid, ::getpid());
  EXPECT_EQ(code(os_getpid(nullptr, &err), err), 2);
}

TEST(OsLockTest, RecursiveDepthAndReleaseErrors) {
  os_lock_rec* lock = nullptr;
  int err = -1;
  ASSERT_NE(os_lock_create(&lock, OS_LOCK_RECURSIVE, &err), 0);
  EXPECT_EQ(code(os_lock_create(&lock, OS_LOCK_RECURSIVE, &err), err), 5);
  EXPECT_EQ(code(os_unlock(lock, &err), err), 7);
  for (int i = 0; i < 3; ++i) ASSERT_NE(os_lock(lock, &err), 0);
  EXPECT_EQ(code(os_lock_destroy(&lock, &err), err), 5) << "held";
  for (int i = 0; i < 3; ++i) ASSERT_NE(os_unlock(lock, &err), 0);
  EXPECT_EQ(code(os_unlock(lock, &err), err), 7);
  ASSERT_NE(os_lock_destroy(&lock, &err), 0);
  EXPECT_EQ(lock, nullptr);

  ASSERT_NE(os_lock_create(&lock, OS_LOCK_PLAIN, &err), 0);
  ASSERT_NE(os_lock(lock, &err), 0);
  EXPECT_EQ(code(os_lock(lock, &err), err), 5) << "a plain lock refuses its owner";
  ASSERT_NE(os_unlock(lock, &err), 0);
  ASSERT_NE(os_lock_destroy(&lock, &err), 0);
  EXPECT_EQ(code(os_lock_create(&lock, 2, &err), err), 5);
  EXPECT_EQ(code(os_lock(nullptr, &err), err), 2);
}

}  // namespace
