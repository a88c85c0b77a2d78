// The list view control ("SysListView32"): numbers and structures with the
// platform's values. The model (platform/comctl/list_view_model.h) implements the
// report view; the other views keep their items but lay them out as a report.
//
// What the list tells its parent (WM_NOTIFY):
//  - LVN_ITEMCHANGING (TRUE vetoes) and LVN_ITEMCHANGED around every change
//    of an item's state, data, image or main text, with the old and new
//    states; a selection made by the user clears the other items first (in
//    index order), then changes the clicked item, each as its own pair;
//    moving the focus takes it from the old item (its own pair) first;
//  - owner-data lists (LVS_OWNERDATA) keep only the count and the selected
//    and focused states: texts, images and data are asked with
//    LVN_GETDISPINFO, and so are check boxes (LVS_EX_CHECKBOXES) and the
//    state bits of the callback mask (LVIF_STATE with those bits in
//    stateMask); LVN_ODCACHEHINT precedes painting the visible rows;
//    a range selected at once (Shift+click, Shift+keys, Ctrl+A) is announced
//    by one LVN_ODSTATECHANGED, and clearing every item by one LVN_ITEMCHANGED
//    with iItem -1;
//  - LVN_INSERTITEM, LVN_DELETEITEM (item still in the list),
//    LVN_DELETEALLITEMS (TRUE: no LVN_DELETEITEM per item);
//  - LVN_COLUMNCLICK for a click on a header item (unless LVS_NOSORTHEADER);
//  - LVN_KEYDOWN before every key the list handles;
//  - LVN_BEGINDRAG when the mouse moves kListDragThreshold pixels with the
//    left button held after pressing on an item (no NM_CLICK follows); a
//    press without modifiers on an item of a multiple selection keeps the
//    selection until the button goes up without a drag, so that all of it
//    can be dragged;
//  - NM_CLICK when the left button is released, NM_DBLCLK, NM_RCLICK, all
//    with NMITEMACTIVATE (iItem -1 off the items), NM_SETFOCUS, NM_KILLFOCUS;
//  - the header's notifications, forwarded unchanged (the header is the
//    list's child with id 0);
//  - painting: NM_CUSTOMDRAW with NMLVCUSTOMDRAW (CDDS_PREPAINT, per item
//    CDDS_ITEMPREPAINT after CDRF_NOTIFYITEMDRAW, per sub-item
//    CDDS_ITEMPREPAINT | CDDS_SUBITEM after CDRF_NOTIFYSUBITEMDRAW;
//    clrText / clrTextBk as the parent leaves them are used; CDRF_SKIPDEFAULT
//    skips the default drawing), or with LVS_OWNERDRAWFIXED one WM_DRAWITEM
//    per visible row (ODT_LISTVIEW). An owner-drawn list asks its row height
//    with WM_MEASUREITEM whenever it gets WM_WINDOWPOSCHANGED. With
//    LVS_EX_DOUBLEBUFFER the rows are drawn on a memory bitmap and copied
//    to the window in one BitBlt (custom draw gets the memory DC).
// Views other than report keep their items and behave as a report.
// WM_VSCROLL / WM_HSCROLL scroll by a row (a row height's worth of pixels
// sideways), a page, to a thumb position, to the top or the bottom. The
// window's scroll bars (platform/window/scroll_bar.h) show while rows or
// columns do not fit (not with LVS_NOSCROLL): the vertical one counts rows
// (page: the whole rows that fit, so LVM_GETCOUNTPERPAGE, position:
// LVM_GETTOPINDEX), the horizontal one pixels (page: the client width).
// The wheel scrolls three rows a notch; tilted (WM_MOUSEHWHEEL), or turned
// with Shift held, three rows' height of pixels sideways.
// Geometry (client coordinates): the header lies at the top; row i's top is
// header height + (i - top index) * row height; columns run left to right in
// header order from -horizontal scroll. Column 0's cell holds the check box
// (kListStateIconWidth, LVS_EX_CHECKBOXES), the small icon
// (kListSmallIconWidth, when a small image list is set), then the label.
// The row height is the font's height + kListRowPadding.
#pragma once

#include "platform/comctl/header_control.h"
#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

