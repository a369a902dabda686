// The generated full-size files, each written once per benchmark run to a
// temporary folder.
#pragma once

#include "bench/cDeviceInfoGenerator.h"

#include <string>

struct TBenchFile {
  explicit TBenchFile(const TNamedShape &shape);
  std::string Name;
  TGeneratedDeviceInfo Info;
  std::string Folder;
};

// The usual full-size file (the first of the benchmarks' shapes).
const TBenchFile &BenchFile();
// The file of shape Index of BenchShapes().
const TBenchFile &BenchFile(int index);
