// Which places of a window the desktop mode asked the X server for, so that
// the server's notices (ConfigureNotify) of those moves are told from a move
// someone else made (a window manager, a tool). Notices come in the order of
// the requests; one may be skipped when a run of notices is read at once.
#pragma once

#include <deque>

#include "platform/base/wintypes.h"

namespace terminal::desktop {

class PlaceLedger {
 public:
  explicit PlaceLedger(const RECT& place) : m_place(place) {}

  // The place asked for now.
  void Asked(const RECT& place);
  // The server says the window lies at `place`: true when that is a place
  // nobody here asked for (nor the one it has), which then becomes its place.
  bool Notified(const RECT& place);
  const RECT& Place() const { return m_place; }

  static constexpr size_t kKept = 64;  // a server that never answers keeps no longer history

 private:
  RECT m_place;
  std::deque<RECT> m_asked;  // asked for, not confirmed yet, oldest first
};

}  // namespace terminal::desktop
