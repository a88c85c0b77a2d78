// The sort kinds on two texts against their descriptions, and the keys made
// once per sort, which must order rows exactly as comparing the texts at
// every step does, for every kind under both lists' rules.
#include "listview/common/sort_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <numeric>
#include <ranges>
#include <vector>

#include "listview/common/compare_cells.h"

namespace {

const std::vector<CString> kCells = {
    "10", "9", "-", "NA", "abc", "-0.5", "1e3", "nan", "inf", "-inf", "12abc", "", "9", "B", "a", "01/02/2020",
    "02/01/2020", "01Jan2020", "0", "-0", "3000000000", "-7", "10:00:00", "9:00:00",
    // Read as numbers only by atof's own rules: white space, '+', hexadecimal, out of range, rounding.
    " 12", "+5", "0x10", "1e999", "-1e999", "1e-400", "0.1000000000000000055511151231257827", "1,5", "infinity"};

// The kinds as their descriptions read, ascending: whole numbers (atol; the
// filter list's kind 1 atoi), floating point ("-" and "NA" as -1 in the base
// list only), byte-wise text, and every other kind equal. Dates (6) aside.
int ModelAscending(bool base, int kind, const char* a, const char* b) {
  const auto order = [](auto x, auto y) { return (x > y) - (x < y); };
  const auto number = [base](const char* t) {
    return base && (std::strcmp(t, "-") == 0 || std::strcmp(t, "NA") == 0) ? -1.0 : std::atof(t);
  };
  if (kind == 2 || kind == 5 || (base && (kind == 7 || kind == 9))) return order(number(a), number(b));
  if (kind == 1 && !base) return order(std::atoi(a), std::atoi(b));
  if (kind == 1 || kind == 4) return order(std::atol(a), std::atol(b));
  if (kind == 3 || (base && kind == 8)) return order(std::strcmp(a, b), 0);
  return 0;
}

// Keys of `cells` order them as a stable sort on the text comparisons does,
// under both lists' rules.
void ExpectOrderOfTheTexts(const std::vector<CString>& cells, int kind, std::initializer_list<int> directions) {
  for (const auto rules : {listview::CompareRules::kBase, listview::CompareRules::kFiltered}) {
    listview::SortKeys keys(rules, kind);
    for (const CString& cell : cells) keys.Add(cell);
    for (const int direction : directions) {
      std::vector<int> want(cells.size());
      std::iota(want.begin(), want.end(), 0);
      std::stable_sort(want.begin(), want.end(), [&](int x, int y) {
        const CString& a = cells[static_cast<size_t>(x)];
        const CString& b = cells[static_cast<size_t>(y)];
        return (rules == listview::CompareRules::kBase ? listview::CompareCellsBase(kind, a, b, direction)
                                                       : listview::CompareCellsFiltered(kind, a, b, direction)) < 0;
      });
      EXPECT_EQ(keys.Order(direction), want) << "direction " << direction;
    }
  }
}

// The text comparisons against the kinds' descriptions, and the keys made
// once per sort against the text comparisons, pair by pair.
TEST(SortKeys, CompareAndOrderAgreeWithTheTextComparisonsAndTheseWithTheDescriptions) {
  for (const auto rules : {listview::CompareRules::kBase, listview::CompareRules::kFiltered}) {
    const bool base = rules == listview::CompareRules::kBase;
    for (int kind = 0; kind <= 10; ++kind) {
      listview::SortKeys keys(rules, kind);
      for (const CString& cell : kCells) keys.Add(cell);
      ASSERT_EQ(keys.Size(), kCells.size());
      // Keys given in any order land on their rows.
      listview::SortKeys given(rules, kind);
      given.Resize(kCells.size());
      for (size_t i = kCells.size(); i-- > 0;) given.Set(i, kCells[i]);
      for (const int direction : {-1, 1}) {
        EXPECT_EQ(given.Order(direction), keys.Order(direction)) << kind;
        for (size_t a = 0; a < kCells.size(); ++a) {
          for (size_t b = 0; b < kCells.size(); ++b) {
            SCOPED_TRACE(::testing::Message() << "kind " << kind << (base ? " base " : " filtered ")
                                              << kCells[a].GetString() << " vs " << kCells[b].GetString()
                                              << ", direction " << direction);
            const int want = base ? listview::CompareCellsBase(kind, kCells[a], kCells[b], direction)
                                  : listview::CompareCellsFiltered(kind, kCells[a], kCells[b], direction);
            if (kind != 6) {
              ASSERT_EQ((want > 0) - (want < 0), -direction * ModelAscending(base, kind, kCells[a], kCells[b]));
            }
            const int got = keys.Compare(a, b, direction);
            ASSERT_EQ((got > 0) - (got < 0), (want > 0) - (want < 0));
          }
        }
        // With NaN among the floats: still every row once.
        EXPECT_TRUE(std::ranges::is_permutation(keys.Order(direction), std::views::iota(0, std::ssize(kCells))));
      }
    }
  }
  // The date comparison takes the direction as its own order factor, in
  // which 1 means ascending, so the first click puts later dates first.
  for (const auto compare : {&listview::CompareCellsBase, &listview::CompareCellsFiltered}) {
    EXPECT_GT(compare(6, "01/02/2020 10:00:00", "02/02/2020 09:00:00", -1), 0);
    EXPECT_LT(compare(6, "01/02/2020 10:00:00", "02/02/2020 09:00:00", 1), 0);
  }
  // Without NaN (which compares equal to everything) the orders must match a
  // stable sort on the texts themselves.
  std::vector<CString> clean;
  std::copy_if(kCells.begin(), kCells.end(), std::back_inserter(clean), [](const CString& c) { return c != "nan"; });
  for (int kind = 0; kind <= 10; ++kind) {
    SCOPED_TRACE(kind);
    if (kind != 6) ExpectOrderOfTheTexts(clean, kind, {-1, 1});
  }
}

TEST(SortKeys, ColumnsOfPlainDatesAndOfFewDistinctTextsSortAsTheTextComparisonsDo) {
  // Ties, and days, months and years each deciding some pair; then texts of
  // the same length that are not plain dates after them.
  const std::vector<CString> dates = {"29/01/2026", "28/02/2025", "01/02/2026", "29/01/2026",
                                      "31/12/2025", "01/01/2027", "02/01/2026", "28/02/2025",
                                      "30/01/2026", "15/06/2024", "05/03x2025", "05-03/2023"};
  ExpectOrderOfTheTexts({dates.begin(), dates.end() - 2}, 6, {-1, 0, 1});
  ExpectOrderOfTheTexts(dates, 6, {-1, 0, 1});
  ExpectOrderOfTheTexts({"05/03x2025", "06/03x2024", "01/01x2026"}, 6, {-1, 1});
  ExpectOrderOfTheTexts({"05x03/2025", "06x03/2024", "01x01/2026", "06x01/2025"}, 6, {-1, 1});
  ExpectOrderOfTheTexts({"dd/mm/yyyy", "aa/bb/cccc", "mm/dd/yyyy"}, 6, {-1, 1});
  // 300 rows of seven texts: prefixes of each other, case, a byte above 127
  // (strcmp reads bytes unsigned) and the empty text.
  const CString kinds[] = {"AB", "A", "", "B", "a", "\xC3\xA9", "ABC"};
  std::vector<CString> cells;
  for (int i = 0; i < 300; ++i) cells.push_back(kinds[(i * 5 + i / 7) % 7]);
  ExpectOrderOfTheTexts(cells, 3, {-1, 1});
}

}  // namespace
