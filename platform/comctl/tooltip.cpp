#include "platform/comctl/tooltip.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/geometry.h"
#include "platform/window/control_model.h"
#include "platform/window/cursor.h"
#include "platform/window/message_queue.h"
#include "platform/gdi/device_context.h"
#include "platform/window/metrics.h"
#include "platform/gdi/sys_colors.h"
#include "platform/gdi/text_layout.h"
#include "platform/window/winapi.h"
#include "platform/window/window_registry.h"
#include "platform/window/window_paint.h"

namespace platform {
namespace {

constexpr int kPadding = 2;        // between the margins and the text
constexpr int kBelowPointer = 20;  // a hover tip's top edge under the pointer's hot spot
constexpr size_t kNone = static_cast<size_t>(-1);

// The tip's own timers.
constexpr UINT_PTR kInitialTimer = 1;  // the pointer has rested on the tool: show
constexpr UINT_PTR kAutoPopTimer = 2;  // shown long enough: hide
constexpr UINT_PTR kLeaveTimer = 3;    // is the pointer still over the tool?

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect;
  std::string text;
  LPARAM lParam = 0;
  bool callback = false;  // the text is asked for each time the tip shows
};

// The fields a TOOLINFO must at least have to be read.
constexpr UINT kMinToolInfoSize = offsetof(TOOLINFO, lParam);

class TooltipModel : public ControlModel {
 public:
  explicit TooltipModel(HWND hwnd) : ControlModel(hwnd) {}
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;
  TooltipState State() const;
  bool HasToolOn(HWND window) const {
    return std::any_of(m_tools.begin(), m_tools.end(), [&](const Tool& t) { return t.hwnd == window; });
  }

 private:
  Tool* Find(const TOOLINFO* ti);
  static std::string TextOf(const TOOLINFO& ti);
  FontSpec Font() const;
  UINT Format() const;
  RECT TextRect(const std::string& text) const;  // where the text goes, client coordinates from (0, 0)
  SIZE TipSize() const;                          // the window around m_text
  void Show();
  void Hide();
  void ShowText(const std::string& text);  // the tracked tool's tip with this text; none for ""
  void Paint();
  Tool MakeTool(const TOOLINFO& ti) const;
  // Hover tips.
  void Relay(const MSG& msg);
  size_t HoverToolAt(HWND window, POINT client) const;
  bool PointerOverHoverTool() const;
  std::string AskText(size_t& tool);
  void ShowHover();
  void EndHover();

  std::vector<Tool> m_tools;
  bool m_active = true;
  bool m_shown = false;
  size_t m_tracked = 0;    // index of the shown tool
  std::string m_text;      // what the shown tip says
  size_t m_hover = kNone;  // the hover tool under the pointer, shown or waiting
  POINT m_trackPoint;
  int m_maxWidth = -1;
  COLORREF m_background = ::GetSysColor(COLOR_INFOBK);
  COLORREF m_textColor = ::GetSysColor(COLOR_INFOTEXT);
  RECT m_margin;
  // The delays the platform derives from the double-click time (TTDT_AUTOMATIC).
  static int DefaultInitial() { return static_cast<int>(::GetDoubleClickTime()); }
  int m_initial = DefaultInitial();
  int m_autoPop = DefaultInitial() * 10;
  int m_reshow = DefaultInitial() / 5;
  HFONT m_font = nullptr;
};

Tool* TooltipModel::Find(const TOOLINFO* ti) {
  if (ti == nullptr || ti->cbSize < kMinToolInfoSize) return nullptr;
  const auto it = std::find_if(m_tools.begin(), m_tools.end(),
                               [&](const Tool& t) { return t.hwnd == ti->hwnd && t.id == ti->uId; });
  return it == m_tools.end() ? nullptr : &*it;
}

std::string TooltipModel::TextOf(const TOOLINFO& ti) {
  if (ti.lpszText == nullptr || ti.lpszText == LPSTR_TEXTCALLBACK || IS_INTRESOURCE(ti.lpszText)) return {};
  return ti.lpszText;
}

FontSpec TooltipModel::Font() const {
  const FontSpec* fontSpec = FontFromHandle(m_font != nullptr ? m_font : DefaultGuiFont());
  return fontSpec != nullptr ? *fontSpec : FontSpec{};
}

UINT TooltipModel::Format() const {
  UINT format = DT_LEFT | DT_WORDBREAK;
  if (Style() & TTS_NOPREFIX) format |= DT_NOPREFIX;
  return format;
}

RECT TooltipModel::TextRect(const std::string& text) const {
  const FontSpec font = Font();
  const int natural = LayOutText(font, text, RECT{0, 0, 1 << 20, 1 << 20}, Format() & ~DT_WORDBREAK).extent.right;
  const int width = m_maxWidth >= 0 ? std::min(natural, m_maxWidth) : natural;
  const TextLayout layout = LayOutText(font, text, RECT{0, 0, width, 1 << 20}, Format());
  const int left = m_margin.left + kPadding;
  const int top = m_margin.top + kPadding;
  return RECT{left, top, left + layout.extent.right, top + layout.extent.bottom};
}

SIZE TooltipModel::TipSize() const {
  const RECT text = TextRect(m_text);
  const RECT frame = NonClientInsets(Style(), static_cast<DWORD>(::GetWindowLongPtr(hwnd(), GWL_EXSTYLE)));
  const int width = text.right + kPadding + m_margin.right + frame.left + frame.right;
  const int height = text.bottom + kPadding + m_margin.bottom + frame.top + frame.bottom;
  return SIZE{std::max(width, 0), std::max(height, 0)};
}

void TooltipModel::Show() {
  const SIZE size = TipSize();
  ::SetWindowText(hwnd(), m_text.c_str());
  ::MoveWindow(hwnd(), m_trackPoint.x, m_trackPoint.y, size.cx, size.cy, TRUE);
  m_shown = true;
  ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void TooltipModel::ShowText(const std::string& text) {
  m_text = text;
  if (text.empty()) {
    Hide();
  } else {
    Show();
  }
}

void TooltipModel::Hide() {
  if (!m_shown) return;
  m_shown = false;
  ::ShowWindow(hwnd(), SW_HIDE);
  ::SetWindowText(hwnd(), "");
}

void TooltipModel::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(hwnd(), &ps);
  if (m_shown && dc != nullptr) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const HBRUSH brush = ::CreateSolidBrush(m_background);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    if (m_font != nullptr) ::SelectObject(dc, m_font);
    ::SetTextColor(dc, m_textColor);
    ::SetBkMode(dc, TRANSPARENT);
    RECT r = TextRect(m_text);
    ::DrawText(dc, m_text.c_str(), static_cast<int>(m_text.size()), &r, Format());
  }
  ::EndPaint(hwnd(), &ps);
}

