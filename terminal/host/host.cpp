#include "terminal/host/host.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "terminal/host/log_pane.h"
#include "terminal/server/message_codec.h"

namespace terminal {

namespace {

Host* g_current = nullptr;

// A reply "arrived from the network": the pump delivers it later.
constexpr UINT WM_TERMINAL_REPLY = WM_APP + 1;
// Requests wait for the server: the pump lets it answer them.
constexpr UINT WM_TERMINAL_SERVE = WM_APP + 2;

// The terminal's frame window, with its log along the bottom. Replies
// posted to it are delivered to the plug-in's receiver from the message
// loop, one at a time.
class TerminalWindow : public CWnd {
 public:
  LogPane& Log() { return m_log; }

 protected:
  int OnCreate(LPCREATESTRUCT cs) override {
    if (CWnd::OnCreate(cs) == -1) return -1;
    m_log.Create(m_hWnd);
    return 0;
  }
  void OnSize(UINT type, int cx, int cy) override {
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED) m_log.Layout(cx, cy);
  }
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message == WM_TERMINAL_REPLY || message == WM_TERMINAL_SERVE) {
      if (Host* host = Host::Current()) {
        if (message == WM_TERMINAL_REPLY) {
          host->DeliverReplies();
        } else {
          host->ServeRequests();
        }
      }
      *result = 0;
      return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }

 private:
  LogPane m_log;
};

}  // namespace

int HostChannel::SendRequest(int32_t* sequence, mnm_hndl request, int32_t, int* error) {
  if (sequence != nullptr) *sequence = ++m_sequence;
  mml_data bytes{};
  int err = 0;
  if (refuseSends || !mnm_get_msg(request, &bytes, &err)) {
    if (error != nullptr) *error = refuseSends ? 1 : err;
    return 0;
  }
  // *error is the reason for a refusal; an accepted request leaves it alone.
  m_host.OnRequest(std::span<const char>(bytes.data, static_cast<size_t>(bytes.len)));
  return 1;
}

Host::Host(ScripMaster scrips, std::unique_ptr<ServerStandIn> server, std::FILE* out, std::FILE* wireLog)
    : m_scrips(std::move(scrips)), m_server(std::move(server)), m_out(out), m_wireLog(wireLog) {
  g_current = this;
}

Host::~Host() {
  // Streams end before the server whose statements they hold. Requests
  // still queued were never answered, so nothing was promised for them.
  m_batch.reset();
  m_pending.clear();
  if (AfxGetMainWnd() == m_mainWindow.get()) platform::SetMainWindow(nullptr);
  m_requests.clear();
  if (m_mainWindow && m_mainWindow->GetSafeHwnd()) m_mainWindow->DestroyWindow();
  if (g_current == this) g_current = nullptr;
}

Host* Host::Current() { return g_current; }

CWnd& Host::MainWindow() {
  if (!m_mainWindow) {
    m_mainWindow = std::make_unique<TerminalWindow>();
    m_mainWindow->CreateEx(0, "TarnTraderFrame", "TarnTrader", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 700, nullptr, 0);
    // The frame owns the windows a plug-in opens without naming a parent.
    platform::SetMainWindow(m_mainWindow.get());
  }
  return *m_mainWindow;
}

void Host::Log(const CString& text) {
  m_log.emplace_back(text.GetString());
  if (m_out != nullptr) std::fprintf(m_out, "LOG: %s\n", text.GetString());
  static_cast<TerminalWindow&>(MainWindow()).Log().Add(text.GetString());
}

void Host::ReportRefusedScrips(std::FILE* err) {
  for (const std::string& sentence : m_scrips.Refusals()) {
    if (err != nullptr) std::fprintf(err, "tarnterm: %s\n", sentence.c_str());
    Log(sentence.c_str());
  }
}

HWND Host::LogWindow() { return static_cast<TerminalWindow&>(MainWindow()).Log().Hwnd(); }

void Host::SetLogClock(std::function<std::time_t()> clock) {
  static_cast<TerminalWindow&>(MainWindow()).Log().SetClock(std::move(clock));
}

void Host::WriteWire(const char* direction, std::span<const char> bytes, const MessageReader& parsed, bool keep) {
  if (m_wireLog == nullptr && !keep) return;
  // The request name is tag 0 of a request and tag 32767 of a reply; "?" when
  // the bytes are no message or carry neither.
  std::string_view name = "?";
  if (parsed.Parsed()) {
    if (const auto request = parsed.First(0); request && !request->empty()) {
      name = *request;
    } else if (const auto reply = parsed.First(kTagReplyName)) {
      name = *reply;
    }
  }
  static constexpr char kDigits[] = "0123456789ABCDEF";
  m_line.assign(direction);
  m_line += ' ';
  m_line += name;
  m_line += ' ';
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    m_line += kDigits[b >> 4];
    m_line += kDigits[b & 15];
  }
  if (m_wireLog != nullptr && !m_wireLogFailed) {
    m_line += '\n';
    std::fwrite(m_line.data(), 1, m_line.size(), m_wireLog);
    m_line.pop_back();
  }
  if (keep) m_wire.push_back(m_line);
}

