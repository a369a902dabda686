// The generated full-size file, written once per benchmark run to a temporary folder.
#pragma once

#include "bench/cDeviceInfoGenerator.h"

#include <string>

struct TBenchFile {
  TBenchFile();
  TGeneratedDeviceInfo Info;
  std::string Folder;
};

const TBenchFile &BenchFile();
