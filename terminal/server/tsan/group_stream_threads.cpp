// A list-all read ahead on the stream's own thread: every row arrives once,
// in order, while the server pauses the thread to read the store and
// settles it to change the store, and the list shows the store as it was
// when it was asked for. Run under ThreadSanitizer by the tsan preset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terminal/server/group_stream.h"
#include "terminal/server/message_codec.h"
#include "terminal/server/server_standin.h"

namespace terminal {
namespace {

std::vector<char> AddRequest(MessageWriter& writer, const std::string& symbol) {
  EXPECT_TRUE(writer.Begin() && writer.Add(0, "ks_publish_allowed_group") && writer.Add(13034, "HNI") &&
              writer.Add(54247, "admin") && writer.Add(63001, "nse_fo") && writer.Add(10106, "OPTSTK") &&
              writer.Add(3, symbol));
  const auto bytes = writer.Bytes();
  return std::vector<char>(bytes.begin(), bytes.end());
}

TEST(GroupStreamThreads, EveryRowArrivesOnceInOrderAcrossPausesAndChanges) {
  int err = 0;
  static char* noEnvironment[] = {nullptr};
  mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
  constexpr int kGroups = 30000;
  ServerStandIn server(":memory:");
  MessageWriter writer;
  std::vector<std::vector<char>> adds;
  for (int i = 0; i < kGroups; ++i) adds.push_back(AddRequest(writer, "S" + std::to_string(i)));
  server.HandleBatch(adds);

  ServerStandIn::Answer list = server.Open(BuildMessage({{54247, "admin"}, {0, "ks_get_all_allowed_groups"}}));
  ASSERT_TRUE(list.stream);
  list.stream->ReadAhead();
  EXPECT_TRUE(list.stream->ReadsAhead());
  MessageReader reader;
  int row = 0;
  while (const ReplyBatch* batch = list.stream->NextBatch()) {
    ASSERT_LE(batch->Size(), GroupStream::kBatch);
    for (size_t i = 0; i < batch->Size(); ++i, ++row) {
      ASSERT_TRUE(reader.Parse((*batch)[i]));
      ASSERT_EQ(reader.First(3).value_or("?"), "S" + std::to_string(row));
      // The server uses the store meanwhile: reads pause the thread, a
      // change settles the stream (the rest read at once, before it). In
      // between, the thread runs long enough for this loop to catch it up.
      if (row == 999 || row == 1999 || row == 29999) {
        EXPECT_EQ(server.GroupCount(), kGroups + (row > 25000 ? 1 : 0));
      }
      if (row == 25000) server.HandleBatch(std::vector<std::vector<char>>{AddRequest(writer, "LATE")});
    }
  }
  EXPECT_EQ(row, kGroups);
}

}  // namespace
}  // namespace terminal
