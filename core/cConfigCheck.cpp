// Matching entries to a device's rows, the diagnostics about them, the risky
// settings, and reading a whole text through the scanner.
#include "core/cConfigCheck.h"

#include "common/cErrors.h"
#include "common/cNumbers.h"
#include "core/cConfigParser.h"
#include "core/cHexFile.h"

#include <algorithm>
#include <cctype>

const char *SeverityName(TSeverity severity) {
  switch (severity) {
  case TSeverity::Error:
    return "error";
  case TSeverity::Warning:
    return "warning";
  case TSeverity::Note:
    return "note";
  }
  return "error";
}

namespace {
// Names in order, each once.
std::string Listed(const std::vector<std::string> &names) {
  std::vector<std::string> once;
  for (const std::string &name : names)
    if (std::find(once.begin(), once.end(), name) == once.end())
      once.push_back(name);
  return ListForMessage(once);
}

std::vector<std::string> SettingNames(const TSwitchRow &row) {
  std::vector<std::string> names;
  names.reserve(row.Settings.size());
  for (const TSwitchSetting &setting : row.Settings)
    names.push_back(setting.Name);
  return names;
}

std::string SwitchList(const std::vector<TSwitchRow> &rows) {
  std::vector<std::string> names;
  names.reserve(rows.size());
  for (const TSwitchRow &row : rows)
    names.push_back(row.Name);
  return Listed(names);
}

std::string UnknownSwitch(std::string_view switchName, const std::string &device,
                          const std::string &switches) {
  return "unknown switch " + QuotedForMessage(switchName) + " for " + device + "; its switches: " + switches;
}

// Number: the setting is a number that is no setting's field value either.
std::string UnknownSetting(const TSwitchRow &row, std::string_view setting, bool number = false) {
  return "unknown setting " + QuotedForMessage(setting) + " for switch " + QuotedForMessage(row.Name) +
         (number ? ", nor is it the value of one of its settings" : "") +
         "; its settings: " + Listed(SettingNames(row));
}

const std::string &UpperCased(std::string_view text, std::string &buffer) {
  buffer.assign(text);
  for (char &c : buffer)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return buffer;
}

constexpr const char *kCodeProtect = "code protection: the program memory can no longer be read back or "
                                     "verified; only a bulk erase of the chip lifts it";
constexpr const char *kDataProtect = "data EEPROM protection: the EEPROM can no longer be read back by a "
                                     "programmer; only a bulk erase of the chip lifts it";
constexpr const char *kWriteProtect =
    "write protection: the protected memory can no longer be changed by the "
    "program or a bootloader; only a bulk erase of the chip lifts it";
constexpr const char *kConfigProtect =
    "configuration write protection: the configuration can no longer be changed, not "
    "even by a programmer short of a bulk erase";
constexpr const char *kReadProtect = "table read protection: code in other blocks can no longer read this "
                                     "block; only a bulk erase of the chip lifts it";
// LVP on, by what the part's data says: a PGM pin, or nothing about one.
constexpr const char *kLowVoltagePgm = "low-voltage programming: the PGM pin is given over to "
                                       "programming, and a stray high level on it stops the program";
constexpr const char *kLowVoltage =
    "low-voltage programming: programming can start without a high voltage on MCLR/VPP; if the part has a "
    "PGM pin (its device data does not say), that pin is given over to programming, and a stray high level "
    "on it stops the program";
constexpr const char *kDebugger = "background debugger: two port pins are taken by the debugger and the "
                                  "program runs only under a debugger";
constexpr const char *kExtended =
    "extended instruction set: code built for the standard instruction set runs wrongly";
constexpr const char *kNoMclr = "MCLR pin disabled: the chip can no longer be reset from the pin, and some "
                                "programmers then fail to take control of it";
constexpr const char *kNoMclrUnlessLvp =
    "MCLR pin disabled while LVP is off (with LVP on the pin stays MCLR): the chip can then no longer be "
    "reset from the pin, and some programmers fail to take control of it";
constexpr const char *kOneTime = "one-time programmable: once programmed, this setting can never be undone, "
                                 "not even by a bulk erase";

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The protection family of an upper-case switch name, or null: a stem followed by
// nothing, a block number or one of the stem's own suffixes.
const char *ProtectionReason(std::string_view name) {
  const struct {
    std::string_view Stem;
    std::string_view Suffix;
    const char *Reason;
  } kinds[] = {
      {"CP", "", kCodeProtect},      {"CP", "B", kCodeProtect},   {"CP", "C", kCodeProtect},
      {"CP", "D", kDataProtect},     {"WRT", "", kWriteProtect},  {"WRT", "B", kWriteProtect},
      {"WRT", "C", kConfigProtect},  {"WRT", "D", kWriteProtect}, {"WRT", "APP", kWriteProtect},
      {"WRT", "SAF", kWriteProtect}, {"EBTR", "", kReadProtect},  {"EBTR", "B", kReadProtect},
  };
  for (const auto &kind : kinds) {
    if (name.substr(0, kind.Stem.size()) != kind.Stem)
      continue;
    const std::string_view rest = name.substr(kind.Stem.size());
    if (rest == kind.Suffix || (kind.Suffix.empty() && IsDigits(rest)))
      return kind.Reason;
  }
  return nullptr;
}

bool IsOneOf(std::string_view setting, std::initializer_list<std::string_view> names) {
  return std::any_of(names.begin(), names.end(),
                     [setting](std::string_view name) { return CompareText(setting, name) == 0; });
}

// Whether Text holds Part, ignoring the letter case of A to Z.
bool Mentions(std::string_view text, std::string_view part) {
  std::string buffer;
  std::string wanted;
  return UpperCased(text, buffer).find(UpperCased(part, wanted)) != std::string::npos;
}

// LVP on costs what the part's data says. A PGM pin (a pack's pin list names one)
// is given over to programming. A part without one (its pin list names none, or
// the setting's own description keeps the MCLR/VPP pin MCLR, as the newer parts'
// do) enters programming only by a key sequence on MCLR: no risk. Where the data
// is silent (the .info file lists no pins), the reason that holds for every part.
const char *LowVoltageRisk(const TSwitchRow &row, const TSwitchSetting &setting) {
  if (row.PgmPin == TPinFact::Present)
    return kLowVoltagePgm;
  if (row.PgmPin == TPinFact::Absent || Mentions(setting.Description, "pin function is MCLR"))
    return nullptr;
  return kLowVoltage;
}

// The risk of a switch's family and its safe settings, by name; the reason, where
// the part's data tells more, from that data.
const char *FamilyRisk(const TSwitchRow &row, const TSwitchSetting &setting) {
  std::string buffer;
  const std::string &name = UpperCased(row.Name, buffer);
  if (const char *reason = ProtectionReason(name))
    return CompareText(setting.Name, "OFF") == 0 ? nullptr : reason;
  if (name == "MCLRE") {
    if (IsOneOf(setting.Name, {"ON", "EXTMCLR"}))
      return nullptr;
    // The newer parts' descriptions say that with LVP on the pin stays MCLR.
    return Mentions(setting.Description, "LVP") ? kNoMclrUnlessLvp : kNoMclr;
  }
  if (IsOneOf(setting.Name, {"OFF", "DISABLED", "DISABLE"}))
    return nullptr;
  return name == "LVP"     ? LowVoltageRisk(row, setting)
         : name == "DEBUG" ? kDebugger
         : name == "XINST" ? kExtended
                           : nullptr;
}
} // namespace

