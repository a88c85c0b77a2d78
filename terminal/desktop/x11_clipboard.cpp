// The platform's headers before Xlib's (see x11_session.h).
#include "terminal/desktop/x11_clipboard.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <algorithm>
#include <chrono>

#include "terminal/desktop/clipboard_text.h"

namespace terminal::desktop {

namespace {

constexpr int kAnswerMs = 1000;
// Above this a transfer comes in pieces (INCR); we ask in pieces of this.
constexpr long kPieceLongs = 64 * 1024;

}  // namespace

XClipboard::XClipboard(XDisplay& display) : m_display(display) {
  Display* d = display.get();
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  m_window =
      XCreateWindow(d, display.Root(), -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attributes);
  m_clipboard = XInternAtom(d, "CLIPBOARD", False);
  m_targets = XInternAtom(d, "TARGETS", False);
  m_utf8 = display.utf8String;
  m_text = XInternAtom(d, "TEXT", False);
  m_string = XA_STRING;
  m_incr = XInternAtom(d, "INCR", False);
  m_property = XInternAtom(d, "TARN_CLIPBOARD", False);
}

XClipboard::~XClipboard() { XDestroyWindow(m_display.get(), m_window); }

void XClipboard::Publish(const std::string& text) {
  m_own = text;
  // From now on the X server sends the requests for CLIPBOARD here, until
  // another program takes it (SelectionClear): the server keeps who owns it.
  XSetSelectionOwner(m_display.get(), m_clipboard, m_window, CurrentTime);
}

bool XClipboard::WaitFor(int type, XEvent& event, int timeoutMs) {
  Display* d = m_display.get();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (XCheckTypedWindowEvent(d, m_window, type, &event)) return true;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{m_display.Fd(), POLLIN, 0};
    ::poll(&fd, 1, static_cast<int>(left));
  }
}

// One conversion of CLIPBOARD to `target`: the bytes, or nullopt when the
// owner refused or did not answer.
std::optional<std::string> XClipboard::Convert(Atom target) {
  Display* d = m_display.get();
  XDeleteProperty(d, m_window, m_property);
  XConvertSelection(d, m_clipboard, target, m_property, m_window, CurrentTime);
  XEvent event;
  if (!WaitFor(SelectionNotify, event, kAnswerMs) || event.xselection.property == None) return std::nullopt;
  std::string bytes;
  bool incremental = false;
  for (;;) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string piece;
    for (long offset = 0;; offset += kPieceLongs) {
      if (XGetWindowProperty(d, m_window, m_property, offset, kPieceLongs, False, AnyPropertyType, &type, &format,
                             &count, &after, &data) != Success) {
        return std::nullopt;
      }
      // Text comes in bytes; other units (the INCR notice's 32-bit size) are no text.
      if (data != nullptr && format == 8) piece.append(reinterpret_cast<const char*>(data), count);
      XFree(data);
      data = nullptr;
      if (after == 0) break;
    }
    if (!incremental && type == m_incr) {
      // The owner sends it in pieces, one per deletion of the property.
      incremental = true;
      // The notice's own arrival, queued before the answer, is no piece: the
      // wait below must see only the new values that follow our deletion.
      while (XCheckTypedWindowEvent(d, m_window, PropertyNotify, &event)) {
      }
      XDeleteProperty(d, m_window, m_property);
      XFlush(d);
    } else if (!incremental) {
      XDeleteProperty(d, m_window, m_property);
      return piece;
    } else {
      XDeleteProperty(d, m_window, m_property);
      XFlush(d);
      if (piece.empty()) return bytes;  // the empty piece ends it
      bytes += piece;
    }
    // The next piece: a new value of the property.
    for (;;) {
      if (!WaitFor(PropertyNotify, event, kAnswerMs)) return std::nullopt;
      if (event.xproperty.atom == m_property && event.xproperty.state == PropertyNewValue) break;
    }
  }
}

std::optional<std::string> XClipboard::Fetch() {
  const Window owner = XGetSelectionOwner(m_display.get(), m_clipboard);
  if (owner == None || owner == m_window) return std::nullopt;
  if (auto utf8 = Convert(m_utf8)) return ClipboardFromUtf8(*utf8);
  if (auto latin1 = Convert(m_string)) return ClipboardFromLatin1(*latin1);
  return std::nullopt;
}

void XClipboard::Answer(const XSelectionRequestEvent& request) {
  Display* d = m_display.get();
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = d;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  // An old client names no property: the target is the property.
  const Atom property = request.property != None ? request.property : request.target;
  reply.property = None;
  if (request.selection == m_clipboard) {
    if (request.target == m_targets) {
      const Atom offered[] = {m_targets, m_utf8, m_text, m_string};
      XChangeProperty(d, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered), 4);
      reply.property = property;
    } else if (request.target == m_utf8 || request.target == m_text || request.target == m_string) {
      const bool latin1 = request.target == m_string;
      const std::string text = latin1 ? ClipboardToLatin1(m_own) : ClipboardToUtf8(m_own);
      // Sent whole: what one request can carry (extended requests take
      // megabytes); a larger text is refused rather than cut.
      // (The extended size is 0 where the server has no extended requests.)
      const long limit = std::max(XExtendedMaxRequestSize(d), XMaxRequestSize(d));
      if (static_cast<long>(text.size()) < (limit - 64) * 4) {
        XChangeProperty(d, request.requestor, property, latin1 ? m_string : m_utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
        reply.property = property;
      }
    }
  }
  XSendEvent(d, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(d);
}

bool XClipboard::Handle(const XEvent& event) {
  switch (event.type) {
    case SelectionRequest:
      if (event.xselectionrequest.owner != m_window) return false;
      Answer(event.xselectionrequest);
      return true;
    case SelectionClear:  // another program took it: the server sends it the requests now
    case SelectionNotify:
    case PropertyNotify:
      // (And late answers to a request we gave up waiting for.)
      return event.xany.window == m_window;
    default: return false;
  }
}

}  // namespace terminal::desktop
