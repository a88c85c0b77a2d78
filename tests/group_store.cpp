#include "tests/group_store.h"

#include <sqlite3.h>

namespace e2e {

std::string ExecuteOnStore(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string error;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = db != nullptr ? sqlite3_errmsg(db) : "cannot open " + database;
  } else {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
      error = message != nullptr ? message : "failed";
    }
    sqlite3_free(message);
  }
  sqlite3_close(db);
  return error;
}

std::string DistinctGroupsSql(int count) {
  return "WITH RECURSIVE i(v) AS (SELECT 0 UNION ALL SELECT v + 1 FROM i WHERE v + 1 < " + std::to_string(count) +
         ")"
         " INSERT INTO allowed_groups(category, segment, instrument, symbol, option_type, strike, expiry, product,"
         " side, added_by)"
         " SELECT CASE v % 4 WHEN 0 THEN 'HNI' WHEN 1 THEN 'RETAIL' WHEN 2 THEN 'PROPRIETARY' ELSE 'INSTITUTION' END,"
         " 'nse_fo', CASE WHEN (v / 96) % 100 < 3 THEN 'OPTIDX' ELSE 'OPTSTK' END, 'SYM' || ((v / 96) % 100),"
         " CASE (v / 4) % 2 WHEN 0 THEN 'CE' ELSE 'PE' END, CAST((v / 9600 + 1) * 5000 AS TEXT),"
         " CAST(1400000000 + ((v / 8) % 12) * 2419200 AS TEXT), CASE v % 3 WHEN 0 THEN 'NRML' ELSE NULL END,"
         " CASE v % 5 WHEN 0 THEN 'B' WHEN 1 THEN 'S' ELSE NULL END, 'admin' FROM i;";
}

}  // namespace e2e
