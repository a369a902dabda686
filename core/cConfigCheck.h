// Reading a configuration onto a device's table: which entries apply to it and why
// the others do not, which settings can lock a user out of the chip, and what a
// switch the text leaves out stands for. Every front end (the window's paste,
// configgen's check and its starting from a file) reads a text through here and
// only formats the diagnostics.
#pragma once

#include "core/cConfigParser.h"
#include "core/cDeviceTable.h"
#include "core/cDiagnostic.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The row and the setting an entry names, or why it names none.
struct TEntryMatch {
  int Row = -1;
  int Setting = -1;
  std::string Error; // empty when it names a row and one of its settings
};

// Matches one "SWITCH = SETTING" to Rows of Device: names ignoring letter case, the
// first setting of a name. Occurrence picks among rows of the same switch name (a
// device may repeat one): the n-th entry of a name goes to the n-th such row.
TEntryMatch MatchEntry(const std::vector<TSwitchRow> &rows, std::string_view switchName,
                       std::string_view setting, const std::string &device, int occurrence = 0);

enum class TReadMode {
  // configgen's check and its starting from a file: a switch the text leaves out stands for its chip
  // default, and a risky one is warned of.
  Check,
  // The window's paste: rows the text does not name keep their settings.
  Paste,
};

// Applies entries to a device's rows one at a time and reports on each: an unknown
// switch or setting (the valid ones listed), a switch named more often than the
// device has switches of that name (the later entry wins: an error where the
// settings differ, a warning where they are the same), a risky setting.
class TEntryApplier {
public:
  // Hands Sink at most Limit diagnostics; the rest are only counted, their texts
  // never made, so a text with millions of faults costs little more than reading it.
  TEntryApplier(std::vector<TSwitchRow> &rows, std::string device, TDiagnosticSink sink,
                size_t limit = static_cast<size_t>(-1));
  // How a word leaves a switch out (ApplyWord): Check (the default) marks it left
  // out; Paste keeps its setting, as a paste keeps the rows a text does not name.
  void SetMode(TReadMode mode) { FMode = mode; }

  void Apply(std::string_view switchName, std::string_view setting, int line);
  // Sets row Row to its setting K, as an entry on Line that names it would.
  void ApplyRow(size_t row, int k, int line);
  // Sets each switch of register Reg (its rows, Rows) to the setting whose value its
  // bits in Word are, as a HEX file's word or a whole register in C or assembler
  // does: bits that are the register's when not set, where those are none of the
  // switch's settings (its chip default matches none), leave the switch out; other
  // bits that match no setting are an error naming the register, the switch and the
  // bits; bits no switch covers that differ from the register's value when not set
  // get a note.
  void ApplyWord(const TWordRegister &reg, const std::vector<size_t> &rows, uint32_t word, int line);
  // From here on Apply also takes what C and assembler allow: a setting given as
  // its field's value ("WDTPS = 0x1A", where no setting has that name), and a
  // register of Registers by its name, its whole word a number ("CONFIG1L = 0x5D").
  void TakeValues(const std::vector<TWordRegister> &registers);
  // C's legacy "__CONFIG(N, VALUE)" (after TakeValues): the N-th 16-bit word of a
  // PIC18's configuration, its low byte the register at 0x300000 + 2(N-1) (where a
  // part keeps its registers lower, from the lowest of them), its high byte the
  // next; each byte applied as ApplyWord does, a byte without a register passed
  // over as in a HEX file. An N for which the part has neither register is an error
  // naming the words it has, and so is a VALUE over 16 bits.
  void ApplyLegacyWord(std::string_view number, std::string_view value, int line);
  // The other legacy __CONFIG forms (after TakeValues), one value at a time: Where
  // the word as written (a register's name, a leading "_" allowed; its address; its
  // number from 1; empty for none), Value a number or one symbol.
  // - A number is the whole word, applied as ApplyWord does, its bits above the
  //   word's width ignored; without Where the part's first word, and a second such
  //   on a part of several words is a warning, not applied.
  // - A symbol SWITCH_SETTING (a leading "_" left out) is that switch's entry,
  //   split at the "_" where the part's table names a switch and one of its
  //   settings, so it lands in its own switch's word; one that names none is an
  //   error naming it, one whose switch lies in another word than Where names a
  //   warning.
  // A Where the part has no word of is an error. False, and nothing done, for the
  // forms a PIC18 does not read so: symbols, and a number without Where. Also
  // ApplyLegacyWord's "__CONFIG(N, VALUE)" on a part of another family.
  bool ApplyLegacyValue(std::string_view where, std::string_view value, int line);
  // Reports a diagnostic of the caller's, whose text Make gives.
  template <typename TMake>
  void Report(TSeverity severity, int line, TMake make, std::string_view switchName = {},
              std::string_view setting = {}) {
    if (severity == TSeverity::Error)
      ++FErrors;
    if (FReported >= FLimit) {
      ++FUnreported;
      return;
    }
    ++FReported;
    if (FSink)
      FSink({line, severity, make(), std::string(switchName), std::string(setting)});
  }
  // Whether an entry set row Row.
  bool Named(size_t row) const { return FNamedOn[row] != 0; }

