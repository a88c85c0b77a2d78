// The plugin context: the one object tying the form to the middleware and the
// terminal. Built on the form's first dialog initialisation and never rebuilt;
// it lives until the module unloads. A failed step leaves its field null and
// construction goes on. It knows the receiver of replies only through the
// terminal's interface: the form, above it, makes the receiver and keeps it.
#pragma once

#include <cstdint>

#include "mml/mml.h"
#include "platform/base/cstring.h"
#include "plugin/host_interface.h"

class CPluginContext {
 public:
  // Registers receiver with the terminal. REQUIRES: receiver outlives the
  // context.
  explicit CPluginContext(CVelaRxNotifierBase& receiver);
  // At unload: the handles go; the middleware environment stays for whoever
  // else in the process uses it.
  ~CPluginContext();
  CPluginContext(const CPluginContext&) = delete;
  CPluginContext& operator=(const CPluginContext&) = delete;

  // Starts a request: empties the output buffer (keeping its storage) and
  // begins a message in it. False when the message cannot be started, after
  // showing " Request failure".
  bool BeginRequest();
  // Appends one text field; false when the middleware refuses it.
  bool AddText(int32_t tag, const CString& text);
  // Hands the finished message to the host channel; false when refused or
  // when there is no channel.
  bool Send();

  mnm_hndl m_hMessage = nullptr;
  buf_hndl m_hBuffer = nullptr;
  CVelaRxNotifierBase* m_pReceiver = nullptr;  // not owned
  CVelaHostChannel* m_pChannel = nullptr;
};
