#include "platform/window/message_queue.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/window/move_size.h"
#include "platform/window/window_registry.h"

namespace platform {
namespace {

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  uint64_t due = 0;
  TIMERPROC proc = nullptr;
};

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

struct QueueState {
  // Guarded by mutex: posted messages and the quit request may come from any thread.
  std::mutex mutex;
  std::condition_variable posted;
  std::deque<MSG> messages;
  std::optional<int> quitCode;

  // User-interface thread only.
  ClockMode mode = ClockMode::Manual;
  uint64_t manualNow = 0;
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 0x7FFF0000;
  std::map<std::string, UINT, CaseInsensitiveLess> registered;
  ModalResponder responder;
  ExternalWait externalWait;
  uint64_t delivered = 0;
  DWORD lastMessageTime = 0;
};

QueueState& State() {
  static auto* state = new QueueState;  // leaked: see WindowRegistry::Get
  return *state;
}

uint64_t RealNow() {
  static const auto start = std::chrono::steady_clock::now();
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

bool Matches(const MSG& m, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (hwnd != nullptr && m.hwnd != hwnd && !IsSelfOrDescendant(hwnd, m.hwnd)) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return m.message >= filterMin && m.message <= filterMax;
}

std::optional<MSG> TakePosted(HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  for (auto it = s.messages.begin(); it != s.messages.end(); ++it) {
    if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
    MSG m = *it;
    if (remove) s.messages.erase(it);
    return m;
  }
  if (s.quitCode && s.messages.empty()) {
    MSG quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(*s.quitCode);
    return quit;
  }
  return std::nullopt;
}

// The due timer that fires first, if any: timers are kept in the order they
// were set (setting one again moves it to the end), so of those due at once
// the first found wins.
Timer* NextDueTimer(uint64_t now) {
  Timer* best = nullptr;
  for (Timer& t : State().timers) {
    if (t.due > now) continue;
    if (best == nullptr || t.due < best->due) best = &t;
  }
  return best;
}

std::optional<uint64_t> EarliestDue() {
  std::optional<uint64_t> due;
  for (const Timer& t : State().timers) due = due ? std::min(*due, t.due) : t.due;
  return due;
}

// Milliseconds until the earliest timer is due on the real clock, 0 when one
// is due already; none without timers or on the manual clock (where time
// moves only when a test says so, so a wait for a timer would never end).
std::optional<uint64_t> MsUntilEarliestTimer() {
  if (State().mode != ClockMode::RealTime) return std::nullopt;
  const auto due = EarliestDue();
  if (!due) return std::nullopt;
  const uint64_t now = ClockNow();
  return *due > now ? *due - now : 0;
}

std::optional<MSG> TakePaint(HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  const HWND dirty = NextWindowToPaint();
  if (dirty == nullptr) return std::nullopt;
  MSG m;
  m.hwnd = dirty;
  m.message = WM_PAINT;
  if (!Matches(m, hwnd, filterMin, filterMax)) return std::nullopt;
  if (remove) ::ValidateRect(dirty, nullptr);
  return m;
}

std::optional<MSG> TakeTimer(HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
  const uint64_t now = ClockNow();
  Timer* t = NextDueTimer(now);
  if (t == nullptr) return std::nullopt;
  MSG m;
  m.hwnd = t->hwnd;
  m.message = WM_TIMER;
  m.wParam = t->id;
  m.lParam = reinterpret_cast<LPARAM>(t->proc);
  m.time = static_cast<DWORD>(now);
  if (!Matches(m, hwnd, filterMin, filterMax)) return std::nullopt;
  if (remove) t->due = now + t->interval;
  return m;
}

bool KillTimerEntry(HWND hwnd, UINT_PTR id) {
  auto& timers = State().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return false;
  timers.erase(it);
  return true;
}

void Deliver(MSG& msg) {
  if (msg.hwnd != nullptr && !::IsWindow(msg.hwnd)) return;  // its window is gone
  ++State().delivered;
  NoteInputMessage(msg.message);
  DispatchScope scope;
  // A move, a size or a held caption box takes the mouse and the keys first.
  if (TakeMoveSizeInput(msg)) return;
  if (PreTranslate(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessage(&msg);
}

// Waits through the installed outside source; it may deliver input itself.
void WaitExternally() {
  auto& s = State();
  int timeout = kExternalWaitSliceMs;
  {
    std::lock_guard lock(s.mutex);
    if (!s.messages.empty() || s.quitCode) return;
  }
  if (const auto until = MsUntilEarliestTimer()) {
    if (*until == 0) return;
    timeout = static_cast<int>(std::min<uint64_t>(*until, kExternalWaitSliceMs));
  }
  ExternalWait wait = s.externalWait;  // it may replace itself
  wait(timeout);
}

void WaitForWork() {
  auto& s = State();
  if (s.externalWait) {
    WaitExternally();
    return;
  }
  std::unique_lock lock(s.mutex);
  if (!s.messages.empty() || s.quitCode) return;
  if (const auto until = MsUntilEarliestTimer()) {
    s.posted.wait_for(lock, std::chrono::milliseconds(*until));  // none at all when a timer is due now
    return;
  }
  s.posted.wait(lock);
}

}  // namespace

void SetClockMode(ClockMode mode) { State().mode = mode; }
ClockMode GetClockMode() { return State().mode; }

uint64_t ClockNow() {
  auto& s = State();
  return s.mode == ClockMode::Manual ? s.manualNow : RealNow();
}

void AdvanceClock(uint64_t ms) {
  auto& s = State();
  if (s.mode != ClockMode::Manual) throw std::logic_error("AdvanceClock needs the manual clock");
  const uint64_t target = s.manualNow + ms;
  PumpMessages();
  for (;;) {
    auto due = EarliestDue();
    if (!due || *due > target) break;
    s.manualNow = std::max(s.manualNow, *due);
    PumpMessages();
  }
  s.manualNow = target;
  PumpMessages();
}

bool PumpOne() {
  MSG msg;
  if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    // The quit stays pending until an outer loop takes it (PeekMessage
    // reports it but never consumes it here).
    return false;
  }
  Deliver(msg);
  return true;
}

int PumpMessages() {
  int delivered = 0;
  while (PumpOne()) ++delivered;
  return delivered;
}

int RunMessageLoop() {
  auto& s = State();
  for (;;) {
    PumpMessages();
    {
      std::lock_guard lock(s.mutex);
      if (s.quitCode && s.messages.empty()) {
        const int code = *s.quitCode;
        s.quitCode.reset();
        return code;
      }
    }
    WaitForWork();
  }
}

ModalEnd RunModalLoop(HWND modal, const std::function<bool()>& done) {
  auto& s = State();
  bool asked = false;
  while (!done()) {
    if (PumpOne()) continue;
    {
      std::lock_guard lock(s.mutex);
      if (s.quitCode && s.messages.empty()) return ModalEnd::Quit;
    }
    if (!asked && s.responder) {
      asked = true;
      ModalResponder responder = s.responder;  // it may replace itself
      responder(modal);
      continue;
    }
    if (s.mode == ClockMode::RealTime) {
      WaitForWork();
      continue;
    }
    return done() ? ModalEnd::Done : ModalEnd::Abandoned;
  }
  return ModalEnd::Done;
}

void SetModalResponder(ModalResponder responder) { State().responder = std::move(responder); }

void SetExternalWait(ExternalWait wait) { State().externalWait = std::move(wait); }

uint64_t DeliveredMessageCount() { return State().delivered; }

void KillWindowTimers(HWND hwnd) {
  auto& timers = State().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
               timers.end());
}

void ResetMessageQueue() {
  auto& s = State();
  {
    std::lock_guard lock(s.mutex);
    s.messages.clear();
    s.quitCode.reset();
  }
  s.timers.clear();
  s.manualNow = 0;
  s.responder = nullptr;
  s.externalWait = nullptr;
}

}  // namespace platform

