// Commands of configgen: argument parsing, output and exit statuses; the work is
// the core's, as in the window.
#include "cli/ConfigGen.h"

#include "common/cErrors.h"
#include "core/cConfigCheck.h"
#include "core/cConfigParser.h"
#include "core/cConfigText.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cDeviceInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <ostream>
#include <sstream>

namespace {
constexpr const char *kUsage =
    "Usage: configgen COMMAND [OPTIONS]\n"
    "\n"
    "Reads the vendor's 8bit_device.info from DIR, or where DIR holds none, the\n"
    "device packs in DIR (never writes either).\n"
    "\n"
    "Commands:\n"
    "  devices --folder DIR [--include-lf]\n"
    "      Prints the status line the window shows after \"Load File\"\n"
    "      (\"resource file: <version>    <count> device(s) found\"), then the\n"
    "      18F device names, one per line, in file order (18LF too with --include-lf).\n"
    "  generate --folder DIR --device NAME [--orvane] [--no-comments] [--info-defaults]\n"
    "           [--set SWITCH=SETTING ...] [--from FILE] [--changed-only]\n"
    "      Prints the configuration text that \"Generate\" writes for device NAME\n"
    "      (18F or 18LF, any letter case): every switch at its default, or at the\n"
    "      setting that --set chooses for it (the first setting of that name;\n"
    "      names in any letter case).\n"
    "      --orvane: Orvane statements instead of the Tarnwick block;\n"
    "      --no-comments: without the descriptions;\n"
    "      --info-defaults: defaults from the file for XINST, DEBUG, LVP and\n"
    "      IOL1WAY too (otherwise they default to their OFF, DISABLED or DISABLE\n"
    "      setting, where they have one);\n"
    "      --from FILE: starts from the configuration in FILE (- for standard\n"
    "      input); the device is FILE's unless --device is given, and --set goes on\n"
    "      top. Entries this device cannot take are reported on stderr; the text is\n"
    "      printed all the same, with those switches at their defaults, and the exit\n"
    "      status is then 1;\n"
    "      --changed-only: only the switches whose setting differs from the file's\n"
    "      own default (what the chip has when the switch is not set).\n"
    "  switches --folder DIR --device NAME [--info-defaults]\n"
    "      Prints the settings grid of device NAME, one row per line:\n"
    "      Config, Function, Setting (the default) and Description, tab-separated.\n"
    "  check --folder DIR [--device NAME] FILE\n"
    "      Checks the configuration in FILE (a program's source, or - for standard\n"
    "      input) against the device its device line names, or NAME. Prints one\n"
    "      diagnostic per line, as compilers do: FILE:LINE: error: (no configuration,\n"
    "      a device not listed, an unknown switch or setting, a switch named twice),\n"
    "      FILE:LINE: warning: (a setting that can lock you out of the chip), and a\n"
    "      note of the switches left at their defaults. Exit status 0 without errors.\n"
    "  --help\n"
    "      Prints this text.\n"
    "\n"
    "Exit status: 0 on success; 1 when DIR holds no readable 8bit_device.info (nor\n"
    "device packs), the file is malformed, the device is not listed or has no part\n"
    "section, a --set names an unknown switch or setting, or a checked or --from text\n"
    "has errors; 2 on a usage error.\n";

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

// The device asked for is not listed, or has no part section.
class EDeviceUnknown : public EFailure {
public:
  using EFailure::EFailure;
};

// Options of every command; each command accepts only its own.
struct TOptions {
  std::string Folder;
  bool HasFolder = false;
  bool IncludeLF = false;
  std::string Device;
  bool HasDevice = false;
  bool Orvane = false;
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
  kOptOutput = 8, // --orvane, --no-comments, --changed-only
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
    } else if ((allowed & kOptOutput) && arg == "--orvane") {
      options.Orvane = true;
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
  if (!options.HasFolder)
    throw EUsage("--folder DIR is required");
  // An empty folder would name the file at the root of the file system.
  if (options.Folder.empty())
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

// Where the devices were read: the file, or the device packs in the folder.
std::string SourceName(const TDeviceInfo &reader, const std::string &folder) {
  return reader.FromPacks() ? "the device packs in " + folder : DeviceInfoFileName(folder);
}

// A reader error, with the file and the line where it stopped (a file that
// changed under the reader has no such line; the packs' errors name both).
std::string WithLine(const TDeviceInfo &reader, const Exception &e, const std::string &folder) {
  if (reader.FromPacks())
    return e.Message();
  if (dynamic_cast<const EFileChanged *>(&e) != nullptr)
    return e.Message() + " (" + DeviceInfoFileName(folder) + ")";
  return e.Message() + " (" + DeviceInfoFileName(folder) + ", line " + std::to_string(reader.LastLine() + 1) +
         ")";
}

// Runs Step and turns a reader error into a failure naming where it stopped.
template <typename TStep>
void WithLineContext(const TDeviceInfo &reader, const std::string &folder, TStep step) {
  try {
    step();
  } catch (const EFailure &) {
    throw;
  } catch (const Exception &e) {
    throw EFailure(WithLine(reader, e, folder));
  }
}

// Reads the file's index section: the device names in file order.
void LoadIndex(TDeviceInfo &reader, const TOptions &options, bool includeLF) {
  WithLineContext(reader, options.Folder, [&] { reader.LoadDeviceIndex(options.Folder, includeLF); });
  if (!reader.LoadError().empty())
    throw EFailure("cannot read " + DeviceInfoFileName(options.Folder) + ": " + reader.LoadError());
}

int CommandDevices(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptIncludeLF);
  TDeviceInfo reader;
  LoadIndex(reader, options, options.IncludeLF);
  out << "resource file: " << reader.Version << "    " << reader.Devices.Count() << " device(s) found\n";
  for (const std::string &name : reader.Devices)
    out << name << '\n';
  return kExitOk;
}

// The device asked for, with its table at the defaults: 18F and 18LF devices are
// listed, the name is found ignoring letter case (the index's spelling is used),
// then its switches are read.
struct TOpenDevice {
  std::string Name;
  std::vector<TSwitchRow> Rows;
};

TOpenDevice OpenDevice(const TOptions &options) {
  TDeviceInfo reader;
  reader.SetUseInfoDefaults(options.InfoDefaults);
  LoadIndex(reader, options, true);

  // The drop-down's order and lookup: sorted and matched ignoring letter case.
  TStringList names = reader.Devices;
  names.Sort(CompareText);
  const int index = names.IndexOf(options.Device, CompareText);
  if (index < 0)
    throw EDeviceUnknown("device " + QuotedForMessage(options.Device) +
                         " is not among the 18F and 18LF devices listed in " +
                         SourceName(reader, options.Folder) + " (see 'configgen devices --include-lf')");
  TOpenDevice device;
  device.Name = names[index];
  bool found = false;
  WithLineContext(reader, options.Folder, [&] { found = ReadDeviceTable(reader, device.Name, device.Rows); });
  if (!found)
    throw EDeviceUnknown("device " + QuotedForMessage(device.Name) + " is listed in " +
                         SourceName(reader, options.Folder) + " but has no part section");
  ApplyDefaults(device.Rows);
  return device;
}

// Applies one --set choice: the switch's first row, the first setting of that name;
// names match ignoring letter case.
void ApplyPick(TOpenDevice &device, const std::string &switchName, const std::string &setting) {
  const int row = FindSwitch(device.Rows, switchName, true);
  if (row < 0) {
    std::vector<std::string> switches;
    for (const TSwitchRow &r : device.Rows)
      switches.push_back(r.Name);
    throw EFailure("device " + QuotedForMessage(device.Name) + " has no switch " +
                   QuotedForMessage(switchName) + "; its switches: " + ListForMessage(switches));
  }
  TSwitchRow &target = device.Rows[static_cast<size_t>(row)];
  const int k = FindSetting(target, setting, true);
  if (k < 0) {
    std::vector<std::string> settings;
    for (const std::string &name : target.SettingNames)
      if (std::find(settings.begin(), settings.end(), name) == settings.end())
        settings.push_back(name);
    throw EFailure("switch " + QuotedForMessage(switchName) + " of device " + QuotedForMessage(device.Name) +
                   " has no setting " + QuotedForMessage(setting) +
                   "; its settings: " + ListForMessage(settings));
  }
  target.Chosen = k;
}

// A text to read a configuration from: a file, or standard input for "-".
struct TSource {
  std::string Name; // as diagnostics name it
  std::string Text;
};

TSource ReadSource(const std::string &file, std::istream &in) {
  TSource source;
  std::ostringstream text;
  if (file == "-") {
    source.Name = "<stdin>";
    text << in.rdbuf();
  } else {
    source.Name = file;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
      throw EFailure("cannot read " + file + ": is not a regular file");
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
      throw EFailure("cannot read " + file + ": " + std::strerror(errno));
    text << stream.rdbuf();
    if (stream.bad())
      throw EFailure("cannot read " + file);
  }
  source.Text = std::move(text).str();
  return source;
}

// One diagnostic in the form compilers use, so editors jump to the line.
void Diagnose(std::ostream &out, const std::string &file, int line, const char *kind,
              const std::string &message) {
  out << file << ':' << line << ": " << kind << ": " << message << '\n';
}

// The device a configuration text is checked against or carried to: --device, or
// the text's device line. Line is where the device was named (1 for --device).
bool DeviceOfText(TOptions &options, const TParsedConfig &parsed, int &line) {
  line = options.HasDevice ? 1 : parsed.DeviceLine;
  if (options.HasDevice)
    return true;
  if (parsed.Device.empty())
    return false;
  options.Device = parsed.Device;
  return true;
}

constexpr const char *kNoDevice = "the text has no device line; name the device with --device NAME";

int CommandGenerate(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                    std::ostream &err) {
  TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults | kOptOutput | kOptSet | kOptFrom);
  int status = kExitOk;
  TSource source;
  TParsedConfig parsed;
  if (options.HasFrom) {
    source = ReadSource(options.From, in);
    parsed = ParseConfigText(source.Text);
    int line = 0;
    if (!DeviceOfText(options, parsed, line))
      throw EFailure(source.Name + ":1: error: " + kNoDevice);
  }
  TOpenDevice device = OpenDevice(options);
  if (options.HasFrom) {
    if (!parsed.Found()) {
      Diagnose(err, source.Name, 1, "error", "no configuration found");
      status = kExitFailure;
    }
    // What this device cannot take is reported; the rest is carried over.
    for (const TEntryResult &result : ApplyEntries(parsed.Entries, device.Rows)) {
      if (result.Outcome == TEntryOutcome::Applied)
        continue;
      const bool carried = result.Outcome == TEntryOutcome::NamedTwice;
      Diagnose(err, source.Name, result.Entry.Line, carried ? "warning" : "error",
               DescribeOutcome(result, device.Rows, device.Name));
      if (!carried)
        status = kExitFailure;
    }
  }
  for (const auto &[switchName, setting] : options.Picks)
    ApplyPick(device, switchName, setting);
  if (options.ChangedOnly)
    std::erase_if(device.Rows, [](const TSwitchRow &row) { return row.Setting() == row.FileDefault; });
  TConfigTextOptions textOptions;
  textOptions.Orvane = options.Orvane;
  textOptions.Comments = !options.NoComments;
  for (const std::string &line : ConfigTextLines(device.Name, device.Rows, textOptions))
    out << line << '\n';
  return status;
}

