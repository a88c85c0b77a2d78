#include "listview/xlist/x_list_ctrl.h"

#include <algorithm>
#include <cstdio>

#include "platform/comctl/image_list.h"
#include "platform/comctl/list_view.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/sys_colors.h"
#include "platform/user/color_dialog.h"
#include "platform/window/message_queue.h"

const UINT WM_XLISTCTRL_COMBO_SELECTION = ::RegisterWindowMessage("WM_XLISTCTRL_COMBO_SELECTION");
const UINT WM_XLISTCTRL_CHECKBOX_CLICKED = ::RegisterWindowMessage("WM_XLISTCTRL_CHECKBOX_CLICKED");
const UINT WM_XLISTCTRL_COLORBOX_CLICKED = ::RegisterWindowMessage("WM_XLISTCTRL_COLORBOX_CLICKED");

namespace {
constexpr int kCheckBoxSize = 13;
constexpr size_t kColorBoxTextSize = 64;
}  // namespace

CXListCtrl::CXListCtrl()
    : m_crBtnFace(::GetSysColor(COLOR_BTNFACE)),
      m_crHighLight(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crHighLightText(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_crGrayText(::GetSysColor(COLOR_GRAYTEXT)),
      m_crWindow(::GetSysColor(COLOR_WINDOW)),
      m_crWindowText(::GetSysColor(COLOR_WINDOWTEXT)) {}

CXListCtrl::~CXListCtrl() = default;

BOOL CXListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  const BOOL created = CListCtrl::Create(style, rect, parent, id);
  if (created) SubclassHeader();
  return created;
}

void CXListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  SubclassHeader();
}

void CXListCtrl::SubclassHeader() {
  // Created or subclassed, whichever comes: the header is taken once.
  if (m_HeaderCtrl.GetSafeHwnd() != nullptr) return;
  const auto header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header != nullptr) m_HeaderCtrl.SubclassWindow(header);
}

void CXListCtrl::OnDestroy() {
  m_records.clear();
  CListCtrl::OnDestroy();
}

// ---- Rows and cells ----

int CXListCtrl::ColumnCount() const {
  const CHeaderCtrl* header = GetHeaderCtrl();
  return header != nullptr ? header->GetItemCount() : 0;
}

int CXListCtrl::InsertItem(int row, LPCTSTR text) {
  if (row < 0) return -1;
  const int inserted = CListCtrl::InsertItem(row, text);
  if (inserted < 0) return inserted;
  auto cells = std::make_unique<Cells>(static_cast<size_t>(std::max(ColumnCount(), 1)));
  for (xlist::sXCell& cell : *cells) {
    cell.crText = m_crWindowText;
    cell.crBackground = m_crWindow;
  }
  const auto key = reinterpret_cast<DWORD_PTR>(cells.get());
  m_records[key] = std::move(cells);
  CListCtrl::SetItemData(inserted, key);
  return inserted;
}

BOOL CXListCtrl::DeleteItem(int row) {
  // The key is used only when the row existed and went.
  const DWORD_PTR key = CListCtrl::GetItemData(row);
  const BOOL deleted = CListCtrl::DeleteItem(row);
  if (deleted) m_records.erase(key);
  return deleted;
}

BOOL CXListCtrl::DeleteAllItems() {
  const BOOL deleted = CListCtrl::DeleteAllItems();
  if (deleted) m_records.clear();
  return deleted;
}

CXListCtrl::Cells* CXListCtrl::RowCells(int row) const {
  // A row that does not exist reads as item data 0, which is no record's key.
  const auto found = m_records.find(CListCtrl::GetItemData(row));
  return found == m_records.end() ? nullptr : found->second.get();
}

xlist::sXCell* CXListCtrl::Cell(int row, int column) const {
  Cells* cells = RowCells(row);
  if (cells == nullptr || column < 0 || column >= static_cast<int>(cells->size())) return nullptr;
  return &(*cells)[static_cast<size_t>(column)];
}

void CXListCtrl::RedrawCell(int row, int /*column*/) { RedrawItems(row, row); }

BOOL CXListCtrl::SetColorBox(int row, int column, COLORREF color) {
  xlist::sXCell* cell = Cell(row, column);
  if (cell == nullptr) return 0;
  cell->bColorBox = true;
  cell->crBackground = color;
  RedrawCell(row, column);
  return 1;
}

BOOL CXListCtrl::SetCellImage(int row, int column, int image) {
  xlist::sXCell* cell = Cell(row, column);
  if (cell == nullptr) return 0;
  cell->nImage = image;
  RedrawCell(row, column);
  return 1;
}

