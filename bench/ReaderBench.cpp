// Benchmarks of the reader on the generated full-size files.
#include "bench/cBenchFile.h"
#include "deviceinfo/cDeviceInfo.h"

#include <benchmark/benchmark.h>

namespace {
void BM_LoadDeviceIndex(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  TDeviceInfo reader;
  for (auto _ : state) {
    reader.LoadDeviceIndex(file.Folder, true);
    benchmark::DoNotOptimize(reader.Devices.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.Info.Text.size()));
}
BENCHMARK(BM_LoadDeviceIndex)->Unit(benchmark::kMillisecond);

// Over each of the benchmarks' file shapes (the argument).
void BM_FindPartLastDevice(benchmark::State &state) {
  const TBenchFile &file = BenchFile(static_cast<int>(state.range(0)));
  state.SetLabel(file.Name);
  TDeviceInfo reader;
  reader.LoadDeviceIndex(file.Folder, true);
  TStringList fields;
  for (auto _ : state)
    benchmark::DoNotOptimize(reader.FindPart(file.Info.LastDevice, fields));
}
BENCHMARK(BM_FindPartLastDevice)
    ->DenseRange(0, static_cast<int>(BenchShapes().size()) - 1)
    ->Unit(benchmark::kMillisecond);

void BM_WalkLastDevice(benchmark::State &state) {
  const TBenchFile &file = BenchFile(static_cast<int>(state.range(0)));
  state.SetLabel(file.Name);
  TDeviceInfo reader;
  reader.LoadDeviceIndex(file.Folder, true);
  TStringList fields, names, descriptions;
  std::string name, function, def;
  for (auto _ : state) {
    reader.FindPart(file.Info.LastDevice, fields);
    ++reader.Cursor;
    int switches = 0;
    while (reader.NextSwitch(name, function, names, descriptions, def) || !name.empty())
      ++switches;
    benchmark::DoNotOptimize(switches);
  }
}
BENCHMARK(BM_WalkLastDevice)
    ->DenseRange(0, static_cast<int>(BenchShapes().size()) - 1)
    ->Unit(benchmark::kMillisecond);
} // namespace
