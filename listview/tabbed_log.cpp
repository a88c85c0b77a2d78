#include "listview/tabbed_log.h"

#include <atomic>
#include <cstdio>

namespace listview {

namespace {

std::atomic<TabbedLog> g_log{nullptr};

}  // namespace

void SetTabbedLog(TabbedLog log) { g_log.store(log); }

void AddToTabbedLog(const CString& text) {
  if (const TabbedLog log = g_log.load()) {
    log(text);
    return;
  }
  std::fprintf(stderr, "%s\n", text.GetString());
}

}  // namespace listview
