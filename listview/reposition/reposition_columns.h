// CRepositionColumns: the " Column Profile" dialog (template 9002) in which
// the user chooses which columns of a CCommonListCtrl show and in which
// order. Every list embeds one and opens it modeless from its header menu
// ("Reposition Columns", 4004); each opening destroys and recreates the
// window, and Open rebuilds the working copies from the list. The dialog
// sees its list only as a listview::ListHost.
//
// Two drag lists: the available (hidden) columns, in reverse record order,
// and the shown ones in display order. ">" / "<" (or a double click) move
// the selected entries across, at the other list's selection mark or its
// end; dragging moves them too. Captions of the list's mandatory columns may
// not leave the shown list: "<caption> cannot be removed", one box each, and
// the drag lists ask the same through kQueryLeave (1132).
//
// Nothing reaches the list before "&View" (apply: the header rebuilt from
// the shown entries, each with its record's caption, format and current
// width; hidden records get order -1; filters reset; the list's dialog gets
// kLayoutChanged (1147) with the list's id) or "&Save" (apply, then the
// list's SaveColumnProfile). Opened by command 4005 (the second mode), Save
// makes the arrangement the list's default layout for this session instead
// of writing the settings file.
//
// The sort controls ("Default Sort For: ", its field and "Sort") show only
// for the profile "DealerNetPosition"; a click on a shown entry puts its
// caption in the field, "Sort" stores the field as the default sort column
// and "&Default" shows the stored one again.
#pragma once

#include "controls/control_pos.h"
#include "controls/zr_drag_list_ctrl.h"
#include "listview/col_info.h"
#include "listview/host/list_host.h"
#include "platform/base/collections.h"
#include "platform/comctl/cheaderctrl.h"
#include "platform/user/cdialog.h"

namespace reposition_id {
constexpr UINT kDialog = 9002;
constexpr int kView = 10001;
constexpr int kHiddenListBoxA = 10002;
constexpr int kShow = 10003;  // ">"
constexpr int kHide = 10004;  // "<"
constexpr int kSave = 10005;
constexpr int kDefault = 10006;
constexpr int kAvailableList = 10007;
constexpr int kShownList = 10008;
constexpr int kSortLabel = 10009;
constexpr int kSort = 10010;
constexpr int kHiddenListBoxB = 10011;
constexpr int kSortField = 10012;
}  // namespace reposition_id

class CRepositionColumns : public CDialog {
 public:
  // To the list's dialog after a new layout: wParam the list's control id.
  static constexpr UINT kLayoutChanged = WM_USER + 123;  // 1147
  static constexpr UINT kQueryLeave = CZRDragListCtrl::kQueryLeave;
  static constexpr const char* kSortProfile = "DealerNetPosition";
  static constexpr SIZE kMinimumClient{180, 120};

  CRepositionColumns();

  // Fills both lists from `list` (its header and `records`, the list's
  // column records); called right after the window is created.
  void Open(listview::ListHost* list, const CArray<sTarnColInfo>& records);
  // The buttons' work, also reachable by tests and scripts as clicks.
  void MoveToShown();
  void MoveToAvailable();
  void Apply();
  void Save();

  void SetSecondMode(bool on) { m_bSecondMode = on ? 1 : 0; }

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnSize(UINT type, int cx, int cy) override;
  // No smaller than kMinimumClient (dialog units): the controls never overlap.
  void OnGetMinMaxInfo(MINMAXINFO* info) override;

 private:
  bool IsFixed(const CString& caption) const;
  int RecordOf(const CString& caption) const;
  static int InsertAt(CZRDragListCtrl& list, int index, const CString& text);
  // Places the controls for a client area of cx by cy pixels.
  void Layout(int cx, int cy);

  BYTE m_bSortControls = 0;
  BYTE m_bSecondMode = 0;
  CArray<int> m_arrColumnOrder;
  CArray<sTarnColInfo> m_arrColumns;
  CControlPos m_controlPos;  // no control registered: Layout places them
  CString m_strDefaultSortColumn;
  listview::ListHost* m_pList = nullptr;
  CHeaderCtrl* m_pHeader = nullptr;
  int m_nSave = 0;
  int m_nRecordCount = 0;
  CString m_strProfileName;
  CStringArray m_arrFixedColumns;
  CZRDragListCtrl m_listAvailable;
  CZRDragListCtrl m_listShown;
};
