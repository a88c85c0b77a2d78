// Every call given a dead window, a deleted DC, a null pointer or an index
// out of range answers with its failure value and changes nothing: callers
// rely on the answer, and a refused call that wrote through its pointer or
// touched a live window or control would be a fault no crash reveals.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "platform/comctl/header_control.h"
#include "platform/comctl/image_list.h"
#include "platform/comctl/list_view.h"
#include "platform/comctl/tooltip.h"
#include "platform/gdi/cdc.h"
#include "platform/gdi/cgdiobject.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/display_list.h"
#include "platform/gdi/font_families.h"
#include "platform/gdi/gdi_objects.h"
#include "platform/gdi/sys_colors.h"
#include "platform/kernel/global_memory.h"
#include "platform/testing/reset_test.h"
#include "platform/user/clipboard.h"
#include "platform/user/combo_box.h"
#include "platform/user/dialog_manager.h"
#include "platform/user/list_box.h"
#include "platform/user/menu.h"
#include "platform/window/cwnd.h"
#include "platform/window/message_queue.h"
#include "platform/window/scroll_bar.h"
#include "platform/window/window_paint.h"
#include "platform/window/winapi.h"

// One entry per call, evaluated in order; a failure names the call.
#define REFUSED(call) std::pair<const char*, bool>(#call, (call))

namespace {

void ExpectAll(std::initializer_list<std::pair<const char*, bool>> refusals) {
  for (const auto& [call, refused] : refusals) EXPECT_TRUE(refused) << call;
}

std::string Describe(HWND w) {
  RECT r{};
  char text[16]{};
  ::GetWindowRect(w, &r);
  ::GetWindowText(w, text, sizeof text);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + " " + std::to_string(::GetWindowLongPtr(w, GWL_STYLE)) + " " + text + " " +
         std::to_string(reinterpret_cast<uintptr_t>(::GetParent(w)));
}

class Refusals : public platform::ResetTest {
 protected:
  HWND Make(const char* cls, DWORD style, HWND parent, int id = 0) {
    return ::CreateWindowEx(0, cls, "live", style, 10, 20, 200, 100, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }
  HWND Make(const char* cls, DWORD style) { return Make(cls, WS_CHILD | WS_VISIBLE | style, live); }
  static LRESULT Send(HWND w, UINT m, WPARAM wp, const void* lp = nullptr) {
    return ::SendMessage(w, m, wp, reinterpret_cast<LPARAM>(lp));
  }
  HWND live = Make("Test", WS_POPUP | WS_VISIBLE | WS_VSCROLL, nullptr);
  HWND child = Make("Test", WS_CHILD | WS_VISIBLE, live, 7);
  HWND dead = Make("Test", WS_POPUP, nullptr);
  RECT rect{1, 2, 3, 4};
  static constexpr WPARAM kNone = static_cast<WPARAM>(-1);
};

TEST_F(Refusals, WindowCallsOnADeadHandleOrWithoutTheirPointerFailAndLeaveLiveWindowsAlone) {
  ::DestroyWindow(dead);
  const std::string before = Describe(live) + " / " + Describe(child);
  RECT r{1, 2, 3, 4};
  POINT p{5, 6};
  char buf[8] = "x";
  PAINTSTRUCT ps{};
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 50, 10, 5, 0};
  int lo = -1, hi = -1;
  MSG msg{}, elsewhere{dead, WM_KEYDOWN, VK_TAB, 0, 0, {}}, tab{child, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  ::PostMessage(child, WM_USER + 1, 0, 0);
  ::ValidateRect(live, nullptr);  // no paint waits: the posted message is the only one
  ::ValidateRect(child, nullptr);
  // clang-format off
  ExpectAll({
      REFUSED(!::GetWindowRect(dead, &r)), REFUSED(!::GetClientRect(dead, &r)), REFUSED(!::ClientToScreen(dead, &p)),
      REFUSED(!::ScreenToClient(dead, &p)), REFUSED(::GetClassName(dead, buf, sizeof buf) == 0),
      REFUSED(::GetWindowText(dead, buf, sizeof buf) == 0), REFUSED(::SetParent(child, dead) == nullptr),
      REFUSED(::SetParent(live, child) == nullptr),  // owned by its child
      REFUSED(::SetTimer(dead, 1, 10, nullptr) == 0), REFUSED(::BeginPaint(dead, &ps) == nullptr),
      REFUSED(::BeginPaint(live, nullptr) == nullptr), REFUSED(!::TranslateMessage(nullptr)),
      REFUSED(!::GetScrollInfo(live, SB_VERT, nullptr)), REFUSED(!::GetScrollInfo(dead, SB_VERT, &si)),
      REFUSED(!::GetScrollInfo(live, 7, &si)), REFUSED(::SetScrollInfo(dead, SB_VERT, &si, TRUE) == 0),
      REFUSED(::SetScrollInfo(live, SB_VERT, nullptr, TRUE) == 0), REFUSED(::SetScrollInfo(live, 7, &si, TRUE) == 0),
      REFUSED(!::GetScrollRange(live, SB_VERT, nullptr, &hi)), REFUSED(!::GetScrollRange(live, SB_VERT, &lo, nullptr)),
      REFUSED(!::SetScrollRange(dead, SB_VERT, 0, 9, TRUE)), REFUSED(!::ShowScrollBar(live, 7, TRUE)),
      REFUSED(!::IsDialogMessage(live, nullptr)), REFUSED(!::IsDialogMessage(dead, &elsewhere)),
      REFUSED(!::IsDialogMessage(live, &elsewhere)),  // not for the dialog or one of its controls
      REFUSED(::IsDialogMessage(live, &tab)),          // but a control's Tab is the dialog's
      // The child's posted message is not a dead window's, nor in another range; it is its parent's.
      REFUSED(!::PeekMessage(&msg, dead, 0, 0, PM_REMOVE)),
      REFUSED(!::PeekMessage(&msg, nullptr, 0, WM_USER, PM_REMOVE)),
      REFUSED(!::PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 9, PM_REMOVE)),
      REFUSED(::PeekMessage(&msg, live, WM_USER + 1, WM_USER + 1, PM_REMOVE) && msg.hwnd == child)
  });
  // clang-format on
  // Nothing was written through a refused call's pointers (a failed
  // GetWindowText leaves an empty string, as the platform does).
  EXPECT_EQ(std::to_string(r.left + r.top + r.right + r.bottom) + std::to_string(p.x) + std::to_string(p.y) + buf +
                std::to_string(lo + hi),
            "1056-2");

