#include "tests/shared_folder_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/plugin_harness.h"

namespace e2e {

RunResult RunTerminal(const std::string& arguments, int seconds) {
  RunResult run;
  const std::string deadline = seconds > 0 ? "timeout -k 1 " + std::to_string(seconds) + " " : "";
  const std::string command = deadline + PluginHarness::BinaryFolder() + "/tarnterm " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.output.append(chunk, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

}  // namespace e2e
