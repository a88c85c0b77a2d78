// The plugin context: the one object tying the form to the middleware and the
// terminal. Built on the form's first dialog initialisation and never rebuilt;
// it lives until the module unloads. A failed step leaves its field null and
// construction goes on.
#pragma once

#include <cstdint>
#include <memory>

#include "mml/mml.h"
#include "platform/base/cstring.h"
#include "plugin/host_interface.h"

class CAlwGrpReqRx;

class CPluginContext {
 public:
  CPluginContext();
  // At unload: the handles and the receiver go; the middleware environment
  // stays for whoever else in the process uses it.
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
  std::unique_ptr<CAlwGrpReqRx> m_pReceiver;
  CVelaHostChannel* m_pChannel = nullptr;
};
