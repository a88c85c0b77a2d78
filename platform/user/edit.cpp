// The "EDIT" class model; its behaviour is described in platform/user/cedit.h.
#include "platform/window/winapi.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/user/clipboard.h"
#include "platform/window/control_model.h"
#include "platform/gdi/device_context.h"
#include "platform/window/keyboard.h"
#include "platform/gdi/text_metrics.h"

namespace {

constexpr size_t kDefaultLimit = 32767;
constexpr size_t kMaxLimit = 0x7FFFFFFE;

class EditModel : public platform::ControlModel {
 public:
  explicit EditModel(HWND hwnd) : ControlModel(hwnd) {}
  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  size_t SelStart() const { return std::min(m_anchor, m_caret); }
  size_t SelEnd() const { return std::max(m_anchor, m_caret); }
  bool Multiline() const { return (Style() & ES_MULTILINE) != 0; }
  // Replaces the selection with `text` (cut to the limit); notifies when
  // anything changed. Returns false when the limit cut the text.
  bool ReplaceSelection(std::string text, bool notify);
  void TypeChar(char ch);
  void DeleteAround(bool forward);
  void MoveCaret(size_t to, bool extend);
  void CopySelection() const;
  void PasteClipboard();
  size_t CharIndexFromX(int x) const;

  std::string m_text;
  size_t m_anchor = 0;
  size_t m_caret = 0;
  size_t m_limit = kDefaultLimit;
  bool m_modified = false;
  std::string m_undoText;
  bool m_canUndo = false;
  HFONT m_font = nullptr;
  char m_passwordChar = 0;
};

const bool kRegistered = platform::RegisterControlModel("EDIT", CS_DBLCLKS | CS_PARENTDC,
                                                        [](HWND h) { return std::make_unique<EditModel>(h); });

bool EditModel::ReplaceSelection(std::string text, bool notify) {
  const size_t start = SelStart(), end = SelEnd();
  const size_t room = m_limit - std::min(m_limit, m_text.size() - (end - start));
  const bool cut = text.size() > room;
  if (cut) text.resize(room);
  if (text.empty() && start == end) return !cut;
  m_undoText = m_text;
  m_canUndo = true;
  m_text.replace(start, end - start, text);
  m_anchor = m_caret = start + text.size();
  m_modified = true;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
  if (notify) {
    NotifyParent(EN_UPDATE);
    NotifyParent(EN_CHANGE);
  }
  return !cut;
}

// The keyboard's editing shortcuts arrive as control characters.
constexpr char kCtrlA = 0x01;
constexpr char kCtrlC = 0x03;
constexpr char kCtrlV = 0x16;
constexpr char kCtrlX = 0x18;
constexpr char kCtrlZ = 0x1A;

void EditModel::TypeChar(char ch) {
  switch (ch) {
    case kCtrlA:
      m_anchor = 0;
      m_caret = m_text.size();
      return;
    case kCtrlC: ::SendMessage(hwnd(), WM_COPY, 0, 0); return;
    case kCtrlV: ::SendMessage(hwnd(), WM_PASTE, 0, 0); return;
    case kCtrlX: ::SendMessage(hwnd(), WM_CUT, 0, 0); return;
    case kCtrlZ: ::SendMessage(hwnd(), WM_UNDO, 0, 0); return;
    default: break;
  }
  const DWORD style = Style();
  if (style & ES_READONLY) return;
  if (ch == '\b') {
    DeleteAround(false);
    return;
  }
  std::string text(1, ch);
  if (ch == '\r') {
    if (!Multiline() || !(style & ES_WANTRETURN)) return;
    text = "\r\n";
  } else if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t') {
    return;  // other control characters type nothing
  } else if (ch == '\t' && !Multiline()) {
    return;
  }
  if ((style & ES_NUMBER) && !std::isdigit(static_cast<unsigned char>(ch))) return;
  if (style & ES_UPPERCASE) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (style & ES_LOWERCASE) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (!ReplaceSelection(text, true)) NotifyParent(EN_MAXTEXT);
}

