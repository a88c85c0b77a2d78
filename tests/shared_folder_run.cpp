#include "tests/shared_folder_run.h"

#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/plugin_harness.h"

namespace e2e {

RunResult RunTerminal(const std::string& arguments, int seconds) {
  return RunTerminalAt(PluginHarness::BinaryFolder() + "/tarnterm", arguments, seconds);
}

RunResult RunTerminalAt(const std::string& program, const std::string& arguments, int seconds) {
  RunResult run;
  const std::string deadline = seconds > 0 ? "timeout -k 1 " + std::to_string(seconds) + " " : "";
  const std::string command = deadline + "'" + program + "' " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.output.append(chunk, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

int SharedFolderRun::Sql(const std::string& sql, const std::filesystem::path& store) const {
  const std::string path = (store.empty() ? folder / "server.db" : store).string();
  sqlite3* db = nullptr;
  int last = 0;
  char* message = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << path << ": " << sqlite3_errmsg(db);
    last = -1;
  } else if (sqlite3_exec(
                 db, sql.c_str(),
                 [](void* row, int, char** values, char**) {
                   *static_cast<int*>(row) = values[0] != nullptr ? std::atoi(values[0]) : 0;
                   return 0;
                 },
                 &last, &message) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << (message != nullptr ? message : "");
    last = -1;
  }
  sqlite3_free(message);
  sqlite3_close(db);
  return last;
}

}  // namespace e2e
