// Benchmarks of the window's own code path on the generated full-size file:
// "Load File", choosing the last device, filling its table and "Generate".
#include "bench/cBenchFile.h"
#include "app/cModel.h"
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
  return window.DropDown("DeviceSelectComboBox").IndexOf(BenchFile().Info.LastDevice);
}

// What a user does: start, "Load File", choose the last device, "Generate".
void BM_WindowLoadSelectLastGenerate(benchmark::State &state) {
  for (auto _ : state) {
    auto window = OpenWindow();
    window->Button("ButtonLoadDeviceInfoFile").Click();
    window->DropDown("DeviceSelectComboBox").UserPick(LastDeviceIndex(*window));
    window->Button("ButtonGenerate").Click();
    benchmark::DoNotOptimize(window->OutputBox("Memo").Text().size());
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WindowLoadSelectLastGenerate)->Unit(benchmark::kMillisecond);

// Filling the table for the last device (its selection in the drop-down).
void BM_FillLastDevice(benchmark::State &state) {
  auto window = OpenWindow();
  window->Button("ButtonLoadDeviceInfoFile").Click();
  const int last = LastDeviceIndex(*window);
  for (auto _ : state) {
    window->DropDown("DeviceSelectComboBox").UserPick(0);
    window->DropDown("DeviceSelectComboBox").UserPick(last);
    benchmark::DoNotOptimize(window->Grid("SettingsGrid").RowCount());
  }
}
BENCHMARK(BM_FillLastDevice)->Unit(benchmark::kMillisecond);

// Generating the text of the last device's table.
void BM_GenerateLastDevice(benchmark::State &state) {
  auto window = OpenWindow();
  window->Button("ButtonLoadDeviceInfoFile").Click();
  window->DropDown("DeviceSelectComboBox").UserPick(LastDeviceIndex(*window));
  for (auto _ : state) {
    window->Button("ButtonGenerate").Click();
    benchmark::DoNotOptimize(window->OutputBox("Memo").Text().size());
  }
  state.counters["rows"] = window->Grid("SettingsGrid").RowCount();
}
BENCHMARK(BM_GenerateLastDevice)->Unit(benchmark::kMicrosecond);
} // namespace
