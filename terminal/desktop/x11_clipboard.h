// The platform's clipboard on the X display's CLIPBOARD selection, so that
// rows copied in the terminal paste into a spreadsheet or a mail, and what
// another program copied pastes into the terminal's boxes.
//
// After a copy in the terminal (platform::ClipboardBridge::published) a
// window of ours that is never shown owns CLIPBOARD and answers requests
// for TARGETS, UTF8_STRING, TEXT and STRING. When another program owns it,
// a paste asks that program for UTF8_STRING (else STRING) and waits for
// the answer at most a second, reading a large one in pieces (INCR); the
// session's other events stay queued meanwhile.
#pragma once

// The platform's headers before Xlib's (see x11_session.h).
#include "platform/afx.h"

#include <optional>
#include <string>

#include "terminal/desktop/x11_display.h"

namespace terminal::desktop {

class XClipboard {
 public:
  explicit XClipboard(XDisplay& display);
  ~XClipboard();
  XClipboard(const XClipboard&) = delete;
  XClipboard& operator=(const XClipboard&) = delete;

  // Takes CLIPBOARD with this text (the platform's: Windows-1252, CR LF).
  void Publish(const std::string& text);
  // The text another program holds, in the platform's form; nullopt when we
  // own the selection, nobody does, or the owner does not answer in time.
  std::optional<std::string> Fetch();
  // A selection event for our window: answered or noted; false for any
  // other event.
  bool Handle(const XEvent& event);

 private:
  void Answer(const XSelectionRequestEvent& request);
  bool WaitFor(int type, XEvent& event, int timeoutMs);
  std::optional<std::string> Convert(Atom target);

  XDisplay& m_display;
  Window m_window = None;
  Atom m_clipboard, m_targets, m_utf8, m_text, m_string, m_incr, m_property;
  std::string m_own;  // what we offer, in the platform's form
};

}  // namespace terminal::desktop
