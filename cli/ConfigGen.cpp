// Commands of configgen: argument parsing, output and exit statuses; the work is
// the core's, as in the window.
#include "cli/ConfigGen.h"

#include "cli/cOutputBuffer.h"
#include "common/cErrors.h"
#include "core/cConfigCheck.h"
#include "core/cConfigHex.h"
#include "core/cConfigRead.h"
#include "core/cConfigText.h"
#include "core/cConfigWords.h"
#include "core/cDeviceList.h"
#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "core/cSyntax.h"
#include "common/cTextLines.h"
#include "deviceinfo/cFileView.h"
#include "devicepacks/cPackSearch.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <new>
#include <ostream>
#include <sstream>

namespace {
// A command line that does not fit the usage.
class EUsage : public Exception {
public:
  using Exception::Exception;
};

// A failure reported on stderr with exit status 1.
class EFailure : public Exception {
public:
  using Exception::Exception;
};

// Options of every command; each command accepts only its own.
struct TOptions {
  std::string Folder; // empty: the device packs where the vendor's IDE keeps them
  bool IncludeLF = false;
  bool All = false;   // devices --all: every 8-bit part
  std::string Device; // empty: FILE's (check, --from)
  const TSyntax *Syntax = &kTarnwickSyntax;
  bool NoComments = false;
  bool InfoDefaults = false;
  std::vector<std::pair<std::string, std::string>> Picks; // --set SWITCH=SETTING, in order
  std::string From;                                       // --from FILE, or check's FILE
  bool ChangedOnly = false;
  std::string Output; // -o FILE (hex): empty for standard output
  std::string Into;   // hex --into BUILD.hex
  bool InPlace = false;
};

// Runs Step and turns an error of the device data into a failure naming where it
// stopped.
template <typename TStep> void WithPlace(TStep step) {
  try {
    step();
  } catch (const EFailure &) {
    throw;
  } catch (const Exception &e) {
    throw EFailure(e.WithPlace());
  }
}

// The device data opened, and the folder searched out for it ("" for --folder).
struct TDeviceData {
  std::unique_ptr<IDeviceSource> Source;
  std::string Searched;
};

// Opens the folder's device data, whichever kind the folder holds. Without --folder,
// the first folder of device packs where the vendor's IDE keeps them.
TDeviceData LoadIndex(const TOptions &options, bool includeLF) {
  TDeviceData data;
  if (!options.Folder.empty()) {
    TOpenedSource opened;
    WithPlace([&] { opened = OpenDeviceSource(options.Folder, includeLF); });
    if (!opened.Source)
      throw EFailure(opened.Problem);
    data.Source = std::move(opened.Source);
    return data;
  }
  WithPlace([&] {
    try {
      TVendorPacks packs = LoadVendorPacks(PackSearchOfThisSystem(), includeLF);
      data.Source = std::move(packs.Source);
      data.Searched = std::move(packs.Folder);
    } catch (const ENoVendorPacks &e) {
      throw ENoVendorPacks("no --folder DIR given, and " + e.Message());
    }
  });
  return data;
}

int CommandDevices(const TOptions &options, std::istream & /*in*/, std::ostream &out,
                   std::ostream & /*err*/) {
  const TDeviceData data = LoadIndex(options, options.IncludeLF);
  const IDeviceSource &source = *data.Source;
  const TStringList &names = options.All ? source.AllDeviceNames() : source.DeviceNames();
  // A folder searched out is named where the packs are.
  const std::string version = source.StatusName();
  out << StatusLine(data.Searched.empty() ? version : version + " in " + data.Searched, names.Count())
      << '\n';
  for (const std::string &name : names)
    out << name << '\n';
  return kExitOk;
}

// The folder's devices: every 8-bit part, sorted ignoring letter case, loaded when
// first asked for; a device's table is read at its defaults.
class TFolderDevices : public IDeviceTables {
public:
  explicit TFolderDevices(const TOptions &options) : FOptions(options) {}

  const TStringList &Listed() override {
    if (!FLoaded) {
      FSource = LoadIndex(FOptions, true).Source;
      FNames = FSource->AllDeviceNames();
      FNames.Sort(CompareText);
      FLoaded = true;
    }
    return FNames;
  }

  std::string ListedIn() override { return FSource ? FSource->Where() : std::string(); }
  bool ListsEveryPart() const override { return true; }
  std::string HowToNameDevice() const override { return "--device NAME"; }
  std::string HowToSeeListed() const override { return "see 'configgen devices --all'"; }

  TReadTable Open(int index) override {
    TReadTable table;
    table.Device = FNames[index];
    bool found = false;
    WithPlace(
        [&] { found = ReadDeviceTable(*FSource, FOptions.InfoDefaults, table.Device, FRows, &FRegisters); });
    table.DataFile = FSource->FileOf(table.Device);
    if (!found) {
      table.Problem = "device " + QuotedForMessage(table.Device) + " is listed in " + ListedIn() +
                      " but has no part section";
      return table;
    }
    ApplyStartSettings(FRows);
    table.Rows = &FRows;
    table.Registers = &FRegisters;
    return table;
  }

  // configgen shows no table: every text is read onto the device it names.
  TReadTable Shown() override { return {}; }

