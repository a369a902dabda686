// Benchmarks of the reader on the generated full-size file.
#include "bench/cDeviceInfoGenerator.h"
#include "deviceinfo/cDeviceInfo.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
// The generated file, written once to a temporary folder for the whole run.
struct TBenchFile {
  TBenchFile() : Info(GenerateDeviceInfo()) {
    Folder = (std::filesystem::temp_directory_path() / "fb-bench").string();
    std::filesystem::create_directories(Folder);
    std::ofstream(Folder + "/8bit_device.info", std::ios::binary) << Info.Text;
  }
  TGeneratedDeviceInfo Info;
  std::string Folder;
};

const TBenchFile &BenchFile() {
  static const TBenchFile file;
  return file;
}

void BM_LoadDeviceIndex(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  TDeviceInfo reader;
  for (auto _ : state) {
    reader.LoadDeviceIndex(file.Folder, true);
    benchmark::DoNotOptimize(reader.Devices.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.Info.Text.size()));
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

BENCHMARK_MAIN();
