// "View Allowed Group" holding N groups (AG_BENCH_ROWS, default 1,000,000),
// each case beside its baseline in the same run, the best known way to do
// the same work:
//   a click sorting Strike Price (a float column), Symbol (sorts as floats
//     too, as the list defines it), Category (bytes) and Expiry Date (bytes)
//     against reading each cell's text once and std::sort of (key, row)
//     pairs, or std::sort of the texts (goal: within 3 times);
//   the filter pop-up's distinct texts of a column against a
//     std::set<std::string> of the same texts (goal: within 3 times);
//   a repaint of the visible page, and a scroll by one page, with N rows
//     against the same with 200 rows (goal: within 1.5 times).
// The baselines start from the cell texts as the list shows them, made
// before the timing starts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "allowed_groups/view_alg_grp_dlg.h"
#include "listview/filter/filter_text.h"
#include "listview/testing/text_rows.h"
#include "platform/input/input_driver.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_for_test.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7400});

enum Column { kCategory = 0, kSymbol = 3, kStrike = 5, kExpiry = 6 };
// The scroll-bar code of a page down (SB_PAGEDOWN).
constexpr WPARAM kScrollPageDown = 3;

int Rows() {
  const char* rows = std::getenv("AG_BENCH_ROWS");
  return rows != nullptr && std::atoi(rows) > 0 ? std::atoi(rows) : 1'000'000;
}

// Distinct groups, the digits of a mixed radix number, as a store holds them.
AllowedGroupRecord Group(int i) {
  static const char* kCategories[] = {"HNI", "RETAIL", "PROPRIETARY", "INSTITUTION"};
  static const char* kMonths[] = {"29/01/2026", "26/02/2026", "26/03/2026", "30/04/2026", "28/05/2026", "25/06/2026",
                                  "30/07/2026", "27/08/2026", "24/09/2026", "29/10/2026", "26/11/2026", "31/12/2026"};
  AllowedGroupRecord g;
  g.strCategory = kCategories[i % 4];
  g.strExchangeCode = "nse_fo";
  g.strInstrument = (i / 96) % 100 < 3 ? "OPTIDX" : "OPTSTK";
  g.strSymbol = std::string("SYM") + std::to_string((i / 96) % 100);
  g.strOptionType = (i / 4) % 2 ? "PE" : "CE";
  g.dStrike = 5000.0 * (i / 9600 + 1) + (i % 7) * 25;
  g.strExpiry = kMonths[(i / 8) % 12];
  g.strProduct = i % 3 == 0 ? "NRML" : "ALL";
  g.strSide = i % 5 == 0 ? "B" : (i % 5 == 1 ? "S" : "ALL");
  return g;
}

// One dialog of `count` groups, shown, with a list tall enough for a page.
class View {
 public:
  explicit View(int count) {
    m_dialog = std::make_unique<CViewAlgGrpDlg>();
    m_dialog->Create(IDD_VIEW_ALGGRP, nullptr);
    m_dialog->ShowWindow(SW_SHOW);
    m_dialog->MoveWindow(0, 0, 900, 700);
    for (int i = 0; i < count; ++i) m_dialog->AddOrMerge(std::make_unique<AllowedGroupRecord>(Group(i)));
    for (const AllowedGroupRecord* row : m_dialog->Rows()) {
      for (const int column : {kCategory, kSymbol, kStrike, kExpiry}) {
        m_texts[column].emplace_back(CViewAlgGrpDlg::CellText(*row, column).GetString());
      }
    }
  }
  CViewAlgGrpDlg& Dialog() { return *m_dialog; }
  CFilterListCtrl& List() { return m_dialog->List(); }
  const std::vector<std::string>& Texts(int column) { return m_texts[column]; }
  void ClickHeader(int item) { listview::testing::ClickHeaderItem(*List().GetHeaderCtrl(), item); }

 private:
  std::unique_ptr<CViewAlgGrpDlg> m_dialog;
  std::vector<std::string> m_texts[9];
};

View& Big() {
  static View* view = [] {
    platform::ResetForTest();
    resources::RegisterModuleResources(kModule);
    AfxSetResourceHandle(kModule);
    return new View(Rows());
  }();
  return *view;
}

View& Small() {
  Big();
  static View* view = new View(200);
  return *view;
}

void Sort(benchmark::State& state, int column) {
  View& view = Big();
  for (auto _ : state) view.ClickHeader(column);
  state.counters["rows"] = view.List().GetItemCount();
}