  CWnd wrapper;
  // clang-format off
  ExpectAll({
      REFUSED(!wrapper.Attach(dead)),
      REFUSED(wrapper.Attach(child) && !wrapper.Attach(live)),  // it holds a window already
      REFUSED(!wrapper.SetScrollInfo(SB_VERT, nullptr, TRUE)),
      REFUSED(wrapper.Detach() == child && !wrapper.SetScrollInfo(SB_VERT, &si, TRUE))
  });
  // clang-format on
  EXPECT_EQ(Describe(live) + " / " + Describe(child), before);
}

TEST_F(Refusals, DrawingCallsOnADeletedDcOrWithoutTheirArgumentsDrawNothing) {
  HDC memory = ::CreateCompatibleDC(nullptr);
  HBITMAP target = ::CreateCompatibleBitmap(memory, 20, 20);
  ::SelectObject(memory, target);
  HDC gone = ::CreateCompatibleDC(nullptr);
  ::DeleteDC(gone);
  RECT r{0, 0, 10, 10};
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {9, 9, 0, 0, 0, 0}};
  GRADIENT_RECT mesh{0, 1};
  LOGFONT lf{};
  const FONTENUMPROC any = [](const LOGFONT*, const TEXTMETRIC*, DWORD, LPARAM) { return 1; };
  HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  HBRUSH stock = ::GetSysColorBrush(COLOR_WINDOW);
  // clang-format off
  ExpectAll({
      REFUSED(::CreateCompatibleDC(gone) == nullptr), REFUSED(::CreateCompatibleBitmap(gone, 4, 4) == nullptr),
      REFUSED(::FrameRect(memory, nullptr, brush) == 0),
      REFUSED(::FrameRect(memory, &r, reinterpret_cast<HBRUSH>(pen)) == 0),  // a pen is no brush
      REFUSED(::DrawText(gone, "a", 1, &r, 0) == 0), REFUSED(!::BitBlt(memory, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY)),
      REFUSED(!::BitBlt(memory, 0, 0, 4, 4, gone, 0, 0, SRCCOPY)),
      REFUSED(!::GradientFill(memory, nullptr, 2, &mesh, 1, GRADIENT_FILL_RECT_H)),
      REFUSED(!::GradientFill(memory, v, 2, nullptr, 1, GRADIENT_FILL_RECT_H)),
      REFUSED(!::GradientFill(memory, v, 0, &mesh, 1, GRADIENT_FILL_RECT_H)),
      REFUSED(!::GradientFill(memory, v, 2, &mesh, 1, GRADIENT_FILL_TRIANGLE + 1)),
      REFUSED(platform::BitmapDisplayList(target).empty()), REFUSED(::EnumFontFamiliesEx(gone, &lf, any, 0, 0) == 0),
      REFUSED(::EnumFontFamiliesEx(memory, nullptr, any, 0, 0) == 0),
      REFUSED(::EnumFontFamiliesEx(memory, &lf, nullptr, 0, 0) == 0),
      REFUSED(::GetObject(font, sizeof(LOGFONT) - 1, &lf) == 0),
      REFUSED(::DeleteObject(stock) && ::FillRect(memory, &r, stock))  // a stock brush stays usable
  });
  // clang-format on
  CDC dc;
  CGdiObject object;
  // clang-format off
  ExpectAll({
      REFUSED(!dc.Attach(nullptr)),
      REFUSED(dc.CreateCompatibleDC(nullptr) && !dc.CreateCompatibleDC(nullptr) && !dc.Attach(memory)),
      REFUSED(!object.Attach(nullptr)), REFUSED(object.Attach(brush) && !object.Attach(pen))
  });
  // clang-format on
  object.Detach();
  ::DeleteDC(memory);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(target), static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush)}) {
    ::DeleteObject(o);
  }
}

