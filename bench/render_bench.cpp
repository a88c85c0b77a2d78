// Pictures of a window holding a list of 200 rows, each shown on screen (the
// dialog is made tall enough), nine columns a row, as "View Allowed Group"
// shows groups. Each iteration is what a snapshot costs: the window and its
// children repaint (custom draw, owner-drawn rows) and the tree is drawn into
// a picture with cairo and pango. Goal: well under 50 ms.
//   BM_RenderFilterList: the framework's filter list, rows drawn by its owner;
//   BM_RenderPlainList:  a plain report list, rows drawn by the list itself;
//   BM_WritePng:         the filter list's picture, encoded to a PNG file
//                        (goal: within 2 times BM_RenderFilterList);
//   BM_WriteAgainstRender: the two in turn in each iteration, their ratio
//                        as a counter;
//   BM_EncodePng:        the encoding alone, against
//   BM_DeflateBaseline:  libdeflate compressing the same scanlines at the
//                        same level with a compressor made beforehand, the
//                        machine's limit for the encoding on one core.
// The encoder packs a large picture on two threads: every row times the wall
// clock, and its CPU column is the whole process's.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "listview/filter/filter_list_ctrl.h"
#include "listview/profile/settings_file.h"
#include "listview/testing/list_dialog.h"
#include "platform/render/png_encoder.h"
#include "platform/render/window_renderer.h"
#include "platform/testing/reset_for_test.h"

