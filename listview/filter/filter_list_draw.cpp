// CFilterListCtrl: owner-drawn rows, gradients, keyword colouring, the empty
// area and the row height.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "listview/filter/filter_list_ctrl.h"
#include "platform/gdi/cdc.h"
#include "platform/comctl/image_list.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/kernel/module.h"
#include "platform/user/draw_icon.h"

namespace {

constexpr COLORREF kUnset = static_cast<COLORREF>(-1);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFocusedSelectionTop = RGB(82, 123, 225);
constexpr COLORREF kFocusedSelectionBottom = RGB(60, 165, 255);
constexpr COLORREF kSelectionTop = RGB(126, 126, 126);
constexpr COLORREF kSelectionBottom = RGB(0, 0, 0);
constexpr int kTextMargin = 3;
constexpr int kRowPadding = 4;
constexpr int kIconWidth = 30;

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color) {
  TRIVERTEX vertex;
  vertex.x = x;
  vertex.y = y;
  vertex.Red = static_cast<COLOR16>(GetRValue(color) << 8);
  vertex.Green = static_cast<COLOR16>(GetGValue(color) << 8);
  vertex.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
  return vertex;
}

}  // namespace

namespace listview {

// A vertical gradient over `rect` through msimg32.dll's GradientFill, loaded
// for the call; without the library `from` is only selected as the DC's
// background colour.
void FillGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to) {
  // Freed when the fill is done (unique_ptr frees only a library it holds).
  const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> library(LoadLibraryA("msimg32.dll"),
                                                                                        &FreeLibrary);
  using GradientFillFn = BOOL (*)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);
  const auto fill = library ? reinterpret_cast<GradientFillFn>(GetProcAddress(library.get(), "GradientFill")) : nullptr;
  if (fill == nullptr) {
    ::SetBkColor(dc, from);
  } else {
    const TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, from), Vertex(rect.right - 1, rect.bottom - 1, to)};
    GRADIENT_RECT mesh;
    mesh.UpperLeft = 0;
    mesh.LowerRight = 1;
    fill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
  }
}

// The colour callback of filter lists: the first keyword (in list order)
// contained in the row's keyword cell, lower-cased, gives the text colour.
void KeywordColouring(CCommonListCtrl* list, DWORD_PTR data, COLORREF& textColor) {
  auto* filter = dynamic_cast<CFilterListCtrl*>(list);
  if (filter == nullptr) return;
  const sListAppearance& look = filter->Appearance();
  if (look.nKeywordColumn == -1 || !look.HasKeywords()) return;
  CString cell = filter->CellText(data, look.nKeywordColumn);
  cell.MakeLower();
  // Keyword i colours with colour i: the two arrays are always of one size.
  for (size_t i = 0; i < look.pKeywords->size(); ++i) {
    if (cell.Find((*look.pKeywords)[i]) >= 0) {
      textColor = (*look.pKeywordColors)[i];
      return;
    }
  }
}

}  // namespace listview

void CFilterListCtrl::FillBackground(HDC dc, const RECT& rect, COLORREF color) const {
  if (m_cGradient) {
    listview::FillGradient(dc, rect, color, kWhite);
  } else {
    CDC::FromHandle(dc)->FillSolidRect(&rect, color);
  }
}

