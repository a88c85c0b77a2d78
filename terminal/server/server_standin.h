// The trading server's stand-in: it answers the allowed-group requests the
// way the plug-in expects, keeping categories and allowed groups in SQLite
// (a file, or ":memory:").
//
// Replies are wide-form messages carrying the request name in tag 32767 and,
// for failures, a status other than 5 in tag 32766 with a reason in 32765.
// A list-all request gets one reply per stored group, in server units.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

namespace terminal {

class ServerStandIn {
 public:
  // Opens (creating when needed) the store; throws std::runtime_error with
  // the reason when it cannot.
  explicit ServerStandIn(const std::string& database);
  ~ServerStandIn();
  ServerStandIn(const ServerStandIn&) = delete;
  ServerStandIn& operator=(const ServerStandIn&) = delete;

  // Answers one request; each element is one reply message's bytes. Bytes
  // that are not a request get a single failure reply (or none when not
  // even a request name can be read).
  std::vector<std::vector<char>> Handle(std::span<const char> request);

  std::vector<std::string> Categories() const;
  int GroupCount() const;

 private:
  void Execute(const char* sql) const;

  sqlite3* db_ = nullptr;
};

}  // namespace terminal
