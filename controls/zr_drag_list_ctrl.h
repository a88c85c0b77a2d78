// CZRDragListCtrl: a report list whose selected items are dragged with the
// mouse, within the list or onto another CZRDragListCtrl.
//
// A drag starts from the list's LVN_BEGINDRAG: the selection (in index
// order) becomes the dragged items, a composite image of all of them follows
// the pointer (the image-list drag functions of "comctl32.dll", looked up by
// name per drag) and the list captures the mouse. While dragging, the item
// under the pointer is highlighted (selected, its own selection state saved
// and given back when the highlight moves on) and becomes the drop index;
// with the pointer above the item area (over the header) or below the
// client area, timer kScrollTimerId scrolls one row per kScrollPeriodMs and
// moves the highlight with it.
//
// The left button going up ends the drag in every case. Over this list the
// dragged items move behind the drop index, together and in their order
// (items 1 and 3 of five dropped on item 4 give 0, 2, 4, 1, 3). Over another
// CZRDragListCtrl each item is first offered to this list's parent with
// kQueryLeave (wParam: a zero-terminated copy of the item's text, lParam 0);
// a non-zero answer keeps the item here and shows "<text> cannot be
// removed"; the others are inserted one after another at the label under
// the pointer (the end of the target when none), each at that same index,
// then deleted here. A move carries text, image, parameter and the state
// bits of kCarriedStateMask (the check box's among them); other columns'
// texts stay behind.
//
// A single-selection list loses LVS_SINGLESEL for the drag (a selection of
// several items is dragged as one) and gets it back when the drag ends,
// wherever it ends; a lost capture (another window took the mouse) ends the
// drag without a drop.
//
// Invariant: a drag is under way exactly while m_pDragImage is non-null, and
// the scroll timer runs only then.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/drag_image_functions.h"
#include "platform/comctl/clistctrl.h"
#include "platform/comctl/image_list.h"

class CZRDragListCtrl : public CListCtrl {
 public:
  static constexpr UINT kQueryLeave = WM_USER + 108;  // 1132
  static constexpr UINT_PTR kScrollTimerId = 1;
  static constexpr UINT kScrollPeriodMs = 100;
  // Focused, selected, drop-highlighted and the state-image (check box) bits.
  static constexpr UINT kCarriedStateMask = 0xF00B;
  enum ScrollDirection : UINT { kScrollNone = 0, kScrollUp = 1, kScrollDown = 2 };

  CZRDragListCtrl();
  ~CZRDragListCtrl() override;

  bool IsDragging() const { return m_pDragImage != nullptr; }
  int DropIndex() const { return m_nDropIndex; }
  int HighlightedItem() const { return m_nPrevDropIndex; }
  UINT ScrollDirectionNow() const { return m_nScrollDirection; }
  bool ScrollTimerRunning() const { return m_uScrollTimer != 0; }
  const std::vector<int>& DraggedItems() const { return m_arrDragIndexes; }
  HWND GetToolTip() const { return m_hToolTip; }

 protected:
  void PreSubclassWindow() override;
  int OnCreate(LPCREATESTRUCT cs) override;
  void OnDestroy() override;
  Reflect OnReflectNotify(NMHDR* header, LRESULT* result) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnTimer(UINT_PTR id) override;
  void OnCaptureChanged(CWnd* wnd) override;

 private:
  // One item as a move carries it.
  struct CarriedItem {
    std::string text;
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
  };

  // The list's tool-tip, owned by it; the drag never touches it.
  void CreateToolTip();
  bool IsItem(int index) const { return index >= 0 && index < GetItemCount(); }
  void BeginDrag(const NMLISTVIEW& notify);
  // The union of the selected items' rectangles drawn on pure green (the
  // transparent colour), each item's own drag image at its offset; the hot
  // spot is `cursor` (client) relative to the union's top-left corner.
  std::unique_ptr<CImageList> BuildDragImage(CPoint cursor, CPoint* hotspot);
  void HighlightItem(int index);
  void RestoreHighlight();
  void StartScrolling(UINT direction);
  void StopScrollTimer();
  // Ends the drag image and releases the mouse; the drag is over after it.
  void FinishDrag();
  void RestoreSingleSelection();
  void DropItemOnList(CZRDragListCtrl* target, CPoint screen);
  void MoveWithinList();
  void MoveToList(CZRDragListCtrl* target, CPoint screen);
  CarriedItem ReadItem(int index) const;
  int InsertCarried(int index, const CarriedItem& item);
  // Keeps the dragged indexes on their items through an insertion or a
  // deletion the owner makes while it answers kQueryLeave (-1: deleted).
  void FollowOwnersChange(const NMLISTVIEW& change);

  std::vector<int> m_arrDragIndexes;  // the selection when the drag began
  int m_nDropIndex = -1;
  std::unique_ptr<CImageList> m_pDragImage;
  int m_nPrevDropIndex = -1;  // the highlighted item
  UINT m_uPrevDropState = 0;  // its selection state before the highlight
  DWORD m_dwStyle = 0;        // the style before LVS_SINGLESEL was switched off; 0 none
  UINT m_nScrollDirection = kScrollNone;
  UINT_PTR m_uScrollTimer = 0;
  HWND m_hToolTip = nullptr;
  bool m_bFollowOwner = false;  // only while the owner is asked: our own moves correct by hand
  DragImageFunctions m_drag;    // found when the drag began
};
