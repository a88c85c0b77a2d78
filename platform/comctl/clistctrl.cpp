#include "platform/comctl/clistctrl.h"

#include <string>

#include "platform/window/wrapper_params.h"

using platform::wrapper_params::L;
using platform::wrapper_params::W;

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_LISTVIEW, nullptr, style, rect, parent, id);
}

BOOL CListCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::CreateEx(exStyle, WC_LISTVIEW, nullptr, style, rect, parent, id);
}

// ---- Attributes ----
COLORREF CListCtrl::GetBkColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR)); }
BOOL CListCtrl::SetBkColor(COLORREF color) { return static_cast<BOOL>(SendMessage(LVM_SETBKCOLOR, 0, color)); }
COLORREF CListCtrl::GetTextColor() const { return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR)); }
BOOL CListCtrl::SetTextColor(COLORREF color) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTCOLOR, 0, color)); }
BOOL CListCtrl::SetTextBkColor(COLORREF color) { return static_cast<BOOL>(SendMessage(LVM_SETTEXTBKCOLOR, 0, color)); }
HIMAGELIST CListCtrl::GetImageList(int which) const {
  return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, W(which)));
}
HIMAGELIST CListCtrl::SetImageList(HIMAGELIST images, int which) {
  return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, W(which), L(images)));
}
DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header == nullptr) return nullptr;
  if (auto* attached = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(header)); attached != nullptr)
    return attached;
  m_header.m_hWnd = header;
  return &m_header;
}

// ---- Items ----
int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
BOOL CListCtrl::SetItemCount(int count) { return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, W(count))); }
BOOL CListCtrl::SetItemCountEx(int count, DWORD flags) {
  return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, W(count), static_cast<LPARAM>(flags)));
}
int CListCtrl::InsertItem(const LVITEM* item) { return static_cast<int>(SendMessage(LVM_INSERTITEM, 0, L(item))); }
int CListCtrl::InsertItem(int index, LPCTSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int index, LPCTSTR text, int image) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}
int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM lParam) {
  LVITEM item;
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = lParam;
  return InsertItem(&item);
}
BOOL CListCtrl::DeleteItem(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, W(index))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
BOOL CListCtrl::GetItem(LVITEM* item) const { return static_cast<BOOL>(SendMessage(LVM_GETITEM, 0, L(item))); }
BOOL CListCtrl::SetItem(const LVITEM* item) { return static_cast<BOOL>(SendMessage(LVM_SETITEM, 0, L(item))); }
BOOL CListCtrl::SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state, UINT stateMask,
                        LPARAM lParam) {
  LVITEM item;
  item.mask = mask;
  item.iItem = index;
  item.iSubItem = subItem;
  item.pszText = const_cast<LPSTR>(text);
  item.iImage = image;
  item.state = state;
  item.stateMask = stateMask;
  item.lParam = lParam;
  return SetItem(&item);
}
int CListCtrl::GetItemText(int index, int subItem, LPTSTR buffer, int length) const {
  LVITEM item;
  item.iSubItem = subItem;
  item.pszText = buffer;
  item.cchTextMax = length;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXT, W(index), L(&item)));
}
CString CListCtrl::GetItemText(int index, int subItem) const {
  // Grows the buffer until the text fits with room to spare.
  std::string buffer(256, '\0');
  for (;;) {
    const int copied = CListCtrl::GetItemText(index, subItem, buffer.data(), static_cast<int>(buffer.size()));
    if (copied < static_cast<int>(buffer.size()) - 1 || buffer.size() >= (1u << 20)) {
      return CString(buffer.c_str(), copied);
    }
    buffer.assign(buffer.size() * 4, '\0');
  }
}
BOOL CListCtrl::SetItemText(int index, int subItem, LPCTSTR text) {
  LVITEM item;
  item.iSubItem = subItem;
  item.pszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXT, W(index), L(&item)));
}
DWORD_PTR CListCtrl::GetItemData(int index) const {
  LVITEM item;
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return CListCtrl::GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}
BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
  return SetItem(index, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(data));
}
UINT CListCtrl::GetItemState(int index, UINT mask) const {
  return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, W(index), static_cast<LPARAM>(mask)));
}
BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEM item;
  item.state = state;
  item.stateMask = mask;
  return SetItemState(index, &item);
}
BOOL CListCtrl::SetItemState(int index, LVITEM* item) {
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, W(index), L(item)));
}
BOOL CListCtrl::GetCheck(int index) const {
  return static_cast<BOOL>(((GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1);
}
BOOL CListCtrl::SetCheck(int index, BOOL check) {
  return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}
UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
int CListCtrl::GetNextItem(int start, int flags) const {
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, W(start), static_cast<LPARAM>(flags)));
}
int CListCtrl::GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
int CListCtrl::SetSelectionMark(int index) { return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index)); }
int CListCtrl::FindItem(LVFINDINFO* info, int start) const {
  return static_cast<int>(SendMessage(LVM_FINDITEM, W(start), L(info)));
}
BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
  return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, data, reinterpret_cast<LPARAM>(compare)));
}
CListCtrl::POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  const int first = GetNextItem(-1, LVNI_SELECTED);
  return reinterpret_cast<POSITION>(static_cast<intptr_t>(first + 1));
}
int CListCtrl::GetNextSelectedItem(POSITION& position) const {
  const int index = static_cast<int>(reinterpret_cast<intptr_t>(position)) - 1;
  const int next = GetNextItem(index, LVNI_SELECTED);
  position = reinterpret_cast<POSITION>(static_cast<intptr_t>(next + 1));
  return index;
}

