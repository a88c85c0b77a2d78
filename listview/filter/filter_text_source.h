// What the filter pop-up (listview/filter/filter_text.h) reads from and
// writes to: the list whose filter button opened it.
#pragma once

#include <functional>

#include "platform/afx.h"

namespace listview {

// The list whose filter button opened the pop-up, as the pop-up sees it
// (CFilterListCtrl is one): the pop-up sits below the list it serves. A
// source outlives the pop-up's binding to it.
class FilterTextSource {
 public:
  // The list's window, which owns the pop-up.
  virtual const CWnd& SourceWindow() const = 0;
  // Calls visit(row, text) for every visible row whose cell under header
  // column `position` shows a non-empty text, the rows in any order.
  virtual void ForEachShownText(int position, const std::function<void(int row, const CString& text)>& visit) const = 0;
  // Header column `position`'s filter box gets `text`, and the list filters.
  virtual void SetHeaderFilterText(int position, const CString& text, BOOL oneShotExact) = 0;

 protected:
  ~FilterTextSource() = default;
};

}  // namespace listview
