// The window's reader: the source opened by the core, and its steps handed to it.
#include "app/cDeviceInfo.h"

#include "common/cErrors.h"
#include "core/cDeviceSources.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cInfoFile.h"

#include <utility>

namespace {
constexpr const char *kNoVersion = "<none>";
} // namespace

TDeviceInfo::TDeviceInfo() : Version(kNoVersion) {}

TDeviceInfo::~TDeviceInfo() = default;

void TDeviceInfo::LoadDeviceIndex(const std::string &path, bool includeLF) {
  Cursor = 0;
  Version = kNoVersion;
  Devices.Clear();
  FInfoFile = nullptr;
  FSource.reset();
  FPartRows.clear();
  FSwitchFound = false;
  FLoadError.clear();
  FLastLine = -1;
  FFileName = DeviceInfoFileName(path);
  TOpenedSource opened;
  try {
    opened = OpenDeviceSource(path, includeLF);
  } catch (const Exception &error) {
    FLastLine = error.Line() - 1;
    throw;
  }
  if (!opened.Source) {
    FLoadError = std::move(opened.Problem);
    return;
  }
  FSource = std::move(opened.Source);
  FInfoFile = dynamic_cast<TInfoFile *>(FSource.get());
  if (FInfoFile != nullptr)
    Cursor = FInfoFile->Cursor;
  Version = FSource->StatusName();
  Devices = FSource->DeviceNames();
}

template <typename TStep> auto TDeviceInfo::InInfoFile(TStep step) {
  struct TCursorBack {
    TDeviceInfo &Reader;
    ~TCursorBack() { Reader.Cursor = Reader.FInfoFile->Cursor; }
  } back{*this};
  FInfoFile->Cursor = Cursor;
  FInfoFile->SetUseInfoDefaults(FUseInfoDefaults);
  return step(*FInfoFile);
}

bool TDeviceInfo::FindPart(const std::string &device, TStringList &fields) {
  if (FInfoFile != nullptr)
    return InInfoFile([&](TInfoFile &file) { return file.FindPart(device, fields); });
  fields.Clear();
  FPartRows.clear();
  if (!FSource || !ReadDeviceTable(*FSource, FUseInfoDefaults, device, FPartRows))
    return false;
  Cursor = 0;
  return true;
}

bool TDeviceInfo::NextSwitch(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                             TStringList &settingDescriptions, std::string &defaultSetting) {
  if (FInfoFile != nullptr)
    return InInfoFile([&](TInfoFile &file) {
      return file.NextSwitch(switchName, switchFunction, settingNames, settingDescriptions, defaultSetting);
    });
  settingNames.Clear();
  settingDescriptions.Clear();
  // The rows stand where the records would: row N at Cursor N + 1, after the part's.
  const size_t index = static_cast<size_t>(Cursor - 1);
  FSwitchFound = Cursor >= 1 && index < FPartRows.size();
  if (!FSwitchFound) {
    switchName.clear();
    switchFunction.clear();
    defaultSetting.clear();
    return false;
  }
  ++Cursor;
  const TSwitchRow &row = FPartRows[index];
  switchName = row.Name;
  switchFunction = row.Function;
  defaultSetting = row.StartSetting;
  for (const TSwitchSetting &setting : row.Settings) {
    settingNames.Add(setting.Name);
    settingDescriptions.Add(setting.Description);
  }
  return !row.Settings.empty();
}

std::string TDeviceInfo::Where() const {
  return FSource ? FSource->Where() : FFileName;
}

std::string TDeviceInfo::DataFileOf(const std::string &device) const {
  return FSource ? FSource->FileOf(device) : FFileName;
}

bool TDeviceInfo::SwitchFound() const {
  return FInfoFile != nullptr ? FInfoFile->SwitchFound() : FSwitchFound;
}

int TDeviceInfo::LastLine() const {
  return FInfoFile != nullptr ? FInfoFile->LastLine() : FLastLine;
}
