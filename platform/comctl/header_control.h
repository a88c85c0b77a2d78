// The header control ("SysHeader32"): numbers and structures with the
// platform's values, and the custom-draw structures that headers and list
// views share.
//
// The model (HeaderModel in header_control.cpp) keeps the items (text, width, format,
// data, image, display order, filter text); what it tells its parent:
//  - HDN_ITEMCHANGING (TRUE vetoes) / HDN_ITEMCHANGED around every change made
//    by HDM_SETITEM or by the user's divider drag;
//  - a press and release on one item (HDS_BUTTONS): HDN_ITEMCLICK; a double
//    click: HDN_ITEMDBLCLICK, on a divider HDN_DIVIDERDBLCLICK;
//  - divider drag: HDN_BEGINTRACK (TRUE refuses), HDN_TRACK per move, and on
//    release HDN_ENDTRACK then the width change (ITEMCHANGING/ITEMCHANGED);
//  - item drag with HDS_DRAGDROP: HDN_BEGINDRAG (TRUE refuses) once the mouse
//    has moved kHeaderDragThreshold pixels, HDN_ENDDRAG on release with
//    pitem->iOrder the drop position (TRUE keeps the order unchanged);
//    meanwhile the item's picture follows the pointer in the shadow colours
//    and a two-pixel mark stands at the edge where the drop would put it;
//  - right click: NM_RCLICK (then WM_CONTEXTMENU as every window);
//  - filter bar (HDS_FILTERBAR): a click on a filter box opens an edit field
//    over it (as HDM_EDITFILTER does); typing restarts a timer of the filter
//    change timeout (1000 ms until HDM_SETFILTERCHANGETIMEOUT) whose expiry
//    stores the text and sends HDN_FILTERCHANGE; Enter or losing the focus
//    commits at once, Escape discards. A click on the filter button at the
//    right of a box sends HDN_FILTERBTNCLICK; a TRUE answer is followed by
//    HDN_FILTERCHANGE. Setting HDI_FILTER with HDM_SETITEM and HDM_CLEARFILTER
//    also send HDN_FILTERCHANGE (iItem -1 when every filter was cleared).
//  - painting: NM_CUSTOMDRAW CDDS_PREPAINT, and CDDS_ITEMPREPAINT per item
//    when the answer had CDRF_NOTIFYITEMDRAW; CDRF_SKIPDEFAULT leaves an item
//    (or everything) undrawn. Each item is drawn with the DC's text and
//    background colours as the parent leaves them at its pre-paint (the
//    button text and face colours until then), its face filled with the
//    background colour; the changes last for that item only.
// Geometry: items lie left to right in display order from x 0, each as wide
// as its width; the item row is the font's height + kHeaderPadding high and
// the filter bar adds another row of that height.
#pragma once

#include "platform/window/messages.h"
#include "platform/base/wintypes.h"

inline constexpr char WC_HEADER[] = "SysHeader32";

// ---- Custom draw (headers, list views) -------------------------------------
constexpr DWORD CDDS_PREPAINT = 0x00000001;
constexpr DWORD CDDS_POSTPAINT = 0x00000002;
constexpr DWORD CDDS_PREERASE = 0x00000003;
constexpr DWORD CDDS_POSTERASE = 0x00000004;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;
constexpr DWORD CDDS_SUBITEM = 0x00020000;

constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
constexpr LRESULT CDRF_NEWFONT = 0x00000002;
constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;
constexpr LRESULT CDRF_DOERASE = 0x00000008;
constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYPOSTERASE = 0x00000040;
constexpr LRESULT CDRF_SKIPPOSTPAINT = 0x00000100;

constexpr UINT CDIS_SELECTED = 0x0001;
constexpr UINT CDIS_GRAYED = 0x0002;
constexpr UINT CDIS_DISABLED = 0x0004;
constexpr UINT CDIS_CHECKED = 0x0008;
constexpr UINT CDIS_FOCUS = 0x0010;
constexpr UINT CDIS_DEFAULT = 0x0020;
constexpr UINT CDIS_HOT = 0x0040;

struct NMCUSTOMDRAW {
  NMHDR hdr;
  DWORD dwDrawStage = 0;
  HDC hdc = nullptr;
  RECT rc;
  DWORD_PTR dwItemSpec = 0;
  UINT uItemState = 0;
  LPARAM lItemlParam = 0;
};
using LPNMCUSTOMDRAW = NMCUSTOMDRAW*;

// Colours meaning "none" and "the control's default".
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// ---- Header styles ---------------------------------------------------------
constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;
constexpr DWORD HDS_FILTERBAR = 0x0100;
constexpr DWORD HDS_FLAT = 0x0200;

// ---- Header messages -------------------------------------------------------
constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_INSERTITEMA = HDM_FIRST + 1;
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_GETITEMA = HDM_FIRST + 3;
constexpr UINT HDM_SETITEMA = HDM_FIRST + 4;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;
constexpr UINT HDM_SETHOTDIVIDER = HDM_FIRST + 19;
constexpr UINT HDM_SETFILTERCHANGETIMEOUT = HDM_FIRST + 22;
constexpr UINT HDM_EDITFILTER = HDM_FIRST + 23;
constexpr UINT HDM_CLEARFILTER = HDM_FIRST + 24;
// This build uses narrow characters throughout.
constexpr UINT HDM_INSERTITEM = HDM_INSERTITEMA;
constexpr UINT HDM_GETITEM = HDM_GETITEMA;
constexpr UINT HDM_SETITEM = HDM_SETITEMA;

// HDITEM masks.
constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_BITMAP = 0x0010;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_DI_SETITEM = 0x0040;
constexpr UINT HDI_ORDER = 0x0080;
constexpr UINT HDI_FILTER = 0x0100;

