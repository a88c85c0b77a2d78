// Every compression type over the same generated stream (20,000 tagged
// messages); types 7 and 9 are zstd streaming at level 3 and zlib at level 6,
// each with a flush per message. One row per coder: ratio (input / output bytes),
// compress MB/s and expand MB/s (input bytes per second of the thread's CPU
// time, measured separately for each side, so that other work on a shared
// machine does not count; coder creation is not timed).
#include <benchmark/benchmark.h>

#include <time.h>

#include <string>
#include <vector>

#include "mml/testing/stream_gen.h"
#include "mml/codec/codec.h"

namespace {

// The calling thread's CPU time.
struct Clock {
  using time_point = double;
  static double now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
  }
};

const std::vector<std::string>& stream() {
  static const std::vector<std::string> messages = [] {
    mml::test::CStreamGenerator gen(2024);
    std::vector<std::string> out;
    for (int i = 0; i < 20000; ++i) out.push_back(gen.Next());
    return out;
  }();
  return messages;
}

struct sPass {
  double compressSeconds = 0;
  double expandSeconds = 0;
  uint64_t in = 0;
  uint64_t out = 0;
};

void report(benchmark::State& state, const sPass& total) {
  state.counters["ratio"] = static_cast<double>(total.in) / static_cast<double>(total.out);
  state.counters["compress_MB/s"] = static_cast<double>(total.in) / total.compressSeconds / 1e6;
  state.counters["expand_MB/s"] = static_cast<double>(total.in) / total.expandSeconds / 1e6;
}

double seconds_since(double t) { return Clock::now() - t; }

void BM_Codec(benchmark::State& state, int32_t type) {
  const codec_settings settings{type, 0, 1, 3, 0};
  const auto& messages = stream();
  sPass total;
  buf_hndl packed = nullptr, plain = nullptr;
  buf_open(&packed, 1 << 20, nullptr);
  buf_open(&plain, 4096, nullptr);
  std::vector<int32_t> ends(messages.size());
  for (auto _ : state) {
    codec *w = nullptr, *r = nullptr;
    if (codec_create_pair(&w, &r, &settings, nullptr) == 0) {
      state.SkipWithError("create failed");
      break;
    }
    packed->used = 0;
    auto t = Clock::now();
    for (size_t i = 0; i < messages.size(); ++i) {
      codec_compress(w, messages[i].data(), static_cast<int32_t>(messages[i].size()), packed, nullptr);
      ends[i] = packed->used;
    }
    total.compressSeconds += seconds_since(t);
    t = Clock::now();
    int32_t start = 0;
    for (size_t i = 0; i < messages.size(); ++i) {
      plain->used = 0;
      if (codec_expand(r, packed->data + start, ends[i] - start, plain, nullptr) == 0) {
        state.SkipWithError("expand failed");
        break;
      }
      start = ends[i];
    }
    total.expandSeconds += seconds_since(t);
    for (const auto& m : messages) total.in += m.size();
    total.out += static_cast<uint64_t>(packed->used);
    if (w != nullptr) codec_destroy(&w, nullptr);
    if (r != nullptr) codec_destroy(&r, nullptr);
  }
  report(state, total);
  buf_close(&packed, nullptr);
  buf_close(&plain, nullptr);
}

// Types 7 and 9 are the baselines: zstd streaming at level 3 and zlib at
// level 6 (its default), each flushed per message.
BENCHMARK_CAPTURE(BM_Codec, type01_none, 1)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type02_dict, 2)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type03_dict, 3)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type04_dict, 4)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type05_huffman, 5)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type06_range, 6)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type07_zstd3_flush, 7)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type08_loc, 8)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type09_zlib6_syncflush, 9)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type10_zlib_loc, 10)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Codec, type11_dict_loc, 11)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  char* envp[] = {nullptr};
  if (mml_env_init(argc, argv, envp, 2, 0, nullptr) == 0) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
