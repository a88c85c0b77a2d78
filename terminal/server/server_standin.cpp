#include "terminal/server/server_standin.h"

#include <sqlite3.h>

#include <array>
#include <optional>
#include <stdexcept>

#include "terminal/server/message_codec.h"

namespace terminal {

namespace {

// Reply tags.
constexpr int32_t kTagRequestName = 32767;
constexpr int32_t kTagStatus = 32766;
constexpr int32_t kTagReason = 32765;
constexpr int32_t kTagCategory = 13034;
constexpr int32_t kTagSegment = 63001;
constexpr const char* kStatusOk = "5";
constexpr const char* kStatusRefused = "2";
constexpr const char* kStatusNotFound = "4";

// The columns of an allowed group and the request tags they come from. Which
// tag carries the instrument, symbol and option type depends on the segment
// code, as the plug-in sends them.
struct GroupColumns {
  std::string category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};

// Absent fields are stored as NULL: "no restriction".
GroupColumns FromRequest(const ParsedMessage& m) {
  GroupColumns g;
  g.category = m.First(kTagCategory).value_or("");
  g.segment = m.First(kTagSegment).value_or("");
  auto get = [&](int32_t tag) { return m.First(tag).value_or(""); };
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

std::vector<Field> ToReply(const GroupColumns& g) {
  std::vector<Field> f{{kTagRequestName, "ks_get_all_allowed_groups"}, {kTagCategory, g.category}, {kTagSegment, g.segment}};
  auto put = [&](int32_t tag, const std::string& value) {
    if (!value.empty()) f.emplace_back(tag, value);
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
  return f;
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      throw std::runtime_error(std::string("server store: ") + sqlite3_errmsg(db));
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds a text; the empty text is NULL (the field was not sent).
  void Bind(int index, const std::string& text) {
    if (text.empty()) sqlite3_bind_null(stmt_, index);
    else sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  bool Step() { return sqlite3_step(stmt_) == SQLITE_ROW; }
  std::string Text(int column) const {
    const auto* text = sqlite3_column_text(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
                : std::string();
  }
  int Int(int column) const { return sqlite3_column_int(stmt_, column); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::vector<char> StatusReply(const std::string& name, const char* status, const std::string& reason = {}) {
  std::vector<Field> fields{{kTagRequestName, name}};
  fields.emplace_back(kTagStatus, status);
  if (!reason.empty()) fields.emplace_back(kTagReason, reason);
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
  if (sqlite3_open(database.c_str(), &db_) != SQLITE_OK) {
    const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw std::runtime_error("cannot open server store " + database + ": " + why);
  }
  Execute(
      "CREATE TABLE IF NOT EXISTS categories(name TEXT PRIMARY KEY);"
      "CREATE TABLE IF NOT EXISTS allowed_groups("
      " id INTEGER PRIMARY KEY, category TEXT NOT NULL, segment TEXT NOT NULL, instrument TEXT, symbol TEXT,"
      " option_type TEXT, strike TEXT, expiry TEXT, product TEXT, side TEXT, added_by TEXT);");
  Statement count(db_, "SELECT COUNT(*) FROM categories");
  if (count.Step() && count.Int(0) == 0) {
    Execute("INSERT INTO categories VALUES ('RETAIL'),('HNI'),('PROPRIETARY'),('INSTITUTION');");
  }
}

ServerStandIn::~ServerStandIn() { sqlite3_close(db_); }

void ServerStandIn::Execute(const char* sql) const {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error("server store: " + why);
  }
}

std::vector<std::string> ServerStandIn::Categories() const {
  std::vector<std::string> names;
  Statement select(db_, "SELECT name FROM categories ORDER BY rowid");
  while (select.Step()) names.push_back(select.Text(0));
  return names;
}

int ServerStandIn::GroupCount() const {
  Statement count(db_, "SELECT COUNT(*) FROM allowed_groups");
  return count.Step() ? count.Int(0) : 0;
}

std::vector<std::vector<char>> ServerStandIn::Handle(std::span<const char> request) {
  const auto message = ParsedMessage::Parse(request);
  if (!message) return {};
  const auto name = message->First(0);
  if (!name || name->empty()) return {};

  if (*name == "ks_get_category") {
    std::vector<Field> fields{{kTagRequestName, *name}};
    for (auto& category : Categories()) fields.emplace_back(kTagCategory, category);
    return {BuildMessage(fields)};
  }
  if (*name == "ks_get_user_peer_data") return {StatusReply(*name, kStatusOk)};

  if (*name == "ks_publish_allowed_group" || *name == "ks_delete_allowed_group") {
    const GroupColumns g = FromRequest(*message);
    if (g.category.empty()) return {StatusReply(*name, kStatusRefused, "missing category")};
    if (!KnownSegment(g.segment)) return {StatusReply(*name, kStatusRefused, "unknown exchange segment")};
    if (*name == "ks_publish_allowed_group") {
      Statement insert(db_,
                       "INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry,"
                       " product, side, added_by) VALUES (?,?,?,?,?,?,?,?,?,?)");
      const std::array values{g.category, g.segment, g.instrument, g.symbol, g.optionType,
                              g.strike,   g.expiry,  g.product,    g.side,   message->First(54247).value_or("")};
      for (size_t i = 0; i < values.size(); ++i) insert.Bind(static_cast<int>(i + 1), values[i]);
      insert.Step();
      return {StatusReply(*name, kStatusOk)};
    }
    // A delete names a group exactly: every field, absent ones included.
    Statement remove(db_,
                     "DELETE FROM allowed_groups WHERE category IS ?1 AND segment IS ?2 AND instrument IS ?3"
                     " AND symbol IS ?4 AND option_type IS ?5 AND strike IS ?6 AND expiry IS ?7 AND product IS ?8"
                     " AND side IS ?9");
    const std::array values{g.category, g.segment, g.instrument, g.symbol, g.optionType,
                            g.strike,   g.expiry,  g.product,    g.side};
    for (size_t i = 0; i < values.size(); ++i) remove.Bind(static_cast<int>(i + 1), values[i]);
    remove.Step();
    return {StatusReply(*name, sqlite3_changes(db_) > 0 ? kStatusOk : kStatusNotFound,
                        sqlite3_changes(db_) > 0 ? "" : "no such group")};
  }

  if (*name == "ks_get_all_allowed_groups") {
    std::vector<std::vector<char>> replies;
    Statement select(db_,
                     "SELECT category, segment, instrument, symbol, option_type, strike, expiry, product, side"
                     " FROM allowed_groups ORDER BY id");
    while (select.Step()) {
      GroupColumns g{select.Text(0), select.Text(1), select.Text(2), select.Text(3), select.Text(4),
                     select.Text(5), select.Text(6), select.Text(7), select.Text(8)};
      replies.push_back(BuildMessage(ToReply(g)));
    }
    return replies;
  }
  return {StatusReply(*name, kStatusRefused, "unknown request")};
}

}  // namespace terminal