TEntryMatch MatchEntry(const std::vector<TSwitchRow> &rows, std::string_view switchName,
                       std::string_view setting, const std::string &device, int occurrence) {
  const TSwitchIndex index(rows);
  const int name = index.Find(switchName);
  TEntryMatch match;
  if (name < 0) {
    match.Error = UnknownSwitch(switchName, device, SwitchList(rows));
    return match;
  }
  const std::vector<int> &named = index.Rows(name);
  match.Row = named[static_cast<size_t>(occurrence) % named.size()];
  const TSwitchRow &row = rows[static_cast<size_t>(match.Row)];
  match.Setting = FindSetting(row, setting, true);
  if (match.Setting < 0)
    match.Error = UnknownSetting(row, setting);
  return match;
}

TEntryApplier::TEntryApplier(std::vector<TSwitchRow> &rows, std::string device, TDiagnosticSink sink,
                             size_t limit)
    : FRows(rows), FDevice(std::move(device)), FSink(std::move(sink)), FLimit(limit), FSwitchIndex(rows),
      FSeen(static_cast<size_t>(FSwitchIndex.Count()), 0), FNamedOn(rows.size(), 0),
      FNamedAs(rows.size(), 0) {}

void TEntryApplier::TakeValues(const std::vector<TWordRegister> &registers) {
  FValues = true;
  FRegisters = &registers;
  FRowsOf.assign(registers.size(), {});
  for (size_t r = 0; r < FRows.size(); ++r)
    if (FRows[r].Register >= 0 && static_cast<size_t>(FRows[r].Register) < registers.size())
      FRowsOf[static_cast<size_t>(FRows[r].Register)].push_back(r);
  for (size_t i = 0; i < registers.size(); ++i)
    FRegisterNames.emplace(UpperCased(registers[i].Name, FKey), i);
}

