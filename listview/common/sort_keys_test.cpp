// Keys made once per sort must order rows exactly as comparing the texts at
// every step does, for every kind under both lists' rules.
#include "listview/common/sort_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "listview/common/compare_cells.h"

namespace {

const std::vector<CString> kCells = {
    "10", "9", "-", "NA", "abc", "-0.5", "1e3", "nan", "inf", "-inf", "12abc", "", "9", "B", "a", "01/02/2020",
    "02/01/2020", "01Jan2020", "0", "-0", "3000000000", "-7", "10:00:00", "9:00:00",
    // Read as numbers only by atof's own rules: white space, '+', hexadecimal, out of range, rounding.
    " 12", "+5", "0x10", "1e999", "-1e999", "1e-400", "0.1000000000000000055511151231257827", "1,5", "infinity"};

TEST(SortKeys, CompareAndOrderAgreeWithTheTextComparisons) {
  for (const auto rules : {listview::CompareRules::kBase, listview::CompareRules::kFiltered}) {
    const bool base = rules == listview::CompareRules::kBase;
    for (int kind = 0; kind <= 10; ++kind) {
      auto compareTexts = [&](const CString& a, const CString& b, int d) {
        return base ? listview::CompareCellsBase(kind, a, b, d) : listview::CompareCellsFiltered(kind, a, b, d);
      };
      listview::SortKeys keys(rules, kind);
      for (const CString& cell : kCells) keys.Add(cell);
      ASSERT_EQ(keys.Size(), kCells.size());
      // Keys given in any order land on their rows.
      listview::SortKeys given(rules, kind);
      given.Resize(kCells.size());
      for (size_t i = kCells.size(); i-- > 0;) given.Set(i, kCells[i]);
      for (const int direction : {-1, 1}) EXPECT_EQ(given.Order(direction), keys.Order(direction)) << kind;
      for (const int direction : {-1, 1}) {
        for (size_t a = 0; a < kCells.size(); ++a) {
          for (size_t b = 0; b < kCells.size(); ++b) {
            const int want = compareTexts(kCells[a], kCells[b], direction);
            const int got = keys.Compare(a, b, direction);
            ASSERT_EQ((got > 0) - (got < 0), (want > 0) - (want < 0))
                << "kind " << kind << (base ? " base " : " filtered ") << kCells[a].GetString() << " vs "
                << kCells[b].GetString();
          }
        }
        // Without NaN (which compares equal to everything) the orders must
        // match a stable sort on the texts themselves.
        std::vector<CString> cells;
        listview::SortKeys clean(rules, kind);
        for (const CString& cell : kCells) {
          if (cell == "nan") continue;
          cells.push_back(cell);
          clean.Add(cell);
        }
        std::vector<int> want(cells.size());
        std::iota(want.begin(), want.end(), 0);
        if (kind != 6) {
          std::stable_sort(want.begin(), want.end(), [&](int x, int y) {
            return compareTexts(cells[static_cast<size_t>(x)], cells[static_cast<size_t>(y)], direction) < 0;
          });
          EXPECT_EQ(clean.Order(direction), want) << "kind " << kind << (base ? " base" : " filtered");
        }
        // With NaN among the floats: still every row once.
        std::vector<int> order = keys.Order(direction);
        std::sort(order.begin(), order.end());
        std::vector<int> every(kCells.size());
        std::iota(every.begin(), every.end(), 0);
        EXPECT_EQ(order, every);
      }
    }
  }
}

TEST(SortKeys, AColumnOfPlainDatesSortsAsTheTextComparisonsDo) {
  // Ties, and days, months and years each deciding some pair.
  const std::vector<CString> dates = {"29/01/2026", "28/02/2025", "01/02/2026", "29/01/2026", "31/12/2025",
                                      "01/01/2027", "02/01/2026", "28/02/2025", "30/01/2026", "15/06/2024"};
  for (const auto rules : {listview::CompareRules::kBase, listview::CompareRules::kFiltered}) {
    listview::SortKeys keys(rules, 6);
    for (const CString& date : dates) keys.Add(date);
    for (const int direction : {-1, 0, 1}) {
      std::vector<int> want(dates.size());
      std::iota(want.begin(), want.end(), 0);
      std::stable_sort(want.begin(), want.end(), [&](int x, int y) {
        const CString& a = dates[static_cast<size_t>(x)];
        const CString& b = dates[static_cast<size_t>(y)];
        return (rules == listview::CompareRules::kBase ? listview::CompareCellsBase(6, a, b, direction)
                                                       : listview::CompareCellsFiltered(6, a, b, direction)) < 0;
      });
      EXPECT_EQ(keys.Order(direction), want) << direction;
    }
  }
}

TEST(SortKeys, AColumnOfFewDistinctTextsSortsAsTheTextComparisonsDo) {
  // 300 rows of seven texts: prefixes of each other, case, a byte above 127
  // (strcmp reads bytes unsigned) and the empty text.
  const CString kinds[] = {"AB", "A", "", "B", "a", "\xC3\xA9", "ABC"};
  std::vector<CString> cells;
  for (int i = 0; i < 300; ++i) cells.push_back(kinds[(i * 5 + i / 7) % 7]);
  for (const auto rules : {listview::CompareRules::kBase, listview::CompareRules::kFiltered}) {
    listview::SortKeys keys(rules, 3);
    for (const CString& cell : cells) keys.Add(cell);
    for (const int direction : {-1, 1}) {
      std::vector<int> want(cells.size());
      std::iota(want.begin(), want.end(), 0);
      std::stable_sort(want.begin(), want.end(), [&](int x, int y) {
        const CString& a = cells[static_cast<size_t>(x)];
        const CString& b = cells[static_cast<size_t>(y)];
        return (rules == listview::CompareRules::kBase ? listview::CompareCellsBase(3, a, b, direction)
                                                       : listview::CompareCellsFiltered(3, a, b, direction)) < 0;
      });
      EXPECT_EQ(keys.Order(direction), want) << direction;
    }
  }
}

}  // namespace
