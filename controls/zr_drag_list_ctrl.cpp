#include "controls/zr_drag_list_ctrl.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/comctl/tooltip.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/user/message_box.h"
#include "platform/window/cpaintdc.h"
#include "platform/window/scroll_bar.h"

namespace {

constexpr COLORREF kTransparent = RGB(0, 255, 0);
constexpr int kTextLimit = 255;  // characters of an item's text a move carries
// The probe for the window under the pointer lies this far right of the
// list's left edge, inside its first column.
constexpr int kProbeX = 8;

}  // namespace

CZRDragListCtrl::CZRDragListCtrl() = default;

// While this object still is a CZRDragListCtrl, so that OnDestroy ends a
// drag under way and takes the tool-tip along.
CZRDragListCtrl::~CZRDragListCtrl() { DestroyWindow(); }

void CZRDragListCtrl::CreateToolTip() {
  if (m_hToolTip != nullptr) return;
  m_hToolTip =
      ::CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_hWnd, nullptr, nullptr, nullptr);
}

void CZRDragListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  CreateToolTip();
}

int CZRDragListCtrl::OnCreate(LPCREATESTRUCT cs) {
  if (CListCtrl::OnCreate(cs) == -1) return -1;
  CreateToolTip();
  return 0;
}

void CZRDragListCtrl::OnDestroy() {
  if (IsDragging()) {
    StopScrollTimer();
    FinishDrag();
  }
  if (::IsWindow(m_hToolTip)) ::DestroyWindow(m_hToolTip);
  m_hToolTip = nullptr;
  CListCtrl::OnDestroy();
}

Reflect CZRDragListCtrl::OnReflectNotify(NMHDR* header, LRESULT* result) {
  if (header != nullptr && header->code == LVN_BEGINDRAG) {
    BeginDrag(*reinterpret_cast<NMLISTVIEW*>(header));
    *result = 0;
    return Reflect::Consume;
  }
  if (header != nullptr && m_bFollowOwner) FollowOwnersChange(*reinterpret_cast<NMLISTVIEW*>(header));
  return CListCtrl::OnReflectNotify(header, result);
}

void CZRDragListCtrl::FollowOwnersChange(const NMLISTVIEW& change) {
  for (int& index : m_arrDragIndexes) {
    if (change.hdr.code == LVN_DELETEALLITEMS || (change.hdr.code == LVN_DELETEITEM && index == change.iItem)) {
      index = -1;
    } else if (change.hdr.code == LVN_DELETEITEM && index > change.iItem) {
      --index;
    } else if (change.hdr.code == LVN_INSERTITEM && index >= change.iItem) {
      ++index;
    }
  }
}

// ---- Beginning ---------------------------------------------------------------

void CZRDragListCtrl::BeginDrag(const NMLISTVIEW& notify) {
  m_nPrevDropIndex = -1;
  m_uPrevDropState = 0;
  // A drop with nothing highlighted appends, not at the place where an
  // earlier drag left the index.
  m_nDropIndex = -1;
  m_arrDragIndexes.clear();
  POSITION position = GetFirstSelectedItemPosition();
  while (position != nullptr) m_arrDragIndexes.push_back(GetNextSelectedItem(position));

  if (GetStyle() & LVS_SINGLESEL) {
    m_dwStyle = GetStyle();
    ModifyStyle(LVS_SINGLESEL, 0);
  }
  if (m_arrDragIndexes.empty()) {
    RestoreSingleSelection();
    return;
  }
  m_pDragImage.reset();
  CPoint hotspot;
  std::unique_ptr<CImageList> image = BuildDragImage(CPoint(notify.ptAction), &hotspot);
  if (image == nullptr || !m_drag.Load() || !m_drag.beginDrag(*image, 0, hotspot.x, hotspot.y)) {
    RestoreSingleSelection();
    return;
  }
  m_pDragImage = std::move(image);
  // The desktop is the lock window, so the image moves in screen coordinates.
  CPoint screen(notify.ptAction);
  ClientToScreen(&screen);
  m_drag.dragEnter(::GetDesktopWindow(), screen.x, screen.y);
  SetCapture();
}

