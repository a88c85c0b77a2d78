// "View Allowed Group" absorbing list-all replies: the add-or-merge through
// the index of the groups' values against the walk over every stored row
// (the baseline it replaced). Each reply is a new group, the shape of a
// list-all of a server that holds that many groups, and the walk's worst
// case; the "Repeat" cases send every group a second time (all merges).
// Goal: 100,000 replies in well under a second through the index.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "allowed_groups/view_alg_grp_dlg.h"
#include "platform/testing/reset_for_test.h"
#include "resources/module_resources.h"
#include "resources/resource.h"

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(uintptr_t{0x7300});

// Distinct groups: categories, segments, symbols and strikes varied.
std::vector<AllowedGroupRecord> Groups(int count) {
  static const char* kCategories[] = {"HNI", "RETAIL", "PRO", "NRI"};
  static const char* kCodes[] = {"nse_fo", "nse_cm", "cde_fo", "bse_cm", "mcx_fo"};
  std::vector<AllowedGroupRecord> groups(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    AllowedGroupRecord& group = groups[static_cast<size_t>(i)];
    group.strCategory = kCategories[i % 4];
    group.strExchangeCode = kCodes[(i / 4) % 5];
    group.strInstrument = "OPTIDX";
    CString symbol;
    symbol.Format("SYM%d", i / 20);
    group.strSymbol = symbol;
    group.strOptionType = i % 2 ? "CE" : "PE";
    group.dStrike = 100.0 * (i % 97);
    group.strExpiry = "29/12/2026";
    group.strProduct = "ALL";
    group.strSide = "ALL";
  }
  return groups;
}

// The baseline: the row of the same group found by walking every stored
// row, as the dialog did before it kept an index.
void AddOrMergeByWalk(CViewAlgGrpDlg& dialog, std::unique_ptr<AllowedGroupRecord> record) {
  CFilterListCtrl& list = dialog.List();
  for (int s = 0; s < list.StoreSize(); ++s) {
    auto* row = reinterpret_cast<AllowedGroupRecord*>(list.StoreItemData(s));
    if (row != nullptr && row->SameGroup(*record)) {
      dialog.Merge(*row, std::move(record));
      return;
    }
  }
  dialog.AddRow(std::move(record));
}

class Dialog {
 public:
  Dialog() {
    platform::ResetForTest();
    resources::RegisterModuleResources(kModule);
    AfxSetResourceHandle(kModule);
    m_dialog = std::make_unique<CViewAlgGrpDlg>();
    m_dialog->Create(IDD_VIEW_ALGGRP, nullptr);
    // Shown, as when the administrator asked for the list.
    m_dialog->ShowWindow(SW_SHOW);
  }
  ~Dialog() {
    m_dialog.reset();
    platform::RemoveModuleResources(kModule);
    AfxSetResourceHandle(nullptr);
    platform::ResetForTest();
  }
  CViewAlgGrpDlg& operator*() { return *m_dialog; }

 private:
  std::unique_ptr<CViewAlgGrpDlg> m_dialog;
};

template <bool kWalk>
void Absorb(benchmark::State& state, int rounds) {
  const int count = static_cast<int>(state.range(0));
  const std::vector<AllowedGroupRecord> groups = Groups(count);
  Dialog dialog;
  for (auto _ : state) {
    state.PauseTiming();
    (*dialog).RemoveAllRows();
    state.ResumeTiming();
    for (int round = 0; round < rounds; ++round) {
      for (const AllowedGroupRecord& group : groups) {
        auto reply = std::make_unique<AllowedGroupRecord>(group);
        if constexpr (kWalk) {
          AddOrMergeByWalk(*dialog, std::move(reply));
        } else {
          (*dialog).AddOrMerge(std::move(reply));
        }
      }
    }
  }
  if (static_cast<int>((*dialog).Rows().size()) != count) state.SkipWithError("wrong row count");
  state.SetItemsProcessed(state.iterations() * count * rounds);
}

void BM_AddOrMergeIndex(benchmark::State& state) { Absorb<false>(state, 1); }
void BM_AddOrMergeWalk(benchmark::State& state) { Absorb<true>(state, 1); }
void BM_AddOrMergeIndexRepeat(benchmark::State& state) { Absorb<false>(state, 2); }
void BM_AddOrMergeWalkRepeat(benchmark::State& state) { Absorb<true>(state, 2); }

BENCHMARK(BM_AddOrMergeIndex)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOrMergeWalk)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOrMergeWalk)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOrMergeIndexRepeat)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddOrMergeWalkRepeat)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
