// The terminal's menu bar in the desktop mode: a strip along the top of the
// main window's client area with one entry per plug-in menu, its caption and
// its hot key ("RMS Allowed Groups   Alt+A"), then "List", the terminal's
// List menu (terminal/commands/list_menu.h). Choosing a plug-in entry runs
// the hot key, as pressing it does; "List" drops its menu below it, its
// entries greyed while no list of the module is open.
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
  static constexpr int kListMenuId = 99;

  // `choose` receives the hot key of the entry chosen.
  MenuBar(std::vector<Entry> entries, std::function<void(const std::string& hotKey)> choose);
  // Makes the strip and its entries on `frame`.
  void Create(CWnd& frame);

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnEraseBkgnd(CDC* dc) override;

 private:
  void DropListMenu();

  std::vector<Entry> m_entries;
  std::function<void(const std::string&)> m_choose;
};

}  // namespace terminal::desktop