namespace {

constexpr int kRows = 200;
constexpr const char* kCaptions[] = {"Category",     "Exhg-Seg",    "Instr Name",   "Symbol",          "Option Type",
                                     "Strike Price", "Expiry Date", "Product Type", "Transaction Type"};
constexpr int kColumns = 9;

struct Row {
  std::string cells[kColumns];
};

std::vector<Row> MakeRows() {
  static const char* kCategories[] = {"HNI", "RETAIL", "PROPRIETARY", "INSTITUTION"};
  static const char* kSymbols[] = {"NIFTY", "BANKNIFTY", "RELIANCE", "GOLD"};
  std::vector<Row> rows(kRows);
  for (int i = 0; i < kRows; ++i) {
    Row& r = rows[static_cast<size_t>(i)];
    r.cells[0] = kCategories[i % 4];
    r.cells[1] = i % 2 ? "nse_fo" : "bse_cm";
    r.cells[2] = i % 2 ? "OPTIDX" : "ALL";
    r.cells[3] = kSymbols[(i / 4) % 4];
    r.cells[4] = i % 2 ? "CE" : "A";
    r.cells[5] = std::to_string(20000 + 50 * i) + ".00";
    r.cells[6] = "29/12/2026";
    r.cells[7] = "ALL";
    r.cells[8] = i % 3 ? "B" : "S";
  }
  return rows;
}

int FormatRow(DWORD_PTR data, int column, CString& text, COLORREF&, COLORREF&, int&) {
  const auto* row = reinterpret_cast<const Row*>(data);
  if (row == nullptr || column < 0 || column >= kColumns) return 0;
  text = row->cells[column].c_str();
  return 1;
}

// A dialog made tall enough for every row, holding one list of the given kind.
template <class List>
class Window {
 public:
  explicit Window(std::function<void(List&)> setup, bool ownerData) : m_rows(MakeRows()) {
    m_settings = std::filesystem::temp_directory_path() / ("render_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_settings);
    listview::SetSettingsFolder(m_settings.string().c_str());
    platform::ResetForTest();
    listview::testing::RegisterListDialog(LVS_REPORT | LVS_SHOWSELALWAYS | (ownerData ? LVS_OWNERDATA : 0));
    m_dialog = std::make_unique<Dialog>(std::move(setup));
    m_dialog->Create(listview::testing::kListDialogId);
    List& list = m_dialog->list;
    for (int i = 0; i < kRows; ++i) {
      Row& row = m_rows[static_cast<size_t>(i)];
      list.InsertItem(i, ownerData ? "" : row.cells[0].c_str());
      list.SetItemData(i, reinterpret_cast<DWORD_PTR>(&row));
      if (!ownerData) {
        for (int c = 1; c < kColumns; ++c) list.SetItemText(i, c, row.cells[c].c_str());
      }
    }
    CRect item;
    list.GetItemRect(0, &item, LVIR_BOUNDS);
    const int height = 60 + (kRows + 3) * item.Height();
    m_dialog->MoveWindow(0, 0, 820, height + 40, FALSE);
    list.MoveWindow(5, 5, 800, height, FALSE);
  }
  ~Window() {
    m_dialog.reset();
    listview::testing::UnregisterListDialog();
    platform::ResetForTest();
    listview::SetSettingsFolder("");
    std::filesystem::remove_all(m_settings);
  }
  HWND Hwnd() const { return m_dialog->m_hWnd; }

 private:
  using Dialog = listview::testing::CListDialog<List>;
  std::vector<Row> m_rows;
  std::filesystem::path m_settings;
  std::unique_ptr<Dialog> m_dialog;
};

std::unique_ptr<Window<CFilterListCtrl>> FilterListWindow() {
  return std::make_unique<Window<CFilterListCtrl>>(
      [](CFilterListCtrl& list) {
        list.m_strProfileName = "renderbench";
        for (const char* caption : kCaptions) list.m_arrColumns.Add(sTarnColInfo(caption, 85, 0, sort_kind::kText));
        list.ApplyColumnProfile();
        list.EnableFilterMode(true);
        list.SetDataDescriptor(&FormatRow);
      },
      true);
}

void Report(benchmark::State& state, const platform::Image& image) {
  state.counters["width"] = image.width;
  state.counters["height"] = image.height;
}

void BM_RenderFilterList(benchmark::State& state) {
  const auto window = FilterListWindow();
  platform::Image image;
  for (auto _ : state) {
    image = platform::RenderWindow(window->Hwnd());
    benchmark::DoNotOptimize(image.pixels.data());
  }
  Report(state, image);
}
BENCHMARK(BM_RenderFilterList)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_RenderPlainList(benchmark::State& state) {
  Window<CListCtrl> window(
      [](CListCtrl& list) {
        for (int c = 0; c < kColumns; ++c) list.InsertColumn(c, kCaptions[c], LVCFMT_LEFT, 85);
      },
      false);
  platform::Image image;
  for (auto _ : state) {
    image = platform::RenderWindow(window.Hwnd());
    benchmark::DoNotOptimize(image.pixels.data());
  }
  Report(state, image);
}
BENCHMARK(BM_RenderPlainList)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_WritePng(benchmark::State& state) {
  const auto window = FilterListWindow();
  const std::string path =
      (std::filesystem::temp_directory_path() / ("render_bench_" + std::to_string(::getpid()) + ".png")).string();
  for (auto _ : state) {
    if (!platform::WriteWindowPicture(window->Hwnd(), path)) state.SkipWithError("cannot write the picture");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A render and a write in turn, each iteration, timed apart: the two see
// the same machine (its load, its clock, the fonts' caches), which runs of
// their own minutes apart do not, and the render's readings vary by a fifth
// from run to run. `ratio` is the writes' wall time over the renders'.
void BM_WriteAgainstRender(benchmark::State& state) {
  const auto window = FilterListWindow();
  const std::string path =
      (std::filesystem::temp_directory_path() / ("render_bench_" + std::to_string(::getpid()) + ".png")).string();
  using Clock = std::chrono::steady_clock;
  Clock::duration render{}, write{};
  for (auto _ : state) {
    const auto start = Clock::now();
    const platform::Image image = platform::RenderWindow(window->Hwnd());
    benchmark::DoNotOptimize(image.pixels.data());
    const auto drawn = Clock::now();
    if (!platform::WriteWindowPicture(window->Hwnd(), path)) state.SkipWithError("cannot write the picture");
    render += drawn - start;
    write += Clock::now() - drawn;
  }
  std::filesystem::remove(path);
  state.counters["ratio"] = std::chrono::duration<double>(write) / std::chrono::duration<double>(render);
}
BENCHMARK(BM_WriteAgainstRender)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The encoding alone, of the picture drawn once.
void BM_EncodePng(benchmark::State& state) {
  const auto window = FilterListWindow();
  const platform::Image image = platform::RenderWindow(window->Hwnd());
  size_t bytes = 0;
  for (auto _ : state) {
    const auto png = platform::EncodePng(image);
    bytes = png.size();
    benchmark::DoNotOptimize(png.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The same picture's scanlines, filtered once, compressed by libdeflate
// alone: what EncodePng adds to it is the filtering and the chunks around
// the data.
void BM_DeflateBaseline(benchmark::State& state) {
  const auto window = FilterListWindow();
  std::vector<unsigned char> lines;
  platform::PngScanlines(platform::RenderWindow(window->Hwnd()), lines);
  const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
      libdeflate_alloc_compressor(platform::kPngDeflateLevel), &libdeflate_free_compressor);
  std::vector<unsigned char> packed(libdeflate_zlib_compress_bound(compressor.get(), lines.size()));
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = libdeflate_zlib_compress(compressor.get(), lines.data(), lines.size(), packed.data(), packed.size());
    benchmark::DoNotOptimize(packed.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DeflateBaseline)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
