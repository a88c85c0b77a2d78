#include "terminal/desktop/message_box_window.h"

#include "terminal/desktop/desktop.h"

#include <algorithm>

namespace terminal::desktop {

namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kTextWidth = 360;  // longer lines wrap
constexpr int kStaticId = 0xFFFF;

const char* ButtonText(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    case IDTRYAGAIN: return "&Try Again";
    case IDCONTINUE: return "&Continue";
    default: return "?";
  }
}

}  // namespace

MessageBoxWindow::MessageBoxWindow(const platform::MessageBoxRecord& box)
    : m_box(box), m_buttons(platform::MessageBoxButtons(box.type)) {}

MessageBoxWindow::~MessageBoxWindow() {
  if (m_owner != nullptr) ::EnableWindow(m_owner, TRUE);
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

int MessageBoxWindow::EscapeAnswer() const {
  if (std::find(m_buttons.begin(), m_buttons.end(), IDCANCEL) != m_buttons.end()) return IDCANCEL;
  return m_buttons.size() == 1 && m_buttons.front() == IDOK ? IDOK : 0;
}

void MessageBoxWindow::Create() {
  // The owner's top-level window; none when the owner is closed.
  const HWND owner = ::GetAncestorTopLevel(m_box.owner != nullptr ? m_box.owner : ::GetActiveWindow());
  const std::string caption = m_box.caption ? *m_box.caption : "Error";
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  CreateEx(WS_EX_DLGMODALFRAME, "TarnMessageBox", caption.c_str(), kStyle, 0, 0, 200, 100, owner, 0);
  const HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);

  // The text's size, wrapped at kTextWidth.
  RECT text{0, 0, kTextWidth, 0};
  HDC dc = ::GetDC(m_hWnd);
  const HGDIOBJ old = ::SelectObject(dc, font);
  ::DrawText(dc, m_box.text.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);

  const int buttonsWidth =
      static_cast<int>(m_buttons.size()) * kButtonWidth + static_cast<int>(m_buttons.size() - 1) * kButtonGap;
  const int clientWidth = std::max<int>({text.right + 2 * kMargin, buttonsWidth + 2 * kMargin, 180});
  const int clientHeight = kMargin + text.bottom + kMargin + kButtonHeight + kMargin;

  auto child = [&](const char* cls, const char* label, DWORD style, int x, int y, int cx, int cy, int id) {
    HWND h = ::CreateWindowEx(0, cls, label, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessage(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
  };
  child("STATIC", m_box.text.c_str(), SS_LEFT | SS_NOPREFIX, kMargin, kMargin, text.right, text.bottom, kStaticId);
  const int defaultAnswer = platform::DefaultMessageBoxAnswer(m_box.type);
  int x = (clientWidth - buttonsWidth) / 2;
  HWND focus = nullptr;
  for (int id : m_buttons) {
    const DWORD style = WS_TABSTOP | (id == defaultAnswer ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button =
        child("BUTTON", ButtonText(id), style, x, kMargin + text.bottom + kMargin, kButtonWidth, kButtonHeight, id);
    if (id == defaultAnswer) focus = button;
    x += kButtonWidth + kButtonGap;
  }

  // The window around that client area, centred over the owner (or the screen).
  RECT window, client;
  ::GetWindowRect(m_hWnd, &window);
  ::GetClientRect(m_hWnd, &client);
  const int width = clientWidth + (window.right - window.left) - client.right;
  const int height = clientHeight + (window.bottom - window.top) - client.bottom;
  RECT around{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (GetParent() != nullptr) ::GetWindowRect(GetParent()->m_hWnd, &around);
  MoveWindow((around.left + around.right - width) / 2, std::max<int>(0, (around.top + around.bottom - height) / 2),
             width, height, FALSE);

  if (owner != nullptr && ::IsWindow(owner) && ::IsWindowEnabled(owner)) {
    m_owner = owner;
    ::EnableWindow(owner, FALSE);
  }
  ShowWindow(SW_SHOW);
  ::SetActiveWindow(m_hWnd);
  if (focus != nullptr) ::SetFocus(focus);
}

int MessageBoxWindow::Run() {
  Create();
  platform::RunModalLoop(m_hWnd, [this] { return m_answer != 0; });
  const int answer = m_answer != 0 ? m_answer : platform::DefaultMessageBoxAnswer(m_box.type);
  if (m_owner != nullptr) {
    ::EnableWindow(m_owner, TRUE);
    ::SetActiveWindow(m_owner);
    m_owner = nullptr;
  }
  DestroyWindow();
  return answer;
}

BOOL MessageBoxWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) == BN_CLICKED && std::find(m_buttons.begin(), m_buttons.end(), id) != m_buttons.end()) {
    m_answer = id;
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL MessageBoxWindow::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    const int focused = ::GetDlgCtrlID(::GetFocus());
    const bool isButton = std::find(m_buttons.begin(), m_buttons.end(), focused) != m_buttons.end();
    m_answer = isButton ? focused : platform::DefaultMessageBoxAnswer(m_box.type);
    return TRUE;
  }
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    if (const int answer = EscapeAnswer(); answer != 0) m_answer = answer;
    return TRUE;
  }
  // Tab, Shift+Tab and the arrows move among the buttons and a button's
  // underlined letter presses it, as in any dialog.
  return ::IsDialogMessage(m_hWnd, msg) || CWnd::PreTranslateMessage(msg);
}

void MessageBoxWindow::OnClose() {
  if (const int answer = EscapeAnswer(); answer != 0) m_answer = answer;
}

BOOL MessageBoxWindow::OnEraseBkgnd(CDC* dc) {
  RECT client;
  GetClientRect(&client);
  ::FillRect(dc->m_hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

int ShowMessageBox(const platform::MessageBoxRecord& box) { return MessageBoxWindow(box).Run(); }

}  // namespace terminal::desktop
