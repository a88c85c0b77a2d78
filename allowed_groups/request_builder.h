// One request in the making, over the plugin context's message and buffer:
// fields go in only while every earlier one did. A refused request-name
// field is logged; any other refused field ends the request silently.
#pragma once

#include <cstdint>

#include "allowed_groups/core/group_request.h"
#include "allowed_groups/core/request_tags.h"
#include "platform/afx.h"
#include "plugin/plugin_context.h"
#include "plugin/terminal_link.h"

// What a request reports at each outcome; a null text reports nothing.
struct RequestOutcome {
  const char* nameFailedLog;  // logged when the request-name field is refused
  const char* sendFailed;     // shown (and logged, when logSendFailure) when the terminal refuses
  bool logSendFailure;
  const char* sentLog;  // logged when the terminal accepts
};

class RequestBuilder {
 public:
  RequestBuilder(CPluginContext* context, const RequestOutcome& outcome)
      : m_context(context), m_outcome(outcome), m_ok(context != nullptr && context->BeginRequest()) {}

  RequestBuilder& Name(const char* requestName) {
    if (m_ok && !m_context->AddText(tag::kRequestName, requestName)) {
      m_ok = false;
      if (m_outcome.nameFailedLog != nullptr) plugin::AddToTabbedLog(m_outcome.nameFailedLog);
    }
    return *this;
  }
  RequestBuilder& Text(int32_t fieldTag, const CString& value) {
    if (m_ok && !m_context->AddText(fieldTag, value)) m_ok = false;
    return *this;
  }
  // Encoded fields in order; the one of tag::kRequestName is the name.
  RequestBuilder& Fields(const RequestFields& fields) {
    for (const RequestField& field : fields) {
      if (field.tag == tag::kRequestName) Name(field.text);
      else Text(field.tag, field.text);
    }
    return *this;
  }

  // 1 when the terminal accepted the message, 0 otherwise.
  int Send() {
    if (!m_ok) return 0;
    if (!m_context->Send()) {
      if (m_outcome.logSendFailure) plugin::AddToTabbedLog(m_outcome.sendFailed);
      AfxMessageBox(m_outcome.sendFailed);
      return 0;
    }
    if (m_outcome.sentLog != nullptr) plugin::AddToTabbedLog(m_outcome.sentLog);
    return 1;
  }

 private:
  CPluginContext* m_context;
  const RequestOutcome& m_outcome;
  bool m_ok;  // every field so far went in (set by the constructor)
};
