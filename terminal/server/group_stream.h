// The replies to one list-all request, one per stored group, built as they
// are asked for from a single SQLite statement: a store of a million groups
// is never held in memory as a million messages.
//
// The replies show the store as it was when the request came: before the
// server changes the store it asks every open stream to Settle(), which
// reads the rows still due into memory and ends the statement.
//
// ReadAhead moves the reading to a thread of the stream's own, which reads
// the store and builds the replies while the consumer decodes the ones
// before, and hands them over in batches through a bounded queue (a few
// hundred kilobytes ahead at most). The connection is then the thread's:
// the server pauses its streams (Pause, Resume) around every use of its own.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "terminal/server/bounded_queue.h"
#include "terminal/server/message_codec.h"
#include "terminal/server/reply_batch.h"

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
  // Replies a batch holds at most, and batches the queue holds ahead.
  static constexpr size_t kBatch = 512;
  static constexpr size_t kBatchesAhead = 8;

  // Starts the statement; throws store::StoreError when it cannot.
  GroupStream(StreamKeeper& server, sqlite3* db);
  // Stops the reading thread first.
  ~GroupStream();
  GroupStream(const GroupStream&) = delete;
  GroupStream& operator=(const GroupStream&) = delete;

  // Reads and builds on a thread of its own from now on.
  void ReadAhead();
  // Whether that thread is started and not yet joined (not while paused).
  bool ReadsAhead() const { return m_reader.joinable(); }
  // The next replies in order (up to kBatch), valid until the next call of
  // NextBatch or Next; null at the end. A store that fails half-way gives
  // one failure reply (status 3) and ends.
  const ReplyBatch* NextBatch();
  // The same batch, the caller's to keep.
  std::unique_ptr<ReplyBatch> TakeNextBatch();
  // The next reply's bytes, the same way one at a time; nothing at the end.
  std::optional<std::span<const char>> Next();

  // Stops the reading thread, which leaves the connection to the caller
  // until Resume starts it again.
  void Pause();
  void Resume();
  // Reads what is still due into memory and ends the statement.
  void Settle();

 private:
  // Builds the reply of the current row into m_writer; false at the end.
  bool BuildNext();
  // Up to kBatch replies built here; empty at the end.
  std::unique_ptr<ReplyBatch> BuildBatch();
  // The reading thread's loop.
  void Read();

  StreamKeeper& m_server;
  std::unique_ptr<store::Statement> m_select;  // reset at the end
  MessageWriter m_writer;
  // While the thread runs, it alone uses m_select, m_writer and m_filling.
  std::thread m_reader;
  bool m_readingAhead = false;            // ReadAhead was called
  std::atomic<bool> m_stop{false};        // the thread is asked to end
  std::unique_ptr<ReplyBatch> m_filling;  // a batch the stopped thread had not queued
  BoundedQueue<std::unique_ptr<ReplyBatch>> m_queue{kBatchesAhead};
  // Batches taken back from the queue or read by Settle, in order, before
  // anything the statement still holds.
  std::deque<std::unique_ptr<ReplyBatch>> m_ready;
  std::unique_ptr<ReplyBatch> m_current;  // the batch handed out last
  size_t m_nextInCurrent = 0;             // Next's place in it
};

// The fields of one stored group, in table order, and the reply that lists
// it (tags chosen by the segment code, as the plug-in reads them; empty
// fields left out).
struct GroupColumns {
  std::string_view category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};
bool WriteGroupReply(MessageWriter& writer, const GroupColumns& g);

}  // namespace terminal
