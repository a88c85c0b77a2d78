// The terminal's log on screen: a list box along the bottom of its main
// window with every line the plug-in logs and every failure the server
// stand-in answers, newest last and scrolled to it, as the terminal shows
// its log pane. Standard output keeps printing them as well (Host).
#pragma once

#include <string>

#include "platform/afx.h"

namespace terminal {

class LogPane {
 public:
  static constexpr int kId = 0xE801;
  static constexpr int kVisibleLines = 8;

  // Makes the list box in `frame`'s client area.
  void Create(HWND frame);
  // Adds a line at the end and scrolls so that it shows.
  void Add(const std::string& line);
  // Lays the list out along the bottom of a client area of this size.
  void Layout(int clientWidth, int clientHeight);
  HWND Hwnd() const { return m_list; }

 private:
  HWND m_list = nullptr;
};

}  // namespace terminal
