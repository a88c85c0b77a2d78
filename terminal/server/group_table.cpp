#include "terminal/server/group_table.h"

#include <sqlite3.h>

#include <array>

#include "terminal/server/group_key.h"
#include "terminal/server/sqlite_store.h"

namespace terminal::store {

namespace {

constexpr const char* kKeyIndex = "allowed_groups_key";

bool Exists(sqlite3* db, const char* type, const char* name) {
  Statement find(db, "SELECT 1 FROM sqlite_master WHERE type = ?1 AND name = ?2");
  find.Bind(1, type);
  find.Bind(2, name);
  return find.Step();
}

std::array<const std::string*, 9> Fields(const GroupFields& g) {
  return {&g.category, &g.segment, &g.instrument, &g.symbol, &g.optionType, &g.strike, &g.expiry, &g.product, &g.side};
}

}  // namespace

std::string DescribeGroup(const GroupFields& g) {
  std::string text;
  for (const std::string* field : Fields(g)) {
    if (!text.empty()) text += ' ';
    text += field->empty() ? "ALL" : *field;
  }
  return text;
}

int PrepareTables(sqlite3* db) {
  const bool tables = Exists(db, "table", "categories") && Exists(db, "table", "allowed_groups");
  const bool readOnly = sqlite3_db_readonly(db, "main") == 1;
  if (tables && (readOnly || Exists(db, "index", kKeyIndex))) return 0;
  Transaction prepare(db);
  Execute(db,
          "CREATE TABLE IF NOT EXISTS categories(name TEXT PRIMARY KEY);"
          "CREATE TABLE IF NOT EXISTS allowed_groups("
          " id INTEGER PRIMARY KEY, category TEXT NOT NULL, segment TEXT NOT NULL, instrument TEXT,"
          " symbol TEXT, option_type TEXT, strike TEXT, expiry TEXT, product TEXT, side TEXT, added_by TEXT);"
          "INSERT INTO categories SELECT * FROM (VALUES ('RETAIL'),('HNI'),('PROPRIETARY'),('INSTITUTION'))"
          " WHERE NOT EXISTS (SELECT 1 FROM categories);");
  // A second terminal may have done this meanwhile: looked at again under the lock.
  int merged = 0;
  if (!Exists(db, "index", kKeyIndex)) {
    // Ids only grow, so the lowest of a group's rows is the oldest.
    const std::string keyList = GroupKeyList();
    Execute(db,
            ("DELETE FROM allowed_groups WHERE id NOT IN (SELECT min(id) FROM allowed_groups GROUP BY " + keyList + ")")
                .c_str());
    merged = sqlite3_changes(db);
    Execute(db, ("CREATE UNIQUE INDEX " + std::string(kKeyIndex) + " ON allowed_groups(" + keyList + ")").c_str());
  }
  prepare.Commit();
  return merged;
}

GroupTable::GroupTable(sqlite3* db) : m_db(db) {}

GroupTable::~GroupTable() = default;

bool GroupTable::Add(const GroupFields& g, const std::string& addedBy) {
  if (!m_insert) {
    m_insert = std::make_unique<Statement>(
        m_db,
        "INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product, side,"
        " added_by) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10) ON CONFLICT DO NOTHING");
  }
  Statement& insert = *m_insert;
  insert.Reset();
  int index = 0;
  for (const std::string* field : Fields(g)) insert.Bind(++index, *field);
  insert.Bind(++index, addedBy);
  insert.Step();
  const bool stored = sqlite3_changes(m_db) > 0;
  insert.Reset();
  return stored;
}

bool GroupTable::Remove(const GroupFields& g) {
  if (!m_remove) {
    m_remove = std::make_unique<Statement>(m_db, ("DELETE FROM allowed_groups WHERE " + GroupKeyMatch()).c_str());
  }
  Statement& remove = *m_remove;
  remove.Reset();
  int index = 0;
  for (const std::string* field : Fields(g)) remove.Bind(++index, *field);
  remove.Step();
  const bool removed = sqlite3_changes(m_db) > 0;
  remove.Reset();
  return removed;
}

}  // namespace terminal::store
