// Commands of configgen: argument parsing, output and exit statuses. generate and
// switches run the window's own logic over headless controls.
#include "cli/ConfigGen.h"

#include "common/cErrors.h"
#include "common/cTextConv.h"
#include "deviceinfo/cDeviceInfo.h"
#include "deviceinfo/cModel.h"
#include "deviceinfo/gDeviceInfo.h"
#include "headless/cHeadlessWindow.h"

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
        throw EUsage("--set needs SWITCH=SETTING, not '" + value + "'");
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
      throw EUsage("unknown option '" + arg + "'");
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

// Owns the global reader for the length of one command, as the window does.
class TReaderScope {
public:
  TReaderScope() : FReader(std::make_unique<TDeviceInfo>()) { DeviceInfo = FReader.get(); }
  ~TReaderScope() { DeviceInfo = nullptr; }
  TReaderScope(const TReaderScope &) = delete;
  TReaderScope &operator=(const TReaderScope &) = delete;

private:
  std::unique_ptr<TDeviceInfo> FReader;
};

// A reader error, with the file and the line where it stopped (a file that
// changed under the reader has no such line).
std::string WithLine(const Exception &e, const std::string &folder) {
  if (dynamic_cast<const EFileChanged *>(&e) != nullptr)
    return e.Message() + " (" + DeviceInfoFileName(folder) + ")";
  return e.Message() + " (" + DeviceInfoFileName(folder) + ", line " +
         std::to_string(DeviceInfo->LastLine() + 1) + ")";
}

// Runs Step and turns a reader error into a failure naming where it stopped.
template <typename TStep> void WithLineContext(const std::string &folder, TStep step) {
  try {
    step();
  } catch (const EFailure &) {
    throw;
  } catch (const Exception &e) {
    throw EFailure(WithLine(e, folder));
  }
}

// Loads the index through the model list, as "Load File" does.
void LoadIndex(TModels &models, const TOptions &options) {
  models.SetPath(options.Folder);
  WithLineContext(options.Folder, [&] { models.LoadDevices(options.IncludeLF); });
  if (!DeviceInfo->LoadError().empty())
    throw EFailure("cannot read " + DeviceInfoFileName(options.Folder) + ": " + DeviceInfo->LoadError());
}

int CommandDevices(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptIncludeLF);
  TReaderScope scope;
  TModels models;
  LoadIndex(models, options);
  TStringList names;
  models.CopyDevicesTo(names);
  out << "resource file: " << DeviceInfo->Version << "    " << names.Count() << " device(s) found\n";
  for (const std::string &name : names)
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

// Runs the window over headless controls as a user would: the folder, "Include
// 18LF" checked, "Use .info Defaults" as asked, "Load File", then the device
// chosen in the drop-down, whose change event fills the grid.
void OpenDevice(THeadlessWindow &window, const TOptions &options) {
  window.Open();
  window.Form().Models().SetPath(options.Folder);
  window.chkIncludeLF.SetChecked(true);
  if (options.InfoDefaults)
    window.ClickUseInfoDefaults();

  // Loading selects the first entry; a failure of that entry's own records only
  // matters when it is the device asked for.
  std::string firstEntryFailure;
  try {
    window.ClickLoadFile();
  } catch (const Exception &e) {
    if (window.DeviceSelectComboBox.Count() == 0)
      throw EFailure(WithLine(e, options.Folder));
    firstEntryFailure = WithLine(e, options.Folder);
  }
  if (!DeviceInfo->LoadError().empty())
    throw EFailure("cannot read " + DeviceInfoFileName(options.Folder) + ": " + DeviceInfo->LoadError());

  THeadlessDropDownList &devices = window.DeviceSelectComboBox;
  const int index = devices.IndexOf(options.Device);
  if (index < 0)
    throw EFailure("device " + Quoted(options.Device) + " is not among the 18F and 18LF devices listed in " +
                   DeviceInfoFileName(options.Folder) + " (see 'configgen devices --include-lf')");
  if (index != devices.ItemIndex()) {
    try {
      devices.UserPick(index);
    } catch (const Exception &e) {
      throw EFailure(WithLine(e, options.Folder));
    }
  } else if (!firstEntryFailure.empty()) {
    throw EFailure(firstEntryFailure);
  }
  if (!DeviceInfo->PartFound())
    throw EFailure("device " + Quoted(window.Form().Device()) + " is listed in " +
                   DeviceInfoFileName(options.Folder) + " but has no part section");
}

std::string CellText(const THeadlessSettingsGrid &grid, int col, int row) {
  return WideToAnsi(grid.Cell(col, row));
}

// Applies one --set choice through the grid's own editing: begin editing the
// switch's Setting cell, pick the first entry of that name, end editing.
void ApplyPick(THeadlessWindow &window, const std::string &switchName, const std::string &setting) {
  THeadlessSettingsGrid &grid = window.SettingsGrid;
  int row = -1;
  std::vector<std::string> switches;
  for (int r = 0; r < grid.RowCount(); ++r) {
    const std::string name = CellText(grid, ISettingsGrid::kColConfig, r);
    if (row < 0 && name == switchName)
      row = r;
    switches.push_back(name);
  }
  if (row < 0)
    throw EFailure("device " + Quoted(window.Form().Device()) + " has no switch " + Quoted(switchName) +
                   "; its switches: " + Join(switches));

  grid.BeginEdit(row);
  const std::vector<WideString> &entries = grid.Editor().Items();
  const auto found = std::find(entries.begin(), entries.end(), AnsiToWide(setting));
  if (found == entries.end()) {
    grid.CancelEdit();
    std::vector<std::string> settings;
    for (const WideString &entry : entries) {
      const std::string name = WideToAnsi(entry);
      if (std::find(settings.begin(), settings.end(), name) == settings.end())
        settings.push_back(name);
    }
    throw EFailure("switch " + Quoted(switchName) + " of device " + Quoted(window.Form().Device()) +
                   " has no setting " + Quoted(setting) + "; its settings: " + Join(settings));
  }
  grid.PickEntry(static_cast<int>(found - entries.begin()));
  grid.EndEdit();
}

// The output box's text with "\n" line ends.
std::string WithNewlines(const std::string &text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
      result += text[i];
  return result;
}

int CommandGenerate(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults | kOptOutput | kOptSet);
  THeadlessWindow window;
  OpenDevice(window, options);
  for (const auto &[switchName, setting] : options.Picks)
    ApplyPick(window, switchName, setting);
  window.CheckBoxOrvaneSyntax.SetChecked(options.Orvane);
  window.CheckBoxComments.SetChecked(!options.NoComments);
  window.ClickGenerate();
  out << WithNewlines(window.Memo.Text());
  return kExitOk;
}

int CommandSwitches(const std::vector<std::string> &args, std::ostream &out) {
  const TOptions options = ParseOptions(args, kOptDevice | kOptInfoDefaults);
  THeadlessWindow window;
  OpenDevice(window, options);
  const THeadlessSettingsGrid &grid = window.SettingsGrid;
  for (int r = 0; r < grid.RowCount(); ++r)
    out << CellText(grid, ISettingsGrid::kColConfig, r) << '\t'
        << CellText(grid, ISettingsGrid::kColFunction, r) << '\t'
        << CellText(grid, ISettingsGrid::kColSetting, r) << '\t'
        << CellText(grid, ISettingsGrid::kColDescription, r) << '\n';
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
  throw EUsage("unknown command '" + command + "'");
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
