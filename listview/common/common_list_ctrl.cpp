// CCommonListCtrl: lifecycle, messages, look and keyboard.
#include "listview/common/common_list_ctrl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "listview/appearance/customized_appearance.h"
#include "listview/common/sort_images.h"
#include "listview/profile/appearance_line.h"
#include "listview/profile/settings_file.h"
#include "listview/profile/settings_report.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/window/keyboard.h"
#include "platform/gdi/text_metrics.h"
#include "platform/comctl/tooltip.h"

namespace {

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

// Asking for the settings folder and the holder of the process's appearance
// dialog here makes both exist before any list that saves into the one and
// unbinds itself from the other when it is destroyed, so that a list owned by
// a static object, destroyed while the process exits, still finds them
// (statics go in reverse order of creation).
CCommonListCtrl::CCommonListCtrl() {
  (void)listview::SettingsFolder();
  (void)listview::ExistingAppearanceDialog();
}

// The window goes first, while the whole object still answers its
// WM_DESTROY (which saves the layout); the keyword arrays go with the
// appearance member.
CCommonListCtrl::~CCommonListCtrl() {
  if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CCommonListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  const BOOL created = CListCtrl::Create(style, rect, parent, id);
  if (created) LoadCustomization();
  return created;
}

BOOL CCommonListCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  const BOOL created = CListCtrl::CreateEx(exStyle, style, rect, parent, id);
  if (created) LoadCustomization();
  return created;
}

void CCommonListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  if (m_hWnd == nullptr) return;
  SetExtendedStyle(LVS_EX_FULLROWSELECT);
  EnableToolTips();  // row tips show once the owner gives a callback
  LoadCustomization();
}

CWnd* CCommonListCtrl::DialogAncestor() const {
  for (HWND h = ::GetParent(m_hWnd); h != nullptr; h = ::GetParent(h)) {
    char name[64] = {};
    ::GetClassName(h, name, sizeof(name));
    if (CString(name) == "#32770") return CWnd::FromHandle(h);
  }
  return nullptr;
}

void CCommonListCtrl::LoadCustomization() {
  // The sort column shows the ascending image from the start.
  if (CHeaderCtrl* header = GetHeaderCtrl()) {
    header->SetImageList(listview::SortImageList());
    SetHeaderSortImage(m_nSortColumn, listview::kSortImageAscending);
  }
  m_nPrevSortColumn = m_nSortColumn;
  m_nSortDirection = -1;

  SetExtendedStyle(GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  SetTextColor(0x00FF00);
  SetBkColor(0);
  SetTextBkColor(0);

  if (DialogAncestor() != nullptr && m_bCustomize) {
    CString value;
    bool cut = false;
    if (!listview::ReadAppearanceLine(m_strProfileName, GetDlgCtrlID(), value, &cut)) {
      m_appearance = listview::DefaultAppearance();
    } else {
      m_cCustomized = 1;
      std::string damage;
      if (cut) damage = "longer than the reader keeps, cut";
      listview::ParseAppearanceLine(value, m_appearance, &damage);
      if (!damage.empty()) {
        listview::ReportDamagedLine(listview::kAppearanceSection,
                                    listview::AppearanceKey(m_strProfileName, GetDlgCtrlID()), damage);
      }
    }
  }
  SetListFont(m_appearance.strFontFace, m_appearance.strFontSize);
  if (m_bApplyColors) {
    SetBkColor(m_appearance.clrBack);
    SetTextBkColor(m_appearance.clrBack);
    SetTextColor(m_appearance.clrText);
    Invalidate();
  }
}

void CCommonListCtrl::SetListFont(const CString& face, const CString& size) {
  LOGFONT lf{};
  if (CFont* current = GetFont(); current != nullptr) current->GetLogFont(&lf);
  // As much of the name as the field holds with its terminator.
  std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), '\0');
  std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", face.GetString());
  // The device's vertical resolution, as the screen's fonts report it.
  TEXTMETRIC tm{};
  if (CDC* dc = GetDC(); dc != nullptr) {
    dc->GetTextMetrics(&tm);
    ReleaseDC(dc);
  }
  lf.lfHeight = -MulDiv(std::atoi(size), static_cast<int>(tm.tmDigitizedAspectY), 72);
  auto font = std::make_unique<CFont>();
  if (!font->CreateFontIndirect(&lf)) return;
  SetFont(font.get(), TRUE);
  m_font = std::move(font);  // the previous one is no longer the list's
}

void CCommonListCtrl::ToggleGridLines() { SetExtendedStyle(GetExtendedStyle() ^ LVS_EX_GRIDLINES); }