  // The table of device Name (the name found ignoring letter case and a "PIC"
  // prefix, the list's spelling used), or a failure saying why there is none.
  TReadTable OpenNamed(const std::string &name) {
    const int index = FindListedDevice(Listed(), name);
    if (index < 0)
      throw EFailure(DeviceNotListed(name, FNames, ListedIn(), true, HowToSeeListed()));
    TReadTable table = Open(index);
    if (table.Rows == nullptr)
      throw EFailure(table.Problem);
    return table;
  }

private:
  const TOptions &FOptions;
  std::unique_ptr<IDeviceSource> FSource;
  bool FLoaded = false;
  TStringList FNames;
  std::vector<TSwitchRow> FRows;
  std::vector<TConfigRegister> FRegisters;
};

// Applies the --set choices on top, each as an entry of its own: the switch's
// first row, the first setting of that name, names in any letter case; the last
// choice for a switch wins.
void ApplyPicks(const TReadTable &table, const TOptions &options, std::vector<bool> *named = nullptr) {
  for (const auto &[switchName, setting] : options.Picks) {
    const TEntryMatch match = MatchEntry(*table.Rows, switchName, setting, table.Device);
    if (!match.Error.empty())
      throw EFailure(std::string("--set ")
                         .append(ShortenForMessage(std::string(switchName).append("=").append(setting)))
                         .append(": ")
                         .append(match.Error));
    TSwitchRow &row = (*table.Rows)[static_cast<size_t>(match.Row)];
    row.Chosen = match.Setting;
    row.LeftOut = false; // a switch --from left out is set now
    if (named != nullptr)
      named->at(static_cast<size_t>(match.Row)) = true;
  }
}

// A text to read a configuration from: a file, or standard input for "-".
struct TInput {
  std::string Name; // as diagnostics name it
  std::string Read; // what was read into memory
  // On POSIX systems a file is mapped: a large source is neither copied nor paid
  // for page by page in fresh memory.
  std::unique_ptr<TFileView> View;

