#include "terminal/server/group_stream.h"

#include <sqlite3.h>

#include "terminal/server/sqlite_store.h"

namespace terminal {

namespace {
constexpr int32_t kTagCategory = 13034;
constexpr int32_t kTagSegment = 63001;
constexpr const char* kListAll = "ks_get_all_allowed_groups";
}  // namespace

bool WriteGroupReply(MessageWriter& writer, const GroupColumns& g) {
  bool ok = writer.Begin() && writer.Add(kTagReplyName, kListAll) && writer.Add(kTagCategory, g.category) &&
            writer.Add(kTagSegment, g.segment);
  auto put = [&](int32_t tag, std::string_view value) {
    if (!value.empty()) ok = ok && writer.Add(tag, value);
  };
  if (g.segment == "bse_cm") {
    put(63100, g.symbol);
    put(10610, g.optionType);
  } else {
    put(g.segment == "nse_cm" ? 10610 : 10106, g.instrument);
    put(3, g.symbol);
    put(63006, g.optionType);
  }
  put(66, g.strike);
  put(46002, g.expiry);
  put(64030, g.product);
  put(12003, g.side);
  return ok;
}

GroupStream::GroupStream(StreamKeeper& server, sqlite3* db)
    : m_server(server),
      m_select(std::make_unique<store::Statement>(
          db,
          "SELECT category, segment, instrument, symbol, option_type, strike, expiry, product, side"
          " FROM allowed_groups ORDER BY id")) {
  m_server.StreamOpened(this);
}

GroupStream::~GroupStream() {
  Pause();
  m_server.StreamClosed(this);
}

bool GroupStream::BuildNext() {
  if (m_select == nullptr) return false;
  try {
    if (!m_select->Step()) {
      m_select.reset();
      return false;
    }
    const store::Statement& row = *m_select;
    const GroupColumns g{row.View(0), row.View(1), row.View(2), row.View(3), row.View(4),
                         row.View(5), row.View(6), row.View(7), row.View(8)};
    return WriteGroupReply(m_writer, g);
  } catch (const store::StoreError& e) {
    // The client learns why the list stopped short; nothing follows.
    m_select.reset();
    m_server.CountStoreFailure();
    m_writer.Begin();
    m_writer.Add(kTagReplyName, kListAll);
    m_writer.Add(kTagReplyStatus, "3");
    m_writer.Add(kTagReplyReason, e.what());
    return true;
  }
}

std::unique_ptr<ReplyBatch> GroupStream::BuildBatch() {
  auto batch = std::make_unique<ReplyBatch>();
  while (batch->Size() < kBatch && BuildNext()) batch->Add(m_writer.Bytes());
  return batch;
}

void GroupStream::Read() {
  for (;;) {
    std::unique_ptr<ReplyBatch> batch = m_filling ? std::move(m_filling) : std::make_unique<ReplyBatch>();
    bool more = true;
    while (batch->Size() < kBatch && !m_stop.load(std::memory_order_relaxed)) {
      if (!BuildNext()) {
        more = false;
        break;
      }
      batch->Add(m_writer.Bytes());
    }
    if (!batch->Empty() && !m_queue.Push(batch)) {
      m_filling = std::move(batch);  // stopped with the queue full: handed over by Pause
      return;
    }
    if (!more) {
      m_queue.Close();
      return;
    }
    if (m_stop.load(std::memory_order_relaxed)) return;
  }
}

void GroupStream::ReadAhead() {
  m_readingAhead = true;
  Resume();
}

void GroupStream::Resume() {
  if (!m_readingAhead || m_reader.joinable() || m_select == nullptr) return;
  m_stop = false;
  m_reader = std::thread([this] { Read(); });
}

void GroupStream::Pause() {
  if (!m_reader.joinable()) return;
  m_stop = true;
  m_queue.Stop();
  m_reader.join();
  // What the thread built comes before what the statement still holds.
  for (std::unique_ptr<ReplyBatch>& batch : m_queue.Restart()) m_ready.push_back(std::move(batch));
  if (m_filling) m_ready.push_back(std::move(m_filling));
}

std::unique_ptr<ReplyBatch> GroupStream::TakeNextBatch() {
  if (!m_ready.empty()) {
    std::unique_ptr<ReplyBatch> batch = std::move(m_ready.front());
    m_ready.pop_front();
    return batch;
  }
  if (m_reader.joinable()) {
    if (std::optional<std::unique_ptr<ReplyBatch>> batch = m_queue.Pop()) return std::move(*batch);
    // Closed: the thread has built the last reply and ends.
    m_reader.join();
    m_queue.Restart();
  }
  std::unique_ptr<ReplyBatch> batch = BuildBatch();
  if (batch->Empty()) batch.reset();
  return batch;
}

const ReplyBatch* GroupStream::NextBatch() {
  m_nextInCurrent = 0;
  m_current = TakeNextBatch();
  return m_current.get();
}

std::optional<std::span<const char>> GroupStream::Next() {
  if (m_current == nullptr || m_nextInCurrent >= m_current->Size()) {
    if (NextBatch() == nullptr) return std::nullopt;
  }
  return (*m_current)[m_nextInCurrent++];
}

void GroupStream::Settle() {
  Pause();
  // The statement ends here, so nothing resumes the reading thread after.
  while (m_select != nullptr) {
    std::unique_ptr<ReplyBatch> batch = BuildBatch();
    if (!batch->Empty()) m_ready.push_back(std::move(batch));
  }
}

}  // namespace terminal
