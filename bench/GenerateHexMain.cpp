// Writes an Intel HEX file of a program's size with an 18F4520 configuration at
// its end, for the benchmark of reading a configuration from a HEX file:
//   fb_gen_hex FILE [MEGABYTES]
#include "tests/support/HexText.h"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv) {
  if (argc < 2) {
    std::cerr << "usage: fb_gen_hex FILE [MEGABYTES]\n";
    return 2;
  }
  const double megabytes = argc > 2 ? std::stod(argv[2]) : 10;
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
  const std::string &text = hex.Upper(0x0030).Data(0x0001, {0x07, 0x1F, 0x1F, 0x00, 0x83, 0x81}).End().Text();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  std::cerr << argv[1] << ": " << text.size() << " bytes\n";
  return 0;
}
