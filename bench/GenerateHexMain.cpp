// Writes an Intel HEX file of a program's size with an 18F4520 configuration at
// its end, for the benchmark of reading a configuration from a HEX file:
//   fb_gen_hex FILE [MEGABYTES]
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {
std::string Record(uint8_t type, uint16_t offset, const std::vector<uint8_t> &data) {
  std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(offset >> 8),
                                static_cast<uint8_t>(offset & 0xFF), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  uint8_t sum = 0;
  for (const uint8_t b : bytes)
    sum = static_cast<uint8_t>(sum + b);
  bytes.push_back(static_cast<uint8_t>(0x100 - sum));
  std::string line = ":";
  char digits[3];
  for (const uint8_t b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    line += digits;
  }
  return line + "\r\n";
}
} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::cerr << "usage: fb_gen_hex FILE [MEGABYTES]\n";
    return 2;
  }
  const double megabytes = argc > 2 ? std::stod(argv[2]) : 10;
  const auto size = static_cast<size_t>(megabytes * 1024 * 1024);
  std::string text;
  text.reserve(size + 1024);
  uint32_t address = 0;
  std::vector<uint8_t> data(16);
  while (text.size() < size) {
    if (address == 0x300000) // the configuration's own place is kept free
      address = 0x400000;
    if ((address & 0xFFFF) == 0)
      text += Record(4, 0, {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16)});
    for (size_t i = 0; i < data.size(); ++i)
      data[i] = static_cast<uint8_t>((address + i) * 7 + (address >> 8));
    text += Record(0, static_cast<uint16_t>(address & 0xFFFF), data);
    address += 16;
  }
  text += Record(4, 0, {0x00, 0x30});
  text += Record(0, 0x0001, {0x07, 0x1F, 0x1F, 0x00, 0x83, 0x81});
  text += Record(1, 0, {});
  std::ofstream out(argv[1], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  std::cerr << argv[1] << ": " << text.size() << " bytes\n";
  return 0;
}
