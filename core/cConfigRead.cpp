// Reading a configuration back: choosing between a HEX file and a text, and the
// device it goes onto.
#include "core/cConfigRead.h"

#include "common/cErrors.h"
#include "common/cTextLines.h"
#include "core/cConfigParser.h"
#include "core/cConfigWords.h"
#include "core/cDeviceList.h"
#include "core/cHexFile.h"

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
                                   mode, sink, limit);
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