int CommandCheck(const std::vector<std::string> &args, std::istream &in, std::ostream &out) {
  TOptions options = ParseOptions(args, kOptDevice | kOptDeviceOptional | kOptFile);
  const TSource source = ReadSource(options.From, in);
  const TParsedConfig parsed = ParseConfigText(source.Text);
  int errors = 0;
  if (!parsed.Found()) {
    Diagnose(out, source.Name, 1, "error", "no configuration found");
    ++errors;
  }
  int deviceLine = 0;
  if (!DeviceOfText(options, parsed, deviceLine)) {
    Diagnose(out, source.Name, 1, "error", kNoDevice);
    return kExitFailure;
  }
  TOpenDevice device;
  try {
    device = OpenDevice(options);
  } catch (const EDeviceUnknown &e) {
    Diagnose(out, source.Name, deviceLine, "error", e.Message());
    return kExitFailure;
  }
  const std::vector<TEntryResult> results = ApplyEntries(parsed.Entries, device.Rows);
  for (const TEntryResult &result : results) {
    if (result.Outcome != TEntryOutcome::Applied) {
      Diagnose(out, source.Name, result.Entry.Line, "error",
               DescribeOutcome(result, device.Rows, device.Name));
      ++errors;
    }
    if (result.Outcome == TEntryOutcome::Applied || result.Outcome == TEntryOutcome::NamedTwice) {
      const std::string risk = RiskWarning(device.Rows[static_cast<size_t>(result.Row)], result.Setting);
      if (!risk.empty())
        Diagnose(out, source.Name, result.Entry.Line, "warning", risk);
    }
  }
  const std::vector<int> leftAlone = RowsNotNamed(results, device.Rows.size());
  if (!leftAlone.empty() && parsed.Found()) {
    std::string names;
    for (const int row : leftAlone)
      names += (names.empty() ? "" : ", ") + device.Rows[static_cast<size_t>(row)].Name;
    const int line = deviceLine > 0 ? deviceLine : parsed.Entries.front().Line;
    Diagnose(out, source.Name, line, "note",
             std::to_string(leftAlone.size()) + " switch(es) of " + device.Name +
                 " left at their defaults: " + names);
  }
  return errors > 0 ? kExitFailure : kExitOk;
}

int CommandSwitches(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults);
  const TOpenDevice device = OpenDevice(options);
  for (const TSwitchRow &row : device.Rows)
    out << row.Name << '\t' << row.Function << '\t' << row.Setting() << '\t' << row.Description() << '\n';
  return kExitOk;
}
} // namespace

namespace {
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
  return status;
}
