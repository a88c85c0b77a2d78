// The file a --db value names: a path, a SQLite URI ("file:x.db?mode=ro",
// "file:///data/x.db") or a store kept in memory (":memory:", a URI with
// "mode=memory", an empty name), which has no file.
#pragma once

#include <optional>
#include <string>

namespace terminal {

// The store's file; nullopt when the store has none. A URI's path is
// percent-decoded and loses its "//" authority (empty or "localhost").
std::optional<std::string> StoreFile(const std::string& database);

}  // namespace terminal
