// Configuration words written as Intel HEX.
#include "core/cConfigHex.h"

#include "core/cHexFile.h"
#include "core/cHexRecord.h"

#include <algorithm>
#include <unordered_set>

std::vector<std::pair<uint32_t, uint8_t>> ConfigBytes(const std::vector<TConfigWord> &words) {
  std::vector<std::pair<uint32_t, uint8_t>> bytes;
  for (const TConfigWord &word : words) {
    const auto scale = static_cast<uint32_t>(word.Family->HexScale);
    for (uint32_t b = 0; b < scale; ++b)
      bytes.emplace_back(word.Address * scale + b, static_cast<uint8_t>(word.Value >> (8 * b)));
  }
  std::stable_sort(bytes.begin(), bytes.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  return bytes;
}

namespace {
// Writes Bytes (in address order) as data records, a run of adjacent addresses at a time.
void WriteBytes(THexRecordWriter &writer, const std::vector<std::pair<uint32_t, uint8_t>> &bytes) {
  std::vector<uint8_t> run;
  uint32_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (run.empty())
      start = bytes[i].first;
    run.push_back(bytes[i].second);
    if (i + 1 == bytes.size() || bytes[i + 1].first != bytes[i].first + 1) {
      writer.Data(start, run.data(), run.size());
      run.clear();
    }
  }
}
} // namespace

std::string ConfigHexText(const std::vector<TConfigWord> &words, std::string_view lineEnd) {
  std::string text;
  THexRecordWriter writer(text, lineEnd);
  WriteBytes(writer, ConfigBytes(words));
  writer.End();
  return text;
}

namespace {
// Copies a build's records as they are read, but for the bytes at the addresses of
// its configuration words (see TBuildWords::Kept).
class TKeptRecords {
public:
  TKeptRecords(std::string &text, std::string_view lineEnd, const std::vector<TWordRegister> &registers)
      : FWriter(text, lineEnd) {
    for (const TWordRegister &reg : registers) {
      const auto scale = static_cast<uint32_t>(reg.Family->HexScale);
      for (uint32_t b = 0; b < scale; ++b)
        FConfig.insert(reg.Address * scale + b);
    }
    for (const uint32_t address : FConfig) {
      FLow = std::min(FLow, address);
      FHigh = std::max(FHigh, address);
    }
  }

  void Take(const THexRecordReader &reader) {
    const THexRecord &record = reader.Record();
    if (FEnded || record.Type == 1) {
      FEnded = true;
      return;
    }
    // A base address record waits for the data it applies to.
    if (record.Type == 2 || record.Type == 4) {
      FPendingBase = reader.Text();
      return;
    }
    bool touches = false;
    if (record.Type == 0)
      for (size_t i = 0; i < record.Data.size() && !touches; ++i)
        touches = IsConfig(reader.AddressOf(i));
    if (!touches) {
      FlushBase();
      FWriter.Line(reader.Text());
      return;
    }
    // The record's other bytes, a run at a time, at their offsets under the same base.
    size_t i = 0;
    while (i < record.Data.size()) {
      if (IsConfig(reader.AddressOf(i))) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < record.Data.size() && !IsConfig(reader.AddressOf(end)) &&
             (end == i || reader.AddressOf(end) == reader.AddressOf(end - 1) + 1))
        ++end;
      const uint32_t offset = record.Offset + static_cast<uint32_t>(i);
      FlushBase();
      if (reader.Segmented() || offset + (end - i) <= 0x10000) {
        FWriter.Record(0, static_cast<uint16_t>(offset & 0xFFFF), record.Data.data() + i, end - i);
      } else {
        // Past the 64 KiB of its 04 record: written at its own address, and that
        // base given again for the records that follow.
        FWriter.ForgetUpper();
        FWriter.Data(reader.AddressOf(i), record.Data.data() + i, end - i);
        const uint8_t base[] = {static_cast<uint8_t>(reader.Base() >> 24),
                                static_cast<uint8_t>(reader.Base() >> 16)};
        FWriter.Record(4, 0, base, 2);
      }
      i = end;
    }
  }

private:
  bool IsConfig(uint32_t address) const {
    return address >= FLow && address <= FHigh && FConfig.count(address) != 0;
  }
  void FlushBase() {
    if (!FPendingBase.empty())
      FWriter.Line(FPendingBase);
    FPendingBase = {};
  }

  THexRecordWriter FWriter;
  std::unordered_set<uint32_t> FConfig;
  uint32_t FLow = UINT32_MAX;
  uint32_t FHigh = 0;
  std::string FPendingBase;
  bool FEnded = false;
};
} // namespace

TBuildWords ReadBuildWords(std::string_view build, const std::vector<TWordRegister> &registers,
                           const TDiagnosticSink &sink) {
  TBuildWords result;
  auto report = [&](int line, std::string text) {
    ++result.Errors;
    if (sink)
      sink({line, TSeverity::Error, std::move(text), {}, {}});
  };
  THexImage image;
  WatchRegisters(image, registers);
  result.LineEnd = LineEndOf(build);
  result.Kept.reserve(build.size() + 256);
  TKeptRecords kept(result.Kept, result.LineEnd, registers);
  // A byte of a word written twice with different values leaves the word in doubt.
  ReadHexFile(
      build, image, [&](const TDiagnostic &d) { report(d.Line, d.Text); },
      [&](const THexRecordReader &reader) { kept.Take(reader); });
  for (const TWordRegister &reg : registers) {
    const THexWord word = HexWordOf(image, reg);
    result.Found.push_back(word.Found);
    // Bits above the word's width that the file holds stay as they are (an
    // assembler may set them).
    uint32_t value = word.Value;
    const auto scale = static_cast<uint32_t>(reg.Family->HexScale);
    for (uint32_t b = 0; b < scale; ++b)
      if (image.Has(reg.Address * scale + b))
        value = (value & ~(0xFFu << (8 * b))) | uint32_t{image.Byte(reg.Address * scale + b)} << (8 * b);
    result.Words.push_back(word.Found ? value : reg.Unset & reg.Implemented);
  }
  if (std::find(result.Found.begin(), result.Found.end(), true) == result.Found.end()) {
    int line = 0;
    const std::string wrongScale = WrongScale(image, registers, line);
    if (!wrongScale.empty())
      report(line, wrongScale);
  }
  return result;
}

std::string_view LineEndOf(std::string_view text) {
  const size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

std::string WriteConfigInto(TBuildWords &&build, const std::vector<TConfigWord> &words) {
  std::string text = std::move(build.Kept);
  THexRecordWriter writer(text, build.LineEnd);
  WriteBytes(writer, ConfigBytes(words));
  writer.End();
  return text;
}
