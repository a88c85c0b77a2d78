// The terminal's log on screen: a list box along the bottom of its main
// window with every line the plug-in logs and every failure the server
// stand-in answers, newest last and scrolled to it, as the terminal shows
// its log pane, each line after the local time it came ("14:03:27 ").
// Standard output keeps printing them as well, without the time (Host).
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "platform/afx.h"

namespace terminal {

class LogPane {
 public:
  static constexpr int kId = 0xE801;
  static constexpr int kVisibleLines = 8;

  // Makes the list box in `frame`'s client area.
  void Create(HWND frame);
  // Adds a line at the end, after the time, and scrolls so that it shows.
  void Add(const std::string& line);
  // Where the time comes from (the system's clock unless a test says).
  void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }
  // Lays the list out along the bottom of a client area of this size.
  void Layout(int clientWidth, int clientHeight);
  HWND Hwnd() const { return m_list; }

 private:
  HWND m_list = nullptr;
  std::function<std::time_t()> m_clock = [] { return std::time(nullptr); };
};

}  // namespace terminal