void Host::FlushWire() {
  if (m_wireLog == nullptr || m_wireLogFailed) return;
  if (std::fflush(m_wireLog) == 0 && std::ferror(m_wireLog) == 0) return;
  // Told once; the lines after it would be lost as well, so none is tried.
  const int why = errno;
  m_wireLogFailed = true;
  std::fprintf(stderr, "tarnterm: the wire log cannot be written (%s): its lines are lost from here on\n",
               why != 0 ? std::strerror(why) : "write error");
}

void Host::OnRequest(std::span<const char> bytes) {
  m_arrivals.Parse(bytes);
  WriteWire("SEND", bytes, m_arrivals, true);
  FlushWire();
  m_requests.emplace_back(bytes.begin(), bytes.end());
  PostServing();
}

void Host::ServeRequests() {
  m_servingPosted = false;
  if (m_requests.empty()) return;
  const std::vector<std::vector<char>> requests = std::move(m_requests);
  m_requests.clear();
  std::vector<ServerStandIn::Answer> answers = m_server->HandleBatch(requests);
  for (ServerStandIn::Answer& answer : answers) {
    for (auto& reply : answer.replies) {
      // Logged and reported as it arrives; delivered when the queue gets to it.
      m_arrivals.Parse(reply);
      WriteWire("RECV", reply, m_arrivals, true);
      ReportAnswer(m_arrivals, answer.group);
      m_pending.push_back(Pending{std::move(reply), nullptr});
    }
    if (answer.stream) {
      // The store is read and the replies built on the stream's own thread
      // while the receiver decodes the ones before.
      answer.stream->ReadAhead();
      m_pending.push_back(Pending{{}, std::move(answer.stream)});
    }
  }
  // Each answer is committed: say so at once, not when a buffer fills.
  if (m_out != nullptr) std::fflush(m_out);
  FlushWire();
  PostDelivery();
}

void Host::ReportAnswer(const MessageReader& parsed, const std::string& group) {
  // The plug-in ignores add and delete replies, so the terminal is where
  // the server's answer becomes visible.
  if (!parsed.Parsed()) return;
  const auto status = parsed.First(kTagReplyStatus);
  // Other successes (a million list-all replies) show in the plug-in's own windows.
  if ((!status || *status == kStatusOk) && group.empty()) return;
  const std::string name(parsed.First(kTagReplyName).value_or("?"));
  const auto words = parsed.First(kTagReplyReason);
  std::string line = "SERVER: ";
  if (!status || *status == kStatusOk) {
    // The add under the name the plug-in's log gives it.
    line += (name == "ks_publish_allowed_group" ? "ks_add_allowed_group" : name) + " " +
            std::string(words.value_or("done")) + ": " + group;
  } else {
    line += name + " failed (status " + std::string(*status) + ")";
    if (words) line += ": " + std::string(*words);
    if (!group.empty()) line += ": " + group;
  }
  ServerSays(std::move(line));
}

void Host::ServerSays(std::string line) {
  if (m_out != nullptr) std::fprintf(m_out, "%s\n", line.c_str());
  static_cast<TerminalWindow&>(MainWindow()).Log().Add(line);
}

void Host::InjectReply(std::vector<char> bytes) {
  m_arrivals.Parse(bytes);
  WriteWire("RECV", bytes, m_arrivals, true);
  FlushWire();
  m_pending.push_back(Pending{std::move(bytes), nullptr});
  PostDelivery();
}

void Host::PostServing() {
  if (m_servingPosted || m_requests.empty()) return;
  m_servingPosted = true;
  MainWindow().PostMessage(WM_TERMINAL_SERVE);
}

void Host::PostDelivery() {
  if (m_deliveryPosted || m_pending.empty()) return;
  m_deliveryPosted = true;
  MainWindow().PostMessage(WM_TERMINAL_REPLY);
}

void Host::Deliver(std::span<const char> reply, bool logged, bool keepWire) {
  const bool parsed = m_reader.Parse(reply);
  if (!logged) {
    WriteWire("RECV", reply, m_reader, keepWire);
    ReportAnswer(m_reader, {});
  }
  if (m_receiver != nullptr && parsed) m_receiver->OnRxMessage(0, m_reader.Handle(), 0, 0);
}

void Host::DeliverReplies() {
  // One reply per delivery message, or one batch of a list-all's (a few
  // hundred, a millisecond or so), keeps replies interleaved with other
  // input as a network would; the queue keeps their order. The next
  // delivery is posted before the receiver runs, so that a reply the
  // receiver's work queues behind it still arrives.
  m_deliveryPosted = false;
  if (m_batch == nullptr || m_batchNext >= m_batch->Size()) {
    m_batch.reset();
    if (m_pending.empty()) return;
    Pending& front = m_pending.front();
    if (!front.stream) {
      const std::vector<char> reply = std::move(front.bytes);
      m_pending.pop_front();
      PostDelivery();
      Deliver(reply, true, false);
      return;
    }
    m_batch = front.stream->TakeNextBatch();
    m_batchNext = 0;
    if (m_batch == nullptr) {
      m_pending.pop_front();
      FlushWire();
      PostDelivery();
      return;
    }
  }
  PostDelivery();
  while (m_batch != nullptr && m_batchNext < m_batch->Size()) {
    // Kept alive here should the receiver's message loop move on to the next batch.
    const std::shared_ptr<ReplyBatch> batch = m_batch;
    Deliver((*batch)[m_batchNext++], false, false);
  }
}

}  // namespace terminal
