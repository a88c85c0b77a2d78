// Requests that arrive together: one commit for all of them, no answer
// before it, a failing request that takes no other with it, and nothing
// answered lost when the process is killed.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "terminal/server/message_codec.h"
#include "terminal/server/server_standin.h"

namespace terminal {
namespace {

namespace fs = std::filesystem;

// Requests built, and replies read, through one kept middleware handle
// each: a handle is large, and these tests pass thousands of messages.
class Messages {
 public:
  std::vector<char> Group(const char* name, const std::string& symbol) {
    const bool built = m_writer.Begin() && m_writer.Add(0, name) && m_writer.Add(13034, "HNI") &&
                       m_writer.Add(54247, "admin") && m_writer.Add(63001, "nse_fo") && m_writer.Add(10106, "OPTSTK") &&
                       m_writer.Add(3, symbol);
    EXPECT_TRUE(built);
    const auto bytes = m_writer.Bytes();
    return std::vector<char>(bytes.begin(), bytes.end());
  }
  // "5 stored", "3 reason", ...: the status and words of an answer's one reply.
  std::string Status(const ServerStandIn::Answer& answer) {
    if (answer.replies.size() != 1) return "replies: " + std::to_string(answer.replies.size());
    if (!m_reader.Parse(answer.replies[0])) return "no message";
    return std::string(m_reader.First(32766).value_or("5")) + " " + std::string(m_reader.First(32765).value_or(""));
  }

 private:
  MessageWriter m_writer;
  MessageReader m_reader;
};

class ServerBatch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    static char* noEnvironment[] = {nullptr};
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
  }
  void SetUp() override {
    file = fs::temp_directory_path() / ("server_batch_" + std::to_string(::getpid()) + ".db");
    fs::remove(file);
  }
  void TearDown() override { fs::remove(file); }

  // What another program reading the file sees: committed rows only.
  int CommittedGroups() const { return Query("SELECT COUNT(*) FROM allowed_groups"); }
  int Query(const std::string& sql) const {
    sqlite3* db = nullptr;
    int value = -1;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
      sqlite3_exec(
          db, sql.c_str(),
          [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = values[0] ? std::atoi(values[0]) : 0;
            return 0;
          },
          &value, nullptr);
    }
    sqlite3_close(db);
    return value;
  }
  // SQLite's file change counter (header bytes 24-27): one more per
  // committed write transaction.
  uint32_t Commits() const {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[28] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return uint32_t{header[24]} << 24 | uint32_t{header[25]} << 16 | uint32_t{header[26]} << 8 | header[27];
  }

  fs::path file;
  Messages messages;
};

TEST_F(ServerBatch, RequestsThatArriveTogetherAreCommittedOnceBeforeAnyAnswer) {
  ServerStandIn server(file.string());
  std::vector<std::vector<char>> batch;
  for (int i = 0; i < 200; ++i) batch.push_back(messages.Group("ks_publish_allowed_group", "S" + std::to_string(i)));
  for (int i = 0; i < 200; i += 2) batch.push_back(messages.Group("ks_delete_allowed_group", "S" + std::to_string(i)));
  batch.push_back(messages.Group("ks_publish_allowed_group", "S1"));
  const uint32_t before = Commits();
  const auto answers = server.HandleBatch(batch);
  EXPECT_EQ(Commits(), before + 1);
  EXPECT_EQ(CommittedGroups(), 100) << "answered, so committed";
  ASSERT_EQ(answers.size(), batch.size());
  EXPECT_EQ(messages.Status(answers[0]), "5 stored");
  EXPECT_EQ(messages.Status(answers[200]), "5 removed");
  EXPECT_EQ(messages.Status(answers.back()), "5 already held");

  // A list asked for between changes shows the first, not the second, and
  // each change is committed by the time it is answered.
  const auto mixed = server.HandleBatch(
      std::vector<std::vector<char>>{messages.Group("ks_publish_allowed_group", "NEW"),
                                     BuildMessage({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}}),
                                     messages.Group("ks_delete_allowed_group", "S1")});
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(messages.Status(mixed[0]), "5 stored");
  ASSERT_TRUE(mixed[1].stream);
  int listed = 0;
  while (mixed[1].stream->Next()) ++listed;
  EXPECT_EQ(listed, 101);
  EXPECT_EQ(messages.Status(mixed[2]), "5 removed");
  EXPECT_EQ(CommittedGroups(), 100);
}