std::unique_ptr<CImageList> CZRDragListCtrl::BuildDragImage(CPoint cursor, CPoint* hotspot) {
  CRect all;
  bool first = true;
  POSITION position = GetFirstSelectedItemPosition();
  while (position != nullptr) {
    CRect item;
    if (!GetItemRect(GetNextSelectedItem(position), &item, LVIR_BOUNDS)) continue;
    if (first) {
      all = item;
      first = false;
    } else {
      all.left = std::min(all.left, item.left);
      all.top = std::min(all.top, item.top);
      all.right = std::max(all.right, item.right);
      all.bottom = std::max(all.bottom, item.bottom);
    }
  }
  if (all.IsRectEmpty()) return nullptr;  // also when no item had a rectangle

  CClientDC screen(this);
  CDC memory;
  CBitmap bitmap;
  if (!memory.CreateCompatibleDC(&screen) || !bitmap.CreateCompatibleBitmap(&screen, all.Width(), all.Height())) {
    return nullptr;
  }
  CBitmap* old = memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, all.Width(), all.Height(), kTransparent);
  position = GetFirstSelectedItemPosition();
  while (position != nullptr) {
    const int index = GetNextSelectedItem(position);
    CPoint at;
    std::unique_ptr<CImageList> single = CreateDragImage(index, &at);
    if (single == nullptr) continue;
    single->Draw(&memory, 0, CPoint(at.x - all.left, at.y - all.top), ILD_NORMAL);
  }
  memory.SelectObject(old);

  auto image = std::make_unique<CImageList>();
  if (!image->Create(all.Width(), all.Height(), ILC_COLOR24 | ILC_MASK, 0, 1) ||
      image->Add(&bitmap, kTransparent) < 0) {
    return nullptr;
  }
  bitmap.DeleteObject();
  *hotspot = CPoint(cursor.x - all.left, cursor.y - all.top);
  return image;
}

// ---- While dragging ----------------------------------------------------------

void CZRDragListCtrl::OnMouseMove(UINT flags, CPoint point) {
  if (!IsDragging()) {
    StopScrollTimer();
    CListCtrl::OnMouseMove(flags, point);
    return;
  }
  CPoint screen = point;
  ClientToScreen(&screen);
  const HWND desktop = ::GetDesktopWindow();
  m_drag.dragMove(screen.x, screen.y);
  m_drag.dragShowNolock(FALSE);
  m_drag.dragLeave(desktop);

  CRect window;
  GetWindowRect(&window);
  if (::WindowFromPoint(POINT{window.left + kProbeX, screen.y}) == m_hWnd) {
    HighlightItem(HitTest(CPoint(kProbeX, point.y)));
  }

  CRect client;
  GetClientRect(&client);
  int itemTop = client.top;
  // A hidden header takes no room above the rows, whatever height it keeps:
  // counting it would scroll a list without captions over its first rows.
  if (const HWND header = ::GetDlgItem(m_hWnd, 0); ::IsWindowVisible(header)) {
    RECT headerRect;
    ::GetWindowRect(header, &headerRect);
    itemTop += headerRect.bottom - headerRect.top;
  }
  if (point.y < itemTop) {
    StartScrolling(kScrollUp);
  } else if (point.y >= client.bottom) {  // the bottom edge is outside the client area
    StartScrolling(kScrollDown);
  } else {
    StopScrollTimer();
  }

  m_drag.dragEnter(desktop, screen.x, screen.y);
  CListCtrl::OnMouseMove(flags, point);
}

void CZRDragListCtrl::HighlightItem(int index) {
  if (!IsItem(index)) return;
  RestoreHighlight();
  m_uPrevDropState = GetItemState(index, LVIS_SELECTED);
  SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
  m_nPrevDropIndex = index;
  m_nDropIndex = index;
  UpdateWindow();
}

