#include "tests/plugin_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/kernel/module.h"
#include "terminal/readout/window_dump.h"

namespace e2e {

namespace {

struct MiddlewareStart {
  MiddlewareStart() {
    int err = 0;
    static char* noEnvironment[] = {nullptr};
    mml_env_init(0, nullptr, noEnvironment, 2, 0, &err);
  }
};

}  // namespace

std::string PluginHarness::BinaryFolder() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return platform::PathFolder(path);
}

PluginHarness::PluginHarness() {
  static MiddlewareStart middleware;
  std::string error;
  auto scrips = terminal::ScripMaster::Load(BinaryFolder() + "/scrips.csv", error);
  if (!scrips) throw std::runtime_error(error);
  m_host = std::make_unique<terminal::Host>(std::move(*scrips), std::make_unique<terminal::ServerStandIn>(":memory:"),
                                            nullptr, nullptr);
  m_boxesBefore = platform::MessageBoxLog().size();
  platform::SetMessageBoxResponder({});
  m_plugin = std::make_unique<terminal::LoadedPlugin>(BinaryFolder() + "/AllowedGroups.so", error);
  if (!m_plugin->ok()) throw std::runtime_error(error);
}

PluginHarness::~PluginHarness() {
  platform::PumpMessages();
  m_runner.reset();
  m_host.reset();    // its frame window takes the plug-in's windows with it
  m_plugin.reset();  // unloads the plug-in
}

void PluginHarness::Init(const char* userId, CWnd* parent) {
  sTarnHostRecord record{};
  record.pParentWnd = parent;
  m_plugin->InitTarnPlugin(&record, userId, nullptr, CString());
  platform::PumpMessages();
}

void PluginHarness::HotKey(const char* key, int flag) {
  CString text(key);
  m_plugin->PluginProcessHotKey(text, flag);
  platform::PumpMessages();
}

void PluginHarness::Do(std::initializer_list<std::string> lines) {
  if (!m_runner) {
    m_runner = std::make_unique<terminal::ScriptRunner>(
        *m_host,
        [this](const std::string& key, std::string&) {
          HotKey(key.c_str());
          return true;
        },
        stdout, stderr);
  }
  for (const std::string& line : lines) {
    std::string error;
    const auto words = terminal::SplitScriptLine(line, error);
    ASSERT_TRUE(words && m_runner->RunLine(*words, error)) << line << ": " << error;
  }
}

std::vector<std::string> PluginHarness::Sent() {
  std::vector<std::string> sent;
  const auto& wire = m_host->Wire();
  for (; m_wireSeen < wire.size(); ++m_wireSeen) {
    if (wire[m_wireSeen].rfind("SEND ", 0) == 0) sent.push_back(wire[m_wireSeen]);
  }
  return sent;
}

HWND PluginHarness::Form() const { return terminal::FindTopLevelWindow("Allowed Groups"); }

CViewAlgGrpDlg* PluginHarness::View() const {
  // The plug-in's own class: a static cast, as its type information stays
  // inside the plug-in.
  return static_cast<CViewAlgGrpDlg*>(CWnd::FromHandlePermanent(terminal::FindTopLevelWindow("View Allowed Group")));
}

std::vector<std::string> PluginHarness::Boxes() const {
  // The log is the process's: a message box shown before this harness (or a
  // log shorter than when it started) is none of its business.
  const auto boxes = platform::MessageBoxLog();
  std::vector<std::string> texts;
  for (size_t i = m_boxesBefore; i < boxes.size(); ++i) texts.push_back(boxes[i].text);
  return texts;
}

}  // namespace e2e