// HDITEM formats.
constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_RTLREADING = 0x0004;
constexpr int HDF_SORTDOWN = 0x0200;
constexpr int HDF_SORTUP = 0x0400;
constexpr int HDF_IMAGE = 0x0800;
constexpr int HDF_BITMAP_ON_RIGHT = 0x1000;
constexpr int HDF_BITMAP = 0x2000;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

// Filter types.
constexpr UINT HDFT_ISSTRING = 0x0000;
constexpr UINT HDFT_ISNUMBER = 0x0001;
constexpr UINT HDFT_HASNOVALUE = 0x8000;

struct HD_TEXTFILTER {
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
};
using HDTEXTFILTER = HD_TEXTFILTER;

struct HDITEM {
  UINT mask = 0;
  int cxy = 0;
  LPSTR pszText = nullptr;
  HBITMAP hbm = nullptr;
  int cchTextMax = 0;
  int fmt = 0;
  LPARAM lParam = 0;
  int iImage = 0;
  int iOrder = 0;
  UINT type = 0;
  void* pvFilter = nullptr;
};
using HD_ITEM = HDITEM;
using LPHDITEM = HDITEM*;

struct HDLAYOUT {
  RECT* prc = nullptr;
  WINDOWPOS* pwpos = nullptr;
};
using LPHDLAYOUT = HDLAYOUT*;

constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_ONFILTER = 0x0010;
constexpr UINT HHT_ONFILTERBUTTON = 0x0020;
constexpr UINT HHT_ABOVE = 0x0100;
constexpr UINT HHT_BELOW = 0x0200;
constexpr UINT HHT_TORIGHT = 0x0400;
constexpr UINT HHT_TOLEFT = 0x0800;

struct HDHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  int iItem = -1;
};
using LPHDHITTESTINFO = HDHITTESTINFO*;

// ---- Header notifications --------------------------------------------------
constexpr UINT HDN_FIRST = 0U - 300U;
constexpr UINT HDN_ITEMCHANGINGA = HDN_FIRST - 0;
constexpr UINT HDN_ITEMCHANGEDA = HDN_FIRST - 1;
constexpr UINT HDN_ITEMCLICKA = HDN_FIRST - 2;
constexpr UINT HDN_ITEMDBLCLICKA = HDN_FIRST - 3;
constexpr UINT HDN_DIVIDERDBLCLICKA = HDN_FIRST - 5;
constexpr UINT HDN_BEGINTRACKA = HDN_FIRST - 6;
constexpr UINT HDN_ENDTRACKA = HDN_FIRST - 7;
constexpr UINT HDN_TRACKA = HDN_FIRST - 8;
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;
constexpr UINT HDN_FILTERCHANGE = HDN_FIRST - 12;
constexpr UINT HDN_FILTERBTNCLICK = HDN_FIRST - 13;
constexpr UINT HDN_ITEMCHANGINGW = HDN_FIRST - 20;
constexpr UINT HDN_ITEMCHANGEDW = HDN_FIRST - 21;
constexpr UINT HDN_ITEMCLICKW = HDN_FIRST - 22;
constexpr UINT HDN_ITEMDBLCLICKW = HDN_FIRST - 23;
constexpr UINT HDN_DIVIDERDBLCLICKW = HDN_FIRST - 25;
constexpr UINT HDN_BEGINTRACKW = HDN_FIRST - 26;
constexpr UINT HDN_ENDTRACKW = HDN_FIRST - 27;
constexpr UINT HDN_TRACKW = HDN_FIRST - 28;
// The header sends the narrow forms.
constexpr UINT HDN_ITEMCHANGING = HDN_ITEMCHANGINGA;
constexpr UINT HDN_ITEMCHANGED = HDN_ITEMCHANGEDA;
constexpr UINT HDN_ITEMCLICK = HDN_ITEMCLICKA;
constexpr UINT HDN_ITEMDBLCLICK = HDN_ITEMDBLCLICKA;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKA;
constexpr UINT HDN_BEGINTRACK = HDN_BEGINTRACKA;
constexpr UINT HDN_ENDTRACK = HDN_ENDTRACKA;
constexpr UINT HDN_TRACK = HDN_TRACKA;

struct NMHEADER {
  NMHDR hdr;
  int iItem = -1;
  int iButton = 0;  // 0 left, 1 right, 2 middle
  HDITEM* pitem = nullptr;
};
using LPNMHEADER = NMHEADER*;
using HD_NOTIFY = NMHEADER;

struct NMHDFILTERBTNCLICK {
  NMHDR hdr;
  int iItem = -1;
  RECT rc;  // the filter button, in header client coordinates
};
using LPNMHDFILTERBTNCLICK = NMHDFILTERBTNCLICK*;

// ---- Geometry shared by the header and the list view -------------------------
namespace platform {
// Added to the font's height for the height of the item row and of the filter bar.
constexpr int kHeaderPadding = 7;
// Width of the filter button at the right of each filter box.
constexpr int kHeaderFilterButtonWidth = 12;
// A divider can be grabbed this many pixels either side of an item's right edge.
constexpr int kHeaderDividerGrip = 3;
// Pixels the mouse moves with the button down before an item drag starts.
constexpr int kHeaderDragThreshold = 4;
// Text margin at each side of an item, as the header and auto-size count it.
constexpr int kHeaderTextMargin = 6;
// Filter change timeout until HDM_SETFILTERCHANGETIMEOUT.
constexpr int kDefaultFilterTimeoutMs = 1000;
// The filter edit field's control id (a child of the header).
constexpr int kHeaderFilterEditId = 0x7F01;
}  // namespace platform

// Owner-draw kinds of these controls.
constexpr UINT ODT_HEADER = 100;
constexpr UINT ODT_LISTVIEW = 102;
