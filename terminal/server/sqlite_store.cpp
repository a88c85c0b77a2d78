#include "terminal/server/sqlite_store.h"

#include <sqlite3.h>

#include <string>

namespace terminal::store {

namespace {

// SQLite's reason; for a lock that outlasted the wait, also who holds it.
std::string Reason(sqlite3* db, const std::string& message) {
  const int code = sqlite3_errcode(db) & 0xFF;
  if (code != SQLITE_BUSY && code != SQLITE_LOCKED) return message;
  return message + " (another program, perhaps a second terminal, held the store for more than " +
         std::to_string(kBusyTimeoutMs / 1000) + " seconds)";
}

[[noreturn]] void Fail(sqlite3* db) { throw StoreError("server store: " + Reason(db, sqlite3_errmsg(db))); }

}  // namespace

Statement::Statement(sqlite3* db, const char* sql) : db_(db) {
  if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    Fail(db);
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::Bind(int index, const std::string& text) {
  const int rc = text.empty()
                     ? sqlite3_bind_null(stmt_, index)
                     : sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) Fail(db_);
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(db_);
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string();
}

std::string_view Statement::View(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  return text ? std::string_view(reinterpret_cast<const char*>(text),
                                 static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
              : std::string_view();
}

int Statement::Int(int column) const { return sqlite3_column_int(stmt_, column); }

void Execute(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = Reason(db, error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    throw StoreError("server store: " + why);
  }
}

void WaitWhenBusy(sqlite3* db) { sqlite3_busy_timeout(db, kBusyTimeoutMs); }

Transaction::Transaction(sqlite3* db) : db_(db) { Execute(db, "BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  // Nothing to report from here: the failure that led here is already on its way.
  if (open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  Execute(db_, "COMMIT");
  open_ = false;
}

}  // namespace terminal::store
