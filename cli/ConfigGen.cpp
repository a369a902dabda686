// Commands of configgen: argument parsing, output and exit statuses; the work is
// the core's, as in the window.
#include "cli/ConfigGen.h"

#include "common/cErrors.h"
#include "core/cConfigCheck.h"
#include "core/cConfigRead.h"
#include "core/cConfigText.h"
#include "core/cConfigWords.h"
#include "core/cDeviceList.h"
#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "core/cSyntax.h"
#include "common/cTextLines.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cPackSearch.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <ostream>

namespace {
constexpr const char *kUsage =
    "Usage: configgen COMMAND [OPTIONS]\n"
    "\n"
    "Reads the vendor's 8bit_device.info from DIR, or where DIR holds none, the\n"
    "device packs in DIR, installed or as .atpack archives (never writes any).\n"
    "Without --folder, the device packs where the vendor's IDE keeps them: its\n"
    "packs folder, newest IDE version first, then the user's .mchp_packs.\n"
    "\n"
    "Commands:\n"
    "  devices [--folder DIR] [--include-lf]\n"
    "      Prints the status line the window shows after \"Load File\"\n"
    "      (\"resource file: <version>    <count> device(s) found\"; without\n"
    "      --folder, \"<packs> in <folder>\" names the folder found), then the\n"
    "      18F device names, one per line, in file order (18LF too with --include-lf).\n"
    "  generate [--folder DIR] --device NAME [--syntax SYNTAX] [--orvane] [--no-comments]\n"
    "           [--info-defaults] [--set SWITCH=SETTING ...] [--from FILE] [--changed-only]\n"
    "      Prints the configuration text that \"Generate\" writes for device NAME\n"
    "      (18F or 18LF, any letter case, with or without PIC): every switch at its\n"
    "      default, or at the setting that --set chooses for it (the first setting\n"
    "      of that name; names in any letter case).\n"
    "      --syntax SYNTAX: the text's language: tarnwick (a config block, the\n"
    "      default), orvane (config statements), c (#pragma config lines) or asm\n"
    "      (a PROCESSOR line and CONFIG lines);\n"
    "      --orvane: --syntax orvane;\n"
    "      --no-comments: without the descriptions;\n"
    "      --info-defaults: defaults from the file for XINST, DEBUG, LVP and\n"
    "      IOL1WAY too (otherwise they default to their OFF, DISABLED or DISABLE\n"
    "      setting, where they have one);\n"
    "      --from FILE: starts from the configuration in FILE (- for standard\n"
    "      input); the device is FILE's unless --device is given, a switch FILE\n"
    "      leaves out is at the chip's own default, and --set goes on top. FILE's\n"
    "      diagnostics (as for check) go to stderr; the text is printed all the\n"
    "      same, and with errors the exit status is 1;\n"
    "      --changed-only: only the switches whose setting differs from the chip's\n"
    "      own default (what it has when the switch is not set); with none, a\n"
    "      comment that says so stands in for the entries.\n"
    "  switches [--folder DIR] --device NAME [--info-defaults]\n"
    "      Prints the settings grid of device NAME, one row per line:\n"
    "      Config, Function, Setting (the default) and Description, tab-separated.\n"
    "  words [--folder DIR] --device NAME [--info-defaults] [--set SWITCH=SETTING ...]\n"
    "        [--from FILE]\n"
    "      Prints the configuration words the chip gets, one register per line in\n"
    "      address order: \"CONFIG1H  0x300001  0x08\". The options mean what they\n"
    "      mean for generate.\n"
    "  check [--folder DIR] [--device NAME] FILE\n"
    "      Checks the configuration in FILE (a program's source, or - for standard\n"
    "      input) against the device its device line names, or NAME. Prints one\n"
    "      diagnostic per line, as compilers do: FILE:LINE: error: (no configuration,\n"
    "      a device not listed, a line in a config block that is no entry, an\n"
    "      unknown switch or setting, a switch named twice), FILE:LINE: warning: (a\n"
    "      setting that can lock you out of the chip, also where a switch left out\n"
    "      is at such a chip default), and a note of the switches left out. Exit\n"
    "      status 0 without errors.\n"
    "  FILE for check and --from is a program's source in any of the four syntaxes,\n"
    "  told apart by its content (see the README), or an Intel HEX file, whose\n"
    "  configuration words give each switch its setting; a HEX file names no\n"
    "  device, so --device is needed.\n"
    "  --help\n"
    "      Prints this text.\n"
    "\n"
    "Exit status: 0 on success; 1 when DIR holds no readable 8bit_device.info (nor\n"
    "device packs), no --folder is given and no device packs are found, the file\n"
    "or an archive is malformed, the device is not listed or has no part section, a\n"
    "--set names an unknown switch or setting, a checked or --from text has errors,\n"
    "or output or diagnostics cannot be written; 2 on a usage error.\n";

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
  std::string Folder;
  bool HasFolder = false;
  bool IncludeLF = false;
  std::string Device;
  bool HasDevice = false;
  const TSyntax *Syntax = &kTarnwickSyntax;
  bool NoComments = false;
  bool InfoDefaults = false;
  std::vector<std::pair<std::string, std::string>> Picks; // --set SWITCH=SETTING, in order
  std::string From;                                       // --from FILE, or check's FILE
  bool HasFrom = false;
  bool ChangedOnly = false;
};

