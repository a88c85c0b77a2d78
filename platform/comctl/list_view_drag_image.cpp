// LVM_CREATEDRAGIMAGE: the picture of one item that follows the pointer
// while the item is dragged: the first column's cell (check box and icon
// slots included) in the list's colours, its label drawn as the row shows
// it. The caller owns the returned image list (one image of the cell's size)
// and gets the cell's top-left corner, in client coordinates, through lParam.
#include <algorithm>
#include <string>

#include "platform/comctl/image_list.h"
#include "platform/comctl/list_view_model.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/window/window_paint.h"
#include "platform/window/winapi.h"

namespace platform {

LRESULT ListViewModel::CreateDragImage(int index, POINT* upperLeft) {
  RECT icon;
  RECT label;
  if (!ItemRect(index, LVIR_ICON, icon) || !ItemRect(index, LVIR_LABEL, label)) return 0;
  RECT cell{ColumnCount() > 0 ? ColumnRect(0).left : icon.left, icon.top, label.right, label.bottom};
  const int cx = std::max(1, static_cast<int>(cell.right - cell.left));
  const int cy = std::max(1, static_cast<int>(cell.bottom - cell.top));

  // Neither can fail for a cell of one pixel or more; a missing bitmap would
  // be refused by the image list below, and drawing on a missing DC is a no-op.
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(nullptr, cx, cy);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  const auto font = reinterpret_cast<HFONT>(::SendMessage(hwnd(), WM_GETFONT, 0, 0));
  if (font != nullptr) ::SelectObject(memory, font);
  const RECT all{0, 0, cx, cy};
  if (DrawOp* op = AppendDrawOp(memory, DrawKind::FillRect, all)) op->color = m_bkColor;
  const std::string text = CellText(index, 0);
  RECT area{label.left - cell.left + kListLabelMargin, 0, label.right - cell.left - kListLabelMargin, cy};
  ::SetTextColor(memory, m_textColor);
  ::SetBkMode(memory, TRANSPARENT);
  ::DrawText(memory, text.c_str(), static_cast<int>(text.size()), &area,
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);

  const HIMAGELIST list = ImageList_Create(cx, cy, ILC_MASK | ILC_COLOR24, 1, 0);
  const bool added = list != nullptr && ImageList_Add(list, bitmap, nullptr) >= 0;
  ::DeleteObject(bitmap);
  if (!added) {
    ImageList_Destroy(list);  // (which refuses a null list)
    return 0;
  }
  if (upperLeft != nullptr) *upperLeft = POINT{cell.left, cell.top};
  return reinterpret_cast<LRESULT>(list);
}

}  // namespace platform