BOOL CXListCtrl::GetColorBox(int row, int column, COLORREF* color) const {
  const xlist::sXCell* cell = Cell(row, column);
  if (cell == nullptr || !cell->bColorBox) return 0;
  if (color != nullptr) *color = cell->crBackground;
  return 1;
}

BOOL CXListCtrl::SetCheckbox(int row, int column, int state) {
  xlist::sXCell* cell = Cell(row, column);
  if (cell == nullptr || state < -1 || state > 1) return 0;
  cell->nCheckedState = state;
  RedrawCell(row, column);
  UpdateHeaderCheck(column);
  return 1;
}

int CXListCtrl::GetCheckbox(int row, int column) const {
  const xlist::sXCell* cell = Cell(row, column);
  return cell != nullptr ? cell->nCheckedState : -1;
}

BOOL CXListCtrl::SetEnabled(int row, BOOL enabled) {
  Cells* cells = RowCells(row);
  if (cells == nullptr) return 0;
  for (xlist::sXCell& cell : *cells) cell.bEnabled = enabled;
  RedrawItems(row, row);
  return 1;
}

// ---- Header check images ----

int CXListCtrl::GetHeaderCheckedState(int column) const {
  const CHeaderCtrl* header = GetHeaderCtrl();
  HDITEM item;
  item.mask = HDI_IMAGE;
  // The header refuses a column it does not have.
  if (header == nullptr || !header->GetItem(column, &item)) return -1;
  return item.iImage;
}

BOOL CXListCtrl::SetHeaderCheckedState(int column, int state) {
  CHeaderCtrl* header = GetHeaderCtrl();
  if (header == nullptr || state < 0 || state > 2) return 0;
  HDITEM item;
  item.mask = HDI_IMAGE;
  item.iImage = state;
  if (!header->SetItem(column, &item)) return 0;  // a column the header does not have
  header->Invalidate();
  return 1;
}

void CXListCtrl::UpdateHeaderCheck(int column) {
  if (GetHeaderCheckedState(column) <= 0) return;
  bool all = true;
  for (int row = 0; row < GetItemCount() && all; ++row) {
    if (const xlist::sXCell* cell = Cell(row, column); cell != nullptr && cell->nCheckedState == 0) all = false;
  }
  SetHeaderCheckedState(column, all ? 2 : 1);
}

// ---- Input ----

CWnd* CXListCtrl::Receiver() const {
  CWnd* parent = GetParent();
  return parent != nullptr ? parent : GetOwner();
}

void CXListCtrl::OnLButtonDown(UINT flags, CPoint point) {
  LVHITTESTINFO hit;
  hit.pt = point;
  const_cast<CXListCtrl*>(this)->SubItemHitTest(&hit);
  const int row = hit.iItem;
  const int column = hit.iSubItem;
  if (row >= 0) {
    const xlist::sXCell* first = Cell(row, 0);
    if (first == nullptr || !first->bEnabled) return;
  }
  CWnd* receiver = Receiver();
  if (receiver != nullptr) receiver->SendMessage(kXListClickMessage, static_cast<WPARAM>(row), column);
  xlist::sXCell* cell = row >= 0 ? Cell(row, column) : nullptr;
  if (cell == nullptr || (!cell->bColorBox && cell->nCheckedState < 0)) {
    CListCtrl::OnLButtonDown(flags, point);
    return;
  }
  if (cell->bColorBox) {
    CListCtrl::OnLButtonDown(flags, point);
    CColorDialog chooser(cell->crBackground, CC_FULLOPEN, this);
    if (chooser.DoModal() != IDOK) return;
    // The cell is looked up again: the chooser's loop may have changed the rows.
    cell = Cell(row, column);
    if (cell == nullptr) return;
    cell->crBackground = chooser.GetColor();
    RedrawCell(row, column);
    if (receiver != nullptr) {
      auto text = std::make_unique<char[]>(kColorBoxTextSize);
      std::snprintf(text.get(), kColorBoxTextSize, "%d|%d", row, column);
      // The receiver owns the text from here on (xlist::TakeColorBoxText).
      receiver->PostMessage(WM_XLISTCTRL_COLORBOX_CLICKED, reinterpret_cast<WPARAM>(text.release()),
                            static_cast<LPARAM>(cell->crBackground));
    }
    return;
  }
  cell->nCheckedState = cell->nCheckedState == 0 ? 1 : 0;
  RedrawCell(row, column);
  if (receiver != nullptr) {
    receiver->SendMessage(WM_XLISTCTRL_CHECKBOX_CLICKED, static_cast<WPARAM>(row), column);
  }
  UpdateHeaderCheck(column);
  CListCtrl::OnLButtonDown(flags, point);
}

