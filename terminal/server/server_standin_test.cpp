// The stand-in server over its SQLite store: what each request is answered,
// requests that arrive together (one commit for all of them, no answer
// before it, a failing request that takes no other with it, nothing answered
// lost when the process is killed), and a store another program holds.
#include "terminal/server/server_standin.h"

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "terminal/server/message_codec.h"
#include "terminal/server/sqlite_store.h"
#include "terminal/server/testing/reply_fields.h"

namespace terminal {
namespace {

namespace fs = std::filesystem;

// A request for the group of the first of these nine fields (empty: not
// sent), built in one kept writer: the middleware's handles are large, and
// these tests pass thousands of messages.
std::vector<char> GroupRequest(MessageWriter& writer, const char* name, const std::vector<std::string>& f) {
  bool built = writer.Begin() && writer.Add(0, name) && writer.Add(54247, "admin");
  const int32_t instrumentTag = f[1] == "nse_cm" ? 10610 : 10106;
  const int32_t tags[] = {13034, 63001, instrumentTag, 3, 63006, 66, 46002, 64030, 12003};
  for (size_t i = 0; i < f.size(); ++i) {
    if (!f[i].empty()) built = built && writer.Add(tags[i], f[i]);
  }
  EXPECT_TRUE(built);
  const auto bytes = writer.Bytes();
  return std::vector<char>(bytes.begin(), bytes.end());
}

class ServerStandInTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    static char* noEnvironment[] = {nullptr};
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
  }
  void SetUp() override {
    file = fs::temp_directory_path() / ("server_standin_" + std::to_string(::getpid()) + ".db");
    fs::remove(file);
  }
  void TearDown() override {
    if (other != nullptr) sqlite3_close(other);
    fs::remove(file);
  }

  std::vector<testing::ReplyFields> Ask(const std::vector<Field>& request) {
    std::vector<testing::ReplyFields> replies;
    for (const auto& bytes : server.Handle(BuildMessage(request))) {
      auto parsed = testing::ReplyFields::Read(bytes);
      EXPECT_TRUE(parsed.has_value());
      if (parsed) replies.push_back(*parsed);
    }
    return replies;
  }
  // An add or delete of HNI's nse_fo OPTSTK group of `symbol`.
  std::vector<char> Group(const char* name, const std::string& symbol) {
    return GroupRequest(writer, name, {"HNI", "nse_fo", "OPTSTK", symbol});
  }
  // "5 stored", "3 reason", ...: the status and words of an answer's one reply.
  std::string Status(const ServerStandIn::Answer& answer) {
    if (answer.replies.size() != 1) return "replies: " + std::to_string(answer.replies.size());
    if (!reader.Parse(answer.replies[0])) return "no message";
    return std::string(reader.First(32766).value_or("5")) + " " + std::string(reader.First(32765).value_or(""));
  }
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
  sqlite3* other = nullptr;  // another program's connection to the file
  MessageWriter writer;
  MessageReader reader;
  ServerStandIn server{":memory:"};
};

// A listed group carries each field under its segment's tag, and nothing
// for a field that was not sent.
TEST_F(ServerStandInTest, ListedGroupsKeepServerUnitsAndSegmentTags) {
  const auto nfo = GroupRequest(writer, "ks_publish_allowed_group",
                                {"HNI", "nse_fo", "OPTIDX", "NIFTY", "CE", "2600000", "1482796799"});
  const std::vector<Field> bse{{0, "ks_publish_allowed_group"},
                               {13034, "HNI"},
                               {54247, "admin"},
                               {63001, "bse_cm"},
                               {10610, "A"},
                               {63100, "RELIANCE"},
                               {12003, "B"}};
  ASSERT_EQ(Status(server.Open(nfo)), "5 stored");
  ASSERT_EQ(Ask(bse).at(0).First(32766), "5");
  const auto listed = Ask({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}});
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].First(10106), "OPTIDX");
  EXPECT_EQ(listed[0].First(66), "2600000");
  EXPECT_EQ(listed[0].First(46002), "1482796799");
  EXPECT_FALSE(listed[0].First(12003).has_value()) << "no side sent, none stored";
  EXPECT_EQ(listed[1].First(63100), "RELIANCE");
  EXPECT_EQ(listed[1].First(10610), "A") << "the BSE group travels in the option-type tag";
  EXPECT_FALSE(listed[1].First(3).has_value());
}

