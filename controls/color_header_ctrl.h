// CColorHeaderCtrl: the header of a filterable list, which shows where the
// list is filtered: items of columns that carry a filter text in gold
// (218, 165, 32), the other items in light gold (238, 221, 130) while any
// column carries one, and the button face otherwise; text always black.
// Subclass it onto the list's header; it colours the items through its
// reflected custom-draw notification (asking for item notifications, then
// setting each item's colours and answering CDRF_NEWFONT) and erases the
// whole header in light gold while the list's filter row is shown, else in
// the button face.
//
// What it reads of the list comes through CColorHeaderSource, which the
// filterable list implements: the columns with a filter text, the header
// item that shows a column, and whether the filter row is shown. Without a
// source nothing is filtered.
#pragma once

#include <vector>

#include "platform/comctl/cheaderctrl.h"

class CColorHeaderSource {
 public:
  virtual ~CColorHeaderSource() = default;
  // Column numbers that carry a filter text.
  virtual std::vector<int> FilteredColumns() const = 0;
  // The header item that shows a column; -1 when none does.
  virtual int HeaderItemOfColumn(int column) const = 0;
  virtual bool IsFilterRowShown() const = 0;
};

class CColorHeaderCtrl : public CHeaderCtrl {
 public:
  static constexpr COLORREF kGold = RGB(218, 165, 32);
  static constexpr COLORREF kLightGold = RGB(238, 221, 130);

  void SetSource(const CColorHeaderSource* source) { m_pSource = source; }
  // The background an item is drawn on.
  COLORREF ItemBackground(int item) const;

 protected:
  Reflect OnReflectNotify(NMHDR* header, LRESULT* result) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  const CColorHeaderSource* m_pSource = nullptr;
};