void TEntryApplier::Apply(std::string_view switchName, std::string_view setting, int line) {
  const int name = FSwitchIndex.Find(switchName);
  if (name < 0 && FValues) {
    const auto reg = FRegisterNames.find(UpperCased(switchName, FKey));
    if (reg != FRegisterNames.end()) {
      ApplyRegister(reg->second, setting, line);
      return;
    }
  }
  ++FEntries;
  if (name < 0) {
    Report(
        TSeverity::Error, line,
        [&] {
          if (FSwitches.empty())
            FSwitches = SwitchList(FRows);
          return UnknownSwitch(switchName, FDevice, FSwitches);
        },
        switchName, setting);
    return;
  }
  // The n-th entry of a name goes to the n-th row of that name; one beyond them
  // names a row a second time.
  const std::vector<int> &named = FSwitchIndex.Rows(name);
  int &seen = FSeen[static_cast<size_t>(name)];
  const size_t r = static_cast<size_t>(named[static_cast<size_t>(seen) % named.size()]);
  TSwitchRow &row = FRows[r];
  int k = FindSetting(row, setting, true);
  uint32_t value = 0;
  const bool number = k < 0 && FValues && ParseNumber(setting, value);
  if (number)
    k = SettingOfFieldValue(row, value);
  if (k < 0) {
    Report(
        TSeverity::Error, line, [&] { return UnknownSetting(row, setting, number); }, row.Name, setting);
    return;
  }
  ++seen;
  Set(r, k, line);
}

void TEntryApplier::ApplyRegister(size_t index, std::string_view value, int line) {
  const TWordRegister &reg = (*FRegisters)[index];
  uint32_t word = 0;
  if (!ParseNumber(value, word) || (word & ~reg.Family->WordMask()) != 0) {
    ++FEntries;
    Report(
        TSeverity::Error, line,
        [&] {
          return NamedRegister(reg) + " is a register: its word must be a number from 0 to " +
                 HexNumber(reg.Family->WordMask(), 2) + ", not " + QuotedForMessage(value);
        },
        reg.Name, value);
    return;
  }
  ApplyWord(reg, FRowsOf[index], word, line);
}

