#include "terminal/script/script_runner.h"

#include "terminal/commands/list_menu.h"

#include <sstream>

#include "platform/afx.h"
#include "platform/kernel/kernel.h"
#include "terminal/readout/control_names.h"
#include "terminal/readout/window_dump.h"
#include "terminal/script/script_verbs.h"

namespace terminal {

std::optional<std::vector<std::string>> SplitScriptLine(const std::string& line, std::string& error) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      std::string word;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
          word += line[i + 1];
          i += 2;
        } else if (line[i] == '"') {
          closed = true;
          ++i;
          break;
        } else {
          word += line[i++];
        }
      }
      if (!closed) {
        error = "unclosed quote";
        return std::nullopt;
      }
      words.push_back(std::move(word));
    } else {
      const size_t end = line.find_first_of(" \t\r", i);
      words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
      i = end == std::string::npos ? line.size() : end;
    }
  }
  return words;
}

ScriptRunner::ScriptRunner(Host& host, HotKeyHandler hotKey, std::FILE* out, std::FILE* err)
    : m_session(std::make_unique<ScriptSession>(ScriptSession{host, std::move(hotKey), out, err})) {}

ScriptRunner::~ScriptRunner() = default;

bool ScriptRunner::Run(const std::string& text, const std::string& name) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::string error;
    auto words = SplitScriptLine(line, error);
    if (words && words->empty()) {
      if (echo) std::fprintf(m_session->out, "%s\n", line.c_str());
      continue;
    }
    if (echo && words) std::fprintf(m_session->out, "> %s\n", line.c_str());
    bool ok = words && RunLine(*words, error);
    std::string afterError;
    if (words && afterLine && !afterLine(afterError) && ok) {
      ok = false;
      error = afterError;
    }
    if (!ok) {
      std::fprintf(m_session->err, "%s:%d: %s\n", name.c_str(), number, error.c_str());
      return false;
    }
  }
  return true;
}

bool ScriptRunner::RunLine(const std::vector<std::string>& words, std::string& error) {
  const Verb* found = FindVerb(words[0]);
  if (found == nullptr) {
    error = "unknown command " + words[0];
    return false;
  }
  const Verb& verb = *found;
  if (verb.atLeast ? words.size() < verb.words : words.size() != verb.words) {
    error = "usage: " + std::string(verb.usage);
    return false;
  }
  ScriptLine line{words, error};
  if (verb.target != Verb::Target::kNothing) {
    line.window = FindTopLevelWindow(words[1]);
    if (line.window == nullptr) return line.Fail("no window \"" + words[1] + "\"");
  }
  if (verb.target == Verb::Target::kControl) {
    line.control = FindControl(line.window, words[2], verb.wanted ? std::function<bool(HWND)>(verb.wanted) : nullptr);
    if (line.control == nullptr) return line.Fail("no control " + words[2] + " in \"" + words[1] + "\"");
  }
  if (!verb.run(*m_session, line)) return false;
  platform::PumpMessages();
  NoticeListFocus();  // the list the terminal's List menu is for
  return true;
}

}  // namespace terminal