enum TOptionSet : unsigned {
  kOptIncludeLF = 1,
  kOptDevice = 2,
  kOptInfoDefaults = 4,
  kOptOutput = 8, // --syntax, --orvane, --no-comments, --changed-only
  kOptSet = 16,
  kOptFrom = 32, // --from FILE; --device may then be left out
  kOptFile = 64, // one FILE operand
  kOptDeviceOptional = 128,
};

// Reads "--name VALUE" or "--name=VALUE"; true when Arg is that option.
bool TakeValue(const std::vector<std::string> &args, size_t &i, const std::string &name,
               const std::string &what, std::string &value) {
  const std::string &arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size())
      throw EUsage(name + " needs " + what);
    value = args[++i];
    return true;
  }
  if (arg.rfind(name + "=", 0) == 0) {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

TOptions ParseOptions(const std::vector<std::string> &args, unsigned allowed) {
  TOptions options;
  std::string value;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (TakeValue(args, i, "--folder", "a directory", value)) {
      options.Folder = value;
      options.HasFolder = true;
    } else if ((allowed & kOptDevice) && TakeValue(args, i, "--device", "a device name", value)) {
      options.Device = value;
      options.HasDevice = true;
    } else if ((allowed & kOptSet) && TakeValue(args, i, "--set", "SWITCH=SETTING", value)) {
      const size_t equals = value.find('=');
      if (equals == std::string::npos || equals == 0)
        throw EUsage("--set needs SWITCH=SETTING, not " + QuotedForMessage(value));
      options.Picks.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else if ((allowed & kOptIncludeLF) && arg == "--include-lf") {
      options.IncludeLF = true;
    } else if ((allowed & kOptInfoDefaults) && arg == "--info-defaults") {
      options.InfoDefaults = true;
    } else if ((allowed & kOptOutput) && TakeValue(args, i, "--syntax", "a syntax", value)) {
      options.Syntax = FindSyntax(value);
      if (options.Syntax == nullptr)
        throw EUsage("unknown syntax " + QuotedForMessage(value) + "; the syntaxes: " + SyntaxNames());
    } else if ((allowed & kOptOutput) && arg == "--orvane") {
      options.Syntax = &kOrvaneSyntax;
    } else if ((allowed & kOptOutput) && arg == "--no-comments") {
      options.NoComments = true;
    } else if ((allowed & kOptOutput) && arg == "--changed-only") {
      options.ChangedOnly = true;
    } else if ((allowed & kOptFrom) && TakeValue(args, i, "--from", "a file", value)) {
      options.From = value;
      options.HasFrom = true;
    } else if ((allowed & kOptFile) && !options.HasFrom && (arg == "-" || arg.rfind("--", 0) != 0)) {
      options.From = arg;
      options.HasFrom = true;
    } else {
      throw EUsage("unknown option " + QuotedForMessage(arg));
    }
  }
  // An empty folder would name the file at the root of the file system.
  if (options.HasFolder && options.Folder.empty())
    throw EUsage("--folder needs a directory, not an empty text");
  if ((allowed & kOptFile) && !options.HasFrom)
    throw EUsage("a FILE to check is required");
  if ((allowed & kOptFrom) && options.HasFrom && options.From.empty())
    throw EUsage("--from needs a file, not an empty text");
  const bool deviceOptional = (allowed & kOptDeviceOptional) || ((allowed & kOptFrom) && options.HasFrom);
  if ((allowed & kOptDevice) && !options.HasDevice && !deviceOptional)
    throw EUsage("--device NAME is required");
  return options;
}

// Runs Step and turns a reader error into a failure naming where it stopped.
template <typename TStep> void WithPlace(const TDeviceInfo &reader, TStep step) {
  try {
    step();
  } catch (const EFailure &) {
    throw;
  } catch (const Exception &e) {
    throw EFailure(reader.Source().WithPlace(e));
  }
}

// Reads the folder's device list, from whichever source the folder is. Without
// --folder, the first folder of device packs where the vendor's IDE keeps them;
// returns the folder searched out ("" for --folder).
std::string LoadIndex(TDeviceInfo &reader, const TOptions &options, bool includeLF) {
  reader.SetSourceChooser(ChooseDeviceSource);
  if (options.HasFolder) {
    WithPlace(reader, [&] { reader.LoadDeviceIndex(options.Folder, includeLF); });
    if (!reader.LoadError().empty())
      throw EFailure("cannot read " + DeviceInfoFileName(options.Folder) + ": " + reader.LoadError());
    return {};
  }
  std::string folder;
  WithPlace(reader, [&] { folder = LoadVendorPacks(reader, PackSearchOfThisSystem(), includeLF); });
  return folder;
}

int CommandDevices(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptIncludeLF);
  TDeviceInfo reader;
  const std::string searched = LoadIndex(reader, options, options.IncludeLF);
  // A folder searched out is named where the packs are.
  out << StatusLine(searched.empty() ? reader.Version : reader.Version + " in " + searched,
                    reader.Devices.Count())
      << '\n';
  for (const std::string &name : reader.Devices)
    out << name << '\n';
  return kExitOk;
}

