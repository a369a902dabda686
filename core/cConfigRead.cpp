// Reading a configuration back: choosing between a HEX file and a text, and the
// device it goes onto.
#include "core/cConfigRead.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "common/cTextLines.h"
#include "core/cConfigParser.h"
#include "core/cConfigWords.h"
#include "core/cDeviceList.h"
#include "core/cHexFile.h"
#include "core/cSyntax.h"

#include <algorithm>

#include <optional>

namespace {
// That the text names no device, and what was looked for in its family.
std::string NoDevice(TSyntaxFamily family) {
  switch (family) {
  case TSyntaxFamily::House:
    break;
  case TSyntaxFamily::Pragma:
    return "the text names no device: no comment /* device = NAME */, no heading comment \"PIC18F4520 "
           "Configuration Bit Settings\" and no #include of the device's header (<pic18f4520.h>)";
  case TSyntaxFamily::Directive:
    return std::string("the text names no device: no PROCESSOR NAME or LIST P=NAME line, no include of the "
                       "device's .inc file (p18f4520.inc) and no heading comment \"PIC18F4520 Configuration "
                       "Bit Settings\"");
  }
  return "the text has no device line";
}

// Text, then how the front end's user names the device where it has a way.
std::string WithHowToName(const std::string &text, const std::string &how, const char *nameIt) {
  return how.empty() ? text : text + "; " + nameIt + " with " + how;
}

void Report(const TDiagnosticSink &sink, int line, TSeverity severity, std::string text) {
  if (sink)
    sink({line, severity, std::move(text), {}, {}});
}

// The device Check reads onto, or false with the error reported.
bool OpenForCheck(IDeviceTables &devices, const std::string &given, const TTextDevice &named, bool hex,
                  const TDiagnosticSink &sink, TReadTable &table) {
  if (hex && given.empty()) {
    Report(sink, 1, TSeverity::Error,
           WithHowToName("a HEX file names no device", devices.HowToNameDevice(), "name it"));
    return false;
  }
  const std::string &name = given.empty() ? named.Name : given;
  if (name.empty()) {
    if (!named.Found)
      Report(sink, 1, TSeverity::Error, "no configuration found");
    Report(sink, 1, TSeverity::Error,
           WithHowToName(NoDevice(named.Family), devices.HowToNameDevice(), "name the device"));
    return false;
  }
  // A device given on the command line has no line of the text.
  const int line = !given.empty() || named.Line == 0 ? 1 : named.Line;
  const TStringList &listed = devices.Listed();
  const int index = FindListedDevice(listed, name);
  if (index < 0) {
    Report(sink, line, TSeverity::Error,
           DeviceNotListed(name, listed, devices.ListedIn(), devices.ListsEveryPart(),
                           devices.HowToSeeListed()));
    return false;
  }
  table = devices.Open(index);
  if (table.Rows == nullptr) {
    Report(sink, line, TSeverity::Error, table.Problem);
    return false;
  }
  return true;
}

// The table a paste reads onto: the one shown, or the listed device the text names.
TReadTable OpenForPaste(IDeviceTables &devices, const TTextDevice &named, const TDiagnosticSink &sink,
                        size_t &limit) {
  TReadTable table = devices.Shown();
  if (!named.Found || named.Name.empty() || CompareText(named.Name, table.Device) == 0)
    return table;
  const int index = FindListedDevice(devices.Listed(), named.Name);
  if (index >= 0)
    return devices.Open(index);
  if (limit > 0) {
    Report(sink, named.Line, TSeverity::Warning,
           "device " + QuotedForMessage(named.Name) + " is not listed; the entries were applied to " +
               (table.Device.empty() ? "no device" : table.Device));
    --limit;
  }
  return table;
}
} // namespace

