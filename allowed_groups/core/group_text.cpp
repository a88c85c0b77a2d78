#include "allowed_groups/core/group_text.h"

#include "allowed_groups/core/text_pool.h"

namespace {

struct Pool {
  std::mutex lock;
  CTextPool texts;
  CTextPool keptAsSent{true};
};

Pool& ThePool() {
  // Made on first use, so destroyed at exit or unload before the statics
  // made earlier (the form and its view, whose records point here): those
  // only drop their pointers then, they read no text. A pool left on the
  // heap would outlive the unloaded plug-in that alone could reach it.
  static Pool pool;
  return pool;
}

// Whether this thread holds the pool's lock through a Batch.
thread_local bool t_inBatch = false;

}  // namespace

CGroupText::Batch::Batch() {
  if (t_inBatch) return;  // an outer batch holds the lock already
  m_lock = std::unique_lock(ThePool().lock);
  t_inBatch = true;
}

CGroupText::Batch::~Batch() {
  if (m_lock.owns_lock()) t_inBatch = false;
}

const char* CGroupText::Intern(std::string_view text) {
  if (text.empty()) return EmptyText();
  Pool& pool = ThePool();
  if (t_inBatch) return pool.texts.Intern(text);
  std::lock_guard guard(pool.lock);
  return pool.texts.Intern(text);
}

CGroupText CGroupText::KeptAsSent(std::string_view text) {
  if (text.empty()) return CGroupText();
  Pool& pool = ThePool();
  if (t_inBatch) return CGroupText(Pooled_{}, pool.keptAsSent.Intern(text));
  std::lock_guard guard(pool.lock);
  return CGroupText(Pooled_{}, pool.keptAsSent.Intern(text));
}
