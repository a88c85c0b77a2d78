// Server stores made for a test: the terminal makes the tables (a run with
// an empty script), then SQL fills them, past the terminal.
#pragma once

#include <string>

namespace e2e {

// Runs `sql` on the store file; the error text when it fails, else empty.
std::string ExecuteOnStore(const std::string& database, const std::string& sql);

// SQL that adds `count` groups, each different from every other (category,
// option type, expiry, symbol and strike vary as the digits of a mixed radix
// number), as bench/view_group.sh makes them.
std::string DistinctGroupsSql(int count);

}  // namespace e2e
