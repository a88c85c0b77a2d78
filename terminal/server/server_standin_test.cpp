#include "terminal/server/server_standin.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "terminal/server/message_codec.h"
#include "terminal/server/testing/reply_fields.h"

namespace terminal {
namespace {

class ServerStandInTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    int err = 0;
    static char* noEnvironment[] = {nullptr};
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
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

  ServerStandIn server{":memory:"};
};

TEST_F(ServerStandInTest, CategoryReplyCarriesEveryCategoryWithoutStatus) {
  const auto replies = Ask({{0, "ks_get_category"}, {31003, "admin"}});
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].First(32767), "ks_get_category");
  EXPECT_FALSE(replies[0].First(32766).has_value());
  EXPECT_EQ(replies[0].All(13034), server.Categories());
  EXPECT_EQ(server.Categories().size(), 4u);
}

TEST_F(ServerStandInTest, AddListAndDeleteKeepServerUnitsAndSegmentTags) {
  const std::vector<Field> nfo{{0, "ks_publish_allowed_group"},
                               {13034, "HNI"},
                               {54247, "admin"},
                               {63001, "nse_fo"},
                               {10106, "OPTIDX"},
                               {3, "NIFTY"},
                               {63006, "CE"},
                               {66, "2600000"},
                               {46002, "1482796799"}};
  const std::vector<Field> bse{{0, "ks_publish_allowed_group"},
                               {13034, "HNI"},
                               {54247, "admin"},
                               {63001, "bse_cm"},
                               {10610, "A"},
                               {63100, "RELIANCE"},
                               {12003, "B"}};
  ASSERT_EQ(Ask(nfo).at(0).First(32766), "5");
  ASSERT_EQ(Ask(bse).at(0).First(32766), "5");
  EXPECT_EQ(server.GroupCount(), 2);

  const auto listed = Ask({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}});
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].First(10106), "OPTIDX");
  EXPECT_EQ(listed[0].First(66), "2600000");
  EXPECT_EQ(listed[0].First(46002), "1482796799");
  EXPECT_FALSE(listed[0].First(12003).has_value()) << "no side sent, none stored";
  EXPECT_EQ(listed[1].First(63100), "RELIANCE");
  EXPECT_EQ(listed[1].First(10610), "A") << "the BSE group travels in the option-type tag";
  EXPECT_FALSE(listed[1].First(3).has_value());

  // A delete must name the group exactly: a missing side is not a wildcard.
  auto partial = bse;
  partial[0].second = "ks_delete_allowed_group";
  partial.pop_back();
  EXPECT_EQ(Ask(partial).at(0).First(32766), "4");
  auto exact = bse;
  exact[0].second = "ks_delete_allowed_group";
  EXPECT_EQ(Ask(exact).at(0).First(32766), "5");
  EXPECT_EQ(server.GroupCount(), 1);
  // What scripts print of the store: the fields as stored, absent ones empty.
  EXPECT_EQ(server.Groups(), (std::vector<std::string>{"HNI\tnse_fo\tOPTIDX\tNIFTY\tCE\t2600000\t1482796799\t\t"}));
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
// is stored, and reading still works.
TEST_F(ServerStandInTest, ReadOnlyStoreRefusesChangesWithTheReason) {
  const auto file = std::filesystem::temp_directory_path() / ("standin_ro_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(file);
  const std::vector<Field> add{{0, "ks_publish_allowed_group"}, {13034, "HNI"}, {54247, "admin"}, {63001, "nse_cm"}};
  {
    ServerStandIn writable(file.string());
    EXPECT_FALSE(writable.ReadOnly());
    ASSERT_EQ(testing::ReplyFields::Read(writable.Handle(BuildMessage(add)).at(0))->First(32766), "5");
  }
  ServerStandIn readOnly("file:" + file.string() + "?mode=ro");
  EXPECT_TRUE(readOnly.ReadOnly());
  for (const char* request : {"ks_publish_allowed_group", "ks_delete_allowed_group"}) {
    auto fields = add;
    fields[0].second = request;
    const auto replies = readOnly.Handle(BuildMessage(fields));
    ASSERT_EQ(replies.size(), 1u) << request;
    const auto reply = testing::ReplyFields::Read(replies[0]);
    EXPECT_EQ(reply->First(32767), request);
    EXPECT_EQ(reply->First(32766), "3") << request;
    EXPECT_EQ(reply->First(32765), "server store: attempt to write a readonly database") << request;
  }
  EXPECT_EQ(readOnly.StoreFailures(), 2);
  EXPECT_EQ(readOnly.GroupCount(), 1);
  EXPECT_EQ(readOnly.Handle(BuildMessage({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}})).size(), 1u);

  // A read-only store without the tables cannot serve at all: that is said at once.
  const auto empty = std::filesystem::temp_directory_path() / ("standin_empty_" + std::to_string(::getpid()) + ".db");
  std::ofstream(empty).close();
  EXPECT_THROW(ServerStandIn("file:" + empty.string() + "?mode=ro"), std::runtime_error);
  std::filesystem::remove(empty);
  std::filesystem::remove(file);
}

TEST_F(ServerStandInTest, StoreThatIsNoDatabaseIsRefusedAtOpen) {
  const auto file = std::filesystem::temp_directory_path() / ("standin_text_" + std::to_string(::getpid()) + ".db");
  std::ofstream(file) << "this is not a database, just some text long enough to be looked at\n";
  try {
    ServerStandIn store(file.string());
    ADD_FAILURE() << "opened a text file as a store";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("file is not a database"), std::string::npos) << e.what();
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace terminal
