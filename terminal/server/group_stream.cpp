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

GroupStream::~GroupStream() { m_server.StreamClosed(this); }

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

std::optional<std::span<const char>> GroupStream::Next() {
  if (!m_settled.empty()) {
    m_current = std::move(m_settled.front());
    m_settled.pop_front();
    return std::span<const char>(m_current);
  }
  if (!BuildNext()) return std::nullopt;
  return m_writer.Bytes();
}

void GroupStream::Settle() {
  while (m_select != nullptr && BuildNext()) {
    const auto bytes = m_writer.Bytes();
    m_settled.emplace_back(bytes.begin(), bytes.end());
  }
}

}  // namespace terminal