namespace {
// For Check: warns of every risky chip default among the rows no entry or word
// set, at Line, in one text for a text and a HEX file, and notes them all; a second note lists the rows left
// out (whose chip default is none of their settings) with the bits the chip gets for them, their register's
// when not set (of Registers, where known). FromWords: the rows come from configuration words, whose notes
// name the registers left out instead.
void ReportChipDefaults(TEntryApplier &applier, const std::vector<TSwitchRow> &rows,
                        const std::string &device, int line, bool fromWords,
                        const std::vector<TWordRegister> &registers) {
  // What the configuration leaves out is at its chip default: say so where it is
  // risky. A default that is none of the settings is no setting the chip gets: the
  // switch is left out, and noted with the bits the chip gets instead.
  std::string names;
  std::string offList;
  int count = 0;
  int offCount = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TSwitchRow &row = rows[i];
    if (row.LeftOut) {
      offList += (offList.empty() ? "" : ", ") + row.Name;
      if (row.Register >= 0 && static_cast<size_t>(row.Register) < registers.size()) {
        const TWordRegister &reg = registers[static_cast<size_t>(row.Register)];
        offList += " (" + reg.Name + " & " + HexNumber(row.Mask, 2) + " = " +
                   HexNumber(reg.Unset & row.Mask, 2) + ")";
      }
      ++offCount;
    }
    if (applier.Named(i))
      continue;
    const char *reason = row.ChipDefaultMatchesNone ? nullptr : RiskOf(row, row.Chosen);
    if (reason != nullptr)
      applier.Report(
          TSeverity::Warning, line,
          [&] {
            return row.Name + " = " + row.Setting() +
                   " (the chip's default, as the file does not set it): " + reason;
          },
          row.Name, row.Setting());
    names += (names.empty() ? "" : ", ") + row.Name;
    ++count;
  }
  // Words name no switch: their notes say which registers the file leaves out.
  if (count > 0 && !fromWords)
    applier.Report(TSeverity::Note, line, [&] {
      return std::to_string(count) + " switch(es) of " + device +
             " not named, so at the chip's default: " + names;
    });
  if (offCount > 0)
    applier.Report(TSeverity::Note, line, [&] {
      return std::to_string(offCount) + " switch(es) of " + device +
             " left out have a chip default that is none of their settings; the chip gets the bits they "
             "have when not set: " +
             offList;
    });
}

// One reading of a configuration onto Rows, a text's or a HEX file's: in Check
// every row starts at its chip default; entries and words go through one applier,
// which knows the registers and the rows of each; at the end, in Check, what the
// configuration leaves out is reported, and the summary is taken.
class TReading {
public:
  TReading(std::vector<TSwitchRow> &rows, const std::string &device, TReadMode mode,
           const TDiagnosticSink &sink, size_t limit)
      : Applier(rows, device, sink, limit), FRows(rows), FDevice(device), FMode(mode) {
    if (mode == TReadMode::Check)
      ApplyChipDefaults(rows);
    Applier.SetMode(mode);
  }

  // Found: the input holds a configuration; Problems: its lines that could not be
  // read, or were not; Line: where the diagnostics about what it leaves out go.
  // FromWords: the input is a HEX file's words, which name no switch.
  TReadSummary End(bool found, int problems, int line, bool fromWords,
                   const std::vector<TWordRegister> &registers) {
    if (FMode == TReadMode::Check && found)
      ReportChipDefaults(Applier, FRows, FDevice, line, fromWords, registers);
    TReadSummary summary;
    summary.Found = found;
    summary.Entries = Applier.Entries();
    summary.Applied = Applier.Applied();
    summary.Errors = Applier.Errors();
    summary.Problems = problems;
    summary.Unreported = Applier.Unreported();
    summary.Named.reserve(FRows.size());
    for (size_t i = 0; i < FRows.size(); ++i)
      summary.Named.push_back(Applier.Named(i));
    return summary;
  }

  TEntryApplier Applier;

private:
  std::vector<TSwitchRow> &FRows;
  const std::string &FDevice;
  TReadMode FMode;
};
} // namespace