  std::string_view Text() const { return View != nullptr ? View->Text() : std::string_view(Read); }
  // Throws where the file changed while it was read: what was read of it may mix
  // two versions, or zeros where it was cut short.
  void CheckUnchanged() const;
};

EFailure CannotRead(const std::string &name, const std::string &reason) {
  return EFailure("cannot read " + name + ": " + reason);
}

void TInput::CheckUnchanged() const {
  if (View != nullptr && View->Changed())
    throw CannotRead(Name, "it changed while it was read");
}

std::string TooLarge() {
  return "larger than " + std::to_string(kMaxTextSize >> 20) +
         " MiB, which no program's source is; reading stopped there";
}

// Reads Stream whole; a read that fails partway is a failure, never a short text.
void ReadStream(std::FILE *stream, const std::string &name, std::string &text) {
  struct stat status {};
  if (fstat(fileno(stream), &status) == 0 && S_ISREG(status.st_mode)) {
    if (static_cast<uint64_t>(status.st_size) > kMaxTextSize)
      throw CannotRead(name, TooLarge());
    text.reserve(static_cast<size_t>(status.st_size));
  }
  char buffer[65536];
  for (;;) {
    errno = 0;
    const size_t got = std::fread(buffer, 1, sizeof buffer, stream);
    if (text.size() + got > kMaxTextSize)
      throw CannotRead(name, TooLarge());
    text.append(buffer, got);
    if (got < sizeof buffer) {
      if (std::ferror(stream))
        throw CannotRead(name, errno != 0 ? std::strerror(errno) : "read error");
      if (std::feof(stream))
        return;
    }
  }
}

TInput ReadInput(const std::string &file, std::istream &in) {
  TInput input;
  if (file == "-") {
    input.Name = "<stdin>";
    if (&in == &std::cin) {
      ReadStream(stdin, input.Name, input.Read);
      return input;
    }
    // A stream of the caller's (tests): read in pieces, a failed read is a failure.
    char buffer[65536];
    while (in) {
      in.read(buffer, sizeof buffer);
      if (in.bad())
        throw CannotRead(input.Name, "read error");
      if (input.Read.size() + static_cast<size_t>(in.gcount()) > kMaxTextSize)
        throw CannotRead(input.Name, TooLarge());
      input.Read.append(buffer, static_cast<size_t>(in.gcount()));
    }
    return input;
  }
  input.Name = file;
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw CannotRead(file,
                     std::filesystem::is_directory(status) ? "is a directory" : "is not a regular file");
#ifndef _WIN32
  input.View = std::make_unique<TFileView>();
  const std::string problem = input.View->Open(file, std::numeric_limits<uint64_t>::max());
  if (!problem.empty())
    throw CannotRead(file, problem);
  if (input.View->Text().size() > kMaxTextSize)
    throw CannotRead(file, TooLarge());
#else
  std::FILE *stream = std::fopen(file.c_str(), "rb");
  if (stream == nullptr)
    throw CannotRead(file, std::strerror(errno));
  const std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(stream, std::fclose);
  ReadStream(stream, file, input.Read);
#endif
  return input;
}

// Diagnostics in the form compilers use, so editors jump to the line.
void Diagnose(std::ostream &out, const std::string &file, int line, const char *kind,
              const std::string &message) {
  out << file << ':' << line << ": " << kind << ": " << message << '\n';
}

TDiagnosticSink DiagnosticsTo(std::ostream &out, const std::string &file) {
  return
      [&out, &file](const TDiagnostic &d) { Diagnose(out, file, d.Line, SeverityName(d.Severity), d.Text); };
}

// What reading --from FILE warned of already, which the words written after it
// are not warned of again.
struct TFromRead {
  bool Hex = false;             // FILE is a HEX file: the switches outside the registers
  std::vector<TSwitchRow> Rows; // as the reading left them, whose risks it warned of
};

// The table generate and words start from: every switch at its default, or FILE's
// configuration (--from; its diagnostics on Err, as check gives them), then the
// --set choices on top. False when there is no table to go on with; Status is 1
// when FILE had errors. Read, where given, gets what FILE's reading warned of.
bool StartingTable(const TOptions &options, std::istream &in, std::ostream &err, TFolderDevices &devices,
                   TReadTable &table, int &status, TFromRead *read = nullptr) {
  status = kExitOk;
  if (options.From.empty()) {
    table = devices.OpenNamed(options.Device);
  } else {
    const TInput input = ReadInput(options.From, in);
    const TReadResult result =
        ReadConfiguration(input.Text(), devices, options.Device, TReadMode::Check,
                          DiagnosticsTo(err, input.Name), kEveryDiagnostic, input.Name);
    input.CheckUnchanged();
    if (!result.Read) {
      status = kExitFailure;
      return false;
    }
    // What this device cannot take was reported; the rest is carried over.
    if (result.Summary.Errors > 0)
      status = kExitFailure;
    table = result.Table;
    if (read != nullptr)
      *read = {result.Hex, *table.Rows};
  }
  ApplyPicks(table, options);
  return true;
}

// The syntaxes that serve Family, as its user picks them: "--syntax c or --syntax asm".
std::string SyntaxesServing(const TDeviceFamily &family) {
  std::string options;
  for (const TSyntax &syntax : kSyntaxes)
    if (SyntaxServes(syntax, family))
      options.append(options.empty() ? "" : " or ").append("--syntax ").append(syntax.CliName);
  return options;
}

int CommandGenerate(const TOptions &options, std::istream &in, std::ostream &out, std::ostream &err) {
  TFolderDevices devices(options);
  TReadTable table;
  int status = kExitOk;
  if (!StartingTable(options, in, err, devices, table, status))
    return status;
  const TDeviceFamily &family = FamilyOfRegisters(*table.Registers);
  if (!SyntaxServes(*options.Syntax, family))
    throw EFailure(SyntaxRefused(*options.Syntax, table.Device, family) + ": use " + SyntaxesServing(family));
  TConfigTextOptions textOptions;
  textOptions.Syntax = options.Syntax;
  textOptions.Comments = !options.NoComments;
  textOptions.ChangedOnly = options.ChangedOnly;
  // Headings name the registers; a fault of the data there is one, as for words.
  const std::vector<TWordRegister> registers =
      options.Syntax->RegisterHeadings ? WordRegisters(*table.Registers, *table.Rows, table.DataFile)
                                       : std::vector<TWordRegister>();
  for (const std::string &line : ConfigTextLines(table.Device, *table.Rows, textOptions, registers))
    out << line << '\n';
  return status;
}

// The switches outside the registers, which the words leave out, where reading
// --from a HEX file has not warned of them already.
void WarnOfSwitchesOutside(const TReadTable &table, const TFromRead &read, std::ostream &err) {
  if (!read.Hex)
    for (const std::string &warning : SwitchesOutsideRegisters(*table.Rows, table.DataFile))
      err << "configgen: warning: " << warning << '\n';
}

int CommandWords(const TOptions &options, std::istream &in, std::ostream &out, std::ostream &err) {
  TFolderDevices devices(options);
  TReadTable table;
  TFromRead read;
  int status = kExitOk;
  if (!StartingTable(options, in, err, devices, table, status, &read))
    return status;
  const std::vector<TWordRegister> registers = WordRegisters(*table.Registers, *table.Rows, table.DataFile);
  WarnOfSwitchesOutside(table, read, err);
  for (const TConfigWord &word : ConfigWords(registers, *table.Rows))
    out << WordLine(word) << '\n';
  return status;
}

// The platform's text line end, which a HEX file written anew takes.
#ifdef _WIN32
constexpr std::string_view kTextLineEnd = "\r\n";
#else
constexpr std::string_view kTextLineEnd = "\n";
#endif

// Writes Text to Path whole, or fails with the reason; Fresh: Path is a file of our
// own, removed when partly written.
void WriteFileWhole(const std::string &path, const std::string &text, bool fresh) {
  std::FILE *stream = std::fopen(path.c_str(), "wb");
  if (stream == nullptr)
    throw EFailure("cannot write " + path + ": " + std::strerror(errno));
  errno = 0;
  const bool written =
      std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
  const int error = errno;
  if (std::fclose(stream) != 0 || !written) {
    const int reason = error != 0 ? error : errno;
    if (fresh)
      std::remove(path.c_str());
    throw EFailure("cannot write " + path + ": " + (reason != 0 ? std::strerror(reason) : "write error"));
  }
}

// Where the HEX text goes: -o FILE, BUILD.hex itself (--in-place: a new file beside
// it renamed over it, so a failed write leaves it whole) or standard output.
void PutHex(const TOptions &options, const std::string &text, std::ostream &out) {
  if (options.InPlace) {
    const std::string fresh = options.Into + ".configgen-new";
    WriteFileWhole(fresh, text, true);
    std::error_code error;
    std::filesystem::rename(fresh, options.Into, error);
    if (error) {
      std::remove(fresh.c_str());
      throw EFailure("cannot write " + options.Into + ": " + error.message());
    }
  } else if (!options.Output.empty()) {
    WriteFileWhole(options.Output, text, false);
  } else {
    out << text;
  }
}

// Whether D warns of a risky setting that a switch of Read (the rows as --from's
// reading left them) has, by its bits: that reading warned of it already. D is a
// risk warning where it names a switch.
bool WarnedBefore(const TDiagnostic &d, const std::vector<TSwitchRow> &read) {
  return !d.Switch.empty() && std::any_of(read.begin(), read.end(), [&](const TSwitchRow &row) {
    const int k = FindSetting(row, d.Setting);
    return !row.LeftOut && k >= 0 && CompareText(row.Name, d.Switch) == 0 &&
           row.Settings[static_cast<size_t>(k)].Value ==
               row.Settings[static_cast<size_t>(row.Chosen)].Value &&
           RiskOf(row, row.Chosen) != nullptr;
  });
}

// The risk warnings check gives for Words, read back as the chip gets them, but
// those the reading of --from gave already (Read: its rows). The switches outside
// the registers are warned of where the words are made.
void WarnOfRisks(const TReadTable &table, const std::vector<TWordRegister> &registers,
                 const std::vector<TConfigWord> &words, const std::vector<TSwitchRow> &read,
                 std::ostream &err) {
  std::vector<TSwitchRow> rows = *table.Rows;
  ReadHexConfig(ConfigHexText(words, "\n"), registers, rows, table.Device, TReadMode::Check,
                [&](const TDiagnostic &d) {
                  if (d.Severity == TSeverity::Warning && !d.Switch.empty() && !WarnedBefore(d, read))
                    err << "configgen: warning: " << d.Text << '\n';
                });
}

// hex --into: BUILD.hex's words, with the bits of the switches --from or --set
// names replaced; the others keep BUILD.hex's bits, a word it lacks its value
// when not set.
int WriteInto(const TOptions &options, std::istream &in, std::ostream &out, std::ostream &err) {
  const TInput build = ReadInput(options.Into, in);
  TFolderDevices devices(options);
  TReadTable table;
  std::vector<bool> named;
  std::vector<TSwitchRow> read; // the switches --from names, as its reading left them
  int status = kExitOk;
  if (options.From.empty()) {
    table = devices.OpenNamed(options.Device);
  } else {
    const TInput input = ReadInput(options.From, in);
    std::vector<TDiagnostic> said;
    const TReadResult result = ReadConfiguration(
        input.Text(), devices, options.Device, TReadMode::Check,
        [&](const TDiagnostic &d) { said.push_back(d); }, kEveryDiagnostic, input.Name);
    input.CheckUnchanged();
    if (result.Read) {
      table = result.Table;
      named = result.Summary.Named;
      named.resize(table.Rows->size(), false);
    }
    // A switch it leaves out keeps BUILD.hex's bits, not the chip's default: the
    // reading's notes, and its warnings of such a switch, are not said (the note and
    // the words' own check below are).
    const auto leftOut = [&](const std::string &name) {
      for (size_t i = 0; i < named.size(); ++i)
        if (!named[i] && CompareText((*table.Rows)[i].Name, name) == 0)
          return true;
      return false;
    };
    const TDiagnosticSink toErr = DiagnosticsTo(err, input.Name);
    for (const TDiagnostic &d : said)
      if (d.Severity == TSeverity::Error ||
          (d.Severity == TSeverity::Warning && (d.Switch.empty() || !leftOut(d.Switch))))
        toErr(d);
    if (!result.Read || result.Summary.Errors > 0)
      return kExitFailure; // nothing is written from a configuration in doubt
    for (size_t i = 0; i < named.size(); ++i)
      if (named[i])
        read.push_back((*table.Rows)[i]);
  }
  named.resize(table.Rows->size(), false);
  ApplyPicks(table, options, &named);
  const std::vector<TWordRegister> registers = WordRegisters(*table.Registers, *table.Rows, table.DataFile);
  TBuildWords held = ReadBuildWords(build.Text(), registers, DiagnosticsTo(err, build.Name));
  build.CheckUnchanged();
  if (held.Errors > 0)
    throw EFailure(build.Name + " is not read cleanly; nothing is written");
  const std::vector<TConfigWord> chosen = ConfigWords(registers, *table.Rows);
  const std::vector<std::vector<size_t>> rowsOf = RowsOfRegisters(registers.size(), *table.Rows);
  std::vector<TConfigWord> words;
  std::string kept;
  for (size_t r = 0; r < registers.size(); ++r) {
    const TWordRegister &reg = registers[r];
    uint32_t value = held.Words[r];
    for (const size_t i : rowsOf[r]) {
      const TSwitchRow &row = (*table.Rows)[i];
      if (named[i]) {
        const auto word = std::find_if(chosen.begin(), chosen.end(),
                                       [&](const TConfigWord &w) { return w.Address == reg.Address; });
        value = (value & ~row.Mask) | (word->Value & row.Mask);
      } else if (held.Found[r]) {
        kept += (kept.empty() ? "" : ", ") + row.Name;
      }
    }
    if (!held.Found[r])
      err << "configgen: note: " << NamedRegister(reg) << " is not in " << build.Name
          << ": written at the chip's defaults, with the switches named\n";
    words.push_back({reg.Name, reg.Address, value, reg.Family});
  }
  std::stable_sort(words.begin(), words.end(),
                   [](const TConfigWord &a, const TConfigWord &b) { return a.Address < b.Address; });
  if (!kept.empty())
    err << "configgen: note: the switches neither --from nor --set names keep the bits " << build.Name
        << " holds: " << kept << '\n';
  WarnOfRisks(table, registers, words, read, err);
  PutHex(options, WriteConfigInto(std::move(held), words), out);
  return status;
}

int CommandHex(const TOptions &options, std::istream &in, std::ostream &out, std::ostream &err) {
  if (!options.Into.empty())
    return WriteInto(options, in, out, err);
  TFolderDevices devices(options);
  TReadTable table;
  TFromRead read;
  int status = kExitOk;
  // Nothing is written from a configuration in doubt: a programmer would take it.
  if (!StartingTable(options, in, err, devices, table, status, &read) || status != kExitOk)
    return kExitFailure;
  const std::vector<TWordRegister> registers = WordRegisters(*table.Registers, *table.Rows, table.DataFile);
  WarnOfSwitchesOutside(table, read, err);
  const std::vector<TConfigWord> words = ConfigWords(registers, *table.Rows);
  WarnOfRisks(table, registers, words, read.Rows, err);
  PutHex(options, ConfigHexText(words, kTextLineEnd), out);
  return status;
}

int CommandCheck(const TOptions &options, std::istream &in, std::ostream &out, std::ostream & /*err*/) {
  const TInput input = ReadInput(options.From, in);
  TFolderDevices devices(options);
  const TReadResult result = ReadConfiguration(input.Text(), devices, options.Device, TReadMode::Check,
                                               DiagnosticsTo(out, input.Name), kEveryDiagnostic, input.Name);
  input.CheckUnchanged();
  return !result.Read || result.Summary.Errors > 0 ? kExitFailure : kExitOk;
}

int CommandSwitches(const TOptions &options, std::istream & /*in*/, std::ostream &out,
                    std::ostream & /*err*/) {
  TFolderDevices devices(options);
  const TReadTable table = devices.OpenNamed(options.Device);
  for (const TSwitchRow &row : *table.Rows)
    out << row.Name << '\t' << row.Function << '\t' << row.Setting() << '\t' << row.Description() << '\n';
  return kExitOk;
}

// What a command takes besides --folder.
enum TTakes : unsigned {
  kTakesIncludeLF = 1,
  kTakesDevice = 2, // required unless FILE or --from names it
  kTakesInfoDefaults = 4,
  kTakesOutput = 8, // --syntax, --orvane, --no-comments, --changed-only
  kTakesSet = 16,
  kTakesFrom = 32,
  kTakesFile = 64, // one FILE operand
  kTakesAll = 128,
  kTakesHexOutput = 256, // -o FILE, --into BUILD.hex, --in-place
};

using TRun = int (*)(const TOptions &, std::istream &, std::ostream &, std::ostream &);

// The commands: the help's line for each, what it takes and what runs it.
struct TCommand {
  const char *Name;
  const char *Summary;
  const char *Details; // after its options in its help
  unsigned Takes;
  TRun Run;
};

const TCommand kCommands[] = {
    {"devices", "Lists the 18F devices of the device data (--all: all)",
     "Prints the status line the window shows after \"Load File\" (\"resource file:\n"
     "<version>    <count> device(s) found\"; without --folder, \"<packs> in <folder>\"\n"
     "names the folder found), then the device names, one per line, in file order.\n"
     "Every other command takes any part --all lists (PIC10, 12, 16, 18).",
     kTakesIncludeLF | kTakesAll, CommandDevices},
    {"generate", "Prints the configuration text for a device",
     "Prints the text \"Generate\" writes: every switch at its default, or at the\n"
     "setting --set chooses for it. With --from and errors in FILE, the text is\n"
     "printed all the same and the exit status is 1.",
     kTakesDevice | kTakesInfoDefaults | kTakesOutput | kTakesSet | kTakesFrom, CommandGenerate},
    {"switches", "Prints a device's settings grid",
     "One row per line: Config, Function, Setting (the default) and Description,\n"
     "tab-separated.",
     kTakesDevice | kTakesInfoDefaults, CommandSwitches},
    {"words", "Prints the configuration words a device gets",
     "One register per line in address order: \"CONFIG1H  0x300001  0x08\".",
     kTakesDevice | kTakesInfoDefaults | kTakesSet | kTakesFrom, CommandWords},
    {"hex", "Writes the configuration words as an Intel HEX file",
     "Only the configuration words, at their addresses (PIC18: bytes at 0x300000;\n"
     "other families: little-endian words at twice the word address), to standard\n"
     "output or -o FILE. With --into BUILD.hex, BUILD.hex with its configuration\n"
     "words replaced and every other byte kept: a switch neither --from nor --set\n"
     "names keeps the bits BUILD.hex holds (not the chip's default, as elsewhere);\n"
     "a word BUILD.hex lacks gets the chip's defaults. A BUILD.hex that does not\n"
     "read cleanly is refused and nothing is written. Risky settings warn as in\n"
     "check.",
     kTakesDevice | kTakesInfoDefaults | kTakesSet | kTakesFrom | kTakesHexOutput, CommandHex},
    {"check", "Checks the configuration in a source or HEX file",
     "Prints one diagnostic per line, as compilers do (FILE:LINE: error:, warning:,\n"
     "note:): a device not listed, a line that is no entry, an unknown switch or\n"
     "setting, a switch named twice, a setting that can lock you out of the chip\n"
     "(also a switch left out at such a chip default), the switches left out.\n"
     "Exit status 0 without errors.",
     kTakesDevice | kTakesFile, CommandCheck},
};

constexpr const char *kAbout =
    "configgen: writes and checks the configuration of 8-bit PIC devices from the\n"
    "chip vendor's device data.";

// A count as the help's prose writes it ("four"), in digits from 13 on.
std::string CountInWords(size_t count) {
  constexpr const char *kWords[] = {"no",    "one",   "two",  "three", "four",   "five",  "six",
                                    "seven", "eight", "nine", "ten",   "eleven", "twelve"};
  return count < std::size(kWords) ? kWords[count] : std::to_string(count);
}

// Text broken at blanks into lines of at most Width characters (a longer word
// stands alone), as the help lays out an option's description.
std::string Wrapped(const std::string &text, size_t width) {
  std::string result;
  size_t lineStart = 0;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    if (result.size() > lineStart && result.size() - lineStart + 1 + word.size() > width) {
      result += '\n';
      lineStart = result.size();
    } else if (result.size() > lineStart) {
      result += ' ';
    }
    result += word;
  }
  return result;
}

