// A terminal in the test process: the host with the scrip master and an
// in-memory server, and the real plug-in shared object loaded beside the
// test executable. Every harness loads the plug-in afresh and unloads it at
// the end, so each test starts with the module's state as a terminal's
// first load finds it.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "allowed_groups/view_alg_grp_dlg.h"
#include "platform/afx.h"
#include "terminal/host/host.h"
#include "terminal/app/plugin_loader.h"
#include "terminal/script/script_runner.h"

namespace e2e {

class PluginHarness {
 public:
  PluginHarness();
  ~PluginHarness();
  PluginHarness(const PluginHarness&) = delete;
  PluginHarness& operator=(const PluginHarness&) = delete;

  terminal::LoadedPlugin& Plugin() { return *m_plugin; }
  terminal::Host& Host() { return *m_host; }

  void Init(const char* userId, CWnd* parent);
  void HotKey(const char* key, int flag = 0);
  // Runs script lines as a --script run does (hotkey reaches HotKey above);
  // fails the test on the first line that fails.
  void Do(std::initializer_list<std::string> lines);

  // The wire-log lines of the requests sent since the last call.
  std::vector<std::string> Sent();

  // The form's window (hidden or not); null before it exists.
  HWND Form() const;
  // The "View Allowed Group" dialog (it exists, hidden, once the form does),
  // taken from the framework's window map by its window: the plug-in
  // exports nothing for tests, and the dialog's inline members that tests
  // call (Rows(), List()) read the list through its window's messages.
  CViewAlgGrpDlg* View() const;
  // The texts of the message boxes shown since the harness started, in order.
  std::vector<std::string> Boxes() const;

  static std::string BinaryFolder();

 private:
  std::unique_ptr<terminal::Host> m_host;
  std::unique_ptr<terminal::LoadedPlugin> m_plugin;
  std::unique_ptr<terminal::ScriptRunner> m_runner;  // made by the first Do
  size_t m_boxesBefore = 0;                          // the process's message-box log's length at the start
  size_t m_wireSeen = 0;                             // the wire-log lines Sent() has read
};

}  // namespace e2e