TReadSummary ReadConfigText(std::string_view text, std::vector<TSwitchRow> &rows, const std::string &device,
                            int deviceLine, TReadMode mode, const TDiagnosticSink &sink, size_t limit,
                            const std::vector<TWordRegister> &registers, std::string_view fileName) {
  return ReadConfigText(TConfigTextScanner(text, fileName), rows, device, deviceLine, mode, sink, limit,
                        registers);
}

TReadSummary ReadConfigText(TConfigTextScanner scanner, std::vector<TSwitchRow> &rows,
                            const std::string &device, int deviceLine, TReadMode mode,
                            const TDiagnosticSink &sink, size_t limit,
                            const std::vector<TWordRegister> &registers) {
  TReading reading(rows, device, mode, sink, limit);
  TEntryApplier &applier = reading.Applier;
  bool found = false;
  int firstLine = 0;
  int problems = 0;
  int unread = 0;
  if (ReadsValues(scanner.Family())) {
    applier.SetRegisters(registers);
    applier.TakeValues();
  }
  TConfigItem item;
  while (scanner.Next(item)) {
    switch (item.Kind) {
    case TConfigItemKind::Device:
      break;
    case TConfigItemKind::Config:
    case TConfigItemKind::Entry:
      found = true;
      if (firstLine == 0)
        firstLine = item.Line;
      if (item.Kind == TConfigItemKind::Entry)
        applier.Apply(item.Name, item.Setting, item.Line);
      break;
    case TConfigItemKind::Word:
      found = true;
      if (firstLine == 0)
        firstLine = item.Line;
      applier.ApplyLegacyWord(item.Name, item.Setting, item.Line);
      break;
    case TConfigItemKind::Legacy:
      if (!applier.ApplyLegacyValue(item.Name, item.Setting, item.Line)) {
        // A form the part does not read: said once for the statement.
        if (!item.Problem.empty()) {
          ++unread;
          applier.Report(TSeverity::Warning, item.Line, [&] { return std::move(item.Problem); });
        }
        break;
      }
      found = true;
      if (firstLine == 0)
        firstLine = item.Line;
      break;
    case TConfigItemKind::Problem:
      ++problems;
      applier.Report(TSeverity::Error, item.Line, [&] { return std::move(item.Problem); });
      break;
    case TConfigItemKind::Warning:
      ++unread;
      applier.Report(TSeverity::Warning, item.Line, [&] { return std::move(item.Problem); });
      break;
    }
  }
  if (!found && problems == 0)
    applier.Report(TSeverity::Error, 1, [] { return std::string("no configuration found"); });
  return reading.End(found, problems + unread, deviceLine > 0 ? deviceLine : firstLine, false, registers);
}

TReadSummary ReadHexConfig(std::string_view text, const std::vector<TWordRegister> &registers,
                           std::vector<TSwitchRow> &rows, const std::string &device, TReadMode mode,
                           const TDiagnosticSink &sink, size_t limit, const std::string &dataFile) {
  TReading reading(rows, device, mode, sink, limit);
  TEntryApplier &applier = reading.Applier;
  applier.SetRegisters(registers);

  THexImage image;
  WatchRegisters(image, registers);
  const THexSummary hex = ReadHexFile(
      text, image, [&](const TDiagnostic &d) { applier.Report(d.Severity, d.Line, [&] { return d.Text; }); });

  for (std::string &warning : SwitchesOutsideRegisters(rows, dataFile))
    applier.Report(TSeverity::Warning, 1, [&] { return std::move(warning); });

  bool found = false;
  for (const TWordRegister &reg : registers)
    found = found || HexWordOf(image, reg).Found;
  if (!found) {
    int line = 0;
    std::string wrongScale = WrongScale(image, registers, line);
    if (!wrongScale.empty()) {
      applier.Report(TSeverity::Error, line, [&] { return wrongScale; });
      found = true; // said; no second error
    }
  }
  // Registers in address order.
  std::vector<size_t> order(registers.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return registers[a].Address < registers[b].Address; });
  for (const size_t i : order) {
    if (!found)
      break; // one error says it all
    const TWordRegister &reg = registers[i];
    const THexWord hexWord = HexWordOf(image, reg);
    if (!hexWord.Found) {
      std::string switches;
      for (const size_t r : applier.RowsOf(i))
        switches += (switches.empty() ? "" : ", ") + rows[r].Name;
      if (!switches.empty())
        applier.Report(TSeverity::Note, 1, [&] {
          return NamedRegister(reg) + " is not in the file: its switches (" + switches + ") " +
                 (mode == TReadMode::Check ? "are at the chip's default" : "keep their settings");
        });
      continue;
    }
    applier.ApplyWord(i, hexWord.Value, std::max(hexWord.Line, 1));
  }
  if (!found)
    applier.Report(TSeverity::Error, 1, [&] {
      return std::string("no configuration words: the file holds no data at the device's register addresses");
    });
  return reading.End(found, hex.Errors, 1, true, registers);
}

