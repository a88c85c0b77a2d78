// The terminal's menu bar in the desktop mode: a strip along the top of the
// main window's client area with one entry per plug-in menu, its caption and
// its hot key ("RMS Allowed Groups   Alt+A"). Choosing an entry runs the hot
// key, as pressing it does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/afx.h"

namespace terminal::desktop {

class MenuBar : public CWnd {
 public:
  struct Entry {
    std::string caption;
    std::string hotKey;
  };
  static constexpr int kHeight = 24;

  // `choose` receives the hot key of the entry chosen.
  MenuBar(std::vector<Entry> entries, std::function<void(const std::string& hotKey)> choose);
  // Makes the strip and its entries on `frame`.
  void Create(CWnd& frame);

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  std::vector<Entry> m_entries;
  std::function<void(const std::string&)> m_choose;
};

}  // namespace terminal::desktop