// The help's description of --syntax, from the syntaxes' rows: "The text's language:
// tarnwick (a config block, the default), ... or asm (PROCESSOR and CONFIG lines)".
std::string SyntaxOptionAbout() {
  std::string text = "The text's language:";
  const size_t count = std::size(kSyntaxes);
  const TSyntax *const byDefault = TOptions().Syntax;
  for (size_t i = 0; i < count; ++i) {
    const TSyntax &syntax = kSyntaxes[i];
    text.append(i == 0          ? " "
                : i + 1 < count ? ", "
                                : " or ")
        .append(syntax.CliName)
        .append(" (")
        .append(syntax.About)
        .append(&syntax == byDefault ? ", the default)" : ")");
  }
  return Wrapped(text, 50);
}

std::string AboutData() {
  return "Device data: the vendor's 8bit_device.info in --folder DIR or, where DIR holds\n"
         "none, the device packs in DIR, installed or .atpack archives; DIR may also name\n"
         "one such file. Without --folder, the packs where the vendor's IDE keeps them.\n"
         "Nothing is written there. FILE (check, --from): a program's source in any of\n"
         "the " +
         CountInWords(std::size(kSyntaxes)) +
         " syntaxes, or an Intel HEX file (no device named); - is standard input.\n"
         "Exit status: 0 success, 1 failure (data, input, output), 2 usage error.\n"
         "--folder, --device, --include-lf, --info-defaults may also come before COMMAND.";
}

