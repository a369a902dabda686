// Benchmarks of the device packs' folder walk on folders that are hard to walk, of
// reading a 1 MB .PIC file, and of an .atpack archive as large as the vendor's
// largest PIC18 pack.
#include "devicepacks/cDevicePacks.h"

#include "bench/cPackGenerator.h"
#include "devicepacks/cPackArchive.h"
#include "devicepacks/cPicFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {
namespace fs = std::filesystem;

#ifndef _WIN32
// A packs folder with one vendor's one pack beside Links links to itself, removed
// at the end of the run.
struct TSelfLinkedPacks {
  explicit TSelfLinkedPacks(int links)
      : Folder(fs::temp_directory_path() / ("fb-bench-self-links-" + std::to_string(links))) {
    fs::remove_all(Folder);
    fs::create_directories(Folder / "Vendor" / "P_DFP" / "1.0.0" / "edc");
    const std::ofstream pic(Folder / "Vendor" / "P_DFP" / "1.0.0" / "edc" / "PIC18F1.PIC");
    for (int i = 0; i < links; ++i)
      fs::create_directory_symlink(".", Folder / ("l" + std::to_string(100000 + i)));
  }
  ~TSelfLinkedPacks() { fs::remove_all(Folder); }
  TSelfLinkedPacks(const TSelfLinkedPacks &) = delete;
  TSelfLinkedPacks &operator=(const TSelfLinkedPacks &) = delete;
  fs::path Folder;
};

// `configgen devices` on such a folder: each folder is listed once and each link
// looked at once, so the time grows with the links, not with their square or cube.
void BM_LoadPacksBesideSelfLinks(benchmark::State &state) {
  const TSelfLinkedPacks packs(static_cast<int>(state.range(0)));
  TDevicePacks reader;
  for (auto _ : state) {
    if (!reader.Load(packs.Folder.string(), false) || reader.Devices().Count() != 1)
      state.SkipWithError("the pack was not found");
    benchmark::DoNotOptimize(reader.Devices().Count());
  }
}
BENCHMARK(BM_LoadPacksBesideSelfLinks)
    ->Arg(300)
    ->Arg(1200)
    ->Arg(4000)
    ->Arg(9999)
    ->Unit(benchmark::kMillisecond);
#endif

// One device's table from a 1 MB .PIC file, as `configgen generate` reads it: the
// file read and parsed, its memory taken and given back each time.
void BM_ReadPicFile1MB(benchmark::State &state) {
  const fs::path folder = fs::temp_directory_path() / "fb-bench-pic";
  fs::create_directories(folder);
  const std::string path = (folder / "PIC18F1.PIC").string();
  std::ofstream(path, std::ios::binary) << PicXml(RandomDevice("18F1", 1), size_t{1} << 20);
  for (auto _ : state) {
    TPicDevice device;
    ReadPicFile(path, device);
    benchmark::DoNotOptimize(device.Registers.size());
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_ReadPicFile1MB)->Unit(benchmark::kMillisecond);

// An archive of about 80 MB, written once for the run and removed at its end.
struct TBenchArchive {
  TBenchArchive() : Folder(fs::temp_directory_path() / "fb-bench-archive") {
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    std::tie(Path, Device) = WriteBenchArchive(Folder.string());
  }
  ~TBenchArchive() { fs::remove_all(Folder); }
  TBenchArchive(const TBenchArchive &) = delete;
  TBenchArchive &operator=(const TBenchArchive &) = delete;
  fs::path Folder;
  std::string Path;
  std::string Device; // the one whose .PIC is 1 MB
};

const TBenchArchive &BenchArchive() {
  static const TBenchArchive archive;
  return archive;
}

// Listing its devices, as "Load File" does: its central directory and its .pdsc are
// read, no device's .PIC.
void BM_ListArchiveDevices(benchmark::State &state) {
  const TBenchArchive &archive = BenchArchive();
  for (auto _ : state) {
    const TPackArchive pack(archive.Path, TDevicePacks::kMaxEntriesInAll);
    if (pack.DeviceNames().Count() != 200)
      state.SkipWithError("the devices were not listed");
    benchmark::DoNotOptimize(pack.DeviceNames().Count());
  }
  state.counters["archive_MB"] = static_cast<double>(fs::file_size(archive.Path)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ListArchiveDevices)->Unit(benchmark::kMillisecond);

// One device's table from it, the 1 MB .PIC: the archive's directory read again and
// that entry alone inflated and parsed.
void BM_ReadArchiveDeviceTable(benchmark::State &state) {
  const TBenchArchive &archive = BenchArchive();
  TPackArchive pack(archive.Path, TDevicePacks::kMaxEntriesInAll);
  for (auto _ : state) {
    std::vector<TSwitchRow> rows;
    if (!pack.ReadTable(archive.Device, false, rows, nullptr) || rows.empty())
      state.SkipWithError("the device was not read");
    benchmark::DoNotOptimize(rows.size());
  }
}
BENCHMARK(BM_ReadArchiveDeviceTable)->Unit(benchmark::kMillisecond);
} // namespace
