// Benchmarks of the device packs' folder walk on folders that are hard to walk.
#include "devicepacks/cDevicePacks.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

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
} // namespace