Tool TooltipModel::MakeTool(const TOOLINFO& ti) const {
  return Tool{ti.uFlags, ti.hwnd, ti.uId, ti.rect, TextOf(ti), ti.lParam, ti.lpszText == LPSTR_TEXTCALLBACK};
}

size_t TooltipModel::HoverToolAt(HWND window, POINT client) const {
  for (size_t i = 0; i < m_tools.size(); ++i) {
    const Tool& t = m_tools[i];
    if (t.flags & TTF_TRACK) continue;
    if (t.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(t.id) == window) return i;
    } else if (t.hwnd == window && CRect(t.rect).PtInRect(client)) {
      return i;
    }
  }
  return kNone;
}

bool TooltipModel::PointerOverHoverTool() const {
  if (m_hover == kNone) return false;
  const Tool& t = m_tools[m_hover];
  const HWND window = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) : t.hwnd;
  POINT pointer{};
  ::GetCursorPos(&pointer);
  if (!::IsWindow(window) || ::WindowFromPoint(pointer) != window) return false;
  ::ScreenToClient(window, &pointer);
  return HoverToolAt(window, pointer) == m_hover;
}

void TooltipModel::Relay(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE: {
      const size_t tool = HoverToolAt(msg.hwnd, POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
      if (tool == m_hover) return;  // resting on the same tool: the timers run on
      EndHover();
      if (tool == kNone || !m_active) return;
      m_hover = tool;
      ::SetTimer(hwnd(), kInitialTimer, static_cast<UINT>(m_initial), nullptr);
      ::SetTimer(hwnd(), kLeaveTimer, kTooltipLeaveCheckMs, nullptr);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      // A press pops the tip; it comes back only once the pointer has left the tool.
      ::KillTimer(hwnd(), kInitialTimer);
      ::KillTimer(hwnd(), kAutoPopTimer);
      Hide();
      return;
    default: return;
  }
}

// The tool's text, asked of its window for a callback text. The window may
// change the tools while it answers: `tool` is found again (kNone if gone).
std::string TooltipModel::AskText(size_t& tool) {
  const Tool asked = m_tools[tool];
  if (!asked.callback) return asked.text;
  NMTTDISPINFOA info;
  info.hdr.hwndFrom = hwnd();
  info.hdr.idFrom = asked.id;
  info.hdr.code = TTN_GETDISPINFOA;
  info.uFlags = asked.flags;
  info.lParam = asked.lParam;
  ::SendMessage(asked.hwnd, WM_NOTIFY, static_cast<WPARAM>(asked.id), reinterpret_cast<LPARAM>(&info));
  tool = kNone;
  for (size_t i = 0; i < m_tools.size(); ++i) {
    if (m_tools[i].hwnd == asked.hwnd && m_tools[i].id == asked.id) tool = i;
  }
  if (info.lpszText == nullptr || info.lpszText == LPSTR_TEXTCALLBACK || IS_INTRESOURCE(info.lpszText)) {
    return std::string(info.szText, strnlen(info.szText, sizeof info.szText));
  }
  return info.lpszText;
}

void TooltipModel::ShowHover() {
  size_t tool = m_hover;
  std::string text = AskText(tool);
  if (tool == kNone || tool != m_hover || text.empty() || !m_active) return;
  POINT pointer{};
  ::GetCursorPos(&pointer);
  m_tracked = tool;
  m_text = std::move(text);
  // Below the pointer, kept on the screen: pushed left at the right edge,
  // and above the pointer where below would leave the screen.
  const SIZE size = TipSize();
  const int right = ::GetSystemMetrics(SM_CXSCREEN) - static_cast<int>(size.cx);
  const bool roomBelow = pointer.y + kBelowPointer + size.cy <= ::GetSystemMetrics(SM_CYSCREEN);
  m_trackPoint = POINT{std::max(0, std::min(static_cast<int>(pointer.x), right)),
                       roomBelow ? pointer.y + kBelowPointer : std::max(0, static_cast<int>(pointer.y - size.cy))};
  Show();
  ::SetTimer(hwnd(), kAutoPopTimer, static_cast<UINT>(m_autoPop), nullptr);
}

// The pointer left the hover tool (or the tool went): no tip, no timers.
void TooltipModel::EndHover() {
  for (UINT_PTR timer : {kInitialTimer, kAutoPopTimer, kLeaveTimer}) ::KillTimer(hwnd(), timer);
  if (m_hover != kNone && m_shown && m_tracked == m_hover) Hide();
  m_hover = kNone;
}

LRESULT TooltipModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* ti = reinterpret_cast<const TOOLINFO*>(lParam);
  switch (message) {
    case WM_CREATE:
      ::SetWindowLongPtr(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(Style() | WS_BORDER));
      // A tip floats above other windows whatever style its creator gave it.
      ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return 0;
    case TTM_ADDTOOL: {
      if (ti == nullptr || ti->cbSize < kMinToolInfoSize || Find(ti) != nullptr) return FALSE;
      m_tools.push_back(MakeTool(*ti));
      return TRUE;
    }
    case TTM_DELTOOL:
      if (Tool* tool = Find(ti)) {
        const auto index = static_cast<size_t>(tool - m_tools.data());
        if (index == m_hover) EndHover();
        if (m_hover != kNone && index < m_hover) --m_hover;
        if (m_shown && index == m_tracked) Hide();
        if (m_shown && index < m_tracked) --m_tracked;
        m_tools.erase(m_tools.begin() + static_cast<std::ptrdiff_t>(index));
      }
      return 0;
    case TTM_NEWTOOLRECT:
      if (Tool* tool = Find(ti)) tool->rect = ti->rect;
      return 0;
    case TTM_SETTOOLINFO:
      if (Tool* tool = Find(ti)) *tool = MakeTool(*ti);
      return 0;
    case TTM_GETTOOLINFO:
    case TTM_GETTEXT: {
      auto* out = reinterpret_cast<TOOLINFO*>(lParam);
      const Tool* tool = Find(out);
      if (tool == nullptr) return FALSE;
      if (message == TTM_GETTOOLINFO) {
        out->uFlags = tool->flags;
        out->rect = tool->rect;
        out->lParam = tool->lParam;
      }
      // TTM_GETTEXT's wParam is the buffer's size; TTM_GETTOOLINFO's buffer is assumed to hold 80.
      const size_t size = message == TTM_GETTEXT && wParam != 0 ? wParam : 80;
      if (out->lpszText != nullptr && out->lpszText != LPSTR_TEXTCALLBACK) {
        CopyWindowText(tool->text, size, reinterpret_cast<LPARAM>(out->lpszText));
      }
      return TRUE;
    }
    case TTM_UPDATETIPTEXT:
      if (Tool* tool = Find(ti)) {
        tool->text = TextOf(*ti);
        tool->callback = ti->lpszText == LPSTR_TEXTCALLBACK;
        if (m_shown && tool == &m_tools[m_tracked] && !tool->callback) ShowText(tool->text);
      }
      return 0;
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(m_tools.size());
    case TTM_TRACKACTIVATE: {
      Tool* tool = Find(ti);
      if (wParam == FALSE) {
        if (tool == nullptr || (m_shown && tool == &m_tools[m_tracked])) Hide();
        return 0;
      }
      if (tool == nullptr || !(tool->flags & TTF_TRACK) || !m_active) return 0;
      m_tracked = static_cast<size_t>(tool - m_tools.data());
      ShowText(tool->text);
      return 0;
    }
    case TTM_TRACKPOSITION:
      m_trackPoint = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (m_shown) Show();
      return 0;
    case TTM_ACTIVATE:
      m_active = wParam != FALSE;
      if (!m_active) {
        EndHover();
        Hide();
      }
      return 0;
    case TTM_POP:
      ::KillTimer(hwnd(), kInitialTimer);
      ::KillTimer(hwnd(), kAutoPopTimer);
      Hide();
      return 0;
    case TTM_RELAYEVENT:
      if (lParam != 0) Relay(*reinterpret_cast<const MSG*>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kInitialTimer) {
        ::KillTimer(hwnd(), kInitialTimer);
        if (m_hover != kNone) ShowHover();
      } else if (wParam == kAutoPopTimer) {
        ::KillTimer(hwnd(), kAutoPopTimer);
        Hide();
      } else if (wParam == kLeaveTimer && !PointerOverHoverTool()) {
        EndHover();
      }
      return 0;
    case TTM_UPDATE:
      if (m_shown) ::InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case TTM_SETMAXTIPWIDTH: return std::exchange(m_maxWidth, static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH: return m_maxWidth;
    case TTM_SETTIPBKCOLOR: m_background = static_cast<COLORREF>(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: m_textColor = static_cast<COLORREF>(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return m_background;
    case TTM_GETTIPTEXTCOLOR: return m_textColor;
    case TTM_SETMARGIN:
      if (lParam != 0) m_margin = *reinterpret_cast<const RECT*>(lParam);
      if (m_shown) Show();
      return 0;
    case TTM_GETMARGIN:
      if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = m_margin;
      return 0;
    case TTM_SETDELAYTIME: {
      const int ms = static_cast<int>(static_cast<short>(LOWORD(static_cast<uintptr_t>(lParam))));
      // A negative delay goes back to the default.
      const int base = DefaultInitial();
      const int value = ms < 0 ? base : ms;
      switch (wParam) {
        case TTDT_AUTOMATIC: m_initial = value, m_autoPop = value * 10, m_reshow = value / 5; break;
        case TTDT_INITIAL: m_initial = ms < 0 ? base : ms; break;
        case TTDT_AUTOPOP: m_autoPop = ms < 0 ? base * 10 : ms; break;
        case TTDT_RESHOW: m_reshow = ms < 0 ? base / 5 : ms; break;
        default: break;
      }
      return 0;
    }
    case TTM_GETDELAYTIME:
      switch (wParam) {
        case TTDT_INITIAL: return m_initial;
        case TTDT_AUTOPOP: return m_autoPop;
        case TTDT_RESHOW: return m_reshow;
        default: return m_initial;
      }
    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      if (m_shown) Show();
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(m_font);
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: Paint(); return 0;
    default: break;
  }
  return ::DefWindowProc(hwnd(), message, wParam, lParam);
}

TooltipState TooltipModel::State() const {
  TooltipState s;
  s.shown = m_shown && ::IsWindowVisible(hwnd());
  if (s.shown) {
    s.text = m_text;
    RECT r;
    ::GetWindowRect(hwnd(), &r);
    s.position = POINT{r.left, r.top};
    s.size = SIZE{r.right - r.left, r.bottom - r.top};
  }
  s.background = m_background;
  s.textColor = m_textColor;
  s.maxWidth = m_maxWidth;
  s.margin = m_margin;
  s.initialDelay = m_initial;
  s.autoPopDelay = m_autoPop;
  s.font = m_font;
  s.toolCount = static_cast<int>(m_tools.size());
  return s;
}

const bool kRegistered =
    RegisterControlModel(TOOLTIPS_CLASS, 0, [](HWND h) { return std::make_unique<TooltipModel>(h); });

const TooltipModel* ModelOf(HWND hwnd) {
  const WindowRecord* record = FindWindowRecord(hwnd);
  return record != nullptr ? dynamic_cast<const TooltipModel*>(record->model.get()) : nullptr;
}

}  // namespace

TooltipState ReadTooltip(HWND tooltip) {
  const TooltipModel* model = ModelOf(tooltip);
  return model != nullptr ? model->State() : TooltipState{};
}

HWND TooltipFor(HWND window) {
  struct Search {
    HWND window;
    HWND found = nullptr;
  } search{window};
  ::EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        const TooltipModel* model = ModelOf(h);
        if (model == nullptr || !model->HasToolOn(s->window)) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace platform