void CCommonListCtrl::Redraw(bool on) { SendMessage(WM_SETREDRAW, on ? TRUE : FALSE); }

// ---- Cells ----

int CCommonListCtrl::GetItemText(int item, int subItem, LPTSTR buffer, int length) const {
  return CListCtrl::GetItemText(item, subItem, buffer, length);
}

CString CCommonListCtrl::GetItemText(int item, int subItem) const { return CListCtrl::GetItemText(item, subItem); }

DWORD_PTR CCommonListCtrl::GetItemData(int item) const {
  if (item >= 0 && item < m_arrSavedItemData.GetSize()) return m_arrSavedItemData[item];
  return CListCtrl::GetItemData(item);
}

// ---- Drawing and measuring ----

void CCommonListCtrl::DrawItem(LPDRAWITEMSTRUCT dis) {
  // The owner draws the row. A window that hands the request back (a window
  // reflects a control's WM_DRAWITEM to the control) is not asked again.
  if (m_bOwnerDrawing || m_pNotifyWnd == nullptr || m_pNotifyWnd->GetSafeHwnd() == nullptr) return;
  m_bOwnerDrawing = true;
  m_pNotifyWnd->SendMessage(WM_DRAWITEM, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(dis));
  m_bOwnerDrawing = false;
}

void CCommonListCtrl::MeasureItem(LPMEASUREITEMSTRUCT mis) {
  // Measured with the list's font on the screen.
  const HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return;
  CDC* dc = CDC::FromHandle(screen);
  CFont* old = GetFont() != nullptr ? dc->SelectObject(GetFont()) : nullptr;
  TEXTMETRIC tm{};
  dc->GetTextMetrics(&tm);
  if (old != nullptr) dc->SelectObject(old);
  ::ReleaseDC(nullptr, screen);
  mis->itemHeight = static_cast<UINT>(tm.tmHeight + tm.tmExternalLeading + 1);
}

BOOL CCommonListCtrl::OnEraseBkgnd(CDC* dc) {
  if (!m_bFillEmptyArea || dc == nullptr) return CListCtrl::OnEraseBkgnd(dc);
  int bottom = 0;  // neither rows nor a header: the whole client area
  const int count = GetItemCount();
  RECT row{};
  if (count > 0 && GetItemRect(count - 1, &row, LVIR_BOUNDS)) bottom = row.bottom;
  else if (CHeaderCtrl* header = GetHeaderCtrl()) {
    RECT h{};
    header->GetClientRect(&h);
    bottom = h.bottom;
  }
  CBrush black(RGB(0, 0, 0));
  FillEmptyArea(bottom, [&](const CRect& area) { dc->FillRect(&area, &black); });
  return FALSE;
}

void CCommonListCtrl::FillEmptyArea(int bottom, const std::function<void(const CRect&)>& fill) {
  CRect client;
  GetClientRect(&client);
  // The columns' end moves with the rows when they are scrolled sideways.
  POINT origin{};
  SendMessage(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(&origin));
  int right = -origin.x;
  if (CHeaderCtrl* header = GetHeaderCtrl()) {
    for (int i = 0; i < header->GetItemCount(); ++i) right += GetColumnWidth(i);
  }
  const CRect beside(right, client.top, client.right, client.bottom);
  const CRect below(client.left, bottom, std::min<LONG>(right, client.right), client.bottom);
  for (const CRect& area : {beside, below}) {
    if (!area.IsRectEmpty()) fill(area);
  }
}

// ---- Messages ----

BOOL CCommonListCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_SETFONT) {
    *result = DefWindowProc(message, wParam, lParam);
    // The control asks for the row height again on a size change.
    CRect window;
    GetWindowRect(&window);
    WINDOWPOS pos{};
    pos.hwnd = m_hWnd;
    pos.cx = window.Width();
    pos.cy = window.Height();
    pos.flags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER;
    SendMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
  }
  return CListCtrl::OnWndMsg(message, wParam, lParam, result);
}

Reflect CCommonListCtrl::OnReflectNotify(NMHDR* header, LRESULT* result) {
  if (header->code == LVN_COLUMNCLICK) {
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    *result = 0;
    return Reflect::Consume;
  }
  if (header->code == NM_RCLICK) {
    ShowListMenu();
    *result = 0;
    return Reflect::Consume;
  }
  return CListCtrl::OnReflectNotify(header, result);
}

