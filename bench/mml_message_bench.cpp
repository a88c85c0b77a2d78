// Building and parsing tagged messages against a plain memcpy of the same
// bytes. Two shapes: the plug-in's add request (11 text fields) and a
// 60-field market-data-like message. Each benchmark reports messages/s
// (items) and bytes/s, and mml_allocs: the mml_alloc plus mml_realloc calls
// counted by the memory map during the timed loop, after warm-up (0 means
// the steady state allocates nothing).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mml/mml.h"

namespace {

struct Shape {
  std::vector<int32_t> tags;
  std::vector<std::string> values;
};

Shape add_request() {
  return {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
          {"ks_publish_allowed_group", "RETAIL", "RMSADMIN01", "2", "OPTIDX", "NIFTY", "CE", "1850000", "1419984000",
           "NRML", "B"}};
}

Shape market_data() {
  Shape s;
  for (int32_t i = 0; i < 60; ++i) {
    s.tags.push_back(1000 + i * 7);
    s.values.push_back(std::to_string(1234567 + i * 7919).substr(0, 3 + i % 8));
  }
  return s;
}

uint64_t alloc_calls() {
  mml_mem_counters c{};
  if (mml_get_mem_counters(&c, nullptr) == 0) return 0;
  return c.allocs + c.reallocs;
}

// A sender's handle and buffer and a receiver's handle, as the plug-in and
// the server hold them: created once, reused for every message.
class Fixture {
 public:
  explicit Fixture(Shape shape) : m_shape(std::move(shape)) {
    if (mnm_open(&m_sender, nullptr) == 0 || mnm_open(&m_receiver, nullptr) == 0 || buf_open(&m_out, 4096, nullptr) == 0) {
      std::abort();
    }
    for (const std::string& v : m_shape.values)
      m_data.push_back({const_cast<char*>(v.data()), static_cast<int32_t>(v.size())});
  }
  ~Fixture() {
    mnm_close(&m_sender, nullptr);
    mnm_close(&m_receiver, nullptr);
    buf_close(&m_out, nullptr);
  }
  void Build() {
    m_out->used = 0;
    mnm_init_msg(m_sender, m_out, nullptr);
    for (size_t i = 0; i < m_data.size(); ++i) mnm_add_field(m_sender, m_shape.tags[i], 1, &m_data[i], nullptr);
  }
  void Parse() {
    if (mnm_parse(m_receiver, nullptr, m_out, nullptr) == 0) std::abort();
  }
  // Reads every value back, as a receiver does.
  int64_t Read() {
    int64_t sum = 0;
    mml_data d{};
    for (const int32_t tag : m_shape.tags) {
      mnm_get_field(m_receiver, tag, 0, &d, nullptr);
      sum += d.len;
    }
    return sum;
  }
  int32_t Bytes() const { return m_out->used; }
  const char* Data() const { return m_out->data; }

 private:
  Shape m_shape;
  std::vector<mml_data> m_data;
  mnm_hndl m_sender = nullptr;
  mnm_hndl m_receiver = nullptr;
  buf_hndl m_out = nullptr;
};

template <class Step>
void run(benchmark::State& state, Fixture& f, Step step) {
  for (int i = 0; i < 100; ++i) step();  // warm-up: slots and buffers reach their size
  const uint64_t before = alloc_calls();
  for (auto _ : state) step();
  state.counters["mml_allocs"] = static_cast<double>(alloc_calls() - before);
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * f.Bytes());
  state.counters["msg_bytes"] = f.Bytes();
}

void BM_Build(benchmark::State& state, Shape shape) {
  Fixture f(std::move(shape));
  run(state, f, [&] {
    f.Build();
    benchmark::ClobberMemory();
  });
}

void BM_Parse(benchmark::State& state, Shape shape) {
  Fixture f(std::move(shape));
  f.Build();
  run(state, f, [&] {
    f.Parse();
    benchmark::ClobberMemory();
  });
}

void BM_BuildParse(benchmark::State& state, Shape shape) {
  Fixture f(std::move(shape));
  run(state, f, [&] {
    f.Build();
    f.Parse();
    benchmark::ClobberMemory();
  });
}

void BM_BuildParseRead(benchmark::State& state, Shape shape) {
  Fixture f(std::move(shape));
  run(state, f, [&] {
    f.Build();
    f.Parse();
    benchmark::DoNotOptimize(f.Read());
  });
}

// The physical limit: copying the message's bytes once.
void BM_Memcpy(benchmark::State& state, Shape shape) {
  Fixture f(std::move(shape));
  f.Build();
  std::vector<char> target(static_cast<size_t>(f.Bytes()));
  run(state, f, [&] {
    std::memcpy(target.data(), f.Data(), target.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  });
}

BENCHMARK_CAPTURE(BM_Memcpy, add_request, add_request());
BENCHMARK_CAPTURE(BM_Build, add_request, add_request());
BENCHMARK_CAPTURE(BM_Parse, add_request, add_request());
BENCHMARK_CAPTURE(BM_BuildParse, add_request, add_request());
BENCHMARK_CAPTURE(BM_BuildParseRead, add_request, add_request());
BENCHMARK_CAPTURE(BM_Memcpy, market_data_60, market_data());
BENCHMARK_CAPTURE(BM_Build, market_data_60, market_data());
BENCHMARK_CAPTURE(BM_Parse, market_data_60, market_data());
BENCHMARK_CAPTURE(BM_BuildParse, market_data_60, market_data());
BENCHMARK_CAPTURE(BM_BuildParseRead, market_data_60, market_data());

}  // namespace

int main(int argc, char** argv) {
  // The memory map counts every accounted allocation, so the benchmark can
  // show that the steady state makes none.
  setenv("MML_BUILD_MEMORY_MAP", "yes", 1);
  char* envp[] = {nullptr};
  if (mml_env_init(argc, argv, envp, 2, 0, nullptr) == 0) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
