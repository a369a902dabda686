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
  // A byte of a word written twice with different values leaves the word in doubt.
  ReadHexFile(build, image, [&](const TDiagnostic &d) { report(d.Line, d.Text); });
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

std::string WriteConfigInto(std::string_view build, const std::vector<TConfigWord> &words) {
  const std::vector<std::pair<uint32_t, uint8_t>> bytes = ConfigBytes(words);
  std::unordered_set<uint32_t> config;
  for (const auto &[address, value] : bytes)
    config.insert(address);
  const uint32_t low = bytes.empty() ? 1 : bytes.front().first;
  const uint32_t high = bytes.empty() ? 0 : bytes.back().first;
  auto isConfig = [&](uint32_t address) {
    return address >= low && address <= high && config.count(address);
  };

  std::string text;
  text.reserve(build.size() + 256);
  THexRecordWriter writer(text, LineEndOf(build));
  THexRecordReader reader(build);
  // A base address record waits for the data it applies to: one that only the
  // configuration words followed is left out, as they get their own.
  std::string_view pendingBase;
  auto flushBase = [&] {
    if (!pendingBase.empty())
      writer.Line(pendingBase);
    pendingBase = {};
  };
  while (reader.Next()) {
    const THexRecord &record = reader.Record();
    if (record.Type == 1)
      break;
    if (record.Type == 2 || record.Type == 4) {
      pendingBase = reader.Text();
      continue;
    }
    bool touches = false;
    if (record.Type == 0)
      for (size_t i = 0; i < record.Data.size() && !touches; ++i)
        touches = isConfig(reader.AddressOf(i));
    if (!touches) {
      flushBase();
      writer.Line(reader.Text());
      continue;
    }
    // The record's other bytes, a run at a time, at their offsets under the same base.
    size_t i = 0;
    while (i < record.Data.size()) {
      if (isConfig(reader.AddressOf(i))) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < record.Data.size() && !isConfig(reader.AddressOf(end)) &&
             (end == i || reader.AddressOf(end) == reader.AddressOf(end - 1) + 1))
        ++end;
      const uint32_t offset = record.Offset + static_cast<uint32_t>(i);
      flushBase();
      if (reader.Segmented() || offset + (end - i) <= 0x10000) {
        writer.Record(0, static_cast<uint16_t>(offset & 0xFFFF), record.Data.data() + i, end - i);
      } else {
        // Past the 64 KiB of its 04 record: written at its own address, and that
        // base given again for the records that follow.
        writer.ForgetUpper();
        writer.Data(reader.AddressOf(i), record.Data.data() + i, end - i);
        const uint8_t base[] = {static_cast<uint8_t>(reader.Base() >> 24),
                                static_cast<uint8_t>(reader.Base() >> 16)};
        writer.Record(4, 0, base, 2);
      }
      i = end;
    }
  }
  writer.ForgetUpper();
  WriteBytes(writer, bytes);
  writer.End();
  return text;
}
