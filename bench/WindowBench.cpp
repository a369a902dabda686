// Benchmarks of the window's own code path on the generated full-size file:
// "Load File", choosing the last device, filling its table and "Generate".
#include "bench/cBenchFile.h"
#include "deviceinfo/cModel.h"
#include "tests/support/HeadlessWindow.h"

#include <benchmark/benchmark.h>

namespace {
// A window whose vendor folder is the generated file's.
std::unique_ptr<THeadlessWindow> OpenWindow() {
  auto window = std::make_unique<THeadlessWindow>();
  window->Open();
  window->Form().Models().SetPath(BenchFile().Folder);
  return window;
}

int LastDeviceIndex(THeadlessWindow &window) {
  return window.DeviceSelectComboBox.IndexOf(BenchFile().Info.LastDevice);
}

// What a user does: start, "Load File", choose the last device, "Generate".
void BM_WindowLoadSelectLastGenerate(benchmark::State &state) {
  for (auto _ : state) {
    auto window = OpenWindow();
    window->ClickLoadFile();
    window->DeviceSelectComboBox.UserPick(LastDeviceIndex(*window));
    window->ClickGenerate();
    benchmark::DoNotOptimize(window->Memo.Text().size());
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WindowLoadSelectLastGenerate)->Unit(benchmark::kMillisecond);

// Filling the table for the last device (its selection in the drop-down).
void BM_FillLastDevice(benchmark::State &state) {
  auto window = OpenWindow();
  window->ClickLoadFile();
  const int last = LastDeviceIndex(*window);
  for (auto _ : state) {
    window->DeviceSelectComboBox.UserPick(0);
    window->DeviceSelectComboBox.UserPick(last);
    benchmark::DoNotOptimize(window->SettingsGrid.RowCount());
  }
}
BENCHMARK(BM_FillLastDevice)->Unit(benchmark::kMillisecond);

// Generating the text of the last device's table.
void BM_GenerateLastDevice(benchmark::State &state) {
  auto window = OpenWindow();
  window->ClickLoadFile();
  window->DeviceSelectComboBox.UserPick(LastDeviceIndex(*window));
  for (auto _ : state) {
    window->ClickGenerate();
    benchmark::DoNotOptimize(window->Memo.Text().size());
  }
  state.counters["rows"] = window->SettingsGrid.RowCount();
}
BENCHMARK(BM_GenerateLastDevice)->Unit(benchmark::kMicrosecond);
} // namespace