BOOL CCommonListCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case list_command::kFitToData:
    case list_command::kFitToHeader:
    case list_command::kFitToWindow: FitColumns(LOWORD(wParam)); return TRUE;
    case list_command::kWriteToExcel: ExportToExcel(); return TRUE;
    case list_command::kReadFromExcel: return TRUE;  // the entry has no behaviour
    case list_command::kGridLines: ToggleGridLines(); return TRUE;
    case list_command::kCopyToClipboard: CopyToClipboard(); return TRUE;
    case list_command::kCustomize:
      if (m_bCustomize) OpenAppearanceDialog();
      return TRUE;
    case list_command::kRepositionColumns: OpenRepositionColumns(false); return TRUE;
    case list_command::kRepositionColumnsAlt: OpenRepositionColumns(true); return TRUE;
    default: return CListCtrl::OnCommand(wParam, lParam);
  }
}

BOOL CCommonListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header != nullptr && (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW)) {
    // Only the list's own tools ask for text; the control has no use for the request.
    OnItemToolTipText(header);
    *result = 0;
    return TRUE;
  }
  if (m_bHeaderToolTips && header != nullptr) {
    if (header->code == HDN_ITEMCHANGEDA || header->code == HDN_ITEMCHANGEDW) {
      RealignHeaderToolTips();
    } else if (header->code == HDN_ENDDRAG) {
      // The width is posted back unchanged so that the change notification
      // that follows the drop realigns the tools.
      const int item = reinterpret_cast<NMHEADER*>(lParam)->iItem;
      PostMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(item), GetColumnWidth(item));
    }
  }
  return CListCtrl::OnNotify(wParam, lParam, result);
}

void CCommonListCtrl::OpenRepositionColumns(bool secondMode) {
  if (m_dlgReposition.GetSafeHwnd() != nullptr) m_dlgReposition.DestroyWindow();
  if (!m_dlgReposition.Create(reposition_id::kDialog, this)) return;
  m_dlgReposition.Open(this, m_arrColumns);
  m_dlgReposition.SetSecondMode(secondMode);
  m_dlgReposition.ShowWindow(SW_SHOW);
  m_dlgReposition.BringWindowToTop();
}

void CCommonListCtrl::OnDestroy() {
  if (m_dlgReposition.GetSafeHwnd() != nullptr) m_dlgReposition.DestroyWindow();
  CListCtrl::OnDestroy();
  ReleaseAppearanceDialog();
  SaveColumnProfile();
  m_arrColumns.RemoveAll();
  m_arrColumnOrder.RemoveAll();
  m_arrColumnAtPosition.RemoveAll();
  if (CHeaderCtrl* header = GetHeaderCtrl()) {
    while (header->GetItemCount() > 0) header->DeleteItem(0);
  }
  if (m_hHeaderTip != nullptr) {
    ::DestroyWindow(m_hHeaderTip);
    m_hHeaderTip = nullptr;
  }
}

// ---- Keyboard ----

bool CCommonListCtrl::HandleShortcut(UINT key) {
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool shift = KeyDown(VK_SHIFT);
  if (key == 'A' && ctrl) {
    SetItemState(-1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else if (key == 'C' && ctrl) {
    CopyToClipboard();
    if (shift && m_bCustomize) OpenAppearanceDialog();
  } else if (key == 'E' && shift && !ctrl) {
    ExportToExcel();
    return true;
  } else if (key == 'G' && shift && !ctrl) {
    ToggleGridLines();
  } else if (key == VK_APPS) {
    NMHDR notify{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), NM_RCLICK};
    CWnd* target = m_pNotifyWnd != nullptr ? m_pNotifyWnd : GetParent();
    if (target != nullptr) {
      target->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&notify));
    }
  }
  return false;
}

// The list sees the keys of its children before they do, its header's
// filter boxes among them. Keys typed in a box are the box's text: a Shift+E
// there would otherwise write a spreadsheet and lose the E, a Shift+G toggle
// the grid lines, and Ctrl+A select every row (which "Delete Group" would
// then delete) instead of the box's text, Ctrl+C copy rows instead of it.
// The header itself never has the focus (a click on it leaves the focus
// where it was), so the keys that are the list's are those sent to the list.
bool CCommonListCtrl::ShortcutsApplyTo(HWND target) const { return target == m_hWnd; }

BOOL CCommonListCtrl::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && ShortcutsApplyTo(msg->hwnd) && HandleShortcut(static_cast<UINT>(msg->wParam))) {
    return TRUE;
  }
  // The header tip sees the mouse only through this relay: moves over the
  // header start its delay, moves anywhere else in the list end it, and a
  // press hides it. (The platform's tip has no TTF_SUBCLASS hook to do it.)
  if (m_hHeaderTip != nullptr && ::IsWindow(m_hHeaderTip)) {
    ::SendMessage(m_hHeaderTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  }
  return CListCtrl::PreTranslateMessage(msg);
}
