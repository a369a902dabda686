// Writes a generated device information file:
//   fb_gen_deviceinfo DIR [PARTS [STRAY_LINE_ENDS [PART_SIZE [crlf|lf]]]]
//   fb_gen_deviceinfo DIR SHAPE      one of the benchmarks' shapes
//   fb_gen_deviceinfo --shapes       lists their names
// PART_SIZE is in percent of the usual part (100). Prints the name of the last part
// of each family, one a line: PIC18 first (the file's last part, which the
// benchmarks select), then enhanced mid-range, mid-range and baseline.
#include "bench/cDeviceInfoGenerator.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {
constexpr const char *kUsage =
    "usage: fb_gen_deviceinfo DIR [PARTS [STRAY_LINE_ENDS [PART_SIZE [crlf|lf]]]]\n"
    "       fb_gen_deviceinfo DIR SHAPE\n"
    "       fb_gen_deviceinfo --shapes\n";

bool ShapeByName(const std::string &name, TDeviceInfoShape &shape) {
  for (const TNamedShape &named : BenchShapes()) {
    if (named.Name == name) {
      shape = named.Shape;
      return true;
    }
  }
  return false;
}
} // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::string(argv[1]) == "--shapes") {
    for (const TNamedShape &named : BenchShapes())
      std::cout << named.Name << '\n';
    return 0;
  }
  const std::string lineEnds = argc > 5 ? argv[5] : "crlf";
  if (argc < 2 || argc > 6 || (lineEnds != "crlf" && lineEnds != "lf")) {
    std::cerr << kUsage;
    return 2;
  }
  TDeviceInfoShape shape;
  if (argc == 3 && std::isdigit(static_cast<unsigned char>(argv[2][0])) == 0) {
    if (!ShapeByName(argv[2], shape)) {
      std::cerr << "unknown shape '" << argv[2] << "'\n" << kUsage;
      return 2;
    }
  } else {
    shape.Parts = argc > 2 ? std::stoi(argv[2]) : 300;
    shape.StrayLineEnds = argc > 3 ? std::stoi(argv[3]) : 0;
    shape.PartSize = argc > 4 ? std::stoi(argv[4]) : 100;
    shape.LfOnly = lineEnds == "lf";
  }
  const TGeneratedDeviceInfo info = GenerateDeviceInfo(shape);
  const std::string path = std::string(argv[1]) + "/8bit_device.info";
  std::ofstream out(path, std::ios::binary);
  out.write(info.Text.data(), static_cast<std::streamsize>(info.Text.size()));
  if (!out) {
    std::cerr << "cannot write " << path << '\n';
    return 1;
  }
  std::cerr << path << ": " << info.Text.size() << " bytes, " << info.Lines << " lines, " << info.Parts
            << " parts\n";
  for (const std::string &last : info.LastOfFamilies)
    std::cout << last << '\n';
  return 0;
}
