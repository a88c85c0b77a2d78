#include "platform/window/control_model.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "platform/gdi/device_context.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/winapi.h"
#include "platform/window/window_paint.h"

namespace platform {
namespace {

struct CaseInsensitiveLess {
  bool operator()(std::string_view a, std::string_view b) const {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      const int ca = std::tolower(static_cast<unsigned char>(a[i]));
      const int cb = std::tolower(static_cast<unsigned char>(b[i]));
      if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
  }
};

struct ClassEntry {
  UINT classStyle = 0;
  ControlModelFactory factory;
};

// Leaked on purpose: models register from static initialisers of any
// library, and windows may outlive other statics at process exit.
std::map<std::string, ClassEntry, CaseInsensitiveLess>& Classes() {
  static auto* classes = new std::map<std::string, ClassEntry, CaseInsensitiveLess>;
  return *classes;
}

}  // namespace

LRESULT ControlModel::NotifyParent(UINT code) const {
  HWND parent = ::GetParent(m_hwnd);
  if (parent == nullptr) return 0;
  return ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ControlId()), static_cast<WORD>(code)),
                       reinterpret_cast<LPARAM>(m_hwnd));
}

LRESULT ControlModel::NotifyParentWith(NMHDR& header) const {
  header.hwndFrom = m_hwnd;
  header.idFrom = static_cast<UINT_PTR>(ControlId());
  HWND parent = ::GetParent(m_hwnd);
  if (parent == nullptr) return 0;
  return ::SendMessage(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT ControlModel::PaintOrPrint(UINT message, WPARAM wParam, const std::function<void(HDC)>& draw) const {
  if (message == WM_PRINTCLIENT) {
    draw(reinterpret_cast<HDC>(wParam));
    return 0;
  }
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(m_hwnd, &ps);
  draw(dc);
  ::EndPaint(m_hwnd, &ps);
  return 0;
}

void ControlModel::PaintWithParentColours(UINT ctlColorMessage, std::string_view text, RECT textRect, UINT format,
                                          bool fill) const {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hwnd, &ps);
  if (dc == nullptr) return;
  HWND parent = ::GetParent(m_hwnd);
  const auto brush = reinterpret_cast<HBRUSH>(
      parent != nullptr
          ? ::SendMessage(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd))
          : ::DefWindowProc(m_hwnd, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd)));
  RECT client;
  ::GetClientRect(m_hwnd, &client);
  if (fill && brush != nullptr) ::FillRect(dc, &client, brush);
  if (!::IsWindowEnabled(m_hwnd)) ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
  if (!text.empty()) {
    const std::string copy(text);
    ::DrawText(dc, copy.c_str(), static_cast<int>(copy.size()), &textRect, format);
  }
  ::EndPaint(m_hwnd, &ps);
}

DWORD ControlModel::Style() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hwnd, GWL_STYLE)); }

int ControlModel::ControlId() const { return ::GetDlgCtrlID(m_hwnd); }

LRESULT CopyWindowText(std::string_view text, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || size == 0) return 0;
  const size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

bool RegisterControlModel(std::string_view className, UINT classStyle, ControlModelFactory factory) {
  Classes()[std::string(className)] = ClassEntry{classStyle, std::move(factory)};
  return true;
}

std::unique_ptr<ControlModel> CreateControlModel(std::string_view className, HWND hwnd, UINT* classStyle) {
  auto& classes = Classes();
  auto it = classes.find(std::string(className));
  if (it == classes.end()) {
    *classStyle = 0;
    return nullptr;
  }
  *classStyle = it->second.classStyle;
  return it->second.factory(hwnd);
}

}  // namespace platform
