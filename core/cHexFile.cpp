// The Intel HEX reader.
#include "core/cHexFile.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cTextLines.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
// One record's bytes, checked: its length and checksum; an empty text when good,
// else what is wrong.
std::string DecodeRecord(std::string_view record, std::vector<uint8_t> &bytes) {
  bytes.clear();
  const std::string_view digits = record.substr(1);
  bytes.reserve(digits.size() / 2);
  for (size_t i = 0; i < digits.size(); ++i)
    if (DigitValue(digits[i], 16) < 0)
      return "a record holds hexadecimal digits only after its ':'; found " + QuotedForMessage(record);
  if (digits.size() % 2 != 0)
    return "a record holds whole bytes of two hexadecimal digits; " + QuotedForMessage(record) + " does not";
  for (size_t i = 0; i < digits.size(); i += 2)
    bytes.push_back(static_cast<uint8_t>(DigitValue(digits[i], 16) * 16 + DigitValue(digits[i + 1], 16)));
  if (bytes.size() < 5)
    return "a record is too short to hold its length, address, type and checksum: " +
           QuotedForMessage(record);
  const size_t length = bytes[0];
  if (bytes.size() != length + 5)
    return "the record's length says " + std::to_string(length) + " data byte(s), but it holds " +
           std::to_string(bytes.size() - 5);
  uint8_t sum = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i)
    sum = static_cast<uint8_t>(sum + bytes[i]);
  const auto expected = static_cast<uint8_t>(0x100 - sum);
  if (bytes.back() != expected)
    return "the record's checksum is " + HexNumber(bytes.back(), 2) + " where its bytes give " +
           HexNumber(expected, 2);
  return {};
}
} // namespace

std::string HexNumber(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

bool LooksLikeHexFile(std::string_view text) {
  TTextLines lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (line.empty()) {
      lines.SkipEmptyLines();
      continue;
    }
    line = Trimmed(line);
    if (!line.empty())
      return line.size() >= 2 && line[0] == ':' && DigitValue(line[1], 16) >= 0;
  }
  return false;
}

bool THexImage::Has(uint32_t address) const {
  const auto found = FBytes.find(address);
  return found != FBytes.end() && found->second.Line != 0;
}

uint8_t THexImage::Byte(uint32_t address) const {
  const auto found = FBytes.find(address);
  return found == FBytes.end() ? 0 : found->second.Value;
}

int THexImage::Line(uint32_t address) const {
  const auto found = FBytes.find(address);
  return found == FBytes.end() ? 0 : found->second.Line;
}

void THexImage::Watch(uint32_t address) {
  FBytes.try_emplace(address);
  FWatchedLow = std::min(FWatchedLow, address);
  FWatchedHigh = std::max(FWatchedHigh, address);
}

bool THexImage::Write(uint32_t address, uint8_t value, int line, uint8_t &old) {
  if (address < FWatchedLow || address > FWatchedHigh)
    return false;
  const auto found = FBytes.find(address);
  if (found == FBytes.end())
    return false;
  TByte &byte = found->second;
  const bool rewritten = byte.Line != 0 && byte.Value != value;
  old = byte.Value;
  byte.Value = value;
  byte.Line = line;
  return rewritten;
}

THexSummary ReadHexFile(std::string_view text, THexImage &image, const TDiagnosticSink &sink) {
  THexSummary summary;
  auto report = [&](TSeverity severity, int line, std::string message) {
    if (severity == TSeverity::Error)
      ++summary.Errors;
    if (sink)
      sink({line, severity, std::move(message), {}, {}});
  };
  // Older tools end the file with a DOS end-of-file byte.
  if (!text.empty() && text.back() == '\x1A')
    text.remove_suffix(1);
  TTextLines lines(text);
  std::string_view line;
  std::vector<uint8_t> bytes;
  uint32_t base = 0;
  bool segmented = false; // the base came from an extended segment address
  int last = 0;
  while (!summary.Ended && lines.Next(line)) {
    const int number = lines.Number();
    last = number;
    const std::string_view record = Trimmed(line);
    if (record.empty())
      continue;
    if (record.front() != ':') {
      report(TSeverity::Error, number, "a line that is no record: " + QuotedForMessage(record));
      continue;
    }
    const std::string fault = DecodeRecord(record, bytes);
    if (!fault.empty()) {
      report(TSeverity::Error, number, fault);
      continue;
    }
    const size_t length = bytes[0];
    const uint32_t offset = static_cast<uint32_t>(bytes[1]) << 8 | bytes[2];
    const uint8_t type = bytes[3];
    const uint8_t *data = bytes.data() + 4;
    const size_t wanted[] = {length, 0, 2, 4, 2, 4}; // data bytes each type holds
    if (type > 5) {
      report(TSeverity::Error, number, "record type " + HexNumber(type, 2) + " is none of 00 to 05");
      continue;
    }
    if (type != 0 && length != wanted[type]) {
      report(TSeverity::Error, number,
             "a record of type " + HexNumber(type, 2) + " holds " + std::to_string(wanted[type]) +
                 " data byte(s), not " + std::to_string(length));
      continue;
    }
    switch (type) {
    case 0:
      for (size_t i = 0; i < length; ++i) {
        // A segment's offset wraps within its 64 KiB; a linear address within 4 GiB.
        const uint32_t address = segmented ? base + ((offset + static_cast<uint32_t>(i)) & 0xFFFF)
                                           : base + offset + static_cast<uint32_t>(i);
        uint8_t old = 0;
        if (image.Write(address, data[i], number, old))
          report(TSeverity::Warning, number,
                 "the byte at " + HexNumber(address, 6) + " is written again with another value, " +
                     HexNumber(data[i], 2) + " after " + HexNumber(old, 2) + "; the later one counts");
      }
      break;
    case 1:
      summary.Ended = true;
      break;
    case 2:
      base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 4;
      segmented = true;
      break;
    case 4:
      base = (static_cast<uint32_t>(data[0]) << 8 | data[1]) << 16;
      segmented = false;
      break;
    default: // 03 and 05: start addresses, of no concern here
      break;
    }
  }
  if (!summary.Ended)
    report(TSeverity::Error, last > 0 ? last : 1,
           "the file has no end-of-file record (:00000001FF); it may be cut short");
  return summary;
}