TEST_F(ServerStandInTest, BadRequestsGetFailureRepliesNeverACrash) {
  const auto noCategory = Ask({{0, "ks_publish_allowed_group"}, {54247, "u"}, {63001, "nse_cm"}});
  ASSERT_EQ(noCategory.size(), 1u);
  EXPECT_EQ(noCategory[0].First(32766), "2");
  EXPECT_EQ(Ask({{0, "ks_publish_allowed_group"}, {13034, "HNI"}, {63001, "xyz"}}).at(0).First(32766), "2");
  EXPECT_EQ(Ask({{0, "ks_unheard_of"}}).at(0).First(32766), "2");
  EXPECT_EQ(server.GroupCount(), 0);

  const char garbage[] = "\x42\x42\x00\x00\x00\x09\x00";
  EXPECT_TRUE(server.Handle(std::span<const char>(garbage, sizeof garbage - 1)).empty());
  EXPECT_TRUE(server.Handle({}).empty());
  EXPECT_TRUE(server.Handle(BuildMessage({{5, "no name"}})).empty());
}

// A store the process may only read: opened through a read-only URI, which
// holds for root too. Every change is refused with SQLite's reason, nothing
// is stored, and reading still works. A file that is no store is refused.
TEST_F(ServerStandInTest, ReadOnlyStoreRefusesChangesWithTheReasonAndNoDatabaseIsOpened) {
  {
    ServerStandIn writable(file.string());
    EXPECT_FALSE(writable.ReadOnly());
    ASSERT_EQ(Status(writable.Open(Group("ks_publish_allowed_group", "A"))), "5 stored");
  }
  ServerStandIn readOnly("file:" + file.string() + "?mode=ro");
  EXPECT_TRUE(readOnly.ReadOnly());
  for (const char* request : {"ks_publish_allowed_group", "ks_delete_allowed_group"}) {
    EXPECT_EQ(Status(readOnly.Open(Group(request, "A"))), "3 server store: attempt to write a readonly database")
        << request;
  }
  EXPECT_EQ(readOnly.StoreFailures(), 2);
  EXPECT_EQ(readOnly.GroupCount(), 1);
  EXPECT_EQ(readOnly.Handle(BuildMessage({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}})).size(), 1u);

  // A read-only store missing either table cannot serve at all, nor can a
  // file that is no database: that is said at once.
  const auto empty = std::filesystem::temp_directory_path() / ("standin_empty_" + std::to_string(::getpid()) + ".db");
  ASSERT_EQ(sqlite3_open(empty.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE categories(name TEXT)", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_THROW(ServerStandIn("file:" + empty.string() + "?mode=ro"), std::runtime_error);
  std::ofstream(empty) << "this is not a database, just some text long enough to be looked at\n";
  EXPECT_THAT([&] { ServerStandIn store(empty.string()); },
              ::testing::ThrowsMessage<std::runtime_error>(::testing::HasSubstr("file is not a database")));
  std::filesystem::remove(empty);
}

// The canonical form written out again by hand, as a model: two requests
// name one group when these tuples are equal.
using Key = std::tuple<std::string, std::string, std::string, std::string, std::string, std::string, std::string,
                       std::string, std::string>;

std::optional<int64_t> Whole(const std::string& text, size_t digits) {
  const size_t sign = text.starts_with('-') ? 1 : 0;
  if (text.size() == sign || text.size() - sign > digits ||
      text.find_first_not_of("0123456789", sign) != std::string::npos)
    return std::nullopt;
  return std::stoll(text);
}

Key ModelKey(const std::vector<std::string>& f) {
  auto text = [](const std::string& t) { return t == "ALL" ? std::string() : t; };
  std::string strike = text(f[5]);
  const size_t sign = strike.starts_with('-') ? 1 : 0;
  if (!strike.empty() && strike.size() > sign && strike.find_first_not_of("0123456789", sign) == std::string::npos) {
    const size_t first = strike.find_first_not_of('0', sign);
    strike = first == std::string::npos ? "" : (sign ? "-" : "") + strike.substr(first);
  }
  std::string expiry = text(f[6]);
  if (const auto seconds = Whole(expiry, 10); seconds && *seconds >= INT32_MIN && *seconds <= INT32_MAX) {
    const bool from1980 = f[1] == "nse_fo" || f[1] == "ncx_fo" || f[1] == "cde_fo";
    const int64_t shifted = *seconds + (from1980 ? 315460800 : -19800);
    if (shifted >= 1 && shifted <= INT32_MAX) expiry = "day " + std::to_string((shifted + 19800) / 86400);
  }
  return {f[0], f[1], text(f[2]), text(f[3]), text(f[4]), strike, expiry, text(f[7]), text(f[8])};
}

// Adds and deletes of groups written many ways, in batches of random sizes:
// every answer, and the number of rows held, is what the model says.
TEST_F(ServerStandInTest, TheStoreHoldsEachGroupOnceHoweverItIsWritten) {
  // Days of Indian Standard Time begin at 18:30 UTC; an nse_fo expiry counts
  // from 1980, the others carry the zone offset.
  const int64_t nfoMidnight = 17000LL * 86400 - 19800 - 315460800;
  const std::vector<std::vector<std::string>> choices{
      {"HNI", "RETAIL"},
      {"nse_fo", "mcx_fo", "nse_cm"},
      {"", "ALL", "OPTIDX"},
      {"", "NIFTY", "ALL"},
      {"", "CE"},
      {"", "0", "00", "-0", "ALL", "50", "0050", "-50", "-050", "50.0", "abc", "99999999999999999999999",
       "099999999999999999999999"},
      {"", "ALL", "0", "-2", "abc", "2147483647", "2147483648", "9999999999", "01482796799",
       std::to_string(nfoMidnight - 1), std::to_string(nfoMidnight), std::to_string(nfoMidnight + 86399),
       std::to_string(nfoMidnight + 86400), "-19800", "-19801", "-315460800", "-315460799"},
      {"", "NRML"},
      {"", "B", "ALL"}};
  std::mt19937 random(32);
  auto pick = [&] {
    std::vector<std::string> fields;
    for (const auto& values : choices) fields.push_back(values[random() % values.size()]);
    return fields;
  };
  std::set<Key> model;
  for (int round = 0; round < 60; ++round) {
    std::vector<std::vector<char>> batch;
    std::vector<std::string> expected;
    std::vector<std::string> described;
    for (int n = static_cast<int>(random() % 30); n >= 0; --n) {
      const auto fields = pick();
      const bool add = random() % 3 != 0;
      batch.push_back(GroupRequest(writer, add ? "ks_publish_allowed_group" : "ks_delete_allowed_group", fields));
      const Key key = ModelKey(fields);
      if (add) {
        expected.emplace_back(model.insert(key).second ? "5 stored" : "5 already held");
      } else {
        expected.emplace_back(model.erase(key) > 0 ? "5 removed" : "4 no such group");
      }
      std::string text;
      for (const auto& field : fields) text += (text.empty() ? "" : " ") + (field.empty() ? "ALL" : field);
      described.push_back(text);
    }
    const auto answers = server.HandleBatch(batch);
    ASSERT_EQ(answers.size(), batch.size());
    for (size_t i = 0; i < answers.size(); ++i) {
      EXPECT_EQ(Status(answers[i]), expected[i]) << described[i];
      EXPECT_EQ(answers[i].group, described[i]);
    }
    ASSERT_EQ(server.GroupCount(), static_cast<int>(model.size())) << "round " << round;
  }
}

TEST_F(ServerStandInTest, RequestsThatArriveTogetherAreCommittedOnceBeforeAnyAnswer) {
  ServerStandIn stored(file.string());
  std::vector<std::vector<char>> batch;
  for (int i = 0; i < 200; ++i) batch.push_back(Group("ks_publish_allowed_group", "S" + std::to_string(i)));
  for (int i = 0; i < 200; i += 2) batch.push_back(Group("ks_delete_allowed_group", "S" + std::to_string(i)));
  batch.push_back(Group("ks_publish_allowed_group", "S1"));
  const uint32_t before = Commits();
  const auto answers = stored.HandleBatch(batch);
  EXPECT_EQ(Commits(), before + 1);
  EXPECT_EQ(CommittedGroups(), 100) << "answered, so committed";
  ASSERT_EQ(answers.size(), batch.size());
  EXPECT_EQ(Status(answers[0]), "5 stored");
  EXPECT_EQ(Status(answers[200]), "5 removed");
  EXPECT_EQ(Status(answers.back()), "5 already held");

  // A list asked for between changes shows the first, not the second, and
  // each change is committed by the time it is answered.
  const auto mixed = stored.HandleBatch(std::vector<std::vector<char>>{
      Group("ks_publish_allowed_group", "NEW"), BuildMessage({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}}),
      Group("ks_delete_allowed_group", "S1")});
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_EQ(Status(mixed[0]), "5 stored");
  ASSERT_TRUE(mixed[1].stream);
  int listed = 0;
  while (mixed[1].stream->Next()) ++listed;
  EXPECT_EQ(listed, 101);
  EXPECT_EQ(Status(mixed[2]), "5 removed");
  EXPECT_EQ(CommittedGroups(), 100);
}