// The folder's devices: 18F and 18LF devices are listed in the drop-down's order
// (sorted, ignoring letter case), loaded when first asked for; a device's table is
// read at its defaults.
class TFolderDevices : public IDeviceTables {
public:
  explicit TFolderDevices(const TOptions &options) : FOptions(options) {}

  const TStringList &Listed() override {
    if (!FLoaded) {
      FReader.SetUseInfoDefaults(FOptions.InfoDefaults);
      LoadIndex(FReader, FOptions, true);
      FNames = FReader.Devices;
      FNames.Sort(CompareText);
      FLoaded = true;
    }
    return FNames;
  }

  std::string ListedIn() override { return FReader.Source().Where(); }

  TReadTable Open(int index) override {
    TReadTable table;
    table.Device = FNames[index];
    bool found = false;
    WithPlace(FReader, [&] { found = ReadDeviceTable(FReader, table.Device, FRows, &FRegisters); });
    table.DataFile = FReader.SourceOf(table.Device);
    if (!found) {
      table.Problem = "device " + QuotedForMessage(table.Device) + " is listed in " + ListedIn() +
                      " but has no part section";
      return table;
    }
    ApplyDefaults(FRows);
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
      throw EFailure(DeviceNotListed(name, FNames, ListedIn()));
    TReadTable table = Open(index);
    if (table.Rows == nullptr)
      throw EFailure(table.Problem);
    return table;
  }

private:
  const TOptions &FOptions;
  TDeviceInfo FReader;
  bool FLoaded = false;
  TStringList FNames;
  std::vector<TSwitchRow> FRows;
  std::vector<TConfigRegister> FRegisters;
};

// Applies the --set choices on top, each as an entry of its own: the switch's
// first row, the first setting of that name, names in any letter case; the last
// choice for a switch wins.
void ApplyPicks(const TReadTable &table, const TOptions &options) {
  for (const auto &[switchName, setting] : options.Picks) {
    const TEntryMatch match = MatchEntry(*table.Rows, switchName, setting, table.Device);
    if (!match.Error.empty())
      throw EFailure(std::string("--set ")
                         .append(ShortenForMessage(std::string(switchName).append("=").append(setting)))
                         .append(": ")
                         .append(match.Error));
    (*table.Rows)[static_cast<size_t>(match.Row)].Chosen = match.Setting;
  }
}

// A text to read a configuration from: a file, or standard input for "-".
struct TInput {
  std::string Name; // as diagnostics name it
  std::string Text;
};

