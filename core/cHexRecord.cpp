// Intel HEX records: the reader and the writer.
#include "core/cHexRecord.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cTextLines.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {
std::string_view WithoutDosEnd(std::string_view text) {
  // Older tools end the file with a DOS end-of-file byte.
  if (!text.empty() && text.back() == '\x1A')
    text.remove_suffix(1);
  return text;
}

constexpr char kDigits[] = "0123456789ABCDEF";
} // namespace

std::string DecodeHexRecord(std::string_view line, THexRecord &record) {
  // A digit's value by its byte (-1: none), from DigitValue once: every byte of a
  // file passes through here.
  static const auto kDigitOf = [] {
    std::array<int8_t, 256> digits{};
    for (int c = 0; c < 256; ++c)
      digits[static_cast<size_t>(c)] = static_cast<int8_t>(DigitValue(static_cast<char>(c), 16));
    return digits;
  }();
  record.Data.clear();
  if (line.empty() || line.front() != ':')
    return "a line that is no record: " + QuotedForMessage(line);
  const std::string_view digits = line.substr(1);
  for (const char digit : digits)
    if (kDigitOf[static_cast<unsigned char>(digit)] < 0)
      return "a record holds hexadecimal digits only after its ':'; found " + QuotedForMessage(line);
  // Its bytes, decoded once; a record holds at most 255 data bytes and 5 others.
  std::array<uint8_t, 261> bytes{};
  for (size_t i = 0; i + 1 < digits.size() && i / 2 < bytes.size(); i += 2)
    bytes[i / 2] = static_cast<uint8_t>(kDigitOf[static_cast<unsigned char>(digits[i])] * 16 +
                                        kDigitOf[static_cast<unsigned char>(digits[i + 1])]);
  if (digits.size() % 2 != 0)
    return "a record holds whole bytes of two hexadecimal digits; " + QuotedForMessage(line) + " does not";
  if (digits.size() < 10)
    return "a record is too short to hold its length, address, type and checksum: " + QuotedForMessage(line);
  const size_t count = digits.size() / 2;
  const size_t length = bytes[0];
  if (count != length + 5)
    return "the record's length says " + std::to_string(length) + " data byte(s), but it holds " +
           std::to_string(count - 5);
  uint8_t sum = 0;
  for (size_t i = 0; i + 1 < count; ++i)
    sum = static_cast<uint8_t>(sum + bytes[i]);
  const auto expected = static_cast<uint8_t>(0x100 - sum);
  const uint8_t checksum = bytes[count - 1];
  if (checksum != expected)
    return "the record's checksum is " + HexNumber(checksum, 2) + " where its bytes give " +
           HexNumber(expected, 2);
  record.Offset = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
  record.Type = bytes[3];
  if (record.Type > 5)
    return "record type " + HexNumber(record.Type, 2) + " is none of 00 to 05";
  const size_t wanted[] = {length, 0, 2, 4, 2, 4}; // data bytes each type holds
  if (length != wanted[record.Type])
    return "a record of type " + HexNumber(record.Type, 2) + " holds " + std::to_string(wanted[record.Type]) +
           " data byte(s), not " + std::to_string(length);
  record.Data.assign(bytes.begin() + 4, bytes.begin() + 4 + static_cast<std::ptrdiff_t>(length));
  return {};
}

THexRecordReader::THexRecordReader(std::string_view text) : FLines(WithoutDosEnd(text)) {}

bool THexRecordReader::Next() {
  std::string_view line;
  while (!FEnded && FLines.Next(line)) {
    FLastLine = FLines.Number();
    FText = Trimmed(line);
    if (FText.empty())
      continue;
    FFault = DecodeHexRecord(FText, FRecord);
    if (!FFault.empty())
      return true;
    const uint8_t *data = FRecord.Data.data();
    switch (FRecord.Type) {
    case 1:
      FEnded = true;
      break;
    case 2:
      FBase = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 4;
      FSegmented = true;
      break;
    case 4:
      FBase = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 16;
      FSegmented = false;
      break;
    default: // data, and 03 and 05: start addresses
      break;
    }
    return true;
  }
  return false;
}

void THexRecordWriter::Record(uint8_t type, uint16_t offset, const uint8_t *data, size_t size) {
  auto put = [&](uint8_t byte) {
    FText += kDigits[byte >> 4];
    FText += kDigits[byte & 0xF];
  };
  const auto length = static_cast<uint8_t>(size);
  uint8_t sum = static_cast<uint8_t>(length + (offset >> 8) + (offset & 0xFF) + type);
  FText += ':';
  put(length);
  put(static_cast<uint8_t>(offset >> 8));
  put(static_cast<uint8_t>(offset & 0xFF));
  put(type);
  for (size_t i = 0; i < size; ++i) {
    put(data[i]);
    sum = static_cast<uint8_t>(sum + data[i]);
  }
  put(static_cast<uint8_t>(0x100 - sum));
  FText += FLineEnd;
}

void THexRecordWriter::Data(uint32_t address, const uint8_t *data, size_t size) {
  while (size > 0) {
    const uint32_t upper = address >> 16;
    if (!FUpperKnown || upper != FUpper) {
      const uint8_t bytes[] = {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper & 0xFF)};
      Record(4, 0, bytes, 2);
      FUpper = upper;
      FUpperKnown = true;
    }
    const size_t room = 0x10000 - (address & 0xFFFF);
    const size_t count = std::min({size, size_t{16}, room});
    Record(0, static_cast<uint16_t>(address & 0xFFFF), data, count);
    address += static_cast<uint32_t>(count);
    data += count;
    size -= count;
  }
}

void THexRecordWriter::Line(std::string_view line) {
  FText += line;
  FText += FLineEnd;
}

void THexRecordWriter::End() {
  Record(1, 0, nullptr, 0);
}
