// The trading server's stand-in: it answers the allowed-group requests the
// way the plug-in expects, keeping categories and allowed groups in SQLite
// (a file, or ":memory:"). The groups are a set (group_table.h): an add of a
// group already held stores nothing, and a delete names a group by its
// canonical form (group_key.h).
//
// Replies are wide-form messages carrying the request name in tag 32767.
// Failures carry a status other than 5 in tag 32766 with a reason in 32765:
// 2 a request it refuses, 4 a group to delete that it does not hold, 3 a
// store that failed (SQLite's reason). An add or delete that succeeds
// carries status 5 and, in 32765, what it did: "stored" or "already held",
// "removed". A list-all request gets one reply per stored group, in server
// units, streamed from one statement (group_stream.h) by Open and gathered
// by Handle.
//
// The connection is used by one thread at a time: a stream reading ahead on
// its own thread (group_stream.h) is paused while the server uses it.
//
// Requests that arrive together are answered together (HandleBatch): their
// changes are made in one transaction, and no change is answered before
// that transaction is committed. A failed
// or interrupted write leaves the store as it was, and every change it
// undid is answered with the failure.
#pragma once

#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "terminal/server/group_stream.h"
#include "terminal/server/group_table.h"

struct sqlite3;

namespace terminal {

class ServerStandIn final : public StreamKeeper {
 public:
  // Opens (creating when needed) the store: a file, ":memory:" or a SQLite
  // URI ("file:x.db?mode=ro"). Throws std::runtime_error with the reason when
  // it cannot; a read-only store opens when it already holds the tables.
  explicit ServerStandIn(const std::string& database);
  ~ServerStandIn();
  ServerStandIn(const ServerStandIn&) = delete;
  ServerStandIn& operator=(const ServerStandIn&) = delete;

  // Answers one request; each element is one reply message's bytes. Bytes
  // that are not a request get a single failure reply (or none when not
  // even a request name can be read).
  std::vector<std::vector<char>> Handle(std::span<const char> request);

  // The same answer with a list-all's replies left in a stream, built one
  // at a time as the caller asks; the stream must end before the server.
  struct Answer {
    std::vector<std::vector<char>> replies;
    std::unique_ptr<GroupStream> stream;
    // An add's or a delete's group as the server read it
    // (store::DescribeGroup); empty for other requests.
    std::string group;
  };
  Answer Open(std::span<const char> request);
  // The answers to requests that arrived together, one per request in
  // order, every change among them committed before this returns.
  std::vector<Answer> HandleBatch(std::span<const std::vector<char>> requests);

  // How many rows naming a group already held the store merged away when it
  // was opened (a store made before groups were held as a set).
  int MergedAtOpen() const { return m_mergedAtOpen; }

  // Throw std::runtime_error when the store cannot be read.
  std::vector<std::string> Categories() const;
  int GroupCount() const;
  // Every stored group in storage order, its fields as stored (server units)
  // joined by TAB: category, segment, instrument, symbol, option type,
  // strike, expiry, product, side.
  std::vector<std::string> Groups() const;

  // True when the store cannot take changes (a read-only file or URI).
  bool ReadOnly() const { return m_readOnly; }
  // How many requests the store failed so far (status 3 replies).
  int StoreFailures() const { return m_storeFailures; }

  // Kept by the streams: the open ones settle before the store changes.
  void StreamOpened(GroupStream* stream) override { m_streams.push_back(stream); }
  void StreamClosed(GroupStream* stream) override { std::erase(m_streams, stream); }
  void CountStoreFailure() override { ++m_storeFailures; }

 private:
  class Batch;
  class StreamsPaused;
  // A request that changes nothing: categories, peer data, list-all.
  Answer Reply(const std::string& name);
  // A reply of a status and, unless empty, its words (tag 32765).
  std::vector<char> StatusReply(const std::string& name, const char* status, const std::string& words = {});
  void SettleStreams();

  std::vector<GroupStream*> m_streams;
  mutable int m_pausedDepth = 0;  // StreamsPaused alive
  // Each request is parsed into this one reader, and each status reply
  // built in this one writer, kept from request to request: a batch of
  // thousands makes no middleware handle of its own per request.
  MessageReader m_request;
  MessageWriter m_writer;

  sqlite3* m_db = nullptr;
  std::unique_ptr<store::GroupTable> m_groups;
  bool m_readOnly = false;
  std::atomic<int> m_storeFailures = 0;  // also counted by the streams' reading threads
  int m_mergedAtOpen = 0;
};

}  // namespace terminal
