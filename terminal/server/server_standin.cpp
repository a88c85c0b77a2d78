#include "terminal/server/server_standin.h"

#include <sqlite3.h>

#include <array>
#include <optional>
#include <stdexcept>

#include "terminal/server/group_stream.h"
#include "terminal/server/message_codec.h"
#include "terminal/server/sqlite_store.h"

namespace terminal {

namespace {

constexpr int32_t kTagCategory = 13034;
constexpr int32_t kTagSegment = 63001;
constexpr const char* kStatusRefused = "2";
constexpr const char* kStatusNotFound = "4";
constexpr const char* kStatusStoreFailed = "3";

using store::Statement;

// The columns of an allowed group as a request gives them. Which tag carries
// the instrument, symbol and option type depends on the segment code, as the
// plug-in sends them.
struct RequestColumns {
  std::string category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};

// Absent fields are stored as NULL: "no restriction".
RequestColumns FromRequest(const MessageReader& m) {
  RequestColumns g;
  auto get = [&](int32_t tag) { return std::string(m.First(tag).value_or("")); };
  g.category = get(kTagCategory);
  g.segment = get(kTagSegment);
  if (g.segment == "bse_cm") {
    g.optionType = get(10610);
    g.symbol = get(63100);
  } else {
    g.instrument = g.segment == "nse_cm" ? get(10610) : get(10106);
    g.symbol = get(3);
    g.optionType = get(63006);
  }
  g.strike = get(66);
  g.expiry = get(46002);
  g.product = get(64030);
  g.side = get(12003);
  return g;
}

std::vector<char> StatusReply(const std::string& name, const char* status, const std::string& reason = {}) {
  std::vector<Field> fields{{kTagReplyName, name}};
  fields.emplace_back(kTagReplyStatus, status);
  if (!reason.empty()) fields.emplace_back(kTagReplyReason, reason);
  return BuildMessage(fields);
}

bool KnownSegment(const std::string& code) {
  static constexpr std::array kCodes{"nse_cm", "nse_fo", "bse_cm", "mcx_fo", "ncx_fo", "icx_fo", "nmc_fo",
                                     "mcx_sx", "ace_fo", "rmc_fo", "cde_fo", "bse_fo", "nsel_sm"};
  for (const char* known : kCodes) {
    if (code == known) return true;
  }
  return false;
}

}  // namespace

ServerStandIn::ServerStandIn(const std::string& database) {
  // A read-only file opens read-only rather than failing; URIs may ask for it.
  // One thread at a time uses the server, so SQLite need not lock the
  // connection around every call (a list-all reads nine columns a group).
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(database.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
    const std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    m_db = nullptr;
    throw std::runtime_error("cannot open server store " + database + ": " + why);
  }
  store::WaitWhenBusy(m_db);
  try {
    Statement tables(
        m_db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN ('categories', 'allowed_groups')");
    const bool ready = tables.Step() && tables.Int(0) == 2;
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    if (!ready) {
      store::Transaction create(m_db);
      store::Execute(
          m_db,
          "CREATE TABLE IF NOT EXISTS categories(name TEXT PRIMARY KEY);"
          "CREATE TABLE IF NOT EXISTS allowed_groups("
          " id INTEGER PRIMARY KEY, category TEXT NOT NULL, segment TEXT NOT NULL, instrument TEXT,"
          " symbol TEXT, option_type TEXT, strike TEXT, expiry TEXT, product TEXT, side TEXT, added_by TEXT);"
          "INSERT INTO categories SELECT * FROM (VALUES ('RETAIL'),('HNI'),('PROPRIETARY'),('INSTITUTION'))"
          " WHERE NOT EXISTS (SELECT 1 FROM categories);");
      create.Commit();
    }
  } catch (const std::exception& e) {
    sqlite3_close(m_db);
    m_db = nullptr;
    throw std::runtime_error("cannot use server store " + database + ": " + e.what());
  }
}

ServerStandIn::~ServerStandIn() { sqlite3_close(m_db); }

std::vector<std::string> ServerStandIn::Categories() const {
  std::vector<std::string> names;
  Statement select(m_db, "SELECT name FROM categories ORDER BY rowid");
  while (select.Step()) names.push_back(select.Text(0));
  return names;
}

int ServerStandIn::GroupCount() const {
  Statement count(m_db, "SELECT COUNT(*) FROM allowed_groups");
  return count.Step() ? count.Int(0) : 0;
}

std::vector<std::string> ServerStandIn::Groups() const {
  std::vector<std::string> rows;
  Statement select(m_db,
                   "SELECT category, segment, instrument, symbol, option_type, strike, expiry, product, side"
                   " FROM allowed_groups ORDER BY id");
  while (select.Step()) {
    std::string row;
    for (int i = 0; i < 9; ++i) row += (i > 0 ? "\t" : "") + select.Text(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::vector<char>> ServerStandIn::Handle(std::span<const char> request) {
  Answer answer = Open(request);
  if (answer.stream) {
    while (const auto reply = answer.stream->Next()) answer.replies.emplace_back(reply->begin(), reply->end());
  }
  return std::move(answer.replies);
}

ServerStandIn::Answer ServerStandIn::Open(std::span<const char> request) {
  if (!m_request.Parse(request)) return {};
  const auto field = m_request.First(0);
  if (!field || field->empty()) return {};
  const std::string name(*field);
  try {
    return Reply(name, m_request);
  } catch (const store::StoreError& e) {
    // The change, if any, was rolled back; the client learns why.
    ++m_storeFailures;
    Answer failed;
    failed.replies.push_back(StatusReply(name, kStatusStoreFailed, e.what()));
    return failed;
  }
}

void ServerStandIn::SettleStreams() {
  for (GroupStream* stream : m_streams) stream->Settle();
}

ServerStandIn::Answer ServerStandIn::Reply(const std::string& name, const MessageReader& message) {
  Answer answer;
  auto& replies = answer.replies;
  if (name == "ks_get_category") {
    std::vector<Field> fields{{kTagReplyName, name}};
    for (auto& category : Categories()) fields.emplace_back(kTagCategory, category);
    replies.push_back(BuildMessage(fields));
    return answer;
  }
  if (name == "ks_get_user_peer_data") {
    replies.push_back(StatusReply(name, kStatusOk));
    return answer;
  }

  if (name == "ks_publish_allowed_group" || name == "ks_delete_allowed_group") {
    const RequestColumns g = FromRequest(message);
    if (g.category.empty()) {
      replies.push_back(StatusReply(name, kStatusRefused, "missing category"));
      return answer;
    }
    if (!KnownSegment(g.segment)) {
      replies.push_back(StatusReply(name, kStatusRefused, "unknown exchange segment"));
      return answer;
    }
    // A list still being sent shows the store as it was when it was asked for.
    SettleStreams();
    store::Transaction change(m_db);
    if (name == "ks_publish_allowed_group") {
      Statement insert(m_db,
                       "INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry,"
                       " product, side, added_by) VALUES (?,?,?,?,?,?,?,?,?,?)");
      const std::array values{g.category, g.segment, g.instrument, g.symbol, g.optionType,
                              g.strike,   g.expiry,  g.product,    g.side,   std::string(message.First(54247).value_or(""))};
      for (size_t i = 0; i < values.size(); ++i) insert.Bind(static_cast<int>(i + 1), values[i]);
      insert.Step();
      change.Commit();
      replies.push_back(StatusReply(name, kStatusOk));
      return answer;
    }
    // A delete names a group exactly: every field, absent ones included.
    Statement remove(m_db,
                     "DELETE FROM allowed_groups WHERE category IS ?1 AND segment IS ?2 AND instrument IS ?3"
                     " AND symbol IS ?4 AND option_type IS ?5 AND strike IS ?6 AND expiry IS ?7 AND product IS ?8"
                     " AND side IS ?9");
    const std::array values{g.category, g.segment, g.instrument, g.symbol, g.optionType,
                            g.strike,   g.expiry,  g.product,    g.side};
    for (size_t i = 0; i < values.size(); ++i) remove.Bind(static_cast<int>(i + 1), values[i]);
    remove.Step();
    const bool removed = sqlite3_changes(m_db) > 0;
    change.Commit();
    replies.push_back(removed ? StatusReply(name, kStatusOk) : StatusReply(name, kStatusNotFound, "no such group"));
    return answer;
  }

  if (name == "ks_get_all_allowed_groups") {
    answer.stream = std::make_unique<GroupStream>(*this, m_db);
    return answer;
  }
  replies.push_back(StatusReply(name, kStatusRefused, "unknown request"));
  return answer;
}

}  // namespace terminal
