// The hash tables behind "View Allowed Group", each beside the plain Abseil
// table doing the same work in the same run:
//
//   BM_PoolIntern/distinct, /repeated: a fresh text pool (text_pool.h)
//     interning 1,000,000 texts, all different or 1,000 texts over and
//     over; baseline BM_StringSetInsert: absl::flat_hash_set<std::string>
//     inserting the same texts. Goal: at most 1.5x.
//   BM_IndexAddOrMerge: the group index (group_index.h) finding each of
//     1,000,000 records and adding it when new, then the same again (all
//     merges); baseline BM_MapAddOrMerge: absl::flat_hash_map from the
//     group's values (a tuple of 10 words) to its record. Goal: at most 1.5x.
//
// Each iteration starts from empty tables; texts are made before the clock.
#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>
#include <benchmark/benchmark.h>

#include <string>
#include <tuple>
#include <vector>

#include "allowed_groups/core/text_pool.h"
#include "allowed_groups/group_index.h"
#include "allowed_groups/group_slab.h"

namespace {

constexpr int kTexts = 1'000'000;

std::vector<std::string> Texts(bool distinct) {
  std::vector<std::string> texts;
  texts.reserve(kTexts);
  for (int i = 0; i < kTexts; ++i) texts.push_back("SYMBOL" + std::to_string(distinct ? i : i % 1000) + "-NSE");
  return texts;
}

void BM_PoolIntern(benchmark::State& state) {
  const std::vector<std::string> texts = Texts(state.range(0) != 0);
  for (auto _ : state) {
    CTextPool pool;
    for (const std::string& text : texts) benchmark::DoNotOptimize(pool.Intern(text));
    state.PauseTiming();  // the pool's freeing is not timed, as the baseline's
    { CTextPool gone = std::move(pool); }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}

void BM_StringSetInsert(benchmark::State& state) {
  const std::vector<std::string> texts = Texts(state.range(0) != 0);
  for (auto _ : state) {
    absl::flat_hash_set<std::string> set;
    for (const std::string& text : texts) benchmark::DoNotOptimize(set.insert(text));
    state.PauseTiming();
    { absl::flat_hash_set<std::string> gone = std::move(set); }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}

// A million different groups: symbols and strikes vary, as a store of many
// underlyings does.
std::vector<AllowedGroupRecord> Groups() {
  static const char* kCategories[] = {"HNI", "RETAIL", "PRO", "NRI"};
  std::vector<AllowedGroupRecord> groups(kTexts);
  for (int i = 0; i < kTexts; ++i) {
    AllowedGroupRecord& group = groups[static_cast<size_t>(i)];
    group.strCategory = kCategories[i % 4];
    group.strExchangeCode = "nse_fo";
    group.strInstrument = "OPTSTK";
    group.strSymbol = "SYM" + std::to_string(i / 50);
    group.strOptionType = i % 2 ? "CE" : "PE";
    group.dStrike = 500.0 * (i % 50);
    group.strExpiry = "29/12/2026";
    group.strProduct = "ALL";
    group.strSide = "ALL";
  }
  return groups;
}

// Both index the records by their places in a slab (group_slab.h), as the
// list does, taking each new record into it.
void BM_IndexAddOrMerge(benchmark::State& state) {
  const std::vector<AllowedGroupRecord> groups = Groups();
  for (auto _ : state) {
    CGroupSlab slab;
    CGroupIndex index(slab);
    for (int pass = 0; pass < 2; ++pass) {
      for (const AllowedGroupRecord& group : groups) {
        benchmark::DoNotOptimize(index.FindOrAdd(group, [&] { return slab.Take(AllowedGroupRecord(group)); }));
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 2 * kTexts);
}

// The baseline's key: the group's values, texts by their pooled pointers.
using GroupKey = std::tuple<const char*, const char*, const char*, const char*, const char*, const char*, const char*,
                            const char*, const char*, double>;
GroupKey KeyOf(const AllowedGroupRecord& r) {
  return {r.strCategory.Pooled(),     r.strExchangeCode.Pooled(),
          r.strInstrument.Pooled(),   r.strSymbol.Pooled(),
          r.strOptionType.Pooled(),   r.strExpiry.Pooled(),
          r.strProduct.Pooled(),      r.strSide.Pooled(),
          r.strStrikeAsSent.Pooled(), r.dStrike};
}

void BM_MapAddOrMerge(benchmark::State& state) {
  const std::vector<AllowedGroupRecord> groups = Groups();
  for (auto _ : state) {
    CGroupSlab slab;
    absl::flat_hash_map<GroupKey, uint32_t> index;
    for (int pass = 0; pass < 2; ++pass) {
      for (const AllowedGroupRecord& group : groups) {
        const auto [at, added] = index.try_emplace(KeyOf(group), 0);
        if (added) at->second = slab.Take(AllowedGroupRecord(group)).number;
        benchmark::DoNotOptimize(slab[at->second]);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * 2 * kTexts);
}

BENCHMARK(BM_PoolIntern)->ArgName("distinct")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringSetInsert)->ArgName("distinct")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexAddOrMerge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapAddOrMerge)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
