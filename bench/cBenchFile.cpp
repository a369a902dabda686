// Writes the generated file for the benchmarks.
#include "bench/cBenchFile.h"

#include <filesystem>
#include <fstream>

TBenchFile::TBenchFile() : Info(GenerateDeviceInfo()) {
  Folder = (std::filesystem::temp_directory_path() / "fb-bench").string();
  std::filesystem::create_directories(Folder);
  std::ofstream(Folder + "/8bit_device.info", std::ios::binary) << Info.Text;
}

const TBenchFile &BenchFile() {
  static const TBenchFile file;
  return file;
}
