#include "terminal/server/server_standin.h"

#include <sqlite3.h>

#include <array>
#include <optional>
#include <stdexcept>

#include "terminal/server/group_stream.h"
#include "terminal/server/group_table.h"
#include "terminal/server/message_codec.h"
#include "terminal/server/sqlite_store.h"

namespace terminal {

namespace {

constexpr int32_t kTagCategory = 13034;
constexpr int32_t kTagSegment = 63001;
constexpr int32_t kTagUser = 54247;
constexpr const char* kStatusRefused = "2";
constexpr const char* kStatusNotFound = "4";
constexpr const char* kStatusStoreFailed = "3";
constexpr const char* kAdd = "ks_publish_allowed_group";
constexpr const char* kDelete = "ks_delete_allowed_group";

using store::Statement;

// The group a request names. Which tag carries the instrument, symbol and
// option type depends on the segment code, as the plug-in sends them.
store::GroupFields FromRequest(const MessageReader& m) {
  store::GroupFields g;
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

bool KnownSegment(const std::string& code) {
  static constexpr std::array kCodes{"nse_cm", "nse_fo", "bse_cm", "mcx_fo", "ncx_fo", "icx_fo", "nmc_fo",
                                     "mcx_sx", "ace_fo", "rmc_fo", "cde_fo", "bse_fo", "nsel_sm"};
  for (const char* known : kCodes) {
    if (code == known) return true;
  }
  return false;
}

}  // namespace

// Stops the open streams' reading threads for as long as it lives, so that
// the server has the connection to itself, and lets them go on after.
class ServerStandIn::StreamsPaused {
 public:
  // Nested uses (a reply that lists the categories) pause once.
  explicit StreamsPaused(const ServerStandIn& server) : m_server(server) {
    if (m_server.m_pausedDepth++ > 0) return;
    for (GroupStream* stream : m_server.m_streams) stream->Pause();
  }
  ~StreamsPaused() {
    if (--m_server.m_pausedDepth > 0) return;
    for (GroupStream* stream : m_server.m_streams) stream->Resume();
  }
  StreamsPaused(const StreamsPaused&) = delete;
  StreamsPaused& operator=(const StreamsPaused&) = delete;

 private:
  const ServerStandIn& m_server;
};

// The changes of one batch: made in one transaction, opened by the first
// change, and answered only once it is committed.
class ServerStandIn::Batch {
 public:
  explicit Batch(ServerStandIn& server) : m_server(server) {}

  // Makes one change inside the transaction; its answer waits for Commit.
  void Change(Answer& answer, const std::string& name, const store::GroupFields& g, const std::string& user) {
    sqlite3* db = m_server.m_db;
    if (!m_unavailable.empty()) return Fail(answer, name, m_unavailable);
    if (!m_transaction) {
      // A list still being sent shows the store as it was when it was asked for.
      m_server.SettleStreams();
      try {
        m_transaction.emplace(db);
      } catch (const store::StoreError& e) {
        // Locked past the wait, or read-only: the rest of the batch would
        // only wait again for the same answer.
        m_unavailable = e.what();
        return Fail(answer, name, m_unavailable);
      }
    }
    // Each change is one statement: one that fails undoes itself alone,
    // unless SQLite ends the whole transaction.
    try {
      const char* words = nullptr;  // none: a delete of a group not held
      if (name == kAdd) {
        words = m_server.m_groups->Add(g, user) ? "stored" : "already held";
      } else if (m_server.m_groups->Remove(g)) {
        words = "removed";
      }
      m_made.push_back(Made{&answer, name, words});
    } catch (const store::StoreError& e) {
      if (sqlite3_get_autocommit(db) != 0) {
        // SQLite ended the whole transaction (a full disk, an I/O error):
        // the changes before this one are gone with it.
        m_transaction.reset();
        FailAll(e.what());
      }
      Fail(answer, name, e.what());
    }
  }

  // Commits the open transaction and answers each change made in it.
  void Commit() {
    if (!m_transaction) return;
    try {
      m_transaction->Commit();
    } catch (const store::StoreError& e) {
      m_transaction.reset();  // rolled back
      FailAll(e.what());
      return;
    }
    m_transaction.reset();
    for (const Made& made : m_made) {
      made.answer->replies.push_back(made.words != nullptr
                                         ? m_server.StatusReply(made.name, kStatusOk, made.words)
                                         : m_server.StatusReply(made.name, kStatusNotFound, "no such group"));
    }
    m_made.clear();
  }

