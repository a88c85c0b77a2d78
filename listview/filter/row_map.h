// The rows of a filter list in filter mode, without the window:
//
//   store  every row inserted and not deleted, in insertion order; each an
//          sColInfo holding the owner's item data and a check state;
//   view   one entry per visible row: an index into the store. Filtering
//          and sorting rebuild the view; they never move the store.
//
// Visible row r shows view entry r, or (newest first) view entry
// count - 1 - r, so that rows appended last show on top.
//
// Invariants: every view entry is a valid store index, no index twice.
#pragma once

#include <vector>

#include "platform/base/wintypes.h"

// One row of the store.
struct sColInfo {
  DWORD_PTR dwItemData = 0;  // the owner's row object; 0 until set
  int nCheck = 0;            // 0 or 1
};

namespace listview {

class RowMap {
 public:
  enum class Change { kDone, kNotFound, kReindexingError };

  int Count() const { return static_cast<int>(m_view.size()); }  // visible rows
  int StoreSize() const { return static_cast<int>(m_store.size()); }
  bool NewestFirst() const { return m_newestFirst; }
  void SetNewestFirst(bool on) { m_newestFirst = on; }

  // The view entry of visible row `row`, and the visible row of view entry
  // `row`: mirroring is its own inverse.
  int Position(int row) const { return m_newestFirst ? Count() - 1 - row : row; }
  // The store index visible row `row` shows; -1 outside the view.
  int StoreOfRow(int row) const;
  sColInfo* RecordOfRow(int row);
  const sColInfo* RecordOfRow(int row) const;
  // The item data of store entry `index`, 0 outside the store.
  DWORD_PTR StoreItemData(int index) const;

  // A new empty record: at store index `row` when 0 < row < store size (the
  // later store indexes move up and the view gets it at entry `row`), else
  // appended to store and view. `index` gets the new store index (or `row`),
  // `shown` the visible row it shows as.
  Change Insert(int row, int& index, int& shown);
  // A record holding `data` appended to the store, and to the view (so
  // shown on top when newest first) when `shown`.
  void Append(DWORD_PTR data, bool shown) {
    if (shown) m_view.push_back(StoreSize());
    m_store.push_back(sColInfo{data, 0});
  }
  // Gives `data` to a record: the one of visible row `row` when it lies in
  // the view and has data already, else the one of view entry `row`, or of
  // the last view entry when `row` is 0 or outside the view (so data set for
  // row 0 reaches the record just appended). Returns that view entry; -1
  // with an empty view.
  int SetData(int row, DWORD_PTR data);
  // Takes view entry `position` out of the view (its record stays in the
  // store); returns the visible row that showed it.
  int Hide(int position);
  // Deletes the record of visible row `row` (which must lie in the view)
  // from store and view; later store indexes move down.
  Change Delete(int row);
  void Clear();

  // The view again in store order: the records with data that `keep`
  // lets through.
  template <class Keep>
  void Rebuild(Keep keep) {
    m_view.clear();
    for (size_t s = 0; s < m_store.size(); ++s) {
      const DWORD_PTR data = m_store[s].dwItemData;
      if (data != 0 && keep(data)) m_view.push_back(static_cast<int>(s));
    }
  }
  // The store indexes of the visible rows, top first.
  std::vector<int> StoresInRowOrder() const;
  // Visible row i shows store index stores[i] (the same indexes as
  // StoresInRowOrder, reordered), whatever the newest-first setting.
  void ShowInRowOrder(const std::vector<int>& stores);

  // Calls visit(row, item data) for every visible row, in store order rather
  // than row order: after a sort the rows' records lie scattered, and a walk
  // over a million of them in row order waits on memory far longer than it
  // works. For work whose result does not depend on the order.
  template <class Visit>
  void ForEachRowInStoreOrder(Visit visit) const {
    std::vector<int> rowOfStore(m_store.size(), -1);
    for (size_t p = 0; p < m_view.size(); ++p) {
      const int row = Position(static_cast<int>(p));  // the position of a row is its row back
      rowOfStore[static_cast<size_t>(m_view[p])] = row;  // a valid store index: the invariant
    }
    for (size_t s = 0; s < rowOfStore.size(); ++s) {
      if (rowOfStore[s] >= 0) visit(rowOfStore[s], m_store[s].dwItemData);
    }
  }

 private:
  std::vector<sColInfo> m_store;  // by value: 16 bytes a row, no heap block each
  std::vector<int> m_view;        // view entry -> store index (before newest-first mirroring)
  bool m_newestFirst = false;
};

}  // namespace listview