void TEntryApplier::ApplyWord(const TWordRegister &reg, const std::vector<size_t> &rows, uint32_t word,
                              int line) {
  const int digits = reg.Family->WordDigits();
  uint32_t covered = 0;
  for (const size_t r : rows) {
    const TSwitchRow &row = FRows[r];
    covered |= row.Mask;
    const int k = SettingOfBits(row, word); // the last setting of that value, as for defaults
    if (k >= 0) {
      ApplyRow(r, k, line);
    } else if (row.ChipDefaultMatchesNone && ((word ^ reg.Unset) & row.Mask) == 0) {
      // The bits the chip has when not set, which no setting has: the word leaves
      // the switch out, as a text that does not name it does.
      if (FMode == TReadMode::Paste)
        Report(TSeverity::Note, line, [&] {
          return NamedRegister(reg) + " = " + HexNumber(word, 2) + ": the bits " +
                 HexNumber(word & row.Mask, 2) + " of switch " + QuotedForMessage(row.Name) +
                 " are its chip default, which is none of its settings: it keeps its setting";
        });
      ApplyRow(r, -1, line);
    } else {
      Report(
          TSeverity::Error, line,
          [&] {
            return NamedRegister(reg) + " = " + HexNumber(word, digits) + ": the bits " +
                   HexNumber(word & row.Mask, digits) + " of switch " + QuotedForMessage(row.Name) +
                   " match none of its settings";
          },
          row.Name);
    }
  }
  const uint32_t stray = (word ^ reg.Unset) & ~covered & reg.Implemented;
  if (stray != 0)
    Report(TSeverity::Note, line, [&] {
      return NamedRegister(reg) + " = " + HexNumber(word, digits) + ": bits no switch covers (" +
             HexNumber(stray, digits) + ") differ from the register's value when not set, " +
             HexNumber(reg.Unset & reg.Implemented, digits);
    });
}

void TEntryApplier::ApplyLegacyWord(std::string_view number, std::string_view value, int line) {
  // The scanner hands over numbers only.
  uint32_t n = 0;
  uint32_t word = 0;
  if (!ParseNumber(number, n) || !ParseNumber(value, word))
    return;
  // Word-addressed families number their words one by one.
  if (FRegisters != nullptr && !FRegisters->empty() && FRegisters->front().Family != &kPic18Family) {
    ApplyLegacyValue(number, value, line);
    return;
  }
  const auto macro = [&] { return "__CONFIG(" + std::string(number) + ", " + std::string(value) + ")"; };
  if (word > 0xFFFF) {
    ++FEntries;
    Report(TSeverity::Error, line,
           [&] { return macro() + ": a configuration word has 16 bits; its value must be at most 0xFFFF"; });
    return;
  }
  // Registers below the usual place count from the lowest of them, as their names do.
  static const std::vector<TWordRegister> kNone;
  const std::vector<TWordRegister> &registers = FRegisters != nullptr ? *FRegisters : kNone;
  uint32_t base = 0x300000;
  if (!registers.empty() && std::all_of(registers.begin(), registers.end(),
                                        [base](const TWordRegister &reg) { return reg.Address < base; }))
    for (const TWordRegister &reg : registers)
      base = std::min(base, reg.Address & ~1u);
  const uint64_t low = base + 2 * (uint64_t{n} - 1);
  bool any = false;
  for (uint32_t half = 0; half < 2 && n > 0; ++half)
    for (size_t i = 0; i < registers.size(); ++i)
      if (registers[i].Address == low + half) {
        any = true;
        ApplyWord(registers[i], FRowsOf[i], half == 0 ? word & 0xFFu : word >> 8, line);
      }
  if (any)
    return;
  ++FEntries;
  Report(TSeverity::Error, line, [&] {
    std::vector<uint32_t> numbers;
    for (const TWordRegister &reg : registers)
      if (reg.Address >= base)
        numbers.push_back((reg.Address - base) / 2 + 1);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::vector<std::string> words;
    words.reserve(numbers.size());
    for (const uint32_t number : numbers)
      words.push_back(std::to_string(number));
    return macro() + ": " + FDevice + " has no configuration word " + std::to_string(n) +
           (words.empty() ? std::string("; it has no configuration registers")
                          : "; its words: " + ListForMessage(words));
  });
}