void CXListCtrl::OnColumnClick(int column) {
  const int image = GetHeaderCheckedState(column);
  if (image != 1 && image != 2) return;
  const int next = image == 2 ? 1 : 2;
  SetHeaderCheckedState(column, next);
  for (int row = 0; row < GetItemCount(); ++row) {
    const xlist::sXCell* first = Cell(row, 0);
    xlist::sXCell* cell = Cell(row, column);
    if (first == nullptr || !first->bEnabled || cell == nullptr || cell->nCheckedState < 0) continue;
    cell->nCheckedState = next == 2 ? 1 : 0;
    RedrawCell(row, column);
  }
  if (CWnd* receiver = Receiver(); receiver != nullptr) {
    receiver->SendMessage(kXListCheckAllMessage, static_cast<WPARAM>(column), next);
  }
}

Reflect CXListCtrl::OnReflectNotify(NMHDR* header, LRESULT* result) {
  if (header->code == NM_CUSTOMDRAW) {
    *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    return Reflect::Consume;
  }
  if (header->code == LVN_COLUMNCLICK) OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  return CListCtrl::OnReflectNotify(header, result);
}

// ---- Drawing ----

LRESULT CXListCtrl::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const int row = static_cast<int>(draw->nmcd.dwItemSpec);
      CRect rect;
      if (!GetSubItemRect(row, draw->iSubItem, LVIR_BOUNDS, rect)) return CDRF_DODEFAULT;
      // The first column's bounds are the whole row's; it ends where the
      // second column starts (with one column the two are the same).
      if (draw->iSubItem == 0) rect.right = rect.left + GetColumnWidth(0);
      DrawCell(*CDC::FromHandle(draw->nmcd.hdc), row, draw->iSubItem, rect);
      return CDRF_SKIPDEFAULT;
    }
    default: return CDRF_DODEFAULT;
  }
}

void CXListCtrl::DrawCell(CDC& dc, int row, int column, const CRect& rect) {
  const xlist::sXCell* cell = Cell(row, column);
  const xlist::sXCell* first = Cell(row, 0);
  const bool selected = (GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  COLORREF text = cell != nullptr ? cell->crText : m_crWindowText;
  COLORREF back = cell != nullptr ? cell->crBackground : m_crWindow;
  if (first != nullptr && !first->bEnabled) text = m_crGrayText;
  if (cell != nullptr && cell->bColorBox) {
    // The box keeps its colour when selected; a frame in the selection
    // colour shows the selection.
    dc.FillSolidRect(&rect, selected ? m_crHighLight : m_crWindow);
    CRect box = rect;
    box.DeflateRect(2, 2);
    dc.FillSolidRect(&box, cell->crBackground);
    return;
  }
  if (selected) {
    text = m_crHighLightText;
    back = m_crHighLight;
  }
  dc.FillSolidRect(&rect, back);
  if (cell != nullptr && cell->nCheckedState >= 0) {
    const int top = rect.top + (rect.Height() - kCheckBoxSize) / 2;
    CRect box(rect.left + 2, top, rect.left + 2 + kCheckBoxSize, top + kCheckBoxSize);
    dc.FillSolidRect(&box, m_crWindow);
    dc.Draw3dRect(&box, m_crGrayText, m_crBtnFace);
    if (cell->nCheckedState == 1) {
      box.DeflateRect(3, 3);
      dc.FillSolidRect(&box, m_crWindowText);
    }
    return;
  }
  CRect textRect = rect;
  textRect.DeflateRect(4, 0);
  // The image, when set, at the left and centred in the row; the text after it.
  const HIMAGELIST images = GetImageList(LVSIL_SMALL);
  int imageWidth = 0;
  int imageHeight = 0;
  if (cell != nullptr && cell->nImage >= 0 && ImageList_GetIconSize(images, &imageWidth, &imageHeight)) {
    ImageList_Draw(images, cell->nImage, dc.GetSafeHdc(), textRect.left, rect.top + (rect.Height() - imageHeight) / 2,
                   ILD_TRANSPARENT);
    textRect.left += imageWidth + 2;
  }
  const CString caption = GetItemText(row, column);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(text);
  dc.DrawText(caption, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}