void CZRDragListCtrl::RestoreHighlight() {
  // -1 would address every item; one past the end the list refuses itself.
  if (m_nPrevDropIndex >= 0) SetItemState(m_nPrevDropIndex, m_uPrevDropState, LVIS_SELECTED);
}

void CZRDragListCtrl::StartScrolling(UINT direction) {
  m_nScrollDirection = direction;
  if (m_uScrollTimer == 0) m_uScrollTimer = SetTimer(kScrollTimerId, kScrollPeriodMs);
}

void CZRDragListCtrl::StopScrollTimer() {
  KillTimer(kScrollTimerId);
  m_uScrollTimer = 0;
  m_nScrollDirection = kScrollNone;
}

void CZRDragListCtrl::OnTimer(UINT_PTR id) {
  if (id != kScrollTimerId) {
    CListCtrl::OnTimer(id);
    return;
  }
  // A direction is set only while a drag scrolls.
  if (m_nScrollDirection == kScrollNone) return;
  const bool up = m_nScrollDirection == kScrollUp;
  m_drag.dragShowNolock(FALSE);
  SendMessage(WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
  HighlightItem(up ? m_nDropIndex - 1 : m_nDropIndex + 1);
  m_drag.dragShowNolock(TRUE);
}

void CZRDragListCtrl::OnCaptureChanged(CWnd* wnd) {
  // Another window took the mouse (a message box, a menu) or it was
  // released: no button-up will come, so the drag ends here without a drop.
  // (Taking the capture again, as BeginDrag may, changes nothing: no message.)
  if (IsDragging()) {
    StopScrollTimer();
    RestoreHighlight();
    m_nPrevDropIndex = -1;
    FinishDrag();
    RestoreSingleSelection();
  }
  CListCtrl::OnCaptureChanged(wnd);
}

// ---- Ending ------------------------------------------------------------------

void CZRDragListCtrl::FinishDrag() {
  // The image goes first, so the capture change below finds no drag.
  const std::unique_ptr<CImageList> image = std::move(m_pDragImage);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_drag.Loaded()) {
    m_drag.dragLeave(::GetDesktopWindow());
    m_drag.endDrag();
  }
}

void CZRDragListCtrl::RestoreSingleSelection() {
  if (m_dwStyle == 0) return;
  if (m_dwStyle & LVS_SINGLESEL) ModifyStyle(0, LVS_SINGLESEL);
  m_dwStyle = 0;
}

void CZRDragListCtrl::OnLButtonUp(UINT flags, CPoint point) {
  if (IsDragging()) {
    StopScrollTimer();
    FinishDrag();
    CPoint screen = point;
    ClientToScreen(&screen);
    auto* target = dynamic_cast<CZRDragListCtrl*>(CWnd::FromHandlePermanent(::WindowFromPoint(screen)));
    if (target != nullptr) {
      DropItemOnList(target, screen);
    } else {
      RestoreHighlight();  // dropped outside any list: nothing stays marked
    }
    m_nPrevDropIndex = -1;
    // Where the drag began, the single selection comes back whatever the
    // drop did (a list without it keeps its several-item selections).
    RestoreSingleSelection();
  }
  CListCtrl::OnLButtonUp(flags, point);
}

void CZRDragListCtrl::DropItemOnList(CZRDragListCtrl* target, CPoint screen) {
  // The highlight lives in this list (the pointer's probe only ever marks
  // items here), so it is undone here: undone on another target it would
  // leave an item of this list selected. The target starts with nothing
  // selected.
  RestoreHighlight();
  target->SetItemState(-1, 0, LVIS_SELECTED);
  if (target == this) {
    MoveWithinList();
  } else {
    MoveToList(target, screen);
  }
  target->SetFocus();
}