size_t TEntryApplier::LegacyRegister(std::string_view where, const TDeviceFamily &family) {
  const std::vector<TWordRegister> &registers = *FRegisters;
  for (const std::string_view name : {where, where.substr(where.starts_with('_') ? 1 : 0)}) {
    const auto reg = FRegisterNames.find(UpperCased(name, FKey));
    if (reg != FRegisterNames.end())
      return reg->second;
  }
  uint32_t number = 0;
  if (!ParseLegacyNumber(where, number))
    return registers.size();
  for (size_t i = 0; i < registers.size(); ++i)
    if (registers[i].Address == number)
      return i;
  // The n-th word, in address order, where words are numbered one by one.
  if (&family == &kPic18Family || number == 0 || number > registers.size())
    return registers.size();
  std::vector<size_t> order(registers.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return registers[a].Address < registers[b].Address; });
  return order[number - 1];
}

bool TEntryApplier::ApplyLegacyValue(std::string_view where, std::string_view value, int line) {
  static const std::vector<TWordRegister> kNone;
  if (FRegisters == nullptr)
    FRegisters = &kNone;
  const std::vector<TWordRegister> &registers = *FRegisters;
  const TDeviceFamily &family = registers.empty() ? kPic18Family : *registers.front().Family;
  uint32_t word = 0;
  const bool number = ParseLegacyNumber(value, word);
  if (&family == &kPic18Family && (!number || where.empty()))
    return false;
  // "CONFIG1 (0x8007), CONFIG2 (0x8008)"
  const auto words = [&] {
    std::vector<const TWordRegister *> sorted;
    sorted.reserve(registers.size());
    for (const TWordRegister &reg : registers)
      sorted.push_back(&reg);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TWordRegister *a, const TWordRegister *b) { return a->Address < b->Address; });
    std::vector<std::string> names;
    names.reserve(sorted.size());
    for (const TWordRegister *reg : sorted)
      names.push_back(NamedRegister(*reg));
    return ListForMessage(names);
  };
  // The statement as messages name it: a symbol stands for all of its statement's.
  const auto statement = [&] {
    return "__CONFIG " + (where.empty() ? std::string() : std::string(where) + ", ") +
           (number ? std::string(value) : std::string("..."));
  };

  size_t reg = registers.size();
  if (!where.empty()) {
    reg = LegacyRegister(where, family);
    if (reg == registers.size()) {
      ++FEntries;
      if (number || FMissingWordLine != line || FMissingWord != where)
        Report(TSeverity::Error, line, [&] {
          return statement() + ": " + FDevice + " has no configuration word " + QuotedForMessage(where) +
                 (registers.empty() ? std::string("; it has no configuration words")
                                    : "; its words: " + words());
        });
      FMissingWordLine = line;
      FMissingWord = where;
      if (number)
        return true;
    }
  }

  if (number) {
    if (reg == registers.size()) {
      // The part's first word; a second such cannot be placed.
      ++FOneValueWords;
      if (registers.empty() || (FOneValueWords > 1 && registers.size() > 1)) {
        ++FEntries;
        Report(registers.empty() ? TSeverity::Error : TSeverity::Warning, line, [&] {
          return registers.empty()
                     ? statement() + ": " + FDevice + " has no configuration words"
                     : statement() + ": a second __CONFIG with one value on " + FDevice + ", which has " +
                           std::to_string(registers.size()) + " configuration words (" + words() +
                           "): which one it means is not known, so it is not applied";
        });
        return true;
      }
      reg = 0;
      for (size_t i = 1; i < registers.size(); ++i)
        if (registers[i].Address < registers[reg].Address)
          reg = i;
    }
    const TWordRegister &target = registers[reg];
    ApplyWord(target, FRowsOf[reg], word & target.Family->WordMask(), line);
    return true;
  }

  // A symbol: the split that names a switch and one of its settings.
  const std::string_view symbol = value.substr(value.starts_with('_') ? 1 : 0);
  int named = -1;
  for (size_t i = symbol.find('_'); i != std::string_view::npos; i = symbol.find('_', i + 1)) {
    const std::string_view switchName = symbol.substr(0, i);
    const std::string_view setting = symbol.substr(i + 1);
    const int name = FSwitchIndex.Find(switchName);
    if (name < 0)
      continue;
    const std::vector<int> &rows = FSwitchIndex.Rows(name);
    if (FindSetting(FRows[static_cast<size_t>(rows.front())], setting, true) < 0) {
      named = named < 0 ? name : named;
      continue;
    }
    if (reg < registers.size() && std::none_of(rows.begin(), rows.end(), [&](int r) {
          return FRows[static_cast<size_t>(r)].Register == static_cast<int>(reg);
        }))
      Report(TSeverity::Warning, line, [&] {
        const TSwitchRow &row = FRows[static_cast<size_t>(rows.front())];
        const bool placed = row.Register >= 0 && static_cast<size_t>(row.Register) < registers.size();
        return QuotedForMessage(value) + " sets " + row.Name +
               (placed ? " of " + registers[static_cast<size_t>(row.Register)].Name : std::string()) +
               ", not of " + registers[reg].Name +
               " that its __CONFIG names: an assembler puts its bits into " + registers[reg].Name +
               "; it is read as " + std::string(switchName) + " = " + std::string(setting);
      });
    Apply(switchName, setting, line);
    return true;
  }
  ++FEntries;
  Report(TSeverity::Error, line, [&] {
    if (named >= 0) {
      const TSwitchRow &row = FRows[static_cast<size_t>(FSwitchIndex.Rows(named).front())];
      return "__CONFIG symbol " + QuotedForMessage(value) + " names no setting of switch " +
             QuotedForMessage(row.Name) + "; its settings: " + Listed(SettingNames(row));
    }
    if (FSwitches.empty())
      FSwitches = SwitchList(FRows);
    return "__CONFIG symbol " + QuotedForMessage(value) + " names no switch and setting of " + FDevice +
           "; its switches: " + FSwitches;
  });
  return true;
}