// The options that may also come before the command, as in git, and mean there what
// they mean after it: those that say which device data and which device. A command
// that does not take one refuses it wherever it stands.
constexpr const char *kOptionsBeforeCommand[] = {"--folder", "--device", "--include-lf", "--info-defaults"};

// A value option: one value, the last one given counts; an option given without its
// value is found empty and named in the message.
CLI::Option *AddValue(CLI::App &app, const char *name, std::string &field, const char *type,
                      const char *about) {
  return app.add_option(name, field, about)
      ->type_name(type)
      ->expected(0, 1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

// The parser of the command line, bound to Options. Unknown options and operands
// are kept (remaining()) to be named in the message, with the nearest known one.
struct TCommandLine {
  CLI::App App{kAbout, "configgen"};
  CLI::App *Help = nullptr;
  std::string HelpTopic;
  std::vector<std::string> Picks;
  std::string Syntax;
  bool Orvane = false;
  CLI::Option *SyntaxOption = nullptr;
  CLI::Option *OrvaneOption = nullptr;

  explicit TCommandLine(TOptions &options) {
    App.get_formatter()->column_width(24);
    App.get_formatter()->label("SUBCOMMAND", "COMMAND");
    App.get_formatter()->label("Positionals", "Arguments");
    // The options before the command, bound to the same fields as the command's own,
    // which come later and so win. The help names them in its footer, not in its
    // list of options; made before -h and -V, whose group CLI11 then shows last,
    // with no blank line for the hidden one after it.
    AddValue(App, "--folder", options.Folder, "DIR", "")->group("");
    AddValue(App, "--device", options.Device, "NAME", "")->group("");
    App.add_flag("--include-lf", options.IncludeLF)->group("");
    App.add_flag("--info-defaults", options.InfoDefaults)->group("");
    App.set_help_flag("-h,--help", "Prints this help");
    App.set_version_flag("-V,--version", std::string("configgen ") + FB_CONFIGGEN_VERSION,
                         "Prints the version");
    App.footer(AboutData());
    App.allow_extras();
    // A path such as /tmp/x.bas is an argument on every system, never an option.
    App.allow_windows_style_options(false);
    App.require_subcommand(0, 1);
    for (const TCommand &command : kCommands)
      AddCommand(command, options);
    Help = App.add_subcommand("help", "Prints this help, or a command's options")->group("Commands");
    Help->add_option("COMMAND", HelpTopic, "The command")->type_name("");
    Help->footer("");
    Help->allow_extras();
  }

  void AddCommand(const TCommand &command, TOptions &options) {
    CLI::App *app = App.add_subcommand(command.Name, command.Summary)->group("Commands");
    app->footer(command.Details);
    app->allow_extras();
    auto value = [&](const char *name, std::string &field, const char *type, const char *about) {
      return AddValue(*app, name, field, type, about);
    };
    value("--folder", options.Folder, "DIR", "Reads the device data from DIR (see 'configgen --help')");
    if (command.Takes & kTakesIncludeLF)
      app->add_flag("--include-lf", options.IncludeLF, "18LF devices too");
    if (command.Takes & kTakesAll)
      app->add_flag("--all", options.All, "Every 8-bit part: PIC10, 12, 16 and 18, F and LF");
    if (command.Takes & kTakesDevice)
      value(
          "--device", options.Device, "NAME",
          (command.Takes & (kTakesFile | kTakesFrom))
              ? "The device (any of 'devices --all'), any letter\ncase, with or without PIC (default: FILE's)"
              : "The device (any of 'devices --all'), any letter\ncase, with or without PIC");
    if (command.Takes & kTakesFile)
      app->add_option("FILE", options.From, "The file to check (- for standard input)")->type_name("");
    if (command.Takes & kTakesOutput) {
      SyntaxOption = value("--syntax", Syntax, "SYNTAX", SyntaxOptionAbout().c_str());
      OrvaneOption = app->add_flag("--orvane", Orvane, "Short for --syntax orvane");
      app->add_flag("--no-comments", options.NoComments, "Without the descriptions");
      app->add_flag("--changed-only", options.ChangedOnly,
                    "Only the switches whose setting differs from the\n"
                    "chip's own default (what it has when not set)");
    }
    if (command.Takes & kTakesInfoDefaults)
      app->add_flag("--info-defaults", options.InfoDefaults,
                    "Defaults from the data for XINST, DEBUG, LVP and\n"
                    "IOL1WAY too (else their OFF, DISABLED or DISABLE)");
    if (command.Takes & kTakesSet)
      app->add_option("--set", Picks,
                      "Sets SWITCH to the first setting of that name\n"
                      "(any letter case); may be given again")
          ->type_name("SWITCH=SETTING")
          ->expected(0, 1)
          ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    if (command.Takes & kTakesHexOutput) {
      value("-o,--output", options.Output, "FILE", "Writes to FILE instead of standard output");
      value("--into", options.Into, "BUILD.hex",
            "Writes BUILD.hex with its configuration words\n"
            "replaced (- for standard input)");
      app->add_flag("--in-place", options.InPlace,
                    "Writes the result over BUILD.hex (a new file\n"
                    "beside it, renamed over it)");
    }
    if (command.Takes & kTakesFrom)
      value("--from", options.From, "FILE",
            "Starts from the configuration in FILE, whose\n"
            "diagnostics go to stderr as check gives them; a\n"
            "switch FILE leaves out is at the chip's own default");
  }
};

// "; did you mean 'NAME'?" for the known name nearest to Name, or nothing.
std::string DidYouMean(const std::vector<std::string> &known, const std::string &name) {
  const std::vector<std::string> nearest = ClosestNames(known, name, 1);
  return nearest.empty() ? std::string() : "; did you mean " + QuotedForMessage(nearest[0]) + "?";
}

// An argument App did not take: an unknown option, or an operand it has no room for.
EUsage NotTaken(const CLI::App &app, const std::string &argument, const std::string &command) {
  const bool option = argument.size() > 1 && argument[0] == '-';
  if (!option && command.empty()) {
    std::vector<std::string> names;
    for (const TCommand &known : kCommands)
      names.emplace_back(known.Name);
    return EUsage("unknown command " + QuotedForMessage(argument) + DidYouMean(names, argument));
  }
  if (!option)
    return EUsage("unexpected argument " + QuotedForMessage(argument) + " for " + command);
  const std::string name = argument.substr(0, argument.find('='));
  std::vector<std::string> names;
  for (const CLI::Option *known : app.get_options())
    for (const std::string &longName : known->get_lnames())
      names.push_back("--" + longName);
  return EUsage("unknown option " + QuotedForMessage(name) + (command.empty() ? "" : " for " + command) +
                DidYouMean(names, name));
}

// Checks what the parser leaves to the program: values given empty, the device or
// the FILE a command needs, and the --set and --syntax values.
void CheckValues(const TCommandLine &line, const CLI::App &app, const TCommand &command, TOptions &options) {
  const struct {
    const char *Name;
    const std::string &Value;
    const char *Needs;
  } values[] = {{"--folder", options.Folder, "a directory"}, {"--device", options.Device, "a device name"},
                {"--from", options.From, "a file"},          {"--output", options.Output, "a file"},
                {"--into", options.Into, "a HEX file"},      {"--syntax", line.Syntax, "a syntax"}};
  for (const auto &value : values)
    for (const CLI::App *given : {&line.App, &app}) {
      const CLI::Option *option = given->get_option_no_throw(value.Name);
      // An empty folder would name the file at the root of the file system.
      if (option != nullptr && option->count() > 0 && value.Value.empty())
        throw EUsage(std::string(value.Name) + " needs " + value.Needs);
    }
  for (const std::string &pick : line.Picks) {
    const size_t equals = pick.find('=');
    if (equals == std::string::npos || equals == 0)
      throw EUsage("--set needs SWITCH=SETTING" + (pick.empty() ? "" : ", not " + QuotedForMessage(pick)));
    options.Picks.emplace_back(pick.substr(0, equals), pick.substr(equals + 1));
  }
  // --syntax and --orvane: the last one given counts.
  for (const CLI::Option *option : app.parse_order()) {
    if (option == line.OrvaneOption) {
      options.Syntax = &kOrvaneSyntax;
    } else if (option == line.SyntaxOption) {
      options.Syntax = FindSyntax(line.Syntax);
      if (options.Syntax == nullptr)
        throw EUsage("unknown syntax " + QuotedForMessage(line.Syntax) + "; the syntaxes: " + SyntaxNames());
    }
  }
  if (options.InPlace && options.Into.empty())
    throw EUsage("--in-place needs --into BUILD.hex");
  if (options.InPlace && !options.Output.empty())
    throw EUsage("--in-place and --output both say where to write; give one");
  if (options.InPlace && options.Into == "-")
    throw EUsage("--in-place needs a file, not standard input");
  if (!options.Into.empty() && options.Into == options.From)
    throw EUsage("--into and --from name the same input");
  if ((command.Takes & kTakesFile) && options.From.empty())
    throw EUsage("a FILE to check is required");
  if ((command.Takes & kTakesDevice) && !(command.Takes & kTakesFile) && options.From.empty() &&
      options.Device.empty())
    throw EUsage("--device NAME is required");
}

int RunCommand(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err) {
  TOptions options;
  TCommandLine line(options);
  try {
    line.App.parse(std::vector<std::string>(args.rbegin(), args.rend()));
  } catch (const CLI::CallForHelp &) {
    out << line.App.help();
    return kExitOk;
  } catch (const CLI::CallForVersion &e) {
    out << e.what() << '\n';
    return kExitOk;
  } catch (const CLI::ParseError &e) {
    throw EUsage(e.what());
  }
  if (!line.App.remaining().empty())
    throw NotTaken(line.App, line.App.remaining().front(), {});
  const std::vector<CLI::App *> parsed = line.App.get_subcommands();
  if (parsed.empty())
    throw EUsage("no command given");
  CLI::App &app = *parsed.front();
  if (&app == line.Help) {
    if (!app.remaining().empty())
      throw NotTaken(app, app.remaining().front(), "help");
    if (line.HelpTopic.empty()) {
      out << line.App.get_formatter()->make_help(&line.App, "configgen", CLI::AppFormatMode::Normal);
      return kExitOk;
    }
    const std::vector<CLI::App *> topics = line.App.get_subcommands(
        [&](const CLI::App *command) { return command->get_name() == line.HelpTopic; });
    if (topics.empty())
      throw NotTaken(line.App, line.HelpTopic, {});
    out << topics.front()->help("configgen");
    return kExitOk;
  }
  if (!app.remaining().empty())
    throw NotTaken(app, app.remaining().front(), app.get_name());
  for (const char *name : kOptionsBeforeCommand)
    if (line.App.get_option(name)->count() > 0 && app.get_option_no_throw(name) == nullptr)
      throw NotTaken(app, name, app.get_name());
  const TCommand &command = *std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const TCommand &c) { return app.get_name() == c.Name; });
  CheckValues(line, app, command, options);
  return command.Run(options, in, out, err);
}
} // namespace

