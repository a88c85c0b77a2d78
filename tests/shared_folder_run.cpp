#include "tests/shared_folder_run.h"

#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/plugin_harness.h"

namespace e2e {

RunResult RunTerminal(const std::string& arguments, const RunLimits& limits) {
  return RunTerminalAt(PluginHarness::BinaryFolder() + "/tarnterm", arguments, limits);
}

RunResult RunTerminalAt(const std::string& program, const std::string& arguments, const RunLimits& limits) {
  const std::string deadline = limits.seconds > 0 ? "timeout -k 1 " + std::to_string(limits.seconds) + " " : "";
  const std::string command = deadline + "'" + program + "' " + arguments;
  RunResult run;
  int out[2];
  if (::pipe(out) != 0) return run;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out[1], 1);
    ::dup2(out[1], 2);
    ::close(out[0]);
    ::close(out[1]);
    const rlimit limit{limits.fileSizeLimit, limits.fileSizeLimit};
    if (!limits.workingFolder.empty() && ::chdir(limits.workingFolder.c_str()) != 0) ::_exit(126);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  char chunk[4096];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;) run.output.append(chunk, static_cast<size_t>(n));
  ::close(out[0]);
  int raw = 0;
  ::waitpid(child, &raw, 0);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
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
