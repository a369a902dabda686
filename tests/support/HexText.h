// Builds Intel HEX texts for tests: records with their checksums worked out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class THexText {
public:
  // A record of Type at Offset holding Data, its length and checksum computed.
  THexText &Record(uint8_t type, uint16_t offset, const std::vector<uint8_t> &data) {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()), static_cast<uint8_t>(offset >> 8),
                                  static_cast<uint8_t>(offset & 0xFF), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (const uint8_t b : bytes)
      sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(0x100 - sum));
    std::string line = ":";
    for (const uint8_t b : bytes) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02X", b);
      line += digits;
    }
    return Line(line);
  }
  // The upper 16 bits of the addresses that follow (type 04).
  THexText &Upper(uint16_t upper) {
    return Record(4, 0, {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper & 0xFF)});
  }
  THexText &Data(uint16_t offset, const std::vector<uint8_t> &data) { return Record(0, offset, data); }
  THexText &End() { return Line(":00000001FF"); }
  // Any line as it stands.
  THexText &Line(const std::string &line) {
    FText += line + "\r\n";
    return *this;
  }
  const std::string &Text() const { return FText; }

private:
  std::string FText;
};
