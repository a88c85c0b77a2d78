// The terminal as its plug-in sees it: the log, the scrip master, the host
// channel to the server stand-in and the registered receiver. One per
// process; the exported pu_ functions reach it through Host::Current().
#pragma once

#include <cstdio>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx.h"
#include "plugin/host_interface.h"
#include "terminal/host/scrip_master.h"
#include "terminal/server/message_codec.h"
#include "terminal/server/server_standin.h"

namespace terminal {

class Host;

// Takes finished requests: logs their bytes and queues them for the server,
// which answers them from the message queue; the replies are delivered
// through the queue too, as a network would deliver them.
class HostChannel final : public CVelaHostChannel {
 public:
  explicit HostChannel(Host& host) : m_host(host) {}
  int SendRequest(int32_t* sequence, mnm_hndl request, int32_t reserved, int* error) override;

  // Refuses every request while set (a terminal that lost its connection).
  bool refuseSends = false;

 private:
  Host& m_host;
  int32_t m_sequence = 0;
};

class Host {
 public:
  // `out` receives the LOG:/BOX: lines; the wire log, when given, one line
  // per request and reply.
  Host(ScripMaster scrips, std::unique_ptr<ServerStandIn> server, std::FILE* out, std::FILE* wireLog);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host* Current();

  void Log(const CString& text);
  // Tells each line the scrip master left out, once: on `err` (when given)
  // and in the log. Called once, at start.
  void ReportRefusedScrips(std::FILE* err);
  const std::vector<std::string>& LogLines() const { return m_log; }

  const ScripMaster& Scrips() const { return m_scrips; }
  ServerStandIn& Server() { return *m_server; }
  HostChannel& Channel() { return m_channel; }

  void RegisterReceiver(CVelaRxNotifierBase* receiver) { m_receiver = receiver; }
  CVelaRxNotifierBase* Receiver() const { return m_receiver; }

  // A request's bytes, as the channel hands them over: logged, and queued
  // for the server.
  void OnRequest(std::span<const char> bytes);
  // The server answers every request queued since it last answered, as one
  // batch (ServerStandIn::HandleBatch: committed together, answered after
  // the commit); each answer is printed and logged, and its replies queued
  // for delivery. Called from the message queue, which holds one serving
  // message while requests wait; so a request is answered after whatever
  // its sender logs on handing it over.
  void ServeRequests();
  // Queues bytes as if the server had sent them (tests of what a network
  // can deliver); they reach the receiver through the message queue.
  void InjectReply(std::vector<char> bytes);
  // Delivers the next queued reply, or the next batch of a list-all's
  // replies, to the receiver; called from the message queue, which holds
  // one delivery message while replies are due.
  void DeliverReplies();
  // Every request and every reply seen, as wire-log lines, oldest first,
  // except the list-all's replies (one per stored group, so possibly
  // millions): those go to the wire-log file only.
  const std::vector<std::string>& Wire() const { return m_wire; }
  // Writes out what the wire log holds; a log that cannot be written is
  // told once on standard error and not written again.
  void FlushWire();
  // The wire log could not be written: lines were lost.
  bool WireLogFailed() const { return m_wireLogFailed; }
  // Prints a line of the server's on the terminal's output and in its log.
  void ServerSays(std::string line);

  // The terminal's own top-level window: parent of the form, target of the
  // reply deliveries.
  CWnd& MainWindow();
  // The list box in the main window that shows the log lines and the
  // server's failures (terminal/host/log_pane.h).
  HWND LogWindow();
  // Where the log on screen takes each line's time (terminal/host/log_pane.h).
  void SetLogClock(std::function<std::time_t()> clock);

 private:
  // The wire line of bytes that `parsed` holds (the request name read from
  // that parse); `keep` also keeps it in memory.
  void WriteWire(const char* direction, std::span<const char> bytes, const MessageReader& parsed, bool keep);
  // The SERVER: line of a reply, if it has one: every add or delete answer
  // (its group as the server read it in `group`), and every failure.
  void ReportAnswer(const MessageReader& parsed, const std::string& group);
  // A reply's bytes: parsed once into m_reader, logged, checked for a
  // failure and handed to the receiver from the same parse.
  void Deliver(std::span<const char> reply, bool logged, bool keepWire);
  void PostDelivery();
  void PostServing();

  // One answer waiting for the message queue: bytes already logged, or the
  // stream of a list-all, logged as each reply is built.
  struct Pending {
    std::vector<char> bytes;
    std::unique_ptr<GroupStream> stream;
  };

  ScripMaster m_scrips;
  std::unique_ptr<ServerStandIn> m_server;
  std::FILE* m_out;
  std::FILE* m_wireLog;
  bool m_wireLogFailed = false;
  HostChannel m_channel{*this};
  CVelaRxNotifierBase* m_receiver = nullptr;
  std::vector<std::string> m_log;
  std::vector<std::string> m_wire;
  std::vector<std::vector<char>> m_requests;  // waiting for the server, in order
  bool m_servingPosted = false;
  std::deque<Pending> m_pending;
  // The list-all batch being delivered and the place of its next reply: a
  // receiver that runs the message loop meanwhile goes on with it, in order.
  std::shared_ptr<ReplyBatch> m_batch;
  size_t m_batchNext = 0;
  bool m_deliveryPosted = false;
  std::string m_line;  // the wire line being written, kept for its capacity
  // The one parse of each reply as it is delivered, and of each request and
  // reply as it is sent or arrives: apart, because the receiver may send a
  // request while it still reads the reply it was handed.
  MessageReader m_reader;
  MessageReader m_arrivals;
  std::unique_ptr<CWnd> m_mainWindow;
};

}  // namespace terminal
