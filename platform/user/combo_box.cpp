#include "platform/user/combo_box.h"

#include <algorithm>
#include <string>

#include "platform/gdi/device_context.h"
#include "platform/window/metrics.h"
#include "platform/window/winapi.h"
#include "platform/window/window_registry.h"

namespace platform {
namespace {

// Frame and padding around the text of the selection field.
constexpr int kFieldPadding = 8;

ComboBoxModel* ComboOf(HWND combo) {
  WindowRecord* r = FindWindowRecord(combo);
  return r != nullptr ? dynamic_cast<ComboBoxModel*>(r->model.get()) : nullptr;
}

// Stands in front of the edit field's own model: keys that belong to the
// list (arrows, F4, Enter and Escape while dropped) and focus changes go to
// the combo box first, as the platform's combo edit field forwards them.
class ComboEditModel : public ControlModel {
 public:
  ComboEditModel(HWND edit, HWND combo, std::unique_ptr<ControlModel> inner)
      : ControlModel(edit), m_combo(combo), m_inner(std::move(inner)) {}

  LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
    ComboBoxModel* combo = ComboOf(m_combo);
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (combo != nullptr && combo->EditKey(message, static_cast<UINT>(wParam))) return 0;
        break;
      case WM_SETFOCUS:
      case WM_KILLFOCUS: {
        const LRESULT result = Inner(message, wParam, lParam);
        if ((combo = ComboOf(m_combo)) != nullptr)
          combo->EditFocus(message == WM_SETFOCUS, reinterpret_cast<HWND>(wParam));
        return result;
      }
      case WM_GETDLGCODE: {
        const LRESULT code = Inner(message, wParam, lParam) | DLGC_WANTARROWS;
        return combo != nullptr ? code | combo->WantsKey(reinterpret_cast<const MSG*>(lParam)) : code;
      }
      default: break;
    }
    return Inner(message, wParam, lParam);
  }

 private:
  LRESULT Inner(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_inner ? m_inner->Procedure(message, wParam, lParam) : ::DefWindowProc(hwnd(), message, wParam, lParam);
  }

  HWND m_combo;
  std::unique_ptr<ControlModel> m_inner;
};

const bool kRegistered =
    RegisterControlModel("COMBOBOX", CS_DBLCLKS, [](HWND h) { return std::make_unique<ComboBoxModel>(h); });

}  // namespace

ComboBoxModel::ComboBoxModel(HWND hwnd) : ControlModel(hwnd) { (void)kRegistered; }

ComboBoxModel::~ComboBoxModel() = default;

// ---- Helpers -------------------------------------------------------------------

LRESULT ComboBoxModel::List(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (m_list == nullptr) return CB_ERR;
  return ::SendMessage(m_list, message, wParam, lParam);
}

int ComboBoxModel::CurSel() const { return static_cast<int>(List(LB_GETCURSEL)); }