// Each cell's text read once as a number, then (number, row) pairs sorted.
void SortByNumber(benchmark::State& state, int column) {
  const std::vector<std::string>& texts = Big().Texts(column);
  std::vector<std::pair<double, int>> keyed(texts.size());
  for (auto _ : state) {
    for (size_t i = 0; i < texts.size(); ++i) keyed[i] = {std::strtod(texts[i].c_str(), nullptr), static_cast<int>(i)};
    std::sort(keyed.begin(), keyed.end());
    benchmark::DoNotOptimize(keyed.data());
  }
}

// std::sort of (a copy of) the texts.
void SortTexts(benchmark::State& state, int column) {
  const std::vector<std::string>& texts = Big().Texts(column);
  for (auto _ : state) {
    std::vector<std::string> sorted = texts;
    std::sort(sorted.begin(), sorted.end());
    benchmark::DoNotOptimize(sorted.data());
  }
}

void BM_SortStrikePrice(benchmark::State& state) { Sort(state, kStrike); }
void BM_SortStrikePriceBaseline(benchmark::State& state) { SortByNumber(state, kStrike); }
void BM_SortSymbol(benchmark::State& state) { Sort(state, kSymbol); }
void BM_SortSymbolBaseline(benchmark::State& state) { SortTexts(state, kSymbol); }
void BM_SortCategory(benchmark::State& state) { Sort(state, kCategory); }
void BM_SortCategoryBaseline(benchmark::State& state) { SortTexts(state, kCategory); }
void BM_SortExpiryDate(benchmark::State& state) { Sort(state, kExpiry); }
void BM_SortExpiryDateBaseline(benchmark::State& state) { SortTexts(state, kExpiry); }
BENCHMARK(BM_SortStrikePrice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortStrikePriceBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSymbol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSymbolBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortCategory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortCategoryBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortExpiryDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortExpiryDateBaseline)->Unit(benchmark::kMillisecond);

// The filter button of a column: the pop-up fills with its distinct texts.
void FilterPopup(benchmark::State& state, int column) {
  View& view = Big();
  CFilterText& popup = TheFilterText();
  for (auto _ : state) {
    popup.Open(&view.List(), view.List().HeaderItemOfColumn(column));
    state.PauseTiming();
    popup.ShowWindow(SW_HIDE);
    state.ResumeTiming();
  }
  state.counters["texts"] = popup.Texts().GetCount();
}

void FilterPopupBaseline(benchmark::State& state, int column) {
  const std::vector<std::string>& texts = Big().Texts(column);
  size_t distinct = 0;
  for (auto _ : state) {
    std::set<std::string> set;
    for (const std::string& text : texts) set.insert(text);
    distinct = set.size();
    benchmark::DoNotOptimize(distinct);
  }
  state.counters["texts"] = static_cast<double>(distinct);
}

void BM_FilterPopupSymbol(benchmark::State& state) { FilterPopup(state, kSymbol); }
void BM_FilterPopupSymbolBaseline(benchmark::State& state) { FilterPopupBaseline(state, kSymbol); }
void BM_FilterPopupStrike(benchmark::State& state) { FilterPopup(state, kStrike); }
void BM_FilterPopupStrikeBaseline(benchmark::State& state) { FilterPopupBaseline(state, kStrike); }
BENCHMARK(BM_FilterPopupSymbol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterPopupSymbolBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterPopupStrike)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterPopupStrikeBaseline)->Unit(benchmark::kMillisecond);

// A repaint of the list's visible page, drawn into a picture.
void Repaint(benchmark::State& state, View& view) {
  const HWND list = view.List().GetSafeHwnd();
  for (auto _ : state) {
    view.List().Invalidate();
    platform::Image image = platform::RenderWindow(list);
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.counters["rows"] = view.List().GetItemCount();
}

// A page down (back to the top at the end), then the repaint.
void ScrollPage(benchmark::State& state, View& view) {
  CFilterListCtrl& list = view.List();
  list.EnsureVisible(0, FALSE);
  for (auto _ : state) {
    const int top = list.GetTopIndex();
    list.SendMessage(WM_VSCROLL, kScrollPageDown, 0);
    if (list.GetTopIndex() == top) list.EnsureVisible(0, FALSE);
    platform::Image image = platform::RenderWindow(list.GetSafeHwnd());
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.counters["rows"] = list.GetItemCount();
}

void BM_RepaintPage(benchmark::State& state) { Repaint(state, Big()); }
void BM_RepaintPage200Rows(benchmark::State& state) { Repaint(state, Small()); }
void BM_ScrollPage(benchmark::State& state) { ScrollPage(state, Big()); }
void BM_ScrollPage200Rows(benchmark::State& state) { ScrollPage(state, Small()); }
BENCHMARK(BM_RepaintPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintPage200Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage200Rows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