// ---- Columns ----
int CListCtrl::InsertColumn(int index, const LVCOLUMN* column) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMN, W(index), L(column)));
}
int CListCtrl::InsertColumn(int index, LPCTSTR heading, int format, int width, int subItem) {
  LVCOLUMN column;
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPSTR>(heading);
  column.fmt = format;
  if (width != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = width;
  }
  if (subItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = subItem;
  }
  return InsertColumn(index, &column);
}
BOOL CListCtrl::DeleteColumn(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, W(index))); }
BOOL CListCtrl::GetColumn(int index, LVCOLUMN* column) const {
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMN, W(index), L(column)));
}
BOOL CListCtrl::SetColumn(int index, const LVCOLUMN* column) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMN, W(index), L(column)));
}
int CListCtrl::GetColumnWidth(int index) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, W(index))); }
BOOL CListCtrl::SetColumnWidth(int index, int width) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, W(index), MAKELPARAM(static_cast<WORD>(width), 0)));
}
BOOL CListCtrl::GetColumnOrderArray(int* order, int count) const {
  if (count < 0) {
    const CHeaderCtrl* header = GetHeaderCtrl();
    count = header != nullptr ? header->GetItemCount() : 0;
  }
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, W(count), L(order)));
}
BOOL CListCtrl::SetColumnOrderArray(int count, int* order) {
  return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, W(count), L(order)));
}

// ---- Geometry and scrolling ----
BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT part) const {
  if (rect == nullptr) return FALSE;
  rect->left = static_cast<LONG>(part);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, W(index), L(rect)));
}
BOOL CListCtrl::GetSubItemRect(int index, int subItem, int part, CRect& rect) const {
  RECT r;
  r.top = subItem;
  r.left = part;
  const BOOL ok = static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, W(index), L(&r)));
  if (ok) rect = r;
  return ok;
}
int CListCtrl::HitTest(LVHITTESTINFO* info) const { return static_cast<int>(SendMessage(LVM_HITTEST, 0, L(info))); }
int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info;
  info.pt = point;
  const int index = HitTest(&info);
  if (flags != nullptr) *flags = info.flags;
  return index;
}
std::unique_ptr<CImageList> CListCtrl::CreateDragImage(int index, LPPOINT upperLeft) {
  const auto list = reinterpret_cast<HIMAGELIST>(SendMessage(LVM_CREATEDRAGIMAGE, W(index), L(upperLeft)));
  if (list == nullptr) return nullptr;
  auto image = std::make_unique<CImageList>();
  image->m_hImageList = list;
  return image;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) {
  return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, L(info)));
}
int CListCtrl::GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
BOOL CListCtrl::EnsureVisible(int index, BOOL partialOk) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, W(index), partialOk));
}
BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(SendMessage(LVM_SCROLL, W(size.cx), size.cy)); }
BOOL CListCtrl::RedrawItems(int first, int last) {
  return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, W(first), last));
}
BOOL CListCtrl::Update(int index) { return static_cast<BOOL>(SendMessage(LVM_UPDATE, W(index))); }
int CListCtrl::GetStringWidth(LPCTSTR text) const {
  return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(text)));
}

// ---- Owner drawing ----
void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
void CListCtrl::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  } else if (message == WM_MEASUREITEM) {
    MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
  } else {
    return CWnd::OnChildNotify(message, wParam, lParam, result);
  }
  *result = TRUE;  // reflection always passes the parent's reply
  return TRUE;
}
