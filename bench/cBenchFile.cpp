// Writes the generated files for the benchmarks.
#include "bench/cBenchFile.h"

#include <filesystem>
#include <fstream>
#include <map>

TBenchFile::TBenchFile(const TNamedShape &shape) : Name(shape.Name), Info(GenerateDeviceInfo(shape.Shape)) {
  Folder = (std::filesystem::temp_directory_path() / ("fb-bench-" + Name)).string();
  std::filesystem::create_directories(Folder);
  std::ofstream(Folder + "/8bit_device.info", std::ios::binary) << Info.Text;
}

const TBenchFile &BenchFile() {
  return BenchFile(0);
}

const TBenchFile &BenchFile(int index) {
  static std::map<int, TBenchFile> files;
  auto found = files.find(index);
  if (found == files.end())
    found = files.try_emplace(index, BenchShapes()[static_cast<size_t>(index)]).first;
  return found->second;
}