EFailure CannotRead(const std::string &name, const std::string &reason) {
  return EFailure("cannot read " + name + ": " + reason);
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
  TInput source;
  if (file == "-") {
    source.Name = "<stdin>";
    if (&in == &std::cin) {
      ReadStream(stdin, source.Name, source.Text);
      return source;
    }
    // A stream of the caller's (tests): read in pieces, a failed read is a failure.
    char buffer[65536];
    while (in) {
      in.read(buffer, sizeof buffer);
      if (in.bad())
        throw CannotRead(source.Name, "read error");
      if (source.Text.size() + static_cast<size_t>(in.gcount()) > kMaxTextSize)
        throw CannotRead(source.Name, TooLarge());
      source.Text.append(buffer, static_cast<size_t>(in.gcount()));
    }
    return source;
  }
  source.Name = file;
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw CannotRead(file,
                     std::filesystem::is_directory(status) ? "is a directory" : "is not a regular file");
  std::FILE *stream = std::fopen(file.c_str(), "rb");
  if (stream == nullptr)
    throw CannotRead(file, std::strerror(errno));
  const std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(stream, std::fclose);
  ReadStream(stream, file, source.Text);
  return source;
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

// The table generate and words start from: every switch at its default, or FILE's
// configuration (--from; its diagnostics on Err, as check gives them), then the
// --set choices on top. False when there is no table to go on with; Status is 1
// when FILE had errors.
bool StartingTable(const TOptions &options, std::istream &in, std::ostream &err, TFolderDevices &devices,
                   TReadTable &table, int &status) {
  status = kExitOk;
  if (!options.HasFrom) {
    table = devices.OpenNamed(options.Device);
  } else {
    const TInput input = ReadInput(options.From, in);
    const TReadResult result = ReadConfiguration(input.Text, devices, options.Device, TReadMode::Check,
                                                 DiagnosticsTo(err, input.Name));
    if (!result.Read) {
      status = kExitFailure;
      return false;
    }
    // What this device cannot take was reported; the rest is carried over.
    if (result.Summary.Errors > 0)
      status = kExitFailure;
    table = result.Table;
  }
  ApplyPicks(table, options);
  return true;
}

int CommandGenerate(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                    std::ostream &err) {
  const TOptions options =
      ParseOptions(args, kOptDevice | kOptInfoDefaults | kOptOutput | kOptSet | kOptFrom);
  TFolderDevices devices(options);
  TReadTable table;
  int status = kExitOk;
  if (!StartingTable(options, in, err, devices, table, status))
    return status;
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

int CommandWords(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults | kOptSet | kOptFrom);
  TFolderDevices devices(options);
  TReadTable table;
  int status = kExitOk;
  if (!StartingTable(options, in, err, devices, table, status))
    return status;
  const std::vector<TWordRegister> registers = WordRegisters(*table.Registers, *table.Rows, table.DataFile);
  for (const std::string &warning : SwitchesOutsideRegisters(*table.Rows, table.DataFile))
    err << "configgen: warning: " << warning << '\n';
  for (const TConfigWord &word : ConfigWords(registers, *table.Rows))
    out << WordLine(word) << '\n';
  return status;
}

int CommandCheck(const std::vector<std::string> &args, std::istream &in, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptDeviceOptional | kOptFile);
  const TInput input = ReadInput(options.From, in);
  TFolderDevices devices(options);
  const TReadResult result = ReadConfiguration(input.Text, devices, options.Device, TReadMode::Check,
                                               DiagnosticsTo(out, input.Name));
  return !result.Read || result.Summary.Errors > 0 ? kExitFailure : kExitOk;
}

int CommandSwitches(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults);
  TFolderDevices devices(options);
  const TReadTable table = devices.OpenNamed(options.Device);
  for (const TSwitchRow &row : *table.Rows)
    out << row.Name << '\t' << row.Function << '\t' << row.Setting() << '\t' << row.Description() << '\n';
  return kExitOk;
}

int RunCommand(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err) {
  if (args.empty())
    throw EUsage("no command given");
  const std::string &command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return kExitOk;
  }
  if (command == "devices")
    return CommandDevices(args, out);
  if (command == "generate")
    return CommandGenerate(args, in, out, err);
  if (command == "check")
    return CommandCheck(args, in, out);
  if (command == "words")
    return CommandWords(args, in, out, err);
  if (command == "switches")
    return CommandSwitches(args, out);
  throw EUsage("unknown command " + QuotedForMessage(command));
}
} // namespace

int RunConfigGen(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  return RunConfigGen(args, std::cin, out, err);
}

int RunConfigGen(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err) {
  int status = kExitFailure;
  try {
    status = RunCommand(args, in, out, err);
  } catch (const EUsage &e) {
    err << "configgen: " << e.Message() << "\n\n" << kUsage;
    return kExitUsage;
  } catch (const Exception &e) {
    err << "configgen: " << e.Message() << '\n';
    return kExitFailure;
  } catch (const std::bad_alloc &) {
    err << "configgen: out of memory\n";
    return kExitFailure;
  } catch (const std::exception &e) {
    err << "configgen: " << e.what() << '\n';
    return kExitFailure;
  } catch (...) {
    err << "configgen: unexpected failure\n";
    return kExitFailure;
  }
  // Output that did not arrive is a failure, not a success (a full disk, a closed
  // pipe). A write that failed earlier left its reason in errno.
  if (out) {
    errno = 0;
    out.flush();
  }
  if (!out) {
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