TReadResult ReadConfiguration(std::string_view text, IDeviceTables &devices, const std::string &device,
                              TReadMode mode, const TDiagnosticSink &sink, size_t limit,
                              std::string_view fileName) {
  TReadResult result;
  if (LooksLikeUtf16(text)) {
    Report(sink, 1, TSeverity::Error, std::string(kUtf16Text));
    return result;
  }
  result.Hex = LooksLikeHexFile(text);
  // The text's syntax is told, and its device found, once: the reading goes on
  // from the first line that matters.
  std::optional<TConfigTextScanner> scanner;
  TTextDevice named;
  if (!result.Hex) {
    scanner.emplace(text, fileName);
    named = FindDeviceLine(*scanner);
  }
  TReadTable &table = result.Table;
  if (mode == TReadMode::Check) {
    if (!OpenForCheck(devices, device, named, result.Hex, sink, table))
      return result;
  } else {
    table = OpenForPaste(devices, named, sink, limit);
  }
  result.Read = true;
  std::vector<TSwitchRow> noRows;
  std::vector<TSwitchRow> &rows = table.Rows != nullptr ? *table.Rows : noRows;
  const std::vector<TConfigRegister> noRegisters;
  const std::vector<TConfigRegister> &registers = table.Registers != nullptr ? *table.Registers : noRegisters;
  if (result.Hex) {
    // A HEX file is words: a fault of the data there is a failure of the reading.
    result.Summary = ReadHexConfig(text, WordRegisters(registers, rows, table.DataFile), rows, table.Device,
                                   mode, sink, limit, table.DataFile);
    return result;
  }
  // A text names registers only in C and assembler, where a fault of the data
  // leaves it none to name; the words and HEX files report it.
  std::vector<TWordRegister> wordRegisters;
  try {
    wordRegisters = WordRegisters(registers, rows, table.DataFile);
  } catch (const EDataError &) {
    wordRegisters.clear();
  }
  result.Summary =
      ReadConfigText(scanner->Rewound(), rows, table.Device, named.Line, mode, sink, limit, wordRegisters);
  return result;
}

std::string DeviceNotListed(std::string_view name, const TStringList &listed, const std::string &where,
                            bool everyPart, std::string_view seeListed) {
  std::string message = "device " + QuotedForMessage(name) + " is not among the " +
                        (everyPart ? "devices" : "18F and 18LF devices") + " listed in " + where;
  if (!seeListed.empty())
    message.append(" (").append(seeListed).append(")");
  const std::vector<std::string> closest =
      ClosestNames(std::vector<std::string>(listed.begin(), listed.end()), name);
  for (size_t i = 0; i < closest.size(); ++i)
    message.append(i == 0                   ? "; did you mean "
                   : i + 1 < closest.size() ? ", "
                                            : " or ")
        .append(QuotedForMessage(closest[i]));
  if (!closest.empty())
    message += '?';
  return message;
}