inline constexpr char WC_LISTVIEW[] = "SysListView32";

// ---- Styles ------------------------------------------------------------------
constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_NOLABELWRAP = 0x0080;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
constexpr DWORD LVS_ALIGNTOP = 0x0000;
constexpr DWORD LVS_ALIGNLEFT = 0x0800;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
constexpr DWORD LVS_EX_TRACKSELECT = 0x00000008;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x00000010;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
constexpr DWORD LVS_EX_ONECLICKACTIVATE = 0x00000040;
constexpr DWORD LVS_EX_TWOCLICKACTIVATE = 0x00000080;
constexpr DWORD LVS_EX_FLATSB = 0x00000100;
constexpr DWORD LVS_EX_INFOTIP = 0x00000400;
constexpr DWORD LVS_EX_LABELTIP = 0x00004000;
constexpr DWORD LVS_EX_DOUBLEBUFFER = 0x00010000;

// ---- Messages ------------------------------------------------------------------
constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETCALLBACKMASK = LVM_FIRST + 10;
constexpr UINT LVM_SETCALLBACKMASK = LVM_FIRST + 11;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_FINDITEMA = LVM_FIRST + 13;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_GETSTRINGWIDTHA = LVM_FIRST + 17;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
constexpr UINT LVM_CREATEDRAGIMAGE = LVM_FIRST + 33;  // wParam item, lParam POINT*: a new image list
constexpr UINT LVM_GETVIEWRECT = LVM_FIRST + 34;
constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_GETORIGIN = LVM_FIRST + 41;
constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
constexpr UINT LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58;
constexpr UINT LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59;
constexpr UINT LVM_GETSELECTIONMARK = LVM_FIRST + 66;
constexpr UINT LVM_SETSELECTIONMARK = LVM_FIRST + 67;
constexpr UINT LVM_SORTITEMSEX = LVM_FIRST + 81;
// Narrow forms throughout.
constexpr UINT LVM_GETITEM = LVM_GETITEMA;
constexpr UINT LVM_SETITEM = LVM_SETITEMA;
constexpr UINT LVM_INSERTITEM = LVM_INSERTITEMA;
constexpr UINT LVM_FINDITEM = LVM_FINDITEMA;
constexpr UINT LVM_GETSTRINGWIDTH = LVM_GETSTRINGWIDTHA;
constexpr UINT LVM_GETCOLUMN = LVM_GETCOLUMNA;
constexpr UINT LVM_SETCOLUMN = LVM_SETCOLUMNA;
constexpr UINT LVM_INSERTCOLUMN = LVM_INSERTCOLUMNA;
constexpr UINT LVM_GETITEMTEXT = LVM_GETITEMTEXTA;
constexpr UINT LVM_SETITEMTEXT = LVM_SETITEMTEXTA;

// ---- Items ---------------------------------------------------------------------
constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;
constexpr UINT LVIF_NORECOMPUTE = 0x0800;
constexpr UINT LVIF_DI_SETITEM = 0x1000;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }

constexpr int I_IMAGECALLBACK = -1;

struct LVITEM {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
  int iIndent = 0;
};
using LV_ITEM = LVITEM;
using LPLVITEM = LVITEM*;

// ---- Columns -------------------------------------------------------------------
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_IMAGE = 0x0010;
constexpr UINT LVCF_ORDER = 0x0020;

constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
constexpr int LVCFMT_IMAGE = 0x0800;
constexpr int LVCFMT_BITMAP_ON_RIGHT = 0x1000;
constexpr int LVCFMT_COL_HAS_IMAGES = 0x8000;

struct LVCOLUMN {
  UINT mask = 0;
  int fmt = 0;
  int cx = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
  int iImage = 0;
  int iOrder = 0;
};
using LV_COLUMN = LVCOLUMN;
using LPLVCOLUMN = LVCOLUMN*;

constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

// LVM_GETNEXTITEM flags.
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;
constexpr UINT LVNI_TOLEFT = 0x0400;
constexpr UINT LVNI_TORIGHT = 0x0800;

// LVM_GETITEMRECT / LVM_GETSUBITEMRECT parts.
constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