// A request the store refuses fails alone; one that makes SQLite end the
// whole transaction fails the changes made before it in that transaction
// too, since none of them is kept. Triggers in the file stand in for a full
// disk.
TEST_F(ServerBatch, AFailedChangeTakesWithItOnlyWhatWasUndone) {
  { ServerStandIn make(file.string()); }
  ASSERT_EQ(Query("CREATE TRIGGER refuse BEFORE INSERT ON allowed_groups WHEN NEW.symbol = 'ABORT'"
                  " BEGIN SELECT RAISE(ABORT, 'refused here'); END;"
                  "CREATE TRIGGER undo BEFORE INSERT ON allowed_groups WHEN NEW.symbol = 'ROLLBACK'"
                  " BEGIN SELECT RAISE(ROLLBACK, 'all undone'); END; SELECT 0"),
            0);
  ServerStandIn server(file.string());
  const auto answers = server.HandleBatch(std::vector<std::vector<char>>{
      messages.Group("ks_publish_allowed_group", "A"), messages.Group("ks_publish_allowed_group", "ABORT"),
      messages.Group("ks_publish_allowed_group", "B"), messages.Group("ks_publish_allowed_group", "ROLLBACK"),
      messages.Group("ks_publish_allowed_group", "C"), messages.Group("ks_delete_allowed_group", "C")});
  ASSERT_EQ(answers.size(), 6u);
  EXPECT_EQ(messages.Status(answers[0]), "3 server store: all undone");
  EXPECT_EQ(messages.Status(answers[1]), "3 server store: refused here");
  EXPECT_EQ(messages.Status(answers[2]), "3 server store: all undone");
  EXPECT_EQ(messages.Status(answers[3]), "3 server store: all undone");
  EXPECT_EQ(messages.Status(answers[4]), "5 stored");
  EXPECT_EQ(messages.Status(answers[5]), "5 removed");
  EXPECT_EQ(server.StoreFailures(), 4);
  EXPECT_EQ(CommittedGroups(), 0);
  EXPECT_EQ(
      server.HandleBatch(std::vector<std::vector<char>>{messages.Group("ks_publish_allowed_group", "A")}).at(0).group,
      "HNI nse_fo OPTSTK A ALL ALL ALL ALL ALL");
  EXPECT_EQ(CommittedGroups(), 1);
}

// A server killed (SIGKILL) while it stores batch after batch: every group
// it answered is in the store, and each batch is there whole or not at all.
TEST_F(ServerBatch, AKilledServerKeepsEveryAnsweredChange) {
  { ServerStandIn make(file.string()); }
  constexpr int kBatch = 25;
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    ServerStandIn server(file.string());
    for (int32_t round = 0;; ++round) {
      std::vector<std::vector<char>> batch;
      for (int i = 0; i < kBatch; ++i) {
        batch.push_back(
            messages.Group("ks_publish_allowed_group", "R" + std::to_string(round) + "_" + std::to_string(i)));
      }
      const auto answers = server.HandleBatch(batch);
      for (const auto& answer : answers) {
        if (messages.Status(answer) != "5 stored") ::_exit(3);
      }
      // Answered: tell the parent which round.
      if (::write(pipeFds[1], &round, sizeof round) != sizeof round) ::_exit(4);
    }
  }
  ::close(pipeFds[1]);
  int32_t answered = -1;
  for (int n = 0; n < 40; ++n) {
    int32_t round = -1;
    if (::read(pipeFds[0], &round, sizeof round) != sizeof round) break;
    answered = round;
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(pipeFds[0]);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself, status " << status;
  ASSERT_GE(answered, 39);

  ServerStandIn after(file.string());
  const int held = after.GroupCount();
  EXPECT_GE(held, (answered + 1) * kBatch);
  EXPECT_EQ(held % kBatch, 0) << "a batch half kept";
  for (int32_t round = 0; round <= answered; ++round) {
    for (int i = 0; i < kBatch; ++i) {
      const auto again =
          after.Open(messages.Group("ks_publish_allowed_group", "R" + std::to_string(round) + "_" + std::to_string(i)));
      ASSERT_EQ(messages.Status(again), "5 already held") << round << " " << i;
    }
  }
}

}  // namespace
}  // namespace terminal
