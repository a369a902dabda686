// Benchmarks of reading a configuration back: the reader on a 1 MB program source,
// checking a 50 MB program source of each syntax as configgen check does (against
// counting its lines as wc -l does), checking the last device's generated text
// against its table, and a HEX file's words onto a part of many registers.
#include "bench/cBenchFile.h"
#include "bench/cSourceGenerator.h"
#include "core/cConfigCheck.h"
#include "core/cConfigParser.h"
#include "core/cConfigRead.h"
#include "core/cConfigText.h"
#include "core/cConfigWords.h"
#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/HexText.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
// A program's source of about 1 MB: code, comments, and a configuration block now
// and then, in both forms.
std::string ProgramSource() {
  std::string text = "' A program\r\ndevice = 18F4520\r\n";
  for (int i = 0; text.size() < (1u << 20); ++i) {
    text += "Dim value" + std::to_string(i) + " As Byte ' a comment, with = and , in it\r\n";
    text += "value" + std::to_string(i) + " = value" + std::to_string(i) + " + 1\r\n";
    if (i % 50 == 0)
      text += "config\r\n    OSC = HS,           // crystal\r\n    WDT = OFF,          // no watchdog\r\n"
              "    LVP = OFF           // no low-voltage programming\r\n";
    if (i % 75 == 0)
      text += "config PWRT = ON        ' power-up timer\r\n";
  }
  return text;
}

void BM_ScanConfigText1MB(benchmark::State &state) {
  const std::string text = ProgramSource();
  for (auto _ : state) {
    TConfigTextScanner scanner(text);
    TConfigItem item;
    int entries = 0;
    while (scanner.Next(item))
      entries += item.Kind == TConfigItemKind::Entry ? 1 : 0;
    benchmark::DoNotOptimize(entries);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanConfigText1MB)->Unit(benchmark::kMillisecond);

// The project's sample devices, as configgen check --folder samples/mpasm opens them
// (bench/run runs the benchmarks from the project's folder).
class TSampleDevices : public IDeviceTables {
public:
  TSampleDevices() : FSource(OpenDeviceSource("samples/mpasm", true).Source) {}
  const TStringList &Listed() override { return FSource != nullptr ? FSource->DeviceNames() : FNone; }
  std::string ListedIn() override { return "the samples"; }
  TReadTable Open(int index) override {
    FDevice = Listed()[index];
    ReadDeviceTable(*FSource, false, FDevice, FRows, &FRegisters);
    return Shown();
  }
  TReadTable Shown() override { return {FDevice, &FRows, &FRegisters, {}, {}}; }

private:
  std::unique_ptr<IDeviceSource> FSource;
  TStringList FNone;
  std::string FDevice;
  std::vector<TSwitchRow> FRows;
  std::vector<TConfigRegister> FRegisters;
};

// Text's lines counted as wc -l counts them: its LFs, found by memchr.
size_t CountLines(std::string_view text) {
  size_t lines = 0;
  for (const char *p = text.data(), *end = p + text.size();
       (p = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr; ++p)
    ++lines;
  return lines;
}

// Checking a 50 MB program source of syntax N (kSyntaxes), its configuration at
// its end, as configgen check does with a file of the syntax's usual extension.
// Counters: the best time of counting its lines, and the check's time over it.
void BM_CheckLargeSource(benchmark::State &state) {
  const TSyntax &syntax = kSyntaxes[state.range(0)];
  const std::string text = GeneratedSource(syntax, size_t{50} * 1000 * 1000);
  const std::string fileName = syntax.Family == TSyntaxFamily::Pragma      ? "program.c"
                               : syntax.Family == TSyntaxFamily::Directive ? "program.asm"
                                                                           : "program.bas";
  using TClock = std::chrono::steady_clock;
  double countSeconds = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = TClock::now();
    benchmark::DoNotOptimize(CountLines(text));
    countSeconds = std::min(countSeconds, std::chrono::duration<double>(TClock::now() - start).count());
  }
  TSampleDevices devices;
  if (devices.Listed().Count() == 0) {
    state.SkipWithError("no samples/mpasm here: run from the project's folder");
    return;
  }
  int diagnostics = 0;
  const auto start = TClock::now();
  for (auto _ : state) {
    const TReadResult result = ReadConfiguration(
        text, devices, {}, TReadMode::Check, [&](const TDiagnostic &) { ++diagnostics; }, kEveryDiagnostic,
        fileName);
    benchmark::DoNotOptimize(result.Summary.Applied);
  }
  const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
  state.SetLabel(std::string(syntax.Name));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.counters["lines_ms"] = countSeconds * 1000;
  state.counters["x_lines"] = seconds / static_cast<double>(state.iterations()) / countSeconds;
}
BENCHMARK(BM_CheckLargeSource)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Reading the last device's text back onto its table and checking it.
void BM_CheckLastDeviceText(benchmark::State &state) {
  const TBenchFile &file = BenchFile();
  TInfoFile reader;
  reader.Load(DeviceInfoFileName(file.Folder), true);
  std::vector<TSwitchRow> rows;
  ReadDeviceTable(reader, false, file.Info.LastDevice, rows);
  ApplyStartSettings(rows);
  std::string text;
  for (const std::string &line : ConfigTextLines(file.Info.LastDevice, rows, {}))
    text += line + "\r\n";
  for (auto _ : state) {
    std::vector<TSwitchRow> table = rows;
    int diagnostics = 0;
    ReadConfigText(text, table, file.Info.LastDevice, 1, TReadMode::Check,
                   [&](const TDiagnostic &) { ++diagnostics; });
    benchmark::DoNotOptimize(diagnostics);
  }
}
BENCHMARK(BM_CheckLastDeviceText)->Unit(benchmark::kMicrosecond);

// A HEX file's words onto a part of N registers from 0x300000, one switch each,
// every register in the file: the time grows with N, not with N squared.
void BM_ReadHexConfigRegisters(benchmark::State &state) {
  const auto count = static_cast<uint32_t>(state.range(0));
  std::vector<TWordRegister> registers;
  std::vector<TSwitchRow> rows;
  THexText hex;
  hex.Upper(0x0030);
  for (uint32_t i = 0; i < count; ++i) {
    registers.push_back({"", 0x300000 + i, 0xFF});
    TSwitchRow row;
    row.Name = "S" + std::to_string(i);
    row.Settings = {{"OFF", "off", 0, 1}, {"ON", "on", 1, 1}};
    row.Register = static_cast<int>(i);
    row.Mask = 1;
    rows.push_back(std::move(row));
    if (i % 16 == 15 || i + 1 == count)
      hex.Data(static_cast<uint16_t>(i & ~15u), std::vector<uint8_t>(i % 16 + 1, 0xFF));
  }
  const std::string text = hex.End().Text();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<TSwitchRow> table = rows;
    state.ResumeTiming();
    int diagnostics = 0;
    const TReadSummary summary = ReadHexConfig(text, registers, table, "18F1", TReadMode::Check,
                                               [&](const TDiagnostic &) { ++diagnostics; });
    benchmark::DoNotOptimize(summary.Applied + diagnostics);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadHexConfigRegisters)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(50000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
} // namespace
