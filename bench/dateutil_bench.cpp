// Sorting 1,000,000 "dd/mm/yyyy hh:mm:ss" texts with CompareDateTime1, the
// list sort comparison, against std::sort of the same texts by strcmp.
// Goal: the CompareDateTime1 sort within 3 times the strcmp sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "dateutil/dateutil.h"

namespace {

constexpr size_t kTexts = 1000000;
constexpr size_t kTextSize = 20;  // 19 characters and the terminator

// Random date-times in one block; the same texts for every benchmark.
struct Texts {
  std::vector<char> storage;
  std::vector<char*> pointers;
  Texts() : storage(kTexts * kTextSize) {
    std::mt19937 rng(20240105);
    for (size_t i = 0; i < kTexts; ++i) {
      char* text = &storage[i * kTextSize];
      std::snprintf(text, kTextSize, "%02u/%02u/%04u %02u:%02u:%02u", static_cast<unsigned>(rng() % 28 + 1),
                    static_cast<unsigned>(rng() % 12 + 1), static_cast<unsigned>(rng() % 30 + 2000),
                    static_cast<unsigned>(rng() % 24), static_cast<unsigned>(rng() % 60),
                    static_cast<unsigned>(rng() % 60));
      pointers.push_back(text);
    }
  }
};

const Texts& SharedTexts() {
  static const Texts texts;
  return texts;
}

template <class Less>
void SortBench(benchmark::State& state, Less less) {
  const Texts& texts = SharedTexts();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<char*> order = texts.pointers;
    state.ResumeTiming();
    std::sort(order.begin(), order.end(), less);
    benchmark::DoNotOptimize(order.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kTexts));
}

void BM_SortByCompareDateTime1(benchmark::State& state) {
  SortBench(state, [](char* a, char* b) { return CompareDateTime1(a, b, 1) < 0; });
}
BENCHMARK(BM_SortByCompareDateTime1)->Unit(benchmark::kMillisecond);

void BM_SortByStrcmp(benchmark::State& state) {
  SortBench(state, [](char* a, char* b) { return std::strcmp(a, b) < 0; });
}
BENCHMARK(BM_SortByStrcmp)->Unit(benchmark::kMillisecond);

void BM_CompareDateTime1Once(benchmark::State& state) {
  char a[] = "05/01/2024 10:30:15";
  char b[] = "05/01/2024 10:30:16";
  for (auto _ : state) {
    benchmark::DoNotOptimize(CompareDateTime1(a, b, 1));
  }
}
BENCHMARK(BM_CompareDateTime1Once);

}  // namespace

BENCHMARK_MAIN();