CZRDragListCtrl::CarriedItem CZRDragListCtrl::ReadItem(int index) const {
  char text[kTextLimit + 1] = {};
  LVITEM item;
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.iSubItem = 0;
  item.pszText = text;
  item.cchTextMax = sizeof(text);
  item.stateMask = kCarriedStateMask;
  GetItem(&item);
  CarriedItem carried;
  carried.text.assign(text, strnlen(text, sizeof(text)));
  carried.image = item.iImage;
  carried.param = item.lParam;
  carried.state = item.state & kCarriedStateMask;
  return carried;
}

int CZRDragListCtrl::InsertCarried(int index, const CarriedItem& carried) {
  LVITEM item;
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.iSubItem = 0;
  item.pszText = const_cast<char*>(carried.text.c_str());
  item.iImage = carried.image;
  item.lParam = carried.param;
  item.state = carried.state;
  item.stateMask = kCarriedStateMask;
  return InsertItem(&item);
}

// Each dragged item is copied behind the drop index and its original
// deleted; the indexes still to move are corrected for both, so the moved
// items stay together and in their order. The indexes ascend (selection
// order), so every index still to move lies below the one just moved.
void CZRDragListCtrl::MoveWithinList() {
  const int count = GetItemCount();
  // The drop index is an item of this list, which the drag left as it was.
  int insert = m_nDropIndex < 0 ? count : m_nDropIndex + 1;
  for (size_t k = 0; k < m_arrDragIndexes.size(); ++k) {
    const int index = m_arrDragIndexes[k];
    if (!IsItem(index)) continue;
    const CarriedItem carried = ReadItem(index);
    SetItemState(index, 0, LVIS_SELECTED);
    InsertCarried(insert, carried);
    if (index >= insert) {
      // Moved up: the copy pushed the original and all still to move down a
      // row, and deleting the original brings those back.
      DeleteItem(index + 1);
      ++insert;
    } else {
      // Moved down: those it passed move up a row into its place.
      DeleteItem(index);
      for (size_t j = k + 1; j < m_arrDragIndexes.size(); ++j) {
        if (m_arrDragIndexes[j] < insert) --m_arrDragIndexes[j];
      }
    }
  }
}

void CZRDragListCtrl::MoveToList(CZRDragListCtrl* target, CPoint screen) {
  int insert = target->GetItemCount();
  // (An index loop: the fuzz preset's clang cannot use libstdc++ 12's iota_view.)
  for (int i = 0; i < target->GetItemCount(); ++i) {
    CRect label;
    if (!target->GetItemRect(i, &label, LVIR_LABEL)) continue;
    target->ClientToScreen(&label);
    if (label.PtInRect(screen)) {
      insert = i;
      break;
    }
  }

  // The owner may delete or insert items while it answers; the dragged
  // indexes follow their items meanwhile, so an answer given for one item
  // never moves another.
  std::vector<bool> leaving(m_arrDragIndexes.size(), false);
  CWnd* parent = GetParent();
  m_bFollowOwner = true;
  for (size_t k = 0; k < m_arrDragIndexes.size(); ++k) {
    if (!IsItem(m_arrDragIndexes[k])) continue;  // deleted by the owner
    // The parent reads the text while it answers; the copy lives until then.
    const std::string text = GetItemText(m_arrDragIndexes[k], 0).GetString();
    const LRESULT refused =
        parent != nullptr ? parent->SendMessage(kQueryLeave, reinterpret_cast<WPARAM>(text.c_str()), 0) : 0;
    if (refused != 0) {
      AfxMessageBox((text + " cannot be removed").c_str());
    } else {
      leaving[k] = true;
    }
  }
  m_bFollowOwner = false;
  std::vector<int> descending;
  for (size_t k = 0; k < m_arrDragIndexes.size(); ++k) {
    if (!leaving[k] || !IsItem(m_arrDragIndexes[k])) continue;
    const int at = target->InsertCarried(insert, ReadItem(m_arrDragIndexes[k]));
    if (at >= 0) target->SetItemState(at, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    descending.push_back(m_arrDragIndexes[k]);
  }
  std::sort(descending.rbegin(), descending.rend());
  for (const int index : descending) DeleteItem(index);
}
