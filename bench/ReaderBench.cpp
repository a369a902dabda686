// Benchmarks of the reader on the generated full-size file.
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

void BM_FindPartLastDevice(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  TDeviceInfo reader;
  reader.LoadDeviceIndex(file.Folder, true);
  TStringList fields;
  for (auto _ : state)
    benchmark::DoNotOptimize(reader.FindPart(file.Info.LastDevice, fields));
}
BENCHMARK(BM_FindPartLastDevice)->Unit(benchmark::kMillisecond);

void BM_WalkLastDevice(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
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
BENCHMARK(BM_WalkLastDevice)->Unit(benchmark::kMillisecond);
} // namespace