void EditModel::DeleteAround(bool forward) {
  if (Style() & ES_READONLY) return;
  if (m_anchor == m_caret) {
    if (forward) {
      if (m_caret >= m_text.size()) return;
      m_caret += (m_text.compare(m_caret, 2, "\r\n") == 0) ? 2 : 1;
    } else {
      if (m_caret == 0) return;
      m_caret -= (m_caret >= 2 && m_text.compare(m_caret - 2, 2, "\r\n") == 0) ? 2 : 1;
    }
  }
  ReplaceSelection({}, true);
}

void EditModel::MoveCaret(size_t to, bool extend) {
  m_caret = std::min(to, m_text.size());
  if (!extend) m_anchor = m_caret;
}

// A password edit never gives its text away; an empty selection leaves the
// clipboard as it was.
void EditModel::CopySelection() const {
  if (m_passwordChar != 0 || SelStart() == SelEnd()) return;
  const std::string text = m_text.substr(SelStart(), SelEnd() - SelStart());
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return;
  if (auto* bytes = static_cast<char*>(::GlobalLock(block)); bytes != nullptr) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
  }
  if (!::OpenClipboard(hwnd())) {
    ::GlobalFree(block);
    return;
  }
  ::EmptyClipboard();
  if (::SetClipboardData(CF_TEXT, block) == nullptr) ::GlobalFree(block);
  ::CloseClipboard();
}

// Pastes the clipboard's text over the selection; a single-line edit takes
// only its first line. What does not fit the limit is dropped with EN_MAXTEXT.
void EditModel::PasteClipboard() {
  if ((Style() & ES_READONLY) || !::OpenClipboard(hwnd())) return;
  std::string text;
  if (HANDLE block = ::GetClipboardData(CF_TEXT); block != nullptr) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(block)); bytes != nullptr) {
      text.assign(bytes, strnlen(bytes, ::GlobalSize(block)));
      ::GlobalUnlock(block);
    }
  }
  ::CloseClipboard();
  if (!Multiline()) text.resize(std::min(text.size(), text.find_first_of("\r\n")));
  if (!ReplaceSelection(std::move(text), true)) NotifyParent(EN_MAXTEXT);
}

size_t EditModel::CharIndexFromX(int x) const {
  const platform::FontSpec* font = platform::FontFromHandle(m_font);
  const platform::FontSpec fontSpec = font != nullptr ? *font : platform::FontSpec{};
  int left = 0;
  for (size_t i = 0; i < m_text.size(); ++i) {
    const int w = platform::CharWidth(fontSpec, m_passwordChar != 0 ? m_passwordChar : m_text[i]);
    if (x < left + w / 2) return i;
    left += w;
  }
  return m_text.size();
}

