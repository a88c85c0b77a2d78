#include "terminal/host/log_pane.h"

#include <algorithm>

namespace terminal {

void LogPane::Create(HWND frame) {
  m_list = ::CreateWindowEx(WS_EX_CLIENTEDGE, "ListBox", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0, 0, frame,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), nullptr, nullptr);
  // (A list that could not be made takes no message: nothing to check first.)
  ::SendMessage(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
}

void LogPane::Add(const std::string& line) {
  if (!::IsWindow(m_list)) return;
  const std::time_t now = m_clock();
  std::tm local{};
  char stamp[16] = "--:--:-- ";
  if (localtime_r(&now, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%H:%M:%S ", &local);
  const std::string shown = stamp + line;
  const auto index = ::SendMessage(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
  if (index >= 0) ::SendMessage(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

void LogPane::Layout(int clientWidth, int clientHeight) {
  if (!::IsWindow(m_list)) return;
  const auto item = static_cast<int>(::SendMessage(m_list, LB_GETITEMHEIGHT, 0, 0));
  const int edges = 2 * GetSystemMetrics(SM_CYEDGE);  // the client edge above and below
  const int height = std::min(clientHeight, kVisibleLines * std::max(item, 1) + edges);
  ::MoveWindow(m_list, 0, clientHeight - height, clientWidth, height, TRUE);
  // The newest line stays in sight whatever the new height.
  const auto count = ::SendMessage(m_list, LB_GETCOUNT, 0, 0);
  if (count > 0) ::SendMessage(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(count - 1), 0);
}

}  // namespace terminal