void CFilterListCtrl::DrawItem(LPDRAWITEMSTRUCT dis) {
  const int row = static_cast<int>(dis->itemID);
  const int rows = m_bFilterMode ? StoreSize() : GetItemCount();
  if (row < 0 || row >= rows) return;
  const HDC dc = dis->hDC;
  const UINT state = GetItemState(row, LVIS_SELECTED | LVIS_STATEIMAGEMASK | LVIS_OVERLAYMASK);
  const bool selected = (state & LVIS_SELECTED) != 0;
  const DWORD_PTR data = GetItemData(row);
  if (data == 0) {
    // A row without data shows only its background.
    FillBackground(dc, dis->rcItem, m_appearance.clrBack);
    return;
  }
  // Rows are drawn only while the first column sits at position 0.
  if (m_nFirstColumnIndex < 0 || m_nFirstColumnIndex >= m_arrColumnOrder.GetSize() ||
      m_arrColumnOrder[m_nFirstColumnIndex] != 0) {
    return;
  }
  COLORREF rowText = m_appearance.clrText;
  for (int c = 0; c < KnownColumns(); ++c) {
    const int position = m_arrColumnOrder[c];
    if (position == -1 && c != 0) continue;
    CString text;
    COLORREF textColor = kUnset;
    COLORREF backColor = kUnset;
    int image = -1;
    if (!CellText(data, c, text, textColor, backColor, image)) return;
    if (c == 0) {
      if (m_bApplyColors && m_pfnColor != nullptr) m_pfnColor(this, data, textColor);
      if (textColor == kUnset) textColor = m_appearance.clrText;
      if (backColor == kUnset) backColor = m_appearance.clrBack;
      FillBackground(dc, dis->rcItem, backColor);
      rowText = textColor;
      if (selected) {
        const bool focused = ::GetFocus() == m_hWnd;
        listview::FillGradient(dc, dis->rcItem, focused ? kFocusedSelectionTop : kSelectionTop,
                               focused ? kFocusedSelectionBottom : kSelectionBottom);
        rowText = kWhite;
      }
    }
    if (position == -1) continue;
    CRect label;
    if (!GetSubItemRect(row, position, LVIR_LABEL, label)) continue;
    ::SetTextColor(dc, rowText);
    ::SetBkMode(dc, TRANSPARENT);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    const int alignment = m_arrColumns[c].nFormat;
    if (alignment == 0) {
      label.left += kTextMargin;
    } else if (alignment == 1) {
      label.right -= kTextMargin;
      format |= DT_RIGHT;
    } else if (alignment == LVCFMT_IMAGE) {
      // The image value is an icon handle (icon handles fit an int), drawn
      // at the cell's right edge.
      const auto icon = reinterpret_cast<HICON>(static_cast<INT_PTR>(image));
      if (!DrawIconEx(dc, label.right - kIconWidth, label.top, icon, kIconWidth, label.Height(), 0, nullptr,
                      DI_NORMAL)) {
        ::DrawText(dc, "Failed to draw icon", -1, &label, format | DT_CENTER);
      }
      continue;
    } else {
      format |= DT_CENTER;
    }
    ::DrawText(dc, text, text.GetLength(), &label, format);
    if (position == 0 && image >= 0) {
      RECT iconRect{};
      if (GetItemRect(row, &iconRect, LVIR_ICON)) {
        ImageList_Draw(GetImageList(LVSIL_SMALL), image, dc, iconRect.left, iconRect.top,
                       ILD_TRANSPARENT | (state & LVIS_OVERLAYMASK));
      }
    }
  }
  if (state & LVIS_STATEIMAGEMASK) {
    ImageList_Draw(GetImageList(LVSIL_STATE), GetCheck(row) ? 1 : 0, dc, dis->rcItem.left, dis->rcItem.top, ILD_NORMAL);
  }
}

void CFilterListCtrl::MeasureItem(LPMEASUREITEMSTRUCT mis) {
  LOGFONT lf{};
  if (CFont* font = GetFont(); font != nullptr) font->GetLogFont(&lf);
  mis->itemHeight = static_cast<UINT>((std::abs(lf.lfHeight) + kRowPadding) * std::max(m_nLinesPerRow, 1));
}

BOOL CFilterListCtrl::OnEraseBkgnd(CDC* dc) {
  if (!m_bFillEmptyArea || dc == nullptr || GetItemCount() == 0) return CCommonListCtrl::OnEraseBkgnd(dc);
  RECT last{};
  const int lastVisible = std::min(GetTopIndex() + GetCountPerPage(), GetItemCount()) - 1;
  const int bottom = GetItemRect(lastVisible, &last, LVIR_BOUNDS) ? last.bottom : 0;
  FillEmptyArea(bottom, [&](const CRect& area) { FillBackground(dc->GetSafeHdc(), area, m_appearance.clrBack); });
  return FALSE;
}
