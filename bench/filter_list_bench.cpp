// A filter list of 1,000,000 rows whose cells come from a row formatter, each
// case beside a baseline measured in the same run:
//   Refilter with a prefix alternative list on Symbol and a numeric bound on
//     Strike, against a plain loop matching the same cell texts (goal: within
//     2 times);
//   a header click sorting the float column Strike, against reading each
//     text once as a number and std::sort of (number, row) pairs (goal:
//     within 3 times), also with every row selected (the selection follows
//     its rows through the sort);
//   the heap bytes each stored row costs the list (counter bytes_per_row).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/profile/settings_file.h"
#include "listview/testing/list_dialog.h"
#include "listview/testing/text_rows.h"
#include "platform/input/input_driver.h"
#include "platform/testing/reset_for_test.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kSymbol = 0;
constexpr int kStrike = 1;
constexpr const char* kSymbolFilter = "nifty~bank";
constexpr const char* kStrikeFilter = ">5000";

struct Row {
  std::string symbol;
  std::string strike;
  std::string side;
};

int FormatRow(DWORD_PTR data, int column, CString& text, COLORREF&, COLORREF&, int&) {
  const auto* row = reinterpret_cast<const Row*>(data);
  if (row == nullptr) return 0;
  switch (column) {
    case kSymbol: text = row->symbol.c_str(); return 1;
    case kStrike: text = row->strike.c_str(); return 1;
    case 2: text = row->side.c_str(); return 1;
    default: return 0;
  }
}

std::vector<Row> MakeRows() {
  static const char* kSymbols[] = {"NIFTY", "BANKNIFTY", "RELIANCE", "TCS", "INFY", "FINNIFTY", "GOLD", "SILVER"};
  std::vector<Row> rows(kRows);
  unsigned seed = 12345;
  for (int i = 0; i < kRows; ++i) {
    seed = seed * 1103515245u + 12345u;
    Row& row = rows[static_cast<size_t>(i)];
    row.symbol = kSymbols[(seed >> 8) % 8];
    row.strike = std::to_string((seed >> 4) % 20000) + "." + std::to_string((seed >> 20) % 100);
    row.side = (seed >> 16) % 2 ? "BUY" : "SELL";
  }
  return rows;
}

size_t HeapInUse() { return mallinfo2().uordblks; }

