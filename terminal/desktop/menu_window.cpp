#include "terminal/desktop/menu_window.h"

#include <algorithm>

#include "terminal/desktop/desktop.h"

namespace terminal::desktop {

namespace {

constexpr int kListId = 1;
constexpr int kPadding = 24;

// An entry as the list shows it.
std::string Label(const platform::MenuEntry& entry) {
  if (entry.flags & MF_SEPARATOR) return "";
  std::string label = (entry.flags & MF_CHECKED) ? "* " : "  ";
  for (char c : entry.text) {
    if (c == '&') continue;  // mnemonic marks are not drawn here
    if (c == '\t') label += "      ";
    else label += c;
  }
  return label;
}

bool Choosable(const platform::MenuEntry& entry) {
  return !(entry.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) && entry.id != 0;
}

}  // namespace

MenuWindow::MenuWindow(platform::MenuRecord menu) : m_menu(std::move(menu)) {}

MenuWindow::~MenuWindow() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

void MenuWindow::Create() {
  m_previousActive = ::GetActiveWindow();
  const HWND owner =
      m_menu.owner != nullptr && ::IsWindow(m_menu.owner) ? ::GetAncestorTopLevel(m_menu.owner) : nullptr;
  CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "TarnPopupMenu", "", WS_POPUP | WS_BORDER, m_menu.position.x,
           m_menu.position.y, 100, 100, owner, 0);
  const HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  m_list = ::CreateWindowEx(0, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 100,
                            100, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
  ::SendMessage(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  HDC dc = ::GetDC(m_list);
  const HGDIOBJ old = ::SelectObject(dc, font);
  int width = 80;
  for (const platform::MenuEntry& entry : m_menu.entries) {
    const std::string label = Label(entry);
    ::SendMessage(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    SIZE size{};
    ::GetTextExtentPoint32(dc, label.c_str(), static_cast<int>(label.size()), &size);
    width = std::max<int>(width, size.cx + kPadding);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(m_list, dc);

  const int itemHeight = static_cast<int>(::SendMessage(m_list, LB_GETITEMHEIGHT, 0, 0));
  const int height = std::max(1, static_cast<int>(m_menu.entries.size())) * itemHeight;
  ::MoveWindow(m_list, 0, 0, width, height, FALSE);
  RECT window, client;
  ::GetWindowRect(m_hWnd, &window);
  ::GetClientRect(m_hWnd, &client);
  // Kept on the screen: a menu near the right or bottom edge opens to the left or upwards.
  const int outerWidth = width + (window.right - window.left) - client.right;
  const int outerHeight = height + (window.bottom - window.top) - client.bottom;
  int x = m_menu.position.x;
  int y = m_menu.position.y;
  if (x + outerWidth > ::GetSystemMetrics(SM_CXSCREEN)) x = std::max(0, x - outerWidth);
  if (y + outerHeight > ::GetSystemMetrics(SM_CYSCREEN)) y = std::max(0, y - outerHeight);
  MoveWindow(x, y, outerWidth, outerHeight, FALSE);

  for (size_t i = 0; i < m_menu.entries.size(); ++i) {
    if (Choosable(m_menu.entries[i])) {
      ::SendMessage(m_list, LB_SETCURSEL, i, 0);
      break;
    }
  }
  ShowWindow(SW_SHOW);
  ::SetActiveWindow(m_hWnd);
  ::SetFocus(m_list);
}

UINT_PTR MenuWindow::Run() {
  Create();
  platform::RunModalLoop(m_hWnd, [this] { return m_done || !::IsWindow(m_hWnd); });
  DestroyWindow();
  // The window that had the activation before gets it back, unless a click
  // that dismissed the menu gave it to another.
  if (::GetActiveWindow() == nullptr && m_previousActive != nullptr && ::IsWindow(m_previousActive)) {
    ::SetActiveWindow(m_previousActive);
  }
  return m_chosen;
}

void MenuWindow::ChooseSelected() {
  const LRESULT index = ::SendMessage(m_list, LB_GETCURSEL, 0, 0);
  if (index < 0 || index >= static_cast<LRESULT>(m_menu.entries.size())) return;
  const platform::MenuEntry& entry = m_menu.entries[static_cast<size_t>(index)];
  if (!Choosable(entry)) return;
  m_chosen = entry.id;
  m_done = true;
}

BOOL MenuWindow::PreTranslateMessage(MSG* msg) {
  if (msg->hwnd == m_list && msg->message == WM_LBUTTONUP) {
    // The list selected the entry under the pointer when the button went down.
    ::DispatchMessage(msg);
    ChooseSelected();
    return TRUE;
  }
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    ChooseSelected();
    return TRUE;
  }
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    m_done = true;
    return TRUE;
  }
  return CWnd::PreTranslateMessage(msg);
}

BOOL MenuWindow::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) m_done = true;
  return CWnd::OnWndMsg(message, wParam, lParam, result);
}

UINT_PTR ShowMenu(const platform::MenuRecord& menu) { return MenuWindow(menu).Run(); }

}  // namespace terminal::desktop