using platform::State;

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& s = State();
  MSG m;
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  {
    std::lock_guard lock(s.mutex);
    s.messages.push_back(m);
  }
  s.posted.notify_all();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  auto& s = State();
  {
    std::lock_guard lock(s.mutex);
    s.quitCode = exitCode;
  }
  s.posted.notify_all();
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  const bool remove = (removeFlags & PM_REMOVE) != 0;
  std::optional<MSG> m = platform::TakePosted(hwnd, filterMin, filterMax, remove);
  if (!m) m = platform::TakePaint(hwnd, filterMin, filterMax, remove);
  if (!m) m = platform::TakeTimer(hwnd, filterMin, filterMax, remove);
  if (!m) return FALSE;
  if (m->time == 0) m->time = static_cast<DWORD>(platform::ClockNow());
  State().lastMessageTime = m->time;
  *msg = *m;
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  const char ch = platform::CharForKey(static_cast<UINT>(msg->wParam));
  if (ch == 0) return FALSE;
  ::PostMessage(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                static_cast<WPARAM>(static_cast<unsigned char>(ch)), msg->lParam);
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  return ::SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT RegisterWindowMessage(LPCSTR name) {
  if (name == nullptr || *name == '\0') return 0;
  auto& s = State();
  auto it = s.registered.find(name);
  if (it != s.registered.end()) return it->second;
  const size_t next = kFirstRegisteredMessage + s.registered.size();
  if (next > 0xFFFF) return 0;
  s.registered.emplace(name, static_cast<UINT>(next));
  return static_cast<UINT>(next);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  auto& s = State();
  if (hwnd != nullptr && !::IsWindow(hwnd)) return 0;
  if (hwnd == nullptr) {
    if (proc == nullptr) return 0;
    auto existing = std::find_if(s.timers.begin(), s.timers.end(),
                                 [&](const platform::Timer& t) { return t.hwnd == nullptr && t.id == id; });
    if (existing == s.timers.end()) id = ++s.nextThreadTimerId;
  }
  const UINT interval = std::clamp<UINT>(elapseMs, 10u, 0x7FFFFFFFu);
  platform::KillTimerEntry(hwnd, id);
  s.timers.push_back(platform::Timer{hwnd, id, interval, platform::ClockNow() + interval, proc});
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) { return platform::KillTimerEntry(hwnd, id) ? TRUE : FALSE; }
