#include "platform/user/message_box.h"

#include <mutex>

#include "platform/window/cwnd.h"

namespace platform {
namespace {

struct MessageBoxState {
  std::mutex mutex;  // the terminal may read the log from another thread
  std::vector<MessageBoxRecord> log;
  MessageBoxResponder responder;
};

MessageBoxState& State() {
  static auto* state = new MessageBoxState;  // leaked: see WindowRegistry::Get
  return *state;
}

}  // namespace

std::vector<int> MessageBoxButtons(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE: return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default: return {IDOK};
  }
}

int DefaultMessageBoxAnswer(UINT type) {
  const std::vector<int> buttons = MessageBoxButtons(type);
  const size_t index = (type & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  s.responder = std::move(responder);
}

std::vector<MessageBoxRecord> MessageBoxLog() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  return s.log;
}

void ClearMessageBoxLog() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  s.log.clear();
}

}  // namespace platform

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  auto& s = platform::State();
  platform::MessageBoxRecord record;
  record.owner = owner;
  record.text = text != nullptr ? text : "";
  if (caption != nullptr) record.caption = caption;
  record.type = type;
  size_t index = 0;
  platform::MessageBoxResponder responder;
  {
    std::lock_guard lock(s.mutex);
    index = s.log.size();
    s.log.push_back(record);
    responder = s.responder;
  }
  // Answered outside the lock: a responder may read the log or show a box itself.
  const int answer = responder ? responder(record) : platform::DefaultMessageBoxAnswer(type);
  std::lock_guard lock(s.mutex);
  if (index < s.log.size()) s.log[index].answer = answer;
  return answer;
}

int AfxMessageBox(LPCSTR text, UINT type, UINT) { return ::MessageBox(::GetActiveWindow(), text, nullptr, type); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) { return ::MessageBox(m_hWnd, text, caption, type); }
