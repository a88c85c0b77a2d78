#include "terminal/desktop/menu_bar.h"

#include "platform/user/menu.h"
#include "terminal/commands/list_menu.h"

namespace terminal::desktop {

namespace {

constexpr int kFirstId = 100;
constexpr int kPadding = 16;

}  // namespace

MenuBar::MenuBar(std::vector<Entry> entries, std::function<void(const std::string&)> choose)
    : m_entries(std::move(entries)), m_choose(std::move(choose)) {}

void MenuBar::Create(CWnd& frame) {
  RECT client;
  frame.GetClientRect(&client);
  CreateEx(0, "TarnMenuBar", "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, kHeight, frame.m_hWnd, 0);
  const HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  HDC dc = ::GetDC(m_hWnd);
  const HGDIOBJ old = ::SelectObject(dc, font);
  int x = 2;
  auto add = [&](const std::string& label, int id) {
    SIZE size{};
    ::GetTextExtentPoint32(dc, label.c_str(), static_cast<int>(label.size()), &size);
    HWND item =
        ::CreateWindowEx(0, "BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 1, size.cx + kPadding,
                         kHeight - 2, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessage(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    x += size.cx + kPadding + 2;
  };
  for (size_t i = 0; i < m_entries.size(); ++i) {
    add(m_entries[i].caption + "   " + m_entries[i].hotKey, kFirstId + static_cast<int>(i));
  }
  add("List", kListMenuId);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
}

void MenuBar::DropListMenu() {
  CMenu menu;
  menu.CreatePopupMenu();
  const bool open = terminal::ListMenuTarget() != nullptr;
  for (const ListMenuEntry& entry : ListMenuEntries()) {
    menu.AppendMenu(open ? MF_STRING : MF_STRING | MF_GRAYED, entry.command, std::string(entry.text).c_str());
  }
  RECT button{};
  ::GetWindowRect(::GetDlgItem(m_hWnd, kListMenuId), &button);
  const auto chosen = static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, button.left, button.bottom, this));
  for (const ListMenuEntry& entry : ListMenuEntries()) {
    if (entry.command == chosen) RunListMenuEntry(entry);
  }
}

BOOL MenuBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kListMenuId && HIWORD(wParam) == BN_CLICKED) {
    DropListMenu();
    return TRUE;
  }
  const int index = LOWORD(wParam) - kFirstId;
  if (HIWORD(wParam) == BN_CLICKED && index >= 0 && index < static_cast<int>(m_entries.size())) {
    // A copy: the hot key may open windows, and this bar stays, but the
    // entry is read before anything else runs.
    const std::string hotKey = m_entries[static_cast<size_t>(index)].hotKey;
    m_choose(hotKey);
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL MenuBar::OnEraseBkgnd(CDC* dc) {
  RECT client;
  GetClientRect(&client);
  ::FillRect(dc->m_hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

}  // namespace terminal::desktop