  int Entries() const { return FEntries; }
  int Applied() const { return FApplied; }
  int Errors() const { return FErrors; }
  int Unreported() const { return FUnreported; }

private:
  // Sets row Row to its setting K, or leaves it out for K < 0.
  void Set(size_t row, int k, int line);
  // Register Reg's whole word, as an entry gives it.
  void ApplyRegister(size_t reg, std::string_view value, int line);

  std::vector<TSwitchRow> &FRows;
  std::string FDevice;
  TDiagnosticSink FSink;
  size_t FLimit;
  size_t FReported = 0;
  int FUnreported = 0;
  TSwitchIndex FSwitchIndex;
  std::vector<int> FSeen;    // per switch name: entries of that name applied so far
  std::vector<int> FNamedOn; // per row: the line of the entry that first set it
  std::vector<int> FNamedAs; // per row: the setting the entries last gave it, -1 left out
  TReadMode FMode = TReadMode::Check;
  std::string FKey;      // the upper-case register name looked up last
  std::string FSwitches; // the list of switches that messages give, once made
  int FEntries = 0;
  int FApplied = 0;
  int FErrors = 0;
  // TakeValues: the registers, and the rows of each.
  bool FValues = false;
  const std::vector<TWordRegister> *FRegisters = nullptr;
  std::vector<std::vector<size_t>> FRowsOf;
  std::unordered_map<std::string, size_t> FRegisterNames; // by upper-case name
  // ApplyLegacyValue: numbers without a word so far; the line and word of the last
  // word the part does not have, said once for a line's symbols.
  int FOneValueWords = 0;
  int FMissingWordLine = 0;
  std::string FMissingWord;
  // The register a legacy __CONFIG names, or the registers' count for none.
  size_t LegacyRegister(std::string_view where, const TDeviceFamily &family);
};

// "CONFIG1H (0x300001)": a register as messages name it.
std::string NamedRegister(const TWordRegister &reg);

// The setting of Row whose field value (its value shifted down to the field's
// lowest bit) is Value, the last of them as for a word; -1 for none.
int SettingOfFieldValue(const TSwitchRow &row, uint32_t value);

struct TReadSummary {
  bool Found = false; // the text holds a configuration
  int Entries = 0;
  int Applied = 0;
  int Errors = 0;
  int Problems = 0;        // lines that could not be read (errors) or were not read (warnings)
  int Unreported = 0;      // diagnostics beyond the limit, counted only
  std::vector<bool> Named; // per row: an entry (or a word) of the text set it
};

// Reads Text's configuration, in whichever syntax it is written (TellSyntaxFamily,
// core/cConfigParser.h), onto Rows of Device, reporting diagnostics to Sink in
// text order, then those about the switches it leaves out (at DeviceLine, where the
// text names its device, else its first configuration line); beyond Limit they are
// only counted. Registers (the device's, as WordRegisters gives them) are those a
// C or assembler text may set whole. FileName, where the text has one, is evidence
// of its syntax.
TReadSummary ReadConfigText(std::string_view text, std::vector<TSwitchRow> &rows, const std::string &device,
                            int deviceLine, TReadMode mode, const TDiagnosticSink &sink,
                            size_t limit = static_cast<size_t>(-1),
                            const std::vector<TWordRegister> &registers = {}, std::string_view fileName = {});
// The same, the text read by Scanner from where it stands (a scanner that
// FindDeviceLine read, Rewound).
TReadSummary ReadConfigText(TConfigTextScanner scanner, std::vector<TSwitchRow> &rows,
                            const std::string &device, int deviceLine, TReadMode mode,
                            const TDiagnosticSink &sink, size_t limit = static_cast<size_t>(-1),
                            const std::vector<TWordRegister> &registers = {});

// For Check: warns of every risky chip default among the rows no entry set, at
// Line, and notes them all; a second note lists the rows left out (whose chip
// default is none of their settings) with the bits the chip gets for them, their
// register's when not set (of Registers, where known). FromWords: the rows come
// from configuration words, whose notes name the registers left out instead.
void ReportChipDefaults(TEntryApplier &applier, const std::vector<TSwitchRow> &rows,
                        const std::string &device, int line, bool fromWords = false,
                        const std::vector<TWordRegister> &registers = {});

// The reason why choosing setting Setting of Row is risky, or null when it is not.
// A setting other than the chip's default of a one-time programmable switch can
// never be undone: that reason comes first, also for a protection switch. Otherwise
// risk goes by the switch's family and its safe settings, so new names of a family
// are covered: protection (CP, CPn, CPB/C/D, WRT, WRTn, WRTB/C/D, WRTAPP, WRTSAF,
// EBTR, EBTRn, EBTRB) is safe only OFF; MCLRE ON or EXTMCLR; LVP, DEBUG and XINST
// off (OFF, DISABLED or DISABLE). Every other setting of these switches is risky,
// but LVP on a part whose data says it has no PGM pin (its pin list names none, or
// the setting's description keeps the MCLR/VPP pin MCLR). Where the part's data says
// more, the reason says it: LVP's names the PGM pin only where the part has one;
// MCLRE's says that LVP on keeps the pin MCLR where the setting's description does.
const char *RiskOf(const TSwitchRow &row, int setting);
// "SWITCH = SETTING: reason" for a risky setting of Row, or empty.
std::string RiskWarning(const TSwitchRow &row, int setting);
