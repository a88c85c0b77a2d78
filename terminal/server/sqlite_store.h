// Thin checked wrappers over SQLite for the server stand-in: every result is
// looked at, and any failure becomes a StoreError carrying SQLite's reason,
// so that no write can fail unnoticed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace terminal::store {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One prepared statement, finalised on every path out.
class Statement {
 public:
  // Throws StoreError when the text does not prepare.
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds a text; the empty text is NULL (the field was not sent).
  void Bind(int index, const std::string& text);
  // True with a row to read, false when done; throws StoreError on failure.
  bool Step();
  std::string Text(int column) const;
  // The same without a copy, valid until the next Step.
  std::string_view View(int column) const;
  int Int(int column) const;
  // Makes the statement ready to run again, its parameters unbound.
  void Reset();

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_stmt = nullptr;
};

// How long a statement waits for another program (a second terminal on the
// same store) to release its lock before it fails.
constexpr int kBusyTimeoutMs = 5000;

// Makes `db` wait kBusyTimeoutMs for a lock instead of failing at once.
void WaitWhenBusy(sqlite3* db);

// Runs statements that return no rows; throws StoreError on failure.
void Execute(sqlite3* db, const char* sql);

// A write transaction: begun at construction, rolled back at destruction
// unless committed, so a change that fails half-way leaves nothing behind.
class Transaction {
 public:
  explicit Transaction(sqlite3* db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  sqlite3* m_db;
};

}  // namespace terminal::store
