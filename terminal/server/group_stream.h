// The replies to one list-all request, one per stored group, built as they
// are asked for from a single SQLite statement: a store of a million groups
// is never held in memory as a million messages.
//
// The replies show the store as it was when the request came: before the
// server changes the store it asks every open stream to Settle(), which
// reads the rows still due into memory and ends the statement.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "terminal/server/message_codec.h"

struct sqlite3;

namespace terminal {

namespace store {
class Statement;
}

class GroupStream;

// What a stream tells the server that opened it (the stand-in): the server
// keeps the open streams, to settle them before it changes the store, and
// counts the store's failures. It outlives its streams.
class StreamKeeper {
 public:
  virtual void StreamOpened(GroupStream* stream) = 0;
  virtual void StreamClosed(GroupStream* stream) = 0;
  virtual void CountStoreFailure() = 0;

 protected:
  ~StreamKeeper() = default;
};

class GroupStream {
 public:
  // Starts the statement; throws store::StoreError when it cannot.
  GroupStream(StreamKeeper& server, sqlite3* db);
  ~GroupStream();
  GroupStream(const GroupStream&) = delete;
  GroupStream& operator=(const GroupStream&) = delete;

  // The next reply's bytes, valid until the next call; nothing at the end.
  // A store that fails half-way gives one failure reply (status 3) and ends.
  std::optional<std::span<const char>> Next();
  // Reads what is still due into memory and ends the statement.
  void Settle();

 private:
  // Builds the reply of the current row into m_writer; false at the end.
  bool BuildNext();

  StreamKeeper& m_server;
  std::unique_ptr<store::Statement> m_select;
  MessageWriter m_writer;
  std::deque<std::vector<char>> m_settled;  // rows read by Settle, in order
  std::vector<char> m_current;              // the settled reply handed out last
};

// The fields of one stored group, in table order, and the reply that lists
// it (tags chosen by the segment code, as the plug-in reads them; empty
// fields left out).
struct GroupColumns {
  std::string_view category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};
bool WriteGroupReply(MessageWriter& writer, const GroupColumns& g);

}  // namespace terminal