 private:
  struct Made {
    Answer* answer;
    std::string name;
    const char* words;
  };

  void Fail(Answer& answer, const std::string& name, const std::string& why) {
    ++m_server.m_storeFailures;
    answer.replies.push_back(m_server.StatusReply(name, kStatusStoreFailed, why));
  }
  void FailAll(const std::string& why) {
    for (const Made& made : m_made) Fail(*made.answer, made.name, why);
    m_made.clear();
  }

  ServerStandIn& m_server;
  std::optional<store::Transaction> m_transaction;
  std::vector<Made> m_made;
  std::string m_unavailable;  // why this batch's store could not begin a change
};

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
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    m_mergedAtOpen = store::PrepareTables(m_db);
  } catch (const std::exception& e) {
    sqlite3_close(m_db);
    m_db = nullptr;
    throw std::runtime_error("cannot use server store " + database + ": " + e.what());
  }
  m_groups = std::make_unique<store::GroupTable>(m_db);
}

ServerStandIn::~ServerStandIn() {
  m_groups.reset();  // its statements end before the connection
  sqlite3_close(m_db);
}

std::vector<std::string> ServerStandIn::Categories() const {
  const StreamsPaused paused(*this);
  std::vector<std::string> names;
  Statement select(m_db, "SELECT name FROM categories ORDER BY rowid");
  while (select.Step()) names.push_back(select.Text(0));
  return names;
}

int ServerStandIn::GroupCount() const {
  const StreamsPaused paused(*this);
  Statement count(m_db, "SELECT COUNT(*) FROM allowed_groups");
  return count.Step() ? count.Int(0) : 0;
}

std::vector<std::string> ServerStandIn::Groups() const {
  const StreamsPaused paused(*this);
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
  const std::vector<char> one(request.begin(), request.end());
  return std::move(HandleBatch(std::span(&one, 1)).front());
}

std::vector<ServerStandIn::Answer> ServerStandIn::HandleBatch(std::span<const std::vector<char>> requests) {
  const StreamsPaused paused(*this);
  std::vector<Answer> answers(requests.size());
  Batch batch(*this);
  for (size_t i = 0; i < requests.size(); ++i) {
    if (!m_request.Parse(requests[i])) continue;
    const auto field = m_request.First(0);
    if (!field || field->empty()) continue;
    const std::string name(*field);
    Answer& answer = answers[i];
    if (name == kAdd || name == kDelete) {
      const store::GroupFields g = FromRequest(m_request);
      answer.group = store::DescribeGroup(g);
      if (g.category.empty()) {
        answer.replies.push_back(StatusReply(name, kStatusRefused, "missing category"));
      } else if (!KnownSegment(g.segment)) {
        answer.replies.push_back(StatusReply(name, kStatusRefused, "unknown exchange segment"));
      } else {
        batch.Change(answer, name, g, std::string(m_request.First(kTagUser).value_or("")));
      }
      continue;
    }
    // What is asked after a change sees it made.
    batch.Commit();
    try {
      answer = Reply(name);
    } catch (const store::StoreError& e) {
      // The client learns why.
      ++m_storeFailures;
      answer.replies.push_back(StatusReply(name, kStatusStoreFailed, e.what()));
    }
  }
  batch.Commit();
  return answers;
}

std::vector<char> ServerStandIn::StatusReply(const std::string& name, const char* status, const std::string& words) {
  const bool built = m_writer.Begin() && m_writer.Add(kTagReplyName, name) && m_writer.Add(kTagReplyStatus, status) &&
                     (words.empty() || m_writer.Add(kTagReplyReason, words));
  if (!built) return {};
  const auto bytes = m_writer.Bytes();
  return std::vector<char>(bytes.begin(), bytes.end());
}

void ServerStandIn::SettleStreams() {
  for (GroupStream* stream : m_streams) stream->Settle();
}

ServerStandIn::Answer ServerStandIn::Reply(const std::string& name) {
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
  if (name == "ks_get_all_allowed_groups") {
    answer.stream = std::make_unique<GroupStream>(*this, m_db);
    return answer;
  }
  replies.push_back(StatusReply(name, kStatusRefused, "unknown request"));
  return answer;
}

}  // namespace terminal
