// Writes the generated full-size device information file:
//   fb_gen_deviceinfo DIR [PARTS [STRAY_LINE_ENDS]]
// Prints the name of the last device, which the benchmarks select.
#include "bench/cDeviceInfoGenerator.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
  if (argc < 2) {
    std::cerr << "usage: fb_gen_deviceinfo DIR [PARTS [STRAY_LINE_ENDS]]\n";
    return 2;
  }
  const int parts = argc > 2 ? std::stoi(argv[2]) : 300;
  const int stray = argc > 3 ? std::stoi(argv[3]) : 0;
  const TGeneratedDeviceInfo info = GenerateDeviceInfo(parts, 1, stray);
  const std::string path = std::string(argv[1]) + "/8bit_device.info";
  std::ofstream out(path, std::ios::binary);
  out.write(info.Text.data(), static_cast<std::streamsize>(info.Text.size()));
  if (!out) {
    std::cerr << "cannot write " << path << '\n';
    return 1;
  }
  std::cerr << path << ": " << info.Text.size() << " bytes, " << info.Lines << " lines, " << info.Parts
            << " parts\n";
  std::cout << info.LastDevice << '\n';
  return 0;
}
