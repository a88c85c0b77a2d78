#include "terminal/app/host.h"

#include <cstring>

#include "terminal/app/log_pane.h"
#include "terminal/server/message_codec.h"

namespace terminal {

namespace {

Host* g_current = nullptr;

// A reply "arrived from the network": the pump delivers it later.
constexpr UINT WM_TERMINAL_REPLY = WM_APP + 1;

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
    if (message == WM_TERMINAL_REPLY) {
      if (Host* host = Host::Current()) host->DeliverReplies();
      *result = 0;
      return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
  }

 private:
  LogPane m_log;
};

// The request name of a message, for the wire log; "?" when there is none.
std::string RequestName(std::span<const char> bytes) {
  const auto parsed = ParsedMessage::Parse(bytes);
  if (!parsed) return "?";
  const auto name = parsed->First(0);
  if (name && !name->empty()) return *name;
  return parsed->First(kTagReplyName).value_or("?");
}

}  // namespace

int HostChannel::SendRequest(int32_t* sequence, mnm_hndl request, int32_t, int* error) {
  if (sequence != nullptr) *sequence = ++m_sequence;
  mml_data bytes{};
  int err = 0;
  if (refuseSends || !mnm_get_msg(request, &bytes, &err)) {
    if (error != nullptr) *error = refuseSends ? 1 : err;
    return 0;
  }
  if (error != nullptr) *error = 0;
  m_host.OnRequest(std::span<const char>(bytes.data, static_cast<size_t>(bytes.len)));
  return 1;
}

Host::Host(ScripMaster scrips, std::unique_ptr<ServerStandIn> server, std::FILE* out, std::FILE* wireLog)
    : m_scrips(std::move(scrips)), m_server(std::move(server)), m_out(out), m_wireLog(wireLog) {
  g_current = this;
  int err = 0;
  mnm_open(&m_replyHandle, &err);
  buf_open(&m_replyBuffer, 4096, &err);
}

Host::~Host() {
  int err = 0;
  if (m_replyHandle) mnm_close(&m_replyHandle, &err);
  if (m_replyBuffer) buf_close(&m_replyBuffer, &err);
  if (m_mainWindow && m_mainWindow->GetSafeHwnd()) m_mainWindow->DestroyWindow();
  if (g_current == this) g_current = nullptr;
}

Host* Host::Current() { return g_current; }

CWnd& Host::MainWindow() {
  if (!m_mainWindow) {
    m_mainWindow = std::make_unique<TerminalWindow>();
    m_mainWindow->CreateEx(0, "TarnTraderFrame", "TarnTrader", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 700, nullptr, 0);
  }
  return *m_mainWindow;
}

void Host::Log(const CString& text) {
  m_log.emplace_back(text.GetString());
  if (m_out != nullptr) std::fprintf(m_out, "LOG: %s\n", text.GetString());
  static_cast<TerminalWindow&>(MainWindow()).Log().Add(text.GetString());
}

HWND Host::LogWindow() { return static_cast<TerminalWindow&>(MainWindow()).Log().Hwnd(); }

void Host::WriteWire(const char* direction, std::span<const char> bytes) {
  std::string line = std::string(direction) + " " + RequestName(bytes) + " " + Hex(bytes);
  if (m_wireLog != nullptr) {
    std::fprintf(m_wireLog, "%s\n", line.c_str());
    std::fflush(m_wireLog);
  }
  m_wire.push_back(std::move(line));
}

void Host::OnRequest(std::span<const char> bytes) {
  WriteWire("SEND", bytes);
  for (auto& reply : m_server->Handle(bytes)) {
    ReportFailure(reply);
    InjectReply(std::move(reply));
  }
}

void Host::ReportFailure(std::span<const char> reply) {
  // The plug-in ignores add and delete replies, so the terminal is where a
  // refusal becomes visible.
  const auto parsed = ParsedMessage::Parse(reply);
  if (!parsed) return;
  const auto status = parsed->First(kTagReplyStatus);
  if (!status || *status == kStatusOk) return;
  std::string line = "SERVER: " + parsed->First(kTagReplyName).value_or("?") + " failed (status " + *status + ")";
  if (const auto reason = parsed->First(kTagReplyReason)) line += ": " + *reason;
  if (m_out != nullptr) std::fprintf(m_out, "%s\n", line.c_str());
  static_cast<TerminalWindow&>(MainWindow()).Log().Add(line);
  m_serverFailures.push_back(std::move(line));
}

void Host::InjectReply(std::vector<char> bytes) {
  WriteWire("RECV", bytes);
  m_pending.push_back(std::move(bytes));
  MainWindow().PostMessage(WM_TERMINAL_REPLY);
}

void Host::DeliverReplies() {
  // One reply per posted message keeps replies interleaved with other input
  // as a network would; the queue keeps their order.
  if (m_pending.empty()) return;
  std::vector<char> reply = std::move(m_pending.front());
  m_pending.pop_front();
  int err = 0;
  m_replyBuffer->used = 0;
  if (!buf_reserve(m_replyBuffer, static_cast<int32_t>(reply.size()), &err)) return;
  std::memcpy(m_replyBuffer->data, reply.data(), reply.size());
  m_replyBuffer->used = static_cast<int32_t>(reply.size());
  if (m_receiver != nullptr && mnm_parse(m_replyHandle, nullptr, m_replyBuffer, &err)) {
    m_receiver->OnRxMessage(0, m_replyHandle, 0, 0);
  }
}

}  // namespace terminal
