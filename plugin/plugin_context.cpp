#include "plugin/plugin_context.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "allowed_groups/alw_grp_req_rx.h"
#include "platform/user/message_box.h"
#include "plugin/terminal_link.h"

extern char** environ;

namespace {

// The process's argument vector as the C runtime holds it: read once from
// /proc, since a library is not handed main's arguments.
struct ProcessArguments {
  std::vector<std::string> storage;
  std::vector<char*> argv;
  ProcessArguments() {
    if (FILE* f = std::fopen("/proc/self/cmdline", "rb")) {
      std::string current;
      for (int c; (c = std::fgetc(f)) != EOF;) {
        if (c == '\0') {
          storage.push_back(current);
          current.clear();
        } else {
          current.push_back(static_cast<char>(c));
        }
      }
      std::fclose(f);
    }
    for (auto& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
  }
};

}  // namespace

CPluginContext::CPluginContext() {
  int error = 0;
  static ProcessArguments arguments;
  if (!mml_env_init(static_cast<int32_t>(arguments.storage.size()), arguments.argv.data(), environ, 2, 0, &error)) {
    AfxMessageBox("environment intialisation failed in Allowed Groups Plugin");
  }
  if (!mnm_open(&m_hMessage, &error)) {
    AfxMessageBox("MnmHndl Open failed in Allowed Groups Plugin");
  }
  if (!buf_open(&m_hBuffer, 4096, &error)) {
    AfxMessageBox("BufHndl Open failed in Allowed Groups Plugin");
  }
  m_pReceiver = std::make_unique<CAlwGrpReqRx>();
  auto registerReceiver = plugin::TerminalExport<PFN_GetVelaRxControl>("GetVelaRxControl");
  if (registerReceiver == nullptr) {
    AfxMessageBox("From QLX Connection to vela failed");
  } else {
    m_pChannel = registerReceiver(0, m_pReceiver.get());
  }
}

CPluginContext::~CPluginContext() {
  int error = 0;
  if (m_hMessage != nullptr) mnm_close(&m_hMessage, &error);
  if (m_hBuffer != nullptr) buf_close(&m_hBuffer, &error);
}

bool CPluginContext::BeginRequest() {
  int error = 0;
  if (m_hBuffer != nullptr) m_hBuffer->used = 0;
  if (m_hMessage == nullptr || m_hBuffer == nullptr || !mnm_init_msg(m_hMessage, m_hBuffer, &error)) {
    AfxMessageBox(" Request failure");
    return false;
  }
  return true;
}

bool CPluginContext::AddText(int32_t tag, const CString& text) {
  int error = 0;
  // The middleware takes a mutable descriptor type but only reads the bytes.
  // An empty text keeps its non-null pointer: the middleware refuses such a
  // value, which is how an empty exchange code or user ID ends a request.
  mml_data value{const_cast<char*>(text.GetString()), text.GetLength()};
  return mnm_add_field(m_hMessage, tag, 1, &value, &error) != 0;
}

bool CPluginContext::Send() {
  // What a request does without a channel is ours to choose: it fails like a
  // refused send, so the user sees the request's failure text.
  if (m_pChannel == nullptr) return false;
  int32_t sequence = 0;
  int error = 0;
  return m_pChannel->SendRequest(&sequence, m_hMessage, 0, &error) != 0;
}