// One dialog holding the filled list, shared by every case of the run.
class BigList {
 public:
  BigList() : m_rows(MakeRows()) {
    m_settings = std::filesystem::temp_directory_path() / ("filter_list_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_settings);
    listview::SetSettingsFolder(m_settings.string().c_str());
    platform::ResetForTest();
    listview::testing::RegisterListDialog(LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS);
    m_dialog = std::make_unique<Dialog>([](CFilterListCtrl& list) {
      list.m_strProfileName = "filterbench";
      list.m_arrColumns.Add(sTarnColInfo("Symbol", 80, 0, sort_kind::kText));
      list.m_arrColumns.Add(sTarnColInfo("Strike Price", 80, 1, sort_kind::kFloat));
      list.m_arrColumns.Add(sTarnColInfo("Side", 60, 0, sort_kind::kText));
      list.ApplyColumnProfile();
      list.EnableFilterMode(true);
      list.SetDataDescriptor(&FormatRow);
    });
    m_dialog->Create(listview::testing::kListDialogId);
    CFilterListCtrl& list = m_dialog->list;
    const size_t before = HeapInUse();
    for (Row& row : m_rows) {
      list.InsertItem(0, "");
      list.SetItemData(0, reinterpret_cast<DWORD_PTR>(&row));
    }
    m_bytesPerRow = static_cast<double>(HeapInUse() - before) / kRows;
  }
  ~BigList() {
    m_dialog.reset();
    listview::testing::UnregisterListDialog();
    platform::ResetForTest();
    listview::SetSettingsFolder("");
    std::filesystem::remove_all(m_settings);
  }
  CFilterListCtrl& List() { return m_dialog->list; }
  const std::vector<Row>& Rows() const { return m_rows; }
  double BytesPerRow() const { return m_bytesPerRow; }
  void ClickHeader(int item) { listview::testing::ClickHeaderItem(*List().GetHeaderCtrl(), item); }

 private:
  using Dialog = listview::testing::CListDialog<CFilterListCtrl>;
  std::vector<Row> m_rows;
  std::filesystem::path m_settings;
  std::unique_ptr<Dialog> m_dialog;
  double m_bytesPerRow = 0;
};

BigList& Shared() {
  static BigList list;
  return list;
}

void BM_Refilter(benchmark::State& state) {
  CFilterListCtrl& list = Shared().List();
  list.ClearFilters();
  list.SetColumnFilter(kSymbol, kSymbolFilter);
  list.SetColumnFilter(kStrike, kStrikeFilter);
  for (auto _ : state) list.Refilter();
  state.counters["visible"] = list.GetItemCount();
  list.ClearFilters();
  list.Refilter();
}
BENCHMARK(BM_Refilter)->Unit(benchmark::kMillisecond);

bool StartsWithIgnoringCase(const char* cell, const char* prefix) {
  for (; *prefix != '\0'; ++cell, ++prefix) {
    if (std::tolower(static_cast<unsigned char>(*cell)) != std::tolower(static_cast<unsigned char>(*prefix))) {
      return false;
    }
  }
  return true;
}

// The same two filters written out by hand on the same formatted cells.
void BM_RefilterBaseline(benchmark::State& state) {
  const std::vector<Row>& rows = Shared().Rows();
  std::vector<int> visible;
  for (auto _ : state) {
    visible.clear();
    CString symbol, strike;
    COLORREF text = 0, back = 0;
    int image = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto data = reinterpret_cast<DWORD_PTR>(&rows[i]);
      FormatRow(data, kSymbol, symbol, text, back, image);
      if (!StartsWithIgnoringCase(symbol, "nifty") && !StartsWithIgnoringCase(symbol, "bank")) continue;
      FormatRow(data, kStrike, strike, text, back, image);
      if (std::atof(strike) > 5000) visible.push_back(static_cast<int>(i));
    }
    benchmark::DoNotOptimize(visible.data());
  }
  state.counters["visible"] = static_cast<double>(visible.size());
}
BENCHMARK(BM_RefilterBaseline)->Unit(benchmark::kMillisecond);

// Every click sorts all rows by Strike Price, the direction alternating.
void BM_SortFloatColumn(benchmark::State& state) {
  BigList& big = Shared();
  for (auto _ : state) big.ClickHeader(kStrike);
  state.counters["rows"] = big.List().GetItemCount();
}
BENCHMARK(BM_SortFloatColumn)->Unit(benchmark::kMillisecond);

// The same with every row selected: the sort takes each selected row's
// record before and selects the rows showing them after.
void BM_SortFloatColumnAllSelected(benchmark::State& state) {
  BigList& big = Shared();
  big.List().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
  for (auto _ : state) big.ClickHeader(kStrike);
  big.List().SetItemState(-1, 0, LVIS_SELECTED);
}
BENCHMARK(BM_SortFloatColumnAllSelected)->Unit(benchmark::kMillisecond);

// The machine's limit for the same work: each cell's text read once as a
// number, then (number, row) pairs sorted.
void BM_SortFloatColumnBaseline(benchmark::State& state) {
  const std::vector<Row>& rows = Shared().Rows();
  std::vector<std::pair<double, int>> keyed(rows.size());
  for (auto _ : state) {
    for (size_t i = 0; i < rows.size(); ++i) keyed[i] = {std::atof(rows[i].strike.c_str()), static_cast<int>(i)};
    std::sort(keyed.begin(), keyed.end());
    benchmark::DoNotOptimize(keyed.data());
  }
}
BENCHMARK(BM_SortFloatColumnBaseline)->Unit(benchmark::kMillisecond);

void BM_MemoryPerStoredRow(benchmark::State& state) {
  BigList& big = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(big.List().StoreSize());
  state.counters["bytes_per_row"] = big.BytesPerRow();
  state.counters["rows"] = big.List().StoreSize();
}
BENCHMARK(BM_MemoryPerStoredRow)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