std::string NamedRegister(const TWordRegister &reg) {
  return reg.Name + " (" + HexNumber(reg.Address, reg.Family->AddressDigits()) + ")";
}

int SettingOfFieldValue(const TSwitchRow &row, uint32_t value) {
  if (row.Mask == 0)
    return -1;
  int shift = 0;
  while ((row.Mask >> shift & 1u) == 0)
    ++shift;
  const uint64_t bits = uint64_t{value} << shift;
  if ((bits & ~uint64_t{row.Mask}) != 0)
    return -1; // wider than the field
  return SettingOfBits(row, static_cast<uint32_t>(bits));
}

void TEntryApplier::ApplyRow(size_t r, int k, int line) {
  ++FEntries;
  Set(r, k, line);
}

namespace {
// Whether settings A and B of Row (-1: left out) are the same: one name (two
// settings may share one), or the same bits for the chip (a name and a number).
bool SameSetting(const TSwitchRow &row, int a, int b) {
  if (a == b)
    return true;
  if (a < 0 || b < 0)
    return false;
  const TSwitchSetting &x = row.Settings[static_cast<size_t>(a)];
  const TSwitchSetting &y = row.Settings[static_cast<size_t>(b)];
  return CompareText(x.Name, y.Name) == 0 ||
         (row.Mask != 0 && x.Value == y.Value && x.Compared == y.Compared);
}
} // namespace

