#include "allowed_groups/core/group_text.h"

#include <deque>
#include <mutex>
#include <unordered_map>

namespace {

struct Pool {
  std::mutex lock;
  std::deque<CString> texts;  // stable addresses: a deque never moves what it holds
  std::unordered_map<std::string_view, const CString*> byText;
};

Pool& ThePool() {
  // Made on first use, so destroyed at exit or unload before the statics
  // made earlier (the form and its view, whose records point here): those
  // only drop their pointers then, they read no text. A pool left on the
  // heap would outlive the unloaded plug-in that alone could reach it.
  static Pool pool;
  return pool;
}

}  // namespace

const CString* CGroupText::Intern(std::string_view text) {
  if (text.empty()) return &Empty();
  Pool& pool = ThePool();
  std::lock_guard guard(pool.lock);
  if (const auto found = pool.byText.find(text); found != pool.byText.end()) return found->second;
  const CString& kept = pool.texts.emplace_back(text);
  pool.byText.emplace(kept.view(), &kept);
  return &kept;
}
