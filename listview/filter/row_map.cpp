#include "listview/filter/row_map.h"

#include <algorithm>

namespace listview {

int RowMap::StoreOfRow(int row) const {
  if (row < 0 || row >= Count()) return -1;
  return m_view[static_cast<size_t>(Position(row))];
}

sColInfo* RowMap::RecordOfRow(int row) {
  const int store = StoreOfRow(row);
  return store >= 0 ? &m_store[static_cast<size_t>(store)] : nullptr;
}

const sColInfo* RowMap::RecordOfRow(int row) const { return const_cast<RowMap*>(this)->RecordOfRow(row); }

DWORD_PTR RowMap::StoreItemData(int index) const {
  return index >= 0 && index < StoreSize() ? m_store[static_cast<size_t>(index)].dwItemData : 0;
}

RowMap::Change RowMap::Insert(int row, int& index, int& shown) {
  const int size = StoreSize();
  int position = 0;  // the new entry's place in the view
  if (row > 0 && row < size) {
    // In the middle: later store indexes move up by one.
    for (int& entry : m_view) {
      if (entry == -1) return Change::kReindexingError;
      if (entry >= row) ++entry;
    }
    m_store.insert(m_store.begin() + row, sColInfo{});
    position = std::min(row, Count());
    m_view.insert(m_view.begin() + position, row);
    index = row;
  } else {
    m_store.emplace_back();
    position = Count();
    m_view.push_back(size);
    index = size;
  }
  shown = Position(position);
  return Change::kDone;
}

int RowMap::SetData(int row, DWORD_PTR data) {
  if (m_view.empty()) return -1;
  const int count = Count();
  int position = row > 0 && row < count ? row : count - 1;
  if (m_store[static_cast<size_t>(m_view[static_cast<size_t>(position)])].dwItemData != 0 && row >= 0 && row < count) {
    position = Position(row);
  }
  m_store[static_cast<size_t>(m_view[static_cast<size_t>(position)])].dwItemData = data;
  return position;
}

int RowMap::Hide(int position) {
  const int shown = Position(position);
  m_view.erase(m_view.begin() + position);
  return shown;
}

RowMap::Change RowMap::Delete(int row) {
  const int position = Position(row);
  const int store = m_view[static_cast<size_t>(position)];
  if (store == -1) return Change::kNotFound;
  m_view.erase(m_view.begin() + position);
  if (store != StoreSize() - 1) {
    for (int& entry : m_view) {
      if (entry == store || entry == -1) return Change::kReindexingError;
      if (entry > store) --entry;
    }
  }
  m_store.erase(m_store.begin() + store);
  return Change::kDone;
}

void RowMap::Clear() {
  m_store.clear();
  m_view.clear();
}

std::vector<int> RowMap::StoresInRowOrder() const {
  std::vector<int> stores(m_view.size());
  for (int r = 0; r < Count(); ++r) stores[static_cast<size_t>(r)] = m_view[static_cast<size_t>(Position(r))];
  return stores;
}

void RowMap::ShowInRowOrder(const std::vector<int>& stores) {
  const int rows = std::min(Count(), static_cast<int>(stores.size()));
  for (int r = 0; r < rows; ++r) {
    m_view[static_cast<size_t>(Position(r))] = stores[static_cast<size_t>(r)];
  }
}

}  // namespace listview