TEST_F(Refusals, ListAndComboBoxesRefuseBadIndicesAndMissingBuffers) {
  HWND list = Make("LISTBOX", LBS_HASSTRINGS);
  HWND multi = Make("LISTBOX", LBS_HASSTRINGS | LBS_MULTIPLESEL);
  HWND drop = Make("COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS);
  HWND simple = Make("COMBOBOX", CBS_SIMPLE | CBS_HASSTRINGS);
  HWND gone = Make("COMBOBOX", CBS_DROPDOWN);
  ::DestroyWindow(gone);
  char buf[8] = "x";
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  const LRESULT height = Send(list, LB_GETITEMHEIGHT, 0), field = Send(drop, CB_GETITEMHEIGHT, kNone);
  // clang-format off
  ExpectAll({
      REFUSED(Send(multi, LB_SETTOPINDEX, 0) == LB_OKAY),  // an empty box's top is row 0
      REFUSED(Send(list, LB_ADDSTRING, 0, "one") == 0), REFUSED(Send(multi, LB_ADDSTRING, 0, "one") == 0),
      REFUSED(Send(list, LB_GETTEXT, 1, buf) == LB_ERR), REFUSED(Send(list, LB_GETTEXT, 0, nullptr) == LB_ERR),
      REFUSED(Send(list, LB_FINDSTRING, kNone, nullptr) == LB_ERR),
      REFUSED(Send(list, LB_FINDSTRING, kNone, "") == LB_ERR),
      REFUSED(Send(list, LB_SETSEL, TRUE) == LB_ERR),  // not a multiple-selection box
      REFUSED(Send(list, LB_SETTOPINDEX, 1) == LB_ERR), REFUSED(Send(list, LB_SETTOPINDEX, kNone) == LB_ERR),
      REFUSED(Send(list, LB_GETITEMRECT, 1, &rect) == LB_ERR), REFUSED(Send(list, LB_GETITEMRECT, 0) == LB_ERR),
      REFUSED(::SendMessage(list, LB_SETITEMHEIGHT, 0, 0) == LB_ERR),
      REFUSED(::SendMessage(list, LB_SETITEMHEIGHT, 0, 256) == LB_ERR),
      REFUSED(Send(list, LB_GETITEMHEIGHT, 0) == height),
      REFUSED(::SendMessage(list, LB_SETITEMHEIGHT, 0, 255) == LB_OKAY),
      REFUSED(::SendMessage(multi, LB_SETSEL, TRUE, 1) == LB_ERR), REFUSED(Send(multi, LB_GETSELCOUNT, 0) == 0),
      REFUSED(::SendMessage(multi, LB_SETSEL, TRUE, -1) == LB_OKAY && Send(multi, LB_GETSELCOUNT, 0) == 1),  // all
      REFUSED(Send(simple, CB_SETDROPPEDWIDTH, 90) == CB_ERR), REFUSED(Send(drop, CB_SETDROPPEDWIDTH, kNone) == CB_ERR),
      REFUSED(Send(drop, CB_SETDROPPEDWIDTH, 32768) == CB_ERR), REFUSED(Send(drop, CB_SETMINVISIBLE, 0) == FALSE),
      REFUSED(::SendMessage(drop, CB_SETITEMHEIGHT, kNone, 0) == CB_ERR),
      REFUSED(::SendMessage(drop, CB_SETITEMHEIGHT, kNone, 256) == CB_ERR),
      REFUSED(Send(drop, CB_GETITEMHEIGHT, kNone) == field), REFUSED(!::GetComboBoxInfo(gone, &info)),
      REFUSED(!::GetComboBoxInfo(drop, nullptr) && info.hwndCombo == nullptr)
  });
  // clang-format on
}

TEST_F(Refusals, HeadersAndListViewsRefuseWhatTheyDoNotHold) {
  HWND header = Make(WC_HEADER, 0);
  HWND list = Make(WC_LISTVIEW, LVS_REPORT);
  HDITEM item{HDI_WIDTH, 40};
  int order[2] = {5, 5};
  WINDOWPOS pos{};
  HDLAYOUT noPos{&rect, nullptr}, noRect{nullptr, &pos};
  LVCOLUMN column{LVCF_WIDTH, 0, 50};
  char a[] = "a", text[4] = "x";
  const LVITEM row{LVIF_TEXT, 0, 0, 0, 0, a}, negative{LVIF_TEXT, -1, 0, 0, 0, a}, sub{LVIF_TEXT, 0, 1, 0, 0, a};
  LVITEM past{LVIF_TEXT, 1, 0, 0, 0, a}, none{0, 0, 0, 0, 0, text};  // none: no room for the text
  LVITEM read{0, 0, 0, 0, 0, text, sizeof text}, readSub{0, 0, 1, 0, 0, text, 4}, readNegative{0, 0, -1, 0, 0, text, 4};
  ExpectAll(
      {REFUSED(Send(header, HDM_INSERTITEM, 0) == -1), REFUSED(Send(header, HDM_INSERTITEM, kNone, &item) == -1),
       REFUSED(Send(header, HDM_INSERTITEM, 0, &item) == 0), REFUSED(!Send(header, HDM_GETITEM, 1, &item)),
       REFUSED(!Send(header, HDM_GETITEM, 0)), REFUSED(!Send(header, HDM_GETITEMRECT, 1, &rect)),
       REFUSED(!Send(header, HDM_GETITEMRECT, 0)), REFUSED(!Send(header, HDM_SETORDERARRAY, 2, order)),
       REFUSED(!Send(header, HDM_SETORDERARRAY, 1)), REFUSED(!Send(header, HDM_GETORDERARRAY, 0, order)),  // too small
       REFUSED(!Send(header, HDM_GETORDERARRAY, 1)), REFUSED(!Send(header, HDM_EDITFILTER, 0)),  // no filter bar
       REFUSED(!Send(header, HDM_LAYOUT, 0, &noPos)), REFUSED(!Send(header, HDM_LAYOUT, 0, &noRect)),
       REFUSED(!Send(header, HDM_LAYOUT, 0)), REFUSED(Send(list, LVM_INSERTCOLUMN, 0) == -1),
       REFUSED(Send(list, LVM_INSERTCOLUMN, kNone, &column) == -1),
       REFUSED(Send(list, LVM_INSERTCOLUMN, 0, &column) == 0), REFUSED(!Send(list, LVM_DELETECOLUMN, 1)),
       REFUSED(!Send(list, LVM_DELETECOLUMN, kNone)), REFUSED(!Send(list, LVM_GETCOLUMN, 1, &column)),
       REFUSED(!Send(list, LVM_GETCOLUMN, 0)), REFUSED(!Send(list, LVM_SETCOLUMN, 1, &column)),
       REFUSED(!Send(list, LVM_SETCOLUMN, kNone, &column)), REFUSED(!Send(list, LVM_SETCOLUMN, 0)),
       REFUSED(Send(list, LVM_INSERTITEM, 0) == -1), REFUSED(Send(list, LVM_INSERTITEM, 0, &negative) == -1),
       REFUSED(Send(list, LVM_INSERTITEM, 0, &sub) == -1), REFUSED(Send(list, LVM_INSERTITEM, 0, &row) == 0),
       REFUSED(!Send(list, LVM_GETITEM, 0, &past)), REFUSED(!Send(list, LVM_SETITEM, 0, &past)),
       REFUSED(!Send(list, LVM_GETITEM, 0)), REFUSED(!Send(list, LVM_SETITEM, 0)),
       REFUSED(Send(list, LVM_GETITEMTEXT, 0, &none) == 0), REFUSED(Send(list, LVM_GETITEMTEXT, 1, &read) == 0),
       REFUSED(Send(list, LVM_GETITEMTEXT, 0, &readSub) == 0),
       REFUSED(Send(list, LVM_GETITEMTEXT, 0, &readNegative) == 0), REFUSED(Send(list, LVM_GETITEMTEXT, 0) == 0),
       REFUSED(Send(list, LVM_FINDITEM, kNone) == -1), REFUSED(!Send(list, LVM_SORTITEMS, 0)),
       REFUSED(::SendMessage(list, LVM_SETIMAGELIST, 3, 1) == 0),
       REFUSED(::SendMessage(list, LVM_SETIMAGELIST, kNone, 1) == 0), REFUSED(Send(list, LVM_GETIMAGELIST, 3) == 0),
       // What they hold is as it was, and nothing was written through a refused call.
       REFUSED(Send(list, LVM_GETITEMCOUNT, 0) == 1), REFUSED(Send(header, HDM_GETITEMCOUNT, 0) == 1),
       REFUSED(Send(list, LVM_GETITEMTEXT, 0, &read) == 1 && std::strcmp(text, "a") == 0),
       REFUSED(rect.left == 1 && rect.top == 2 && rect.right == 3 && rect.bottom == 4 && order[0] == 5)});
}

TEST_F(Refusals, ToolTipsMenusClipboardAndImageListsRefuseWhatTheyCannotFind) {
  HWND tip = ::CreateWindowEx(0, TOOLTIPS_CLASS, "", WS_POPUP, 0, 0, 0, 0, live, nullptr, nullptr, nullptr);
  char text[] = "tip";
  // A tool of the first version ends before lParam: that size is taken, and no smaller one.
  TOOLINFO ti{offsetof(TOOLINFO, lParam), 0, live, 1, {}, nullptr, text}, small{8, 0, live, 1, {}, nullptr, text};
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuA(menu, MF_STRING, 10, "Ten");
  ::DestroyWindow(dead);
  constexpr UINT kNoItem = static_cast<UINT>(-1);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4), empty = ::GlobalAlloc(GMEM_MOVEABLE, 0);
  HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  int cx = -1;
  HDC dc = ::CreateCompatibleDC(nullptr);
  // clang-format off
  ExpectAll({
      REFUSED(!Send(tip, TTM_ADDTOOL, 0)), REFUSED(!Send(tip, TTM_ADDTOOL, 0, &small)),
      REFUSED(Send(tip, TTM_ADDTOOL, 0, &ti) && !Send(tip, TTM_ADDTOOL, 0, &ti)),  // the same tool twice
      REFUSED(Send(tip, TTM_GETTOOLCOUNT, 0) == 1),
      REFUSED(Send(tip, TTM_TRACKACTIVATE, TRUE, &ti) == 0 && !::IsWindowVisible(tip)),  // not a tracking tool
      REFUSED(::GetMenuItemID(menu, 1) == kNoItem), REFUSED(::GetMenuItemID(menu, -1) == kNoItem),
      REFUSED(::GetMenuItemID(nullptr, 0) == kNoItem),
      REFUSED(::CheckMenuItem(menu, 1, MF_BYPOSITION | MF_CHECKED) == kNoItem),
      REFUSED(!::TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, dead, nullptr)),
      REFUSED(!::TrackPopupMenu(nullptr, TPM_RETURNCMD, 0, 0, 0, live, nullptr)),
      REFUSED(platform::MenuLog().empty()), REFUSED(::SetClipboardData(CF_TEXT, block) == nullptr),  // not open
      REFUSED(::OpenClipboard(live) && !::OpenClipboard(tip)),  // open to another window
      REFUSED(::SetClipboardData(0, block) == nullptr), REFUSED(::SetClipboardData(CF_TEXT, empty) == nullptr),
      REFUSED(::CountClipboardFormats() == 0), REFUSED(::OpenClipboard(live) && ::CloseClipboard()),
      REFUSED(::ImageList_Create(16, 0, ILC_COLOR24, 1, 1) == nullptr),
      REFUSED(!::ImageList_GetIconSize(images, &cx, nullptr)), REFUSED(!::ImageList_GetIconSize(images, nullptr, &cx)),
      REFUSED(!::ImageList_GetIconSize(nullptr, &cx, &cx) && cx == -1), REFUSED(!::ImageList_Remove(images, 0)),
      REFUSED(!::ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL)),
      REFUSED(!::ImageList_Draw(nullptr, 0, dc, 0, 0, ILD_NORMAL)),
      REFUSED(platform::ImageListBitmap(images, 0) == nullptr),
      REFUSED(platform::ImageListBitmap(images, -1) == nullptr)
  });
  // clang-format on
  ::DestroyMenu(menu);
  ::GlobalFree(block);
  ::GlobalFree(empty);
  ::ImageList_Destroy(images);
  ::DeleteDC(dc);
}

}  // namespace
