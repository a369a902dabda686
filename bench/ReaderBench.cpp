// Benchmarks of the reader on the generated full-size files.
#include "bench/cBenchFile.h"
#include "deviceinfo/cInfoFile.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {
void BM_LoadDeviceIndex(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  TInfoFile reader;
  for (auto _ : state) {
    reader.Load(DeviceInfoFileName(file.Folder), true);
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
  TInfoFile reader;
  reader.Load(DeviceInfoFileName(file.Folder), true);
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
  TInfoFile reader;
  reader.Load(DeviceInfoFileName(file.Folder), true);
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

// The table and registers of the usual file's last part of each family (the
// argument, in kDeviceFamilies' order), as generate reads them.
void BM_ReadTableLastOfFamily(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  const auto family = static_cast<size_t>(state.range(0));
  const std::string &device = file.Info.LastOfFamilies[family];
  state.SetLabel(std::string(kDeviceFamilies[family]->Name) + " " + device);
  TInfoFile reader;
  reader.Load(DeviceInfoFileName(file.Folder), true);
  std::vector<TSwitchRow> rows;
  std::vector<TConfigRegister> registers;
  for (auto _ : state) {
    rows.clear();
    registers.clear();
    benchmark::DoNotOptimize(reader.ReadTable(device, false, rows, &registers));
  }
}
BENCHMARK(BM_ReadTableLastOfFamily)
    ->DenseRange(0, static_cast<int>(std::size(kDeviceFamilies)) - 1)
    ->Unit(benchmark::kMillisecond);
} // namespace
