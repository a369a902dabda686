// Commands of configgen: argument parsing, output and exit statuses.
#include "cli/ConfigGen.h"

#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"
#include "deviceinfo/cModel.h"
#include "deviceinfo/gDeviceInfo.h"

#include <memory>
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
    "  --help\n"
    "      Prints this text.\n"
    "\n"
    "Exit status: 0 on success; 1 when DIR holds no readable 8bit_device.info or\n"
    "the file is malformed; 2 on a usage error.\n";

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

struct TOptions {
  std::string Folder;
  bool HasFolder = false;
  bool IncludeLF = false;
};

TOptions ParseDevicesOptions(const std::vector<std::string> &args) {
  TOptions options;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (arg == "--folder") {
      if (i + 1 >= args.size())
        throw EUsage("--folder needs a directory");
      options.Folder = args[++i];
      options.HasFolder = true;
    } else if (arg.rfind("--folder=", 0) == 0) {
      options.Folder = arg.substr(9);
      options.HasFolder = true;
    } else if (arg == "--include-lf") {
      options.IncludeLF = true;
    } else {
      throw EUsage("unknown option '" + arg + "'");
    }
  }
  if (!options.HasFolder)
    throw EUsage("--folder DIR is required");
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

// Runs Step and turns a reader error into a failure naming where it stopped.
template <typename TStep> void WithLineContext(const std::string &folder, TStep step) {
  try {
    step();
  } catch (const EFailure &) {
    throw;
  } catch (const Exception &e) {
    throw EFailure(e.Message() + " (" + DeviceInfoFileName(folder) + ", line " +
                   std::to_string(DeviceInfo->LastLine() + 1) + ")");
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
  const TOptions options = ParseDevicesOptions(args);
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
} // namespace

int RunConfigGen(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  try {
    if (args.empty())
      throw EUsage("no command given");
    const std::string &command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
      out << kUsage;
      return kExitOk;
    }
    if (command == "devices")
      return CommandDevices(args, out);
    throw EUsage("unknown command '" + command + "'");
  } catch (const EUsage &e) {
    err << "configgen: " << e.Message() << "\n\n" << kUsage;
    return kExitUsage;
  } catch (const EFailure &e) {
    err << "configgen: " << e.Message() << '\n';
    return kExitFailure;
  }
}
