#include "listview/filter/row_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The rows as plain lists of record ids (each record's item data is its id),
// with no store indexes to keep in step.
struct Model {
  std::vector<DWORD_PTR> store;  // insertion order
  std::vector<DWORD_PTR> view;   // view entries, before mirroring
  bool newestFirst = false;
  int Count() const { return static_cast<int>(view.size()); }
  int Position(int row) const { return newestFirst ? Count() - 1 - row : row; }
  DWORD_PTR AtRow(int row) const { return view[static_cast<size_t>(Position(row))]; }
  int RowOf(DWORD_PTR id) const {
    const auto at = std::find(view.begin(), view.end(), id) - view.begin();
    return Position(static_cast<int>(at));
  }
};

void ExpectSame(const listview::RowMap& rows, const Model& model) {
  ASSERT_EQ(rows.Count(), model.Count());
  ASSERT_EQ(rows.StoreSize(), static_cast<int>(model.store.size()));
  for (int s = 0; s < rows.StoreSize(); ++s) ASSERT_EQ(rows.StoreItemData(s), model.store[static_cast<size_t>(s)]);
  for (int r = 0; r < rows.Count(); ++r) ASSERT_EQ(rows.RecordOfRow(r)->dwItemData, model.AtRow(r)) << "row " << r;
  EXPECT_EQ(rows.RecordOfRow(rows.Count()), nullptr);
  std::vector<int> seen;
  DWORD_PTR lastStored = 0;
  rows.ForEachRowInStoreOrder([&](int row, DWORD_PTR data) {
    ASSERT_EQ(data, model.AtRow(row));
    const auto at = std::find(model.store.begin(), model.store.end(), data) - model.store.begin();
    ASSERT_GE(static_cast<DWORD_PTR>(at), lastStored);  // store order
    lastStored = static_cast<DWORD_PTR>(at);
    seen.push_back(row);
  });
  std::sort(seen.begin(), seen.end());
  for (int r = 0; r < rows.Count(); ++r) ASSERT_EQ(seen[static_cast<size_t>(r)], r);
}

// Random inserts (appended and in the middle), data set on a row, rows
// hidden by a filter, deletions, refilters, sorts and the newest-first
// setting, against the model after every step.
TEST(RowMapTest, FollowsAModelOfRecordsThroughEveryChange) {
  std::mt19937 random(37);
  const auto below = [&](int n) { return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n)); };
  listview::RowMap rows;
  Model model;
  DWORD_PTR nextId = 1;
  for (int step = 0; step < 3000; ++step) {
    const int count = model.Count();
    const int size = static_cast<int>(model.store.size());
    switch (below(8)) {
      case 0:
      case 1: {  // insert: row 0 or past the end appends, a row inside the store goes there
        const int row = below(3) == 0 ? 0 : below(size + 2);
        int index = -1;
        int shown = -1;
        ASSERT_EQ(rows.Insert(row, index, shown), listview::RowMap::Change::kDone);
        const DWORD_PTR id = nextId++;
        if (row > 0 && row < size) {
          model.store.insert(model.store.begin() + row, id);
          model.view.insert(model.view.begin() + std::min(row, count), id);
          ASSERT_EQ(index, row);
        } else {
          model.store.push_back(id);
          model.view.push_back(id);
          ASSERT_EQ(index, size);
        }
        ASSERT_EQ(shown, model.RowOf(id));
        rows.RecordOfRow(shown)->dwItemData = id;
        break;
      }
      case 2: {  // new data for a row that has data replaces that row's record's
        if (count == 0) break;
        const int row = below(count);
        const DWORD_PTR id = nextId++;
        const DWORD_PTR old = model.AtRow(row);
        ASSERT_EQ(rows.SetData(row, id), model.Position(row));
        std::replace(model.store.begin(), model.store.end(), old, id);
        std::replace(model.view.begin(), model.view.end(), old, id);
        break;
      }
      case 3: {  // a filter hides a view entry
        if (count == 0) break;
        const int position = below(count);
        ASSERT_EQ(rows.Hide(position), model.Position(position));
        model.view.erase(model.view.begin() + position);
        break;
      }
      case 4: {
        if (count == 0) break;
        const int row = below(count);
        const DWORD_PTR id = model.AtRow(row);
        ASSERT_EQ(rows.Delete(row), listview::RowMap::Change::kDone);
        model.view.erase(std::find(model.view.begin(), model.view.end(), id));
        model.store.erase(std::find(model.store.begin(), model.store.end(), id));
        break;
      }
      case 5: {  // refilter: records whose id is not a multiple of 3
        const auto keep = [](DWORD_PTR data) { return data % 3 != 0; };
        rows.Rebuild(keep);
        model.view.clear();
        std::copy_if(model.store.begin(), model.store.end(), std::back_inserter(model.view), keep);
        break;
      }
      case 6: {  // sort: the visible rows in a new order
        std::vector<int> stores = rows.StoresInRowOrder();
        std::vector<DWORD_PTR> ids;
        for (int r = 0; r < count; ++r) ids.push_back(model.AtRow(r));
        std::vector<size_t> order(stores.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        std::vector<int> sorted;
        for (const size_t i : order) sorted.push_back(stores[i]);
        rows.ShowInRowOrder(sorted);
        for (int r = 0; r < count; ++r) {
          model.view[static_cast<size_t>(model.Position(r))] = ids[order[static_cast<size_t>(r)]];
        }
        break;
      }
      case 7:
        rows.SetNewestFirst(!rows.NewestFirst());
        model.newestFirst = rows.NewestFirst();
        break;
    }
    ExpectSame(rows, model);
    if (HasFatalFailure()) return;
  }
  rows.Clear();
  EXPECT_EQ(rows.Count() + rows.StoreSize(), 0);
}

}  // namespace
