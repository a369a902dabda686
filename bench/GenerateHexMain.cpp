// Writes an Intel HEX file for the benchmarks of reading a configuration from one:
//   fb_gen_hex FILE [MEGABYTES]   a program's size, with an 18F4520 configuration at
//                                 its end;
//   fb_gen_hex --pages FILE [N]   the 18F4520 configuration, then one data byte in
//                                 each of N pages of 64 KiB (65536, every page of the
//                                 address space: about 2 MB).
#include "tests/support/HexText.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {
const std::vector<uint8_t> kConfiguration = {0x07, 0x1F, 0x1F, 0x00, 0x83, 0x81}; // from 0x300001

// A program's code of about Megabytes, then the configuration.
std::string Program(double megabytes) {
  const auto size = static_cast<size_t>(megabytes * 1024 * 1024);
  THexText hex;
  uint32_t address = 0;
  std::vector<uint8_t> data(16);
  while (hex.Text().size() < size) {
    if (address == 0x300000) // the configuration's own place is kept free
      address = 0x400000;
    if ((address & 0xFFFF) == 0)
      hex.Upper(static_cast<uint16_t>(address >> 16));
    for (size_t i = 0; i < data.size(); ++i)
      data[i] = static_cast<uint8_t>((address + i) * 7 + (address >> 8));
    hex.Data(static_cast<uint16_t>(address & 0xFFFF), data);
    address += 16;
  }
  return hex.Upper(0x0030).Data(0x0001, kConfiguration).End().Text();
}

// The configuration, then one byte in each of the first Pages pages of 64 KiB.
std::string Pages(uint32_t pages) {
  THexText hex;
  hex.Upper(0x0030).Data(0x0001, kConfiguration);
  for (uint32_t page = 0; page < pages; ++page)
    hex.Upper(static_cast<uint16_t>(page)).Data(0x0010, {static_cast<uint8_t>(page)});
  return hex.End().Text();
}
} // namespace

int main(int argc, char **argv) {
  const bool pages = argc > 1 && std::string(argv[1]) == "--pages";
  const int first = pages ? 2 : 1;
  if (argc <= first) {
    std::cerr << "usage: fb_gen_hex FILE [MEGABYTES]\n       fb_gen_hex --pages FILE [PAGES]\n";
    return 2;
  }
  const char *file = argv[first];
  const std::string text =
      pages ? Pages(argc > first + 1 ? static_cast<uint32_t>(std::stoul(argv[first + 1])) : 65536)
            : Program(argc > first + 1 ? std::stod(argv[first + 1]) : 10);
  std::ofstream out(file, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) {
    std::cerr << "cannot write " << file << '\n';
    return 1;
  }
  std::cerr << file << ": " << text.size() << " bytes\n";
  return 0;
}