std::string ComboBoxModel::ItemText(int index) const {
  const DWORD style = Style();
  const bool strings = !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (style & CBS_HASSTRINGS);
  const LRESULT length = List(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (!strings || length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = List(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

int ComboBoxModel::ButtonWidth() const { return Kind() == CBS_SIMPLE ? 0 : GetSystemMetrics(SM_CXVSCROLL); }

bool ComboBoxModel::Owns(HWND other) const {
  return other != nullptr && (other == hwnd() || other == m_edit || other == m_list);
}

// ---- Creation and layout -----------------------------------------------------------

LRESULT ComboBoxModel::OnCreate(const CREATESTRUCT* cs) {
  const DWORD style = Style();
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const HINSTANCE instance = cs != nullptr ? cs->hInstance : nullptr;

  m_fieldHeight = FontItemHeight(hwnd()) + kFieldPadding;
  if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
    // The owner sizes the selection field (item -1).
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_COMBOBOX;
    mis.CtlID = static_cast<UINT>(ControlId());
    mis.itemID = static_cast<UINT>(-1);
    mis.itemWidth = static_cast<UINT>(width);
    mis.itemHeight = static_cast<UINT>(m_fieldHeight - kFieldPadding);
    if (HWND parent = ::GetParent(hwnd()))
      ::SendMessage(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    m_fieldHeight = static_cast<int>(std::clamp<UINT>(mis.itemHeight, 1, 255)) + kFieldPadding;
  }

  DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL | WS_BORDER;
  if (style & CBS_SORT) listStyle |= LBS_SORT;
  if (style & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
  if (style & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
  if (style & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
  if (style & CBS_NOINTEGRALHEIGHT) listStyle |= LBS_NOINTEGRALHEIGHT;
  if (style & CBS_DISABLENOSCROLL) listStyle |= LBS_DISABLENOSCROLL;
  // A child of the combo box in both kinds: shown below the field while
  // dropped, it stays in the dialog that the user is working in, so a click
  // on it neither activates another window nor takes the focus.
  const bool simple = Kind() == CBS_SIMPLE;
  if (!simple) m_droppedHeight = height;
  m_list = ::CreateWindowEx(0, "ComboLBox", nullptr, listStyle | WS_CHILD | (simple ? WS_VISIBLE : 0), 0, m_fieldHeight,
                            width, std::max(simple ? 0 : kListItemHeight, height - m_fieldHeight), hwnd(),
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(kComboListId)), instance, hwnd());
  if (m_list == nullptr) return -1;

  if (HasEdit()) {
    DWORD editStyle = WS_CHILD | WS_VISIBLE;
    if (style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
    if (style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
    if (style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
    if (style & CBS_OEMCONVERT) editStyle |= ES_OEMCONVERT;
    m_edit = ::CreateWindowEx(0, "Edit", "", editStyle, 0, 0, width - ButtonWidth(), m_fieldHeight, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<uintptr_t>(kComboEditId)), instance, nullptr);
    if (m_edit == nullptr) return -1;
    if (WindowRecord* r = FindWindowRecord(m_edit)) {
      r->model = std::make_unique<ComboEditModel>(m_edit, hwnd(), std::move(r->model));
    }
    if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) {
      const bool saved = m_keepListSel;
      m_keepListSel = true;
      SetEditQuietly(cs->lpszName);
      m_keepListSel = saved;
    }
  }

  // The window is the field; the height it was given is the dropped height.
  SetFieldHeight(m_fieldHeight - kFieldPadding);
  return 0;
}

void ComboBoxModel::SetFieldHeight(int textHeight) {
  m_fieldHeight = textHeight + kFieldPadding;
  if (Kind() != CBS_SIMPLE) {
    RECT window;
    RECT client;
    ::GetWindowRect(hwnd(), &window);
    ::GetClientRect(hwnd(), &client);
    const int frame = (window.bottom - window.top) - (client.bottom - client.top);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, m_fieldHeight + frame,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Layout();
}

void ComboBoxModel::Layout() {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (m_edit != nullptr) {
    ::MoveWindow(m_edit, 0, 0, width - ButtonWidth(), Kind() == CBS_SIMPLE ? m_fieldHeight : height, TRUE);
  }
  if (Kind() == CBS_SIMPLE && m_list != nullptr) {
    ::MoveWindow(m_list, 0, m_fieldHeight, width, std::max(0, height - m_fieldHeight), TRUE);
  }
}

// ---- The edit field ------------------------------------------------------------------

void ComboBoxModel::SetEditQuietly(const char* text) {
  const bool saved = m_quietEdit;
  m_quietEdit = true;
  ::SendMessage(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  m_quietEdit = saved;
}

void ComboBoxModel::ShowInEdit(int index) {
  if (m_edit == nullptr) {
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return;
  }
  const std::string text = index >= 0 ? ItemText(index) : std::string();
  const bool saved = m_keepListSel;
  m_keepListSel = true;
  SetEditQuietly(text.c_str());
  m_keepListSel = saved;
  if (m_focused) ::SendMessage(m_edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
}

std::string ComboBoxModel::EditText() const {
  if (m_edit == nullptr) return {};
  const LRESULT length = ::SendMessage(m_edit, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
  const LRESULT copied = ::SendMessage(m_edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

void ComboBoxModel::ListFollowsEdit(bool select) {
  const std::string text = EditText();
  const LRESULT found =
      text.empty() ? CB_ERR : List(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  List(LB_SETCURSEL, select ? static_cast<WPARAM>(found) : static_cast<WPARAM>(-1));
  const auto shown = static_cast<WPARAM>(std::max<LRESULT>(found, 0));
  List(LB_SETCARETINDEX, shown);
  List(LB_SETTOPINDEX, shown);
}

void ComboBoxModel::OnEditCommand(UINT code) {
  switch (code) {
    case EN_UPDATE:
      if (!m_quietEdit) NotifyParent(CBN_EDITUPDATE);
      break;
    case EN_CHANGE:
      if (!m_keepListSel) ListFollowsEdit(m_dropped);
      if (!m_quietEdit && ::IsWindow(hwnd())) NotifyParent(CBN_EDITCHANGE);
      break;
    case EN_ERRSPACE: NotifyParent(CBN_ERRSPACE); break;
    default: break;
  }
}

// ---- Dropping and closing --------------------------------------------------------------

void ComboBoxModel::DropDown() {
  if (m_dropped || Kind() == CBS_SIMPLE || m_list == nullptr) return;
  NotifyParent(CBN_DROPDOWN);  // the owner may still fill the list
  if (!::IsWindow(hwnd()) || m_dropped) return;
  m_notifiedSel = CurSel();
  m_hovered = false;
  if (HasEdit()) {
    ListFollowsEdit(true);
  } else {
    const WPARAM shown = static_cast<WPARAM>(std::max(CurSel(), 0));
    List(LB_SETCARETINDEX, shown);
    List(LB_SETTOPINDEX, shown);
  }
  // As the version-6 controls size it: as wide as the combo box (or the
  // dropped width set), as tall as its items up to CB_GETMINVISIBLE of
  // them; the list's own bar scrolls the rest. A combo box without integral
  // height keeps the height its template gave.
  RECT client;
  ::GetClientRect(hwnd(), &client);
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  POINT origin{0, 0};
  ::ClientToScreen(hwnd(), &origin);
  const int width = std::max<int>(window.right - window.left, m_droppedWidth);
  const int itemHeight = std::max<int>(1, static_cast<int>(List(LB_GETITEMHEIGHT, 0)));
  const int count = std::max<int>(1, static_cast<int>(List(LB_GETCOUNT)));
  // Borders of the list: one pixel above and below.
  int height = std::min(count, m_minVisible) * itemHeight + 2;
  if (Style() & CBS_NOINTEGRALHEIGHT) height = std::max(m_droppedHeight - m_fieldHeight, itemHeight + 2);
  m_dropped = true;
  ::SetWindowPos(m_list, HWND_TOP, window.left - origin.x, client.bottom, width, height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
  // Painted at once: its paint asks the combo box for its colours.
  ::InvalidateRect(m_list, nullptr, TRUE);
  ::UpdateWindow(m_list);
}

void ComboBoxModel::RollUp(bool ok) {
  if (!m_dropped) return;
  // An item the pointer selected in passing is the choice only when kept.
  const bool hovered = m_hovered && CurSel() != m_notifiedSel;
  m_hovered = false;
  if (hovered && !ok) List(LB_SETCURSEL, static_cast<WPARAM>(m_notifiedSel));
  NotifyParent(ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!::IsWindow(hwnd()) || !m_dropped) return;
  m_dropped = false;
  ::ShowWindow(m_list, SW_HIDE);
  NotifyParent(CBN_CLOSEUP);
  if (hovered && ok && ::IsWindow(hwnd())) {
    m_notifiedSel = CurSel();
    NotifyParent(CBN_SELCHANGE);
    if (::IsWindow(hwnd())) ShowInEdit(CurSel());
  }
}

void ComboBoxModel::OnListCommand(UINT code) {
  switch (code) {
    case LBN_SELCHANGE:
      m_notifiedSel = CurSel();  // told below
      m_hovered = false;
      if (m_keyNav) {
        // A key chose: at once when closed, tentatively while dropped.
        if (!m_dropped) NotifyParent(CBN_SELENDOK);
      } else if (Kind() == CBS_SIMPLE) {
        NotifyParent(CBN_SELENDOK);
      } else {
        RollUp(true);  // a click on an item of the dropped list
      }
      if (!::IsWindow(hwnd())) return;
      NotifyParent(CBN_SELCHANGE);
      if (!::IsWindow(hwnd())) return;
      ShowInEdit(CurSel());
      break;
    case LBN_SELCANCEL: RollUp(false); break;
    case kComboListHovered: m_hovered = true; break;
    case LBN_DBLCLK:
      // Only a list that stays shown can be double-clicked.
      if (Kind() == CBS_SIMPLE) NotifyParent(CBN_DBLCLK);
      break;
    case LBN_ERRSPACE: NotifyParent(CBN_ERRSPACE); break;
    default: break;
  }
}

// ---- Keyboard, mouse and focus ---------------------------------------------------------

bool ComboBoxModel::EditKey(UINT message, UINT key) { return OnKey(message, key); }

LRESULT ComboBoxModel::WantsKey(const MSG* msg) const {
  // A dropped list keeps Enter and Escape from the dialog manager.
  const bool closingKey =
      msg != nullptr && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
  return m_dropped && closingKey ? DLGC_WANTMESSAGE : 0;
}

void ComboBoxModel::EditFocus(bool gained, HWND other) {
  if (gained) {
    FocusIn();
  } else {
    FocusOut(other);
  }
}

bool ComboBoxModel::OnKey(UINT message, UINT key) {
  const bool alt = message == WM_SYSKEYDOWN;
  const bool simple = Kind() == CBS_SIMPLE;
  if ((!alt && key == VK_F4) || (alt && (key == VK_DOWN || key == VK_UP))) {
    if (simple) return false;
    if (m_dropped) {
      RollUp(true);
    } else {
      DropDown();
    }
    return true;
  }
  if (alt) return false;
  if (m_dropped && (key == VK_RETURN || key == VK_ESCAPE)) {
    RollUp(key == VK_RETURN);
    return true;
  }
  if (m_extendedUi && !m_dropped && !simple && key == VK_DOWN) {
    DropDown();
    return true;
  }
  const bool listKey = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
                       (!HasEdit() && (key == VK_HOME || key == VK_END || key == VK_LEFT || key == VK_RIGHT));
  if (!listKey || m_list == nullptr) return false;
  m_keyNav = true;
  ::SendMessage(m_list, WM_KEYDOWN, key, 0);
  m_keyNav = false;
  return true;
}

void ComboBoxModel::OnButtonDown(POINT p) {
  if (!Owns(::GetFocus())) {
    ::SetFocus(hwnd());
    if (!::IsWindow(hwnd())) return;
  }
  if (Kind() == CBS_SIMPLE) return;
  if (m_dropped) {
    RollUp(true);
    return;
  }
  RECT client;
  ::GetClientRect(hwnd(), &client);
  if (!HasEdit() || p.x >= client.right - ButtonWidth()) DropDown();
}

void ComboBoxModel::FocusIn() {
  if (m_focused) return;
  m_focused = true;
  if (m_edit != nullptr) ::SendMessage(m_edit, EM_SETSEL, 0, static_cast<LPARAM>(-1));
  NotifyParent(CBN_SETFOCUS);
}

void ComboBoxModel::FocusOut(HWND other) {
  if (!m_focused || Owns(other)) return;
  RollUp(false);
  if (!::IsWindow(hwnd())) return;
  m_focused = false;
  if (m_edit != nullptr) ::SendMessage(m_edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  NotifyParent(CBN_KILLFOCUS);
}

// ---- Text, painting, information ----------------------------------------------------------

LRESULT ComboBoxModel::GetText(WPARAM size, LPARAM buffer) const {
  if (m_edit != nullptr) return ::SendMessage(m_edit, WM_GETTEXT, size, buffer);
  const int sel = CurSel();
  return CopyWindowText(sel >= 0 ? ItemText(sel) : std::string(), size, buffer);
}

LRESULT ComboBoxModel::SetText(LPARAM text) {
  if (m_edit != nullptr) {
    // The list still follows the new text; only the notifications are quiet.
    const bool saved = m_quietEdit;
    m_quietEdit = true;
    const LRESULT result = ::SendMessage(m_edit, WM_SETTEXT, 0, text);
    m_quietEdit = saved;
    return result;
  }
  // A drop-down list shows only its items: the text selects the item it names.
  const LRESULT found = text != 0 ? List(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text) : CB_ERR;
  if (found < 0) return CB_ERR;
  List(LB_SETCURSEL, static_cast<WPARAM>(found));
  ::InvalidateRect(hwnd(), nullptr, TRUE);
  return TRUE;
}

void ComboBoxModel::PaintField(HDC dc) {
  if (m_edit != nullptr || !(Style() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) return;
  HWND parent = ::GetParent(hwnd());
  if (parent == nullptr) return;
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const int sel = CurSel();
  DRAWITEMSTRUCT dis;
  dis.CtlType = ODT_COMBOBOX;
  dis.CtlID = static_cast<UINT>(ControlId());
  dis.itemID = static_cast<UINT>(sel);
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = ODS_COMBOBOXEDIT;
  if (m_focused && !m_dropped) dis.itemState |= ODS_SELECTED | ODS_FOCUS;
  if (!::IsWindowEnabled(hwnd())) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = hwnd();
  dis.hDC = dc;
  dis.rcItem = RECT{0, 0, client.right - ButtonWidth(), client.bottom};
  dis.itemData = sel >= 0 ? static_cast<ULONG_PTR>(List(LB_GETITEMDATA, static_cast<WPARAM>(sel))) : 0;
  ::SendMessage(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void ComboBoxModel::FillInfo(COMBOBOXINFO& info) const {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  const int button = ButtonWidth();
  info.rcItem = RECT{0, 0, client.right - button, Kind() == CBS_SIMPLE ? m_fieldHeight : client.bottom};
  info.rcButton = button > 0 ? RECT{client.right - button, 0, client.right, client.bottom} : RECT{};
  info.stateButton = m_dropped ? 0x8 /* pressed */ : 0;
  info.hwndCombo = hwnd();
  info.hwndItem = m_edit != nullptr ? m_edit : hwnd();
  info.hwndList = m_list;
}

// ---- The procedure ----------------------------------------------------------------------------

LRESULT ComboBoxModel::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  // What the edit field and the list ask goes on to the combo box's parent.
  if (platform::IsCtlColorMessage(message) || platform::IsOwnerDrawMessage(message)) {
    if (HWND parent = ::GetParent(hwnd())) return ::SendMessage(parent, message, wParam, lParam);
    return ::DefWindowProc(hwnd(), message, wParam, lParam);
  }
  const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<const CREATESTRUCT*>(lParam));
    case WM_SIZE: Layout(); break;
    case WM_SHOWWINDOW:
      if (wParam == 0) RollUp(false);
      break;
    case WM_ENABLE:
      if (wParam == 0) RollUp(false);
      if (m_edit != nullptr) ::EnableWindow(m_edit, static_cast<BOOL>(wParam));
      if (m_list != nullptr) ::EnableWindow(m_list, static_cast<BOOL>(wParam));
      break;
    case WM_SETFONT: {
      const LRESULT result = ::DefWindowProc(hwnd(), message, wParam, lParam);
      if (m_edit != nullptr) ::SendMessage(m_edit, WM_SETFONT, wParam, lParam);
      if (m_list != nullptr) ::SendMessage(m_list, WM_SETFONT, wParam, lParam);
      if (!(Style() & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) SetFieldHeight(FontItemHeight(hwnd()));
      return result;
    }

    case WM_GETTEXT: return GetText(wParam, lParam);
    case WM_GETTEXTLENGTH: {
      if (m_edit != nullptr) return ::SendMessage(m_edit, WM_GETTEXTLENGTH, 0, 0);
      const int sel = CurSel();
      return sel >= 0 ? static_cast<LRESULT>(ItemText(sel).size()) : 0;
    }
    case WM_SETTEXT: return SetText(lParam);
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      if (m_edit != nullptr) return ::SendMessage(m_edit, message, wParam, lParam);
      return CB_ERR;

    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lParam);
      if (from != nullptr && from == m_edit) OnEditCommand(HIWORD(wParam));
      if (from != nullptr && from == m_list) OnListCommand(HIWORD(wParam));
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | WantsKey(reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
      if (m_edit != nullptr) {
        ::SetFocus(m_edit);
      } else {
        FocusIn();
      }
      return 0;
    case WM_KILLFOCUS:
      if (m_edit == nullptr) FocusOut(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKey(message, static_cast<UINT>(wParam))) return 0;
      break;
    case WM_CHAR:
      if (m_edit != nullptr) return ::SendMessage(m_edit, message, wParam, lParam);
      m_keyNav = true;  // the list searches its items and passes over control characters itself
      ::SendMessage(m_list, WM_CHAR, wParam, lParam);
      m_keyNav = false;
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintOrPrint(message, wParam, [this](HDC dc) { PaintField(dc); });

    // ---- Items: the list's messages in the combo box's name ----
    case CB_ADDSTRING: return List(LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING: return List(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: return List(LB_DELETESTRING, wParam);
    case CB_RESETCONTENT:
      List(LB_RESETCONTENT);
      ShowInEdit(-1);
      return CB_OKAY;
    case CB_GETCOUNT: return List(LB_GETCOUNT);
    case CB_GETLBTEXT: return List(LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN: return List(LB_GETTEXTLEN, wParam);
    case CB_FINDSTRING: return List(LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT: return List(LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETITEMDATA: return List(LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA: return List(LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX: return List(LB_GETTOPINDEX);
    case CB_SETTOPINDEX: return List(LB_SETTOPINDEX, wParam);
    case CB_GETHORIZONTALEXTENT: return List(LB_GETHORIZONTALEXTENT);
    case CB_SETHORIZONTALEXTENT: return List(LB_SETHORIZONTALEXTENT, wParam);
    case CB_INITSTORAGE: return List(LB_INITSTORAGE, wParam, lParam);
    case CB_DIR: return CB_ERR;

    // ---- Selection ----
    case CB_GETCURSEL: return CurSel();
    case CB_SETCURSEL: {
      const LRESULT result = List(LB_SETCURSEL, wParam);
      if (result >= 0) List(LB_SETTOPINDEX, wParam);
      // The field shows the item, or nothing for -1 or an index past the end.
      ShowInEdit(static_cast<int>(result));
      return result;
    }
    case CB_SELECTSTRING: {
      const LRESULT found = List(LB_SELECTSTRING, wParam, lParam);
      if (found >= 0) ShowInEdit(static_cast<int>(found));
      return found;
    }

    // ---- The drop-down ----
    case CB_SHOWDROPDOWN:
      if (wParam != 0) {
        DropDown();
      } else {
        RollUp(false);
      }
      return TRUE;
    case CB_GETDROPPEDSTATE: return m_dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect == nullptr) return CB_ERR;
      ::GetWindowRect(hwnd(), rect);
      rect->right = rect->left + std::max<int>(rect->right - rect->left, m_droppedWidth);
      rect->bottom = rect->top + std::max(m_droppedHeight, m_fieldHeight);
      return TRUE;
    }
    case CB_SETDROPPEDWIDTH: {
      if (Kind() == CBS_SIMPLE || index < 0 || index >= 32768) return CB_ERR;
      RECT window;
      ::GetWindowRect(hwnd(), &window);
      // Narrower than the combo box means "as wide as the combo box".
      m_droppedWidth = index >= window.right - window.left ? index : 0;
      [[fallthrough]];
    }
    case CB_GETDROPPEDWIDTH: {
      if (m_droppedWidth > 0) return m_droppedWidth;
      RECT window;
      ::GetWindowRect(hwnd(), &window);
      return window.right - window.left;
    }
    case CB_SETMINVISIBLE:
      if (index <= 0) return FALSE;
      m_minVisible = index;
      return TRUE;
    case CB_GETMINVISIBLE: return m_minVisible;
    case CB_SETEXTENDEDUI: m_extendedUi = wParam != 0; return CB_OKAY;
    case CB_GETEXTENDEDUI: return m_extendedUi ? TRUE : FALSE;
    case CB_GETCOMBOBOXINFO: {
      auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
      if (info == nullptr) return FALSE;
      FillInfo(*info);
      return TRUE;
    }

    // ---- The edit field ----
    case CB_GETEDITSEL: {
      if (m_edit == nullptr) return CB_ERR;
      const auto packed = static_cast<uintptr_t>(::SendMessage(m_edit, EM_GETSEL, 0, 0));
      if (auto* start = reinterpret_cast<DWORD*>(wParam)) *start = LOWORD(packed);
      if (auto* end = reinterpret_cast<DWORD*>(lParam)) *end = HIWORD(packed);
      return static_cast<LRESULT>(MAKELONG(LOWORD(packed), HIWORD(packed)));
    }
    case CB_SETEDITSEL: {
      if (m_edit == nullptr) return CB_ERR;
      // Each half is a signed 16-bit position: -1 as start removes the
      // selection, -1 as end means the end of the text.
      const auto start = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lParam)));
      const auto end = static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lParam)));
      ::SendMessage(m_edit, EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(start)), static_cast<LPARAM>(end));
      return TRUE;
    }
    case CB_LIMITTEXT:
      if (m_edit == nullptr) return CB_ERR;
      ::SendMessage(m_edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_SETITEMHEIGHT: {
      if (index != -1) return List(LB_SETITEMHEIGHT, wParam, lParam);
      const int height = LOWORD(static_cast<uintptr_t>(lParam));
      if (height <= 0 || height > 255) return CB_ERR;
      SetFieldHeight(height);
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
      if (index == -1) return m_fieldHeight - kFieldPadding;
      return List(LB_GETITEMHEIGHT, wParam);
    default: break;
  }
  return ::DefWindowProc(hwnd(), message, wParam, lParam);
}

}  // namespace platform

BOOL GetComboBoxInfo(HWND combo, PCOMBOBOXINFO info) {
  if (info == nullptr || !::IsWindow(combo)) return FALSE;
  return ::SendMessage(combo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)) != 0 ? TRUE : FALSE;
}
