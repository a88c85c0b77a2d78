// The plugin context: the one object tying the form to the middleware and the
// terminal. Built on the form's first dialog initialisation, never rebuilt,
// never destroyed; a failed step leaves its field null and construction goes on.
#pragma once

#include <cstdint>

#include "mml/mml.h"
#include "platform/cstring.h"
#include "plugin/host_interface.h"

class CAlwGrpReqRx;

class CPluginContext {
 public:
  CPluginContext();
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
  CAlwGrpReqRx* m_pReceiver = nullptr;
  CVelaHostChannel* m_pChannel = nullptr;
};