int RunConfigGen(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  return RunConfigGen(args, std::cin, out, err);
}

namespace {
// Runs the command and reports its failures on Err (Reported then tells so); a
// failed write of a stream that raises EOutputFailed is passed on.
int RunAndReport(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err,
                 bool &reported) {
  reported = false;
  try {
    return RunCommand(args, in, out, err);
  } catch (const EOutputFailed &) {
    throw;
  } catch (const EUsage &e) {
    reported = true;
    err << "configgen: " << e.Message() << "\nTry 'configgen --help'.\n";
    return kExitUsage;
  } catch (const Exception &e) {
    err << "configgen: " << e.Message() << '\n';
  } catch (const std::bad_alloc &) {
    err << "configgen: out of memory\n";
  } catch (const std::exception &e) {
    err << "configgen: " << e.what() << '\n';
  } catch (...) {
    err << "configgen: unexpected failure\n";
  }
  reported = true;
  return kExitFailure;
}
} // namespace

int RunConfigGen(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err) {
  int status = kExitFailure;
  bool reported = false;
  try {
    status = RunAndReport(args, in, out, err, reported);
    // What is still held goes out now, on failure too; a write that failed earlier
    // left its reason in errno (a stream that raises EOutputFailed says it so).
    if (out) {
      errno = 0;
      out.flush();
    }
  } catch (const EOutputFailed &e) {
    // A pipe whose reader has gone (`| head -1`) ends the run quietly, as the end
    // of what anybody reads; any other failed write is a failure.
    if (e.ReaderGone)
      return kExitOk;
    err << "configgen: cannot write the output: " << e.Reason << '\n';
    err.flush();
    return kExitFailure;
  }
  // Output that did not arrive is a failure, not a success (a full disk), and
  // said unless a failure was said already.
  if (!out && !reported) {
    const int error = errno;
    err << "configgen: cannot write the output"
        << (error != 0 ? std::string(": ") + std::strerror(error) : "") << '\n';
    return kExitFailure;
  }
  // Diagnostics that did not arrive are lost: that is no success either.
  err.flush();
  if (!err)
    return kExitFailure;
  return status;
}
