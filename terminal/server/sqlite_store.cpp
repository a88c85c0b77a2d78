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

Statement::Statement(sqlite3* db, const char* sql) : m_db(db) {
  if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(m_stmt);
    Fail(db);
  }
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::Bind(int index, const std::string& text) {
  const int rc = text.empty()
                     ? sqlite3_bind_null(m_stmt, index)
                     : sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) Fail(m_db);
}

bool Statement::Step() {
  const int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(m_db);
}

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(m_stmt, column);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)))
              : std::string();
}

std::string_view Statement::View(int column) const {
  const auto* text = sqlite3_column_text(m_stmt, column);
  return text ? std::string_view(reinterpret_cast<const char*>(text),
                                 static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)))
              : std::string_view();
}

int Statement::Int(int column) const { return sqlite3_column_int(m_stmt, column); }

void Statement::Reset() {
  // The last step's failure, if any, was reported by Step.
  sqlite3_reset(m_stmt);
  sqlite3_clear_bindings(m_stmt);
}

void Execute(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string why = Reason(db, error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    throw StoreError("server store: " + why);
  }
}

void WaitWhenBusy(sqlite3* db) { sqlite3_busy_timeout(db, kBusyTimeoutMs); }

Transaction::Transaction(sqlite3* db) : m_db(db) { Execute(db, "BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  // The connection knows whether the transaction is still open: not after a
  // commit, nor after an error that SQLite rolled back itself. Nothing to
  // report from here: the failure that led here is already on its way.
  if (sqlite3_get_autocommit(m_db) == 0) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() { Execute(m_db, "COMMIT"); }

}  // namespace terminal::store