// A request the store refuses fails alone; one that makes SQLite end the
// whole transaction fails the changes made before it in that transaction
// too, since none of them is kept. Triggers in the file stand in for a full
// disk, a dropped table for a store that cannot be read; each is counted.
TEST_F(ServerStandInTest, AFailedChangeTakesWithItOnlyWhatWasUndone) {
  { ServerStandIn make(file.string()); }
  ASSERT_EQ(Query("CREATE TRIGGER refuse BEFORE INSERT ON allowed_groups WHEN NEW.symbol = 'ABORT'"
                  " BEGIN SELECT RAISE(ABORT, 'refused here'); END;"
                  "CREATE TRIGGER undo BEFORE INSERT ON allowed_groups WHEN NEW.symbol = 'ROLLBACK'"
                  " BEGIN SELECT RAISE(ROLLBACK, 'all undone'); END; SELECT 0"),
            0);
  ServerStandIn stored(file.string());
  ASSERT_EQ(Query("DROP TABLE categories; SELECT 0"), 0);
  const auto answers = stored.HandleBatch(std::vector<std::vector<char>>{
      Group("ks_publish_allowed_group", "A"), Group("ks_publish_allowed_group", "ABORT"),
      Group("ks_publish_allowed_group", "B"), Group("ks_publish_allowed_group", "ROLLBACK"),
      Group("ks_publish_allowed_group", "C"), Group("ks_delete_allowed_group", "C"),
      BuildMessage({{0, "ks_get_category"}})});
  std::vector<std::string> said;
  for (const auto& answer : answers) said.push_back(Status(answer));
  EXPECT_EQ(said, (std::vector<std::string>{"3 server store: all undone", "3 server store: refused here",
                                            "3 server store: all undone", "3 server store: all undone", "5 stored",
                                            "5 removed", "3 server store: no such table: categories"}));
  EXPECT_EQ(stored.StoreFailures(), 5);
  EXPECT_EQ(CommittedGroups(), 0);
  EXPECT_EQ(stored.HandleBatch(std::vector<std::vector<char>>{Group("ks_publish_allowed_group", "A")}).at(0).group,
            "HNI nse_fo OPTSTK A ALL ALL ALL ALL ALL");
  EXPECT_EQ(CommittedGroups(), 1);
}

