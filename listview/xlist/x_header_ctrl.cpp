#include "listview/xlist/x_header_ctrl.h"

#include "controls/x_mem_dc.h"
#include "platform/comctl/image_list.h"
#include "platform/gdi/sys_colors.h"
#include "platform/window/cpaintdc.h"
#include "platform/window/metrics.h"

namespace {
constexpr int kCheckBoxSize = 13;
}  // namespace

CXHeaderCtrl::CXHeaderCtrl() { LoadColors(); }

void CXHeaderCtrl::LoadColors() {
  m_rgbButtonHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_rgbButtonShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_rgbButtonFace = ::GetSysColor(COLOR_BTNFACE);
  m_rgbButtonText = ::GetSysColor(COLOR_BTNTEXT);
}

BOOL CXHeaderCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SYSCOLORCHANGE: LoadColors(); break;
    case HDM_SETIMAGELIST: {
      auto images = reinterpret_cast<HIMAGELIST>(lParam);
      if (images != nullptr) ::ImageList_GetIconSize(images, &m_iconWidth, &m_iconHeight);
      break;
    }
    case HDM_LAYOUT:
      if (m_bStaticBorder) {
        *result = Default();
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (layout != nullptr && layout->pwpos != nullptr) {
          const int extra = 2 * ::GetSystemMetrics(SM_CYBORDER);
          layout->pwpos->cy += extra;
          if (layout->prc != nullptr) layout->prc->top += extra;
        }
        return TRUE;
      }
      break;
    default: break;
  }
  return CHeaderCtrl::OnWndMsg(message, wParam, lParam, result);
}

BOOL CXHeaderCtrl::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }  // the paint covers everything

void CXHeaderCtrl::OnPaint() {
  CPaintDC paint(this);
  if (m_nDblBuffer) {
    CXMemDC dc(&paint);
    DrawItems(dc);
  } else {
    DrawItems(paint);
  }
}

void CXHeaderCtrl::DrawItems(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, m_rgbButtonFace);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_rgbButtonText);
  if (CFont* font = GetFont(); font != nullptr) dc.SelectObject(font);
  const int count = GetItemCount();
  for (int i = 0; i < count; ++i) {
    CRect rect;
    if (!GetItemRect(i, &rect)) continue;
    char text[256] = {};
    HDITEM item;
    item.mask = HDI_TEXT | HDI_IMAGE | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    GetItem(i, &item);
    dc.Draw3dRect(&rect, m_rgbButtonHighlight, m_rgbButtonShadow);
    CRect inner = rect;
    inner.DeflateRect(m_nMarginLeft, 0, m_nMarginRight, 0);
    if (item.iImage == 1 || item.iImage == 2) {
      const int top = rect.top + (rect.Height() - kCheckBoxSize) / 2;
      CRect box(inner.left, top, inner.left + kCheckBoxSize, top + kCheckBoxSize);
      dc.FillSolidRect(&box, ::GetSysColor(COLOR_WINDOW));
      dc.Draw3dRect(&box, m_rgbButtonShadow, m_rgbButtonHighlight);
      if (item.iImage == 2) {
        box.DeflateRect(3, 3);
        dc.FillSolidRect(&box, m_rgbButtonText);
      }
      inner.left += kCheckBoxSize + m_nSpace;
    }
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) format |= DT_RIGHT;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) format |= DT_CENTER;
    dc.DrawText(text, -1, &inner, format);
  }
}