LRESULT EditModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
      if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) m_text = cs->lpszName;
      if (cs != nullptr && (cs->style & ES_PASSWORD)) m_passwordChar = '*';
      return TRUE;
    }
    case WM_SETTEXT:
      m_text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      m_anchor = m_caret = 0;
      m_modified = false;
      m_canUndo = false;
      if (!Multiline()) {
        NotifyParent(EN_UPDATE);
        NotifyParent(EN_CHANGE);
      }
      return TRUE;
    case WM_GETTEXT: return platform::CopyWindowText(m_text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(m_text.size());
    case WM_SETFONT: m_font = reinterpret_cast<HFONT>(wParam); return ::DefWindowProc(hwnd(), message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multiline() ? DLGC_WANTALLKEYS : 0);
    case EM_GETSEL: {
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(SelStart());
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(SelEnd());
      return MAKELONG(static_cast<WORD>(std::min<size_t>(SelStart(), 0xFFFF)),
                      static_cast<WORD>(std::min<size_t>(SelEnd(), 0xFFFF)));
    }
    case EM_SETSEL: {
      const auto start = static_cast<intptr_t>(static_cast<int>(wParam));
      const auto end = static_cast<intptr_t>(static_cast<int>(lParam));
      if (start == -1) {
        m_anchor = m_caret;  // only removes the selection
        return 0;
      }
      const size_t length = m_text.size();
      m_anchor = std::min(static_cast<size_t>(std::max<intptr_t>(start, 0)), length);
      m_caret = end < 0 ? length : std::min(static_cast<size_t>(end), length);
      return 0;
    }
    case EM_REPLACESEL:
      ReplaceSelection(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "", true);
      if (!wParam) m_canUndo = false;
      return 0;
    case EM_LIMITTEXT: m_limit = wParam == 0 ? kMaxLimit : std::min<size_t>(wParam, kMaxLimit); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(m_limit);
    case EM_GETMODIFY: return m_modified ? TRUE : FALSE;
    case EM_SETMODIFY: m_modified = wParam != 0; return 0;
    case EM_SETREADONLY: {
      const DWORD style = Style();
      ::SetWindowLongPtr(hwnd(), GWL_STYLE,
                         static_cast<LONG_PTR>(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
      return TRUE;
    }
    case EM_GETLINECOUNT:
      if (!Multiline()) return 1;
      return 1 + static_cast<LRESULT>(std::count(m_text.begin(), m_text.end(), '\n'));
    case EM_CANUNDO: return m_canUndo ? TRUE : FALSE;
    case EM_UNDO:
    case WM_UNDO:
      if (!m_canUndo) return FALSE;
      std::swap(m_text, m_undoText);
      m_anchor = m_caret = std::min(m_caret, m_text.size());
      NotifyParent(EN_UPDATE);
      NotifyParent(EN_CHANGE);
      return TRUE;
    case EM_SETPASSWORDCHAR: m_passwordChar = static_cast<char>(wParam); return 0;
    case WM_CLEAR:
      if (!(Style() & ES_READONLY)) ReplaceSelection({}, true);
      return 0;
    case WM_COPY: CopySelection(); return 0;
    case WM_CUT:
      CopySelection();
      if (m_passwordChar == 0 && !(Style() & ES_READONLY)) ReplaceSelection({}, true);
      return 0;
    case WM_PASTE: PasteClipboard(); return 0;
    case WM_CHAR: TypeChar(static_cast<char>(wParam)); return 0;
    case WM_KEYDOWN: {
      const bool shift = platform::IsKeyDown(VK_SHIFT);
      const bool control = platform::IsKeyDown(VK_CONTROL);
      switch (wParam) {
        case VK_DELETE:
          if (shift) {
            ::SendMessage(hwnd(), WM_CUT, 0, 0);
          } else {
            DeleteAround(true);
          }
          break;
        case VK_INSERT:
          if (control) ::SendMessage(hwnd(), WM_COPY, 0, 0);
          if (shift) ::SendMessage(hwnd(), WM_PASTE, 0, 0);
          break;
        case VK_LEFT: MoveCaret(m_caret > 0 ? m_caret - 1 : 0, shift); break;
        case VK_RIGHT: MoveCaret(m_caret + 1, shift); break;
        case VK_HOME: MoveCaret(0, shift); break;
        case VK_END: MoveCaret(m_text.size(), shift); break;
        default: break;
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd());
      MoveCaret(CharIndexFromX(GET_X_LPARAM(lParam)), platform::IsKeyDown(VK_SHIFT));
      return 0;
    case WM_LBUTTONDBLCLK:
      m_anchor = 0;
      m_caret = m_text.size();
      return 0;
    case WM_PAINT: {
      // A read-only or disabled edit asks for the colours of a static, as on the platform.
      const DWORD style = Style();
      const bool inert = (style & ES_READONLY) || !::IsWindowEnabled(hwnd());
      const std::string shown = m_passwordChar != 0 ? std::string(m_text.size(), m_passwordChar) : m_text;
      RECT r;
      ::GetClientRect(hwnd(), &r);
      UINT format = DT_NOPREFIX | DT_EXPANDTABS |
                    ((style & ES_RIGHT)    ? DT_RIGHT
                     : (style & ES_CENTER) ? DT_CENTER
                                           : DT_LEFT);
      format |= Multiline() ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
      PaintWithParentColours(inert ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, shown, r, format);
      return 0;
    }
    case WM_SETFOCUS: NotifyParent(EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: NotifyParent(EN_KILLFOCUS); return 0;
    default: return ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
}

}  // namespace
