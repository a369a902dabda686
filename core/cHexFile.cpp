// The Intel HEX reader.
#include "core/cHexFile.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cTextLines.h"
#include "core/cHexRecord.h"

#include <algorithm>
#include <string>
#include <vector>

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

THexSummary ReadHexFile(std::string_view text, THexImage &image, const TDiagnosticSink &sink,
                        const THexRecordVisitor &visit) {
  THexSummary summary;
  auto report = [&](TSeverity severity, int line, std::string message) {
    if (severity == TSeverity::Error)
      ++summary.Errors;
    if (sink)
      sink({line, severity, std::move(message), {}, {}});
  };
  THexRecordReader reader(text);
  while (reader.Next()) {
    if (!reader.Fault().empty()) {
      report(TSeverity::Error, reader.Line(), reader.Fault());
      continue;
    }
    if (visit)
      visit(reader);
    const THexRecord &record = reader.Record();
    if (record.Type != 0)
      continue;
    for (size_t i = 0; i < record.Data.size(); ++i) {
      const uint32_t address = reader.AddressOf(i);
      uint8_t old = 0;
      if (image.Write(address, record.Data[i], reader.Line(), old))
        report(TSeverity::Warning, reader.Line(),
               "the byte at " + HexNumber(address, 6) + " is written again with another value, " +
                   HexNumber(record.Data[i], 2) + " after " + HexNumber(old, 2) + "; the later one counts");
    }
  }
  summary.Ended = reader.Ended();
  if (!summary.Ended)
    report(TSeverity::Error, reader.LastLine() > 0 ? reader.LastLine() : 1,
           "the file has no end-of-file record (:00000001FF); it may be cut short");
  return summary;
}
