// Commands of configgen: argument parsing, output and exit statuses; the work is
// the core's, as in the window.
#include "cli/ConfigGen.h"

#include "common/cErrors.h"
#include "core/cConfigText.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cDeviceInfo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <ostream>

namespace {
constexpr const char *kUsage =
    "Usage: configgen COMMAND [OPTIONS]\n"
    "\n"
    "Reads the vendor's 8bit_device.info from DIR (never writes it).\n"
    "\n"
    "Commands:\n"
    "  devices --folder DIR [--include-lf]\n"
    "      Prints the status line the window shows after \"Load File\"\n"
    "      (\"resource file: <version>    <count> device(s) found\"), then the\n"
    "      18F device names, one per line, in file order (18LF too with --include-lf).\n"
    "  generate --folder DIR --device NAME [--orvane] [--no-comments] [--info-defaults]\n"
    "           [--set SWITCH=SETTING ...]\n"
    "      Prints the configuration text that \"Generate\" writes for device NAME\n"
    "      (18F or 18LF, any letter case): every switch at its default, or at the\n"
    "      setting that --set chooses for it (the first setting of that name).\n"
    "      --orvane: Orvane statements instead of the Tarnwick block;\n"
    "      --no-comments: without the descriptions;\n"
    "      --info-defaults: defaults from the file for XINST, DEBUG, LVP and\n"
    "      IOL1WAY too (otherwise they default to their OFF, DISABLED or DISABLE\n"
    "      setting, where they have one).\n"
    "  switches --folder DIR --device NAME [--info-defaults]\n"
    "      Prints the settings grid of device NAME, one row per line:\n"
    "      Config, Function, Setting (the default) and Description, tab-separated.\n"
    "  --help\n"
    "      Prints this text.\n"
    "\n"
    "Exit status: 0 on success; 1 when DIR holds no readable 8bit_device.info, the\n"
    "file is malformed, the device is not listed or has no part section, or a\n"
    "--set names an unknown switch or setting; 2 on a usage error.\n";

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
  bool Orvane = false;
  bool NoComments = false;
  bool InfoDefaults = false;
  std::vector<std::pair<std::string, std::string>> Picks; // --set SWITCH=SETTING, in order
};

enum TOptionSet : unsigned {
  kOptIncludeLF = 1,
  kOptDevice = 2,
  kOptInfoDefaults = 4,
  kOptOutput = 8, // --orvane, --no-comments
  kOptSet = 16,
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
        throw EUsage("--set needs SWITCH=SETTING, not '" + ShortenForMessage(value) + "'");
      options.Picks.emplace_back(value.substr(0, equals), value.substr(equals + 1));
    } else if ((allowed & kOptIncludeLF) && arg == "--include-lf") {
      options.IncludeLF = true;
    } else if ((allowed & kOptInfoDefaults) && arg == "--info-defaults") {
      options.InfoDefaults = true;
    } else if ((allowed & kOptOutput) && arg == "--orvane") {
      options.Orvane = true;
    } else if ((allowed & kOptOutput) && arg == "--no-comments") {
      options.NoComments = true;
    } else {
      throw EUsage("unknown option '" + ShortenForMessage(arg) + "'");
    }
  }
  if (!options.HasFolder)
    throw EUsage("--folder DIR is required");
  // An empty folder would name the file at the root of the file system.
  if (options.Folder.empty())
    throw EUsage("--folder needs a directory, not an empty text");
  if ((allowed & kOptDevice) && !options.HasDevice)
    throw EUsage("--device NAME is required");
  return options;
}

// A reader error, with the file and the line where it stopped (a file that
// changed under the reader has no such line).
std::string WithLine(const TDeviceInfo &reader, const Exception &e, const std::string &folder) {
  if (dynamic_cast<const EFileChanged *>(&e) != nullptr)
    return e.Message() + " (" + DeviceInfoFileName(folder) + ")";
  return e.Message() + " (" + DeviceInfoFileName(folder) + ", line " + std::to_string(reader.LastLine() + 1) +
         ")";
}

// Runs Step and turns a reader error into a failure naming where it stopped.
template <typename TStep> void WithLineContext(const TDeviceInfo &reader, const std::string &folder, TStep step) {
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

std::string Join(const std::vector<std::string> &names) {
  std::string result;
  for (const std::string &name : names)
    result += (result.empty() ? "" : ", ") + ShortenForMessage(name);
  return result.empty() ? "(none)" : result;
}

std::string Quoted(const std::string &text) {
  return "'" + ShortenForMessage(text) + "'";
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
    throw EFailure("device " + Quoted(options.Device) + " is not among the 18F and 18LF devices listed in " +
                   DeviceInfoFileName(options.Folder) + " (see 'configgen devices --include-lf')");
  TOpenDevice device;
  device.Name = names[index];
  bool found = false;
  WithLineContext(reader, options.Folder, [&] { found = ReadDeviceTable(reader, device.Name, device.Rows); });
  if (!found)
    throw EFailure("device " + Quoted(device.Name) + " is listed in " + DeviceInfoFileName(options.Folder) +
                   " but has no part section");
  ApplyDefaults(device.Rows);
  return device;
}

// Applies one --set choice: the switch's first row, the first setting of that name.
void ApplyPick(TOpenDevice &device, const std::string &switchName, const std::string &setting) {
  const int row = FindSwitch(device.Rows, switchName);
  if (row < 0) {
    std::vector<std::string> switches;
    for (const TSwitchRow &r : device.Rows)
      switches.push_back(r.Name);
    throw EFailure("device " + Quoted(device.Name) + " has no switch " + Quoted(switchName) +
                   "; its switches: " + Join(switches));
  }
  TSwitchRow &target = device.Rows[static_cast<size_t>(row)];
  const int k = FindSetting(target, setting);
  if (k < 0) {
    std::vector<std::string> settings;
    for (const std::string &name : target.SettingNames)
      if (std::find(settings.begin(), settings.end(), name) == settings.end())
        settings.push_back(name);
    throw EFailure("switch " + Quoted(switchName) + " of device " + Quoted(device.Name) + " has no setting " +
                   Quoted(setting) + "; its settings: " + Join(settings));
  }
  target.Chosen = k;
}

int CommandGenerate(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults | kOptOutput | kOptSet);
  TOpenDevice device = OpenDevice(options);
  for (const auto &[switchName, setting] : options.Picks)
    ApplyPick(device, switchName, setting);
  TConfigTextOptions textOptions;
  textOptions.Orvane = options.Orvane;
  textOptions.Comments = !options.NoComments;
  for (const std::string &line : ConfigTextLines(device.Name, device.Rows, textOptions))
    out << line << '\n';
  return kExitOk;
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
int RunCommand(const std::vector<std::string> &args, std::ostream &out) {
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
    return CommandGenerate(args, out);
  if (command == "switches")
    return CommandSwitches(args, out);
  throw EUsage("unknown command '" + ShortenForMessage(command) + "'");
}
} // namespace

int RunConfigGen(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  int status = kExitFailure;
  try {
    status = RunCommand(args, out);
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
    err << "configgen: cannot write the output" << (error != 0 ? std::string(": ") + std::strerror(error) : "")
        << '\n';
    return kExitFailure;
  }
  return status;
}
