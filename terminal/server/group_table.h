// The server store's tables: categories, and the allowed groups held as a
// set, one row per group in its canonical form (group_key.h), kept so by a
// unique index over that form.
//
// Changes run inside the caller's transaction (sqlite_store.h); the table
// only reports what each one did.
#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace terminal::store {

class Statement;

// An allowed group's fields as a request gives them, in table order;
// empty means absent (stored as NULL: no restriction).
struct GroupFields {
  std::string category, segment, instrument, symbol, optionType, strike, expiry, product, side;
};

// "HNI nse_fo OPTIDX NIFTY CE 2580000 ALL ALL B": the fields in table order
// joined by spaces, an absent one as "ALL", as the list shows it.
std::string DescribeGroup(const GroupFields& g);

// Makes the tables of a new store, and gives a store made before groups were
// held as a set its unique index, first merging the rows that name one group
// into the oldest of them. Returns how many rows it merged away. One
// transaction; throws StoreError. A read-only store is left as it is.
int PrepareTables(sqlite3* db);

class GroupTable {
 public:
  explicit GroupTable(sqlite3* db);
  ~GroupTable();
  GroupTable(const GroupTable&) = delete;
  GroupTable& operator=(const GroupTable&) = delete;

  // True when the group was stored, false when the store already held it.
  bool Add(const GroupFields& g, const std::string& addedBy);
  // True when a row held the group (it is gone), false when none did.
  bool Remove(const GroupFields& g);

 private:
  sqlite3* m_db;
  // Prepared on first use and kept: a batch runs the same two statements
  // thousands of times.
  std::unique_ptr<Statement> m_insert;
  std::unique_ptr<Statement> m_remove;
};

}  // namespace terminal::store
