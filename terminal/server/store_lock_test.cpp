// Two terminals on one store: the second waits for the first's lock a few
// seconds instead of failing at once, and says why when the wait runs out.
#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "terminal/server/message_codec.h"
#include "terminal/server/testing/reply_fields.h"
#include "terminal/server/server_standin.h"
#include "terminal/server/sqlite_store.h"

namespace terminal {
namespace {

class StoreLock : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    static char* noEnvironment[] = {nullptr};
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
  }
  void SetUp() override {
    m_file = std::filesystem::temp_directory_path() / ("store_lock_" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(m_file);
  }
  void TearDown() override {
    if (m_other != nullptr) sqlite3_close(m_other);
    std::filesystem::remove(m_file);
  }
  // Another program that holds the store's write lock.
  void LockFromElsewhere() {
    ASSERT_EQ(sqlite3_open(m_file.c_str(), &m_other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(m_other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  std::optional<std::string> AddStatus(ServerStandIn& server, std::string* reason) {
    const std::vector<Field> add{{0, "ks_publish_allowed_group"}, {13034, "HNI"}, {54247, "admin"}, {63001, "nse_cm"}};
    const auto replies = server.Handle(BuildMessage(add));
    if (replies.size() != 1) return std::nullopt;
    const auto parsed = testing::ReplyFields::Read(replies[0]);
    if (!parsed) return std::nullopt;
    if (reason != nullptr) *reason = parsed->First(kTagReplyReason).value_or("");
    return parsed->First(kTagReplyStatus);
  }

  std::filesystem::path m_file;
  sqlite3* m_other = nullptr;
};

TEST_F(StoreLock, ASecondTerminalWaitsForTheLockAndSaysWhenItRunsOut) {
  ServerStandIn server(m_file.string());
  LockFromElsewhere();
  std::thread release([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    sqlite3_exec(m_other, "COMMIT", nullptr, nullptr, nullptr);
  });
  EXPECT_EQ(AddStatus(server, nullptr), kStatusOk) << "waited for the other program";
  release.join();
  EXPECT_EQ(server.GroupCount(), 1);

  ASSERT_EQ(sqlite3_exec(m_other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto start = std::chrono::steady_clock::now();
  std::string reason;
  EXPECT_EQ(AddStatus(server, &reason), "3");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(store::kBusyTimeoutMs - 100));
  EXPECT_LT(waited, std::chrono::milliseconds(store::kBusyTimeoutMs + 3000));
  EXPECT_NE(reason.find("database is locked (another program, perhaps a second terminal, held the store for more "
                        "than 5 seconds)"),
            std::string::npos)
      << reason;
  sqlite3_exec(m_other, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace
}  // namespace terminal
