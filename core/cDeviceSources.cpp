// What a folder is as a source of device data.
#include "core/cDeviceSources.h"

#include "common/cErrors.h"
#include "common/cStringList.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cDevicePacks.h"
#include "devicepacks/cPackPath.h"
#include "devicepacks/cPackSearch.h"

#include <filesystem>
#include <string_view>

namespace {
// A file named where a folder was meant: the vendor's two kinds of file are read as
// the user meant them, anything else is named as what it is.
TSourceChoice ChooseFile(const std::string &path, bool includeLF) {
  TSourceChoice choice;
  const std::string name = PackPathText(PackPath(path).filename());
  constexpr std::string_view kArchive = ".atpack";
  if (name.size() > kArchive.size() &&
      CompareText(std::string_view(name).substr(name.size() - kArchive.size()), kArchive) == 0) {
    auto packs = std::make_unique<TDevicePacks>();
    packs->LoadArchive(path, includeLF);
    choice.Source = std::move(packs);
  } else if (CompareText(name, kDeviceInfoFileName) == 0) {
    choice.InfoFile = path;
  } else {
    choice.Problem = "not a folder: " + path +
                     "; name a folder of device data, an .atpack archive or an 8bit_device.info file";
  }
  return choice;
}
} // namespace

TSourceChoice ChooseDeviceSource(const std::string &path, bool includeLF) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PackPath(path), error);
  if (status.type() == std::filesystem::file_type::not_found)
    return {nullptr, {}, "no such folder: " + path};
  // Where it cannot be told (no permission to look), it is read as a folder, whose
  // file then gives the system's reason.
  if (status.type() != std::filesystem::file_type::directory &&
      status.type() != std::filesystem::file_type::none)
    return ChooseFile(path, includeLF);
  TSourceChoice choice;
  if (PathExists(DeviceInfoFileName(path)))
    return choice;
  auto packs = std::make_unique<TDevicePacks>();
  if (packs->Load(path, includeLF))
    choice.Source = std::move(packs);
  return choice;
}

std::string LoadVendorPacks(TDeviceInfo &reader, const TPackSearch &search, bool includeLF) {
  reader.SetSourceChooser(ChooseDeviceSource);
  std::string looked;
  for (const std::string &folder : PackSearchFolders(search)) {
    if (!PathExists(folder)) {
      looked += "\n  " + folder + " (not there)";
      continue;
    }
    reader.LoadDeviceIndex(folder, includeLF);
    if (&reader.Source() != &reader)
      return folder;
    looked += "\n  " + folder + " (no device packs)";
  }
  throw ENoVendorPacks("no device packs where the vendor's IDE keeps them; looked in:" + looked);
}