// A server killed (SIGKILL) while it stores batch after batch: every group
// it answered is in the store, and each batch is there whole or not at all.
TEST_F(ServerStandInTest, AKilledServerKeepsEveryAnsweredChange) {
  { ServerStandIn make(file.string()); }
  constexpr int kBatch = 25;
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[0]);
    ServerStandIn stored(file.string());
    for (int32_t round = 0;; ++round) {
      std::vector<std::vector<char>> batch;
      for (int i = 0; i < kBatch; ++i) {
        batch.push_back(Group("ks_publish_allowed_group", "R" + std::to_string(round) + "_" + std::to_string(i)));
      }
      const auto answers = stored.HandleBatch(batch);
      for (const auto& answer : answers) {
        if (Status(answer) != "5 stored") ::_exit(3);
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
          after.Open(Group("ks_publish_allowed_group", "R" + std::to_string(round) + "_" + std::to_string(i)));
      ASSERT_EQ(Status(again), "5 already held") << round << " " << i;
    }
  }
}

// Two terminals on one store: the second waits for the first's lock a few
// seconds instead of failing at once, and says why when the wait runs out;
// a commit kept waiting by a reader is undone, so the next change goes through.
TEST_F(ServerStandInTest, ASecondTerminalWaitsForTheLockAndSaysWhenItRunsOut) {
  ServerStandIn held(file.string());
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread release([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });
  EXPECT_EQ(Status(held.Open(Group("ks_publish_allowed_group", "A"))), "5 stored") << "waited for the other program";
  release.join();

  ASSERT_EQ(sqlite3_exec(other, "BEGIN; SELECT COUNT(*) FROM allowed_groups", nullptr, nullptr, nullptr), SQLITE_OK);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Status(held.Open(Group("ks_publish_allowed_group", "B"))),
            "3 server store: database is locked (another program, perhaps a second terminal, held the store for more "
            "than 5 seconds)");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(store::kBusyTimeoutMs - 100));
  EXPECT_LT(waited, std::chrono::milliseconds(store::kBusyTimeoutMs + 3000));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  EXPECT_EQ(Status(held.Open(Group("ks_publish_allowed_group", "B"))), "5 stored");
}

}  // namespace
}  // namespace terminal