void TEntryApplier::Set(size_t r, int k, int line) {
  TSwitchRow &row = FRows[r];
  ++FApplied;
  const std::string_view setting = k >= 0 ? std::string_view(row.Settings[static_cast<size_t>(k)].Name) : "";
  if (FNamedOn[r] == 0) {
    FNamedOn[r] = line;
  } else if (SameSetting(row, FNamedAs[r], k)) {
    // Harmless: the chip gets the same either way.
    Report(
        TSeverity::Warning, line,
        [&] {
          return "switch " + QuotedForMessage(row.Name) + " named twice with the same setting, " +
                 (FNamedOn[r] == line
                      ? "on line " + std::to_string(line)
                      : "on lines " + std::to_string(FNamedOn[r]) + " and " + std::to_string(line));
        },
        row.Name, setting);
  } else {
    Report(
        TSeverity::Error, line,
        [&] {
          return "switch " + QuotedForMessage(row.Name) + " named twice (first on line " +
                 std::to_string(FNamedOn[r]) + "); this later setting wins";
        },
        row.Name, setting);
  }
  FNamedAs[r] = k;
  if (k < 0) {
    // A paste keeps the rows a configuration leaves out as they are.
    if (FMode == TReadMode::Check) {
      row.LeftOut = true;
      const int chip = FindSetting(row, row.ChipDefault);
      row.Chosen = chip >= 0 ? chip : row.Chosen;
    }
    return;
  }
  row.Chosen = k;
  row.LeftOut = false;
  if (RiskOf(row, k) != nullptr)
    Report(
        TSeverity::Warning, line, [&] { return RiskWarning(row, k); }, row.Name, setting);
}

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
  if (mode == TReadMode::Check)
    ApplyChipDefaults(rows);

  TEntryApplier applier(rows, device, sink, limit);
  applier.SetMode(mode);
  TReadSummary summary;
  int firstLine = 0;
  int problems = 0;
  int unread = 0;
  if (ReadsValues(scanner.Family()))
    applier.TakeValues(registers);
  TConfigItem item;
  while (scanner.Next(item)) {
    switch (item.Kind) {
    case TConfigItemKind::Device:
      break;
    case TConfigItemKind::Config:
    case TConfigItemKind::Entry:
      summary.Found = true;
      if (firstLine == 0)
        firstLine = item.Line;
      if (item.Kind == TConfigItemKind::Entry)
        applier.Apply(item.Name, item.Setting, item.Line);
      break;
    case TConfigItemKind::Word:
      summary.Found = true;
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
      summary.Found = true;
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
  if (!summary.Found && problems == 0)
    applier.Report(TSeverity::Error, 1, [] { return std::string("no configuration found"); });

  if (mode == TReadMode::Check && summary.Found)
    ReportChipDefaults(applier, rows, device, deviceLine > 0 ? deviceLine : firstLine, false, registers);
  summary.Entries = applier.Entries();
  summary.Applied = applier.Applied();
  summary.Errors = applier.Errors();
  summary.Problems = problems + unread;
  summary.Unreported = applier.Unreported();
  for (size_t i = 0; i < rows.size(); ++i)
    summary.Named.push_back(applier.Named(i));
  return summary;
}

void ReportChipDefaults(TEntryApplier &applier, const std::vector<TSwitchRow> &rows,
                        const std::string &device, int line, bool fromWords,
                        const std::vector<TWordRegister> &registers) {
  // What the text leaves out is at its chip default: say so where it is risky.
  // A default that is none of the settings is no setting the chip gets: the switch
  // is left out, and noted with the bits the chip gets instead.
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
            return row.Name + " = " + row.Setting() + " (the chip's default, as the " +
                   (fromWords ? "file does not set it" : "text does not name " + row.Name) + "): " + reason;
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

const char *RiskOf(const TSwitchRow &row, int setting) {
  const TSwitchSetting &chosen = row.Settings[static_cast<size_t>(setting)];
  if (row.Otp && (row.ChipDefaultMatchesNone || chosen.Name != row.ChipDefault))
    return kOneTime;
  return FamilyRisk(row, chosen);
}

std::string RiskWarning(const TSwitchRow &row, int setting) {
  const char *reason = RiskOf(row, setting);
  return reason == nullptr
             ? std::string()
             : row.Name + " = " + row.Settings[static_cast<size_t>(setting)].Name + ": " + reason;
}