// Hit tests. LVHT_ABOVE shares its value with LVHT_ONITEMSTATEICON on the
// platform, so a point above the items reads as "on a state icon" to code
// that tests only that bit (with iItem -1).
constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  int iItem = -1;
  int iSubItem = 0;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

// LVM_FINDITEM.
constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_SUBSTRING = 0x0004;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;
constexpr UINT LVFI_NEARESTXY = 0x0040;

struct LVFINDINFO {
  UINT flags = 0;
  LPCSTR psz = nullptr;
  LPARAM lParam = 0;
  POINT pt;
  UINT vkDirection = 0;
};
using LPLVFINDINFO = LVFINDINFO*;

// Image lists.
constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

// LVM_SETITEMCOUNT flags.
constexpr LPARAM LVSICF_NOINVALIDATEALL = 0x0001;
constexpr LPARAM LVSICF_NOSCROLL = 0x0002;

using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

// ---- Notifications ---------------------------------------------------------------
constexpr UINT LVN_FIRST = 0U - 100U;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
constexpr UINT LVN_BEGINLABELEDITA = LVN_FIRST - 5;
constexpr UINT LVN_ENDLABELEDITA = LVN_FIRST - 6;
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
constexpr UINT LVN_ODCACHEHINT = LVN_FIRST - 13;
constexpr UINT LVN_ITEMACTIVATE = LVN_FIRST - 14;
constexpr UINT LVN_ODSTATECHANGED = LVN_FIRST - 15;
constexpr UINT LVN_HOTTRACK = LVN_FIRST - 21;
constexpr UINT LVN_GETDISPINFOA = LVN_FIRST - 50;
constexpr UINT LVN_SETDISPINFOA = LVN_FIRST - 51;
constexpr UINT LVN_ODFINDITEMA = LVN_FIRST - 52;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;
constexpr UINT LVN_GETINFOTIPA = LVN_FIRST - 57;
constexpr UINT LVN_GETDISPINFOW = LVN_FIRST - 77;
constexpr UINT LVN_GETDISPINFO = LVN_GETDISPINFOA;
constexpr UINT LVN_SETDISPINFO = LVN_SETDISPINFOA;
constexpr UINT LVN_ODFINDITEM = LVN_ODFINDITEMA;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};
using LPNMLISTVIEW = NMLISTVIEW*;
using NM_LISTVIEW = NMLISTVIEW;

// Key flags of NMITEMACTIVATE.
constexpr UINT LVKF_ALT = 0x0001;
constexpr UINT LVKF_CONTROL = 0x0002;
constexpr UINT LVKF_SHIFT = 0x0004;

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

struct NMLVDISPINFO {
  NMHDR hdr;
  LVITEM item;
};
using LV_DISPINFO = NMLVDISPINFO;

struct NMLVCACHEHINT {
  NMHDR hdr;
  int iFrom = 0;
  int iTo = 0;
};

struct NMLVODSTATECHANGE {
  NMHDR hdr;
  int iFrom = 0;
  int iTo = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
};

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};
using LV_KEYDOWN = NMLVKEYDOWN;

struct NMLVFINDITEM {
  NMHDR hdr;
  int iStart = 0;
  LVFINDINFO lvfi;
};

struct NMLVCUSTOMDRAW {
  NMCUSTOMDRAW nmcd;
  COLORREF clrText = 0;
  COLORREF clrTextBk = 0;
  int iSubItem = 0;
  DWORD dwItemType = 0;
  COLORREF clrFace = 0;
  int iIconEffect = 0;
  int iIconPhase = 0;
  int iPartId = 0;
  int iStateId = 0;
  RECT rcText;
  UINT uAlign = 0;
};
using LPNMLVCUSTOMDRAW = NMLVCUSTOMDRAW*;

namespace platform {
// Added to the font's height for a row's height (unless the owner measures rows).
constexpr int kListRowPadding = 4;
constexpr int kListStateIconWidth = 16;
constexpr int kListSmallIconWidth = 16;
// Text margin at each side of a cell's label.
constexpr int kListLabelMargin = 6;
// Pixels the mouse moves with the button down on an item before a drag begins.
constexpr int kListDragThreshold = 4;
}  // namespace platform
