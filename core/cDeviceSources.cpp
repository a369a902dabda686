// What a folder is as a source of device data.
#include "core/cDeviceSources.h"

#include "common/cErrors.h"
#include "common/cStringList.h"
#include "deviceinfo/cInfoFile.h"
#include "devicepacks/cDevicePacks.h"
#include "devicepacks/cPackPath.h"
#include "devicepacks/cPackSearch.h"

#include <filesystem>
#include <string_view>
#include <utility>

namespace {
// The .info file FileName as a source, or why it cannot be read.
TOpenedSource OpenInfoFile(const std::string &fileName, bool includeLF) {
  auto file = std::make_unique<TInfoFile>();
  if (std::string problem = file->Load(fileName, includeLF); !problem.empty())
    return {nullptr, std::move(problem)};
  return {std::move(file), {}};
}

// A file named where a folder was meant: the vendor's two kinds of file are read as
// the user meant them, anything else is named as what it is.
TOpenedSource OpenFile(const std::string &path, bool includeLF) {
  const std::string name = PackPathText(PackPath(path).filename());
  constexpr std::string_view kArchive = ".atpack";
  if (name.size() > kArchive.size() &&
      CompareText(std::string_view(name).substr(name.size() - kArchive.size()), kArchive) == 0) {
    auto packs = std::make_unique<TDevicePacks>();
    packs->LoadArchive(path, includeLF);
    return {std::move(packs), {}};
  }
  if (CompareText(name, kDeviceInfoFileName) == 0)
    return OpenInfoFile(path, includeLF);
  return {nullptr, "not a folder: " + path +
                       "; name a folder of device data, an .atpack archive or an 8bit_device.info file"};
}
} // namespace

TOpenedSource OpenDeviceSource(const std::string &path, bool includeLF) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PackPath(path), error);
  if (status.type() == std::filesystem::file_type::not_found)
    return {nullptr, "no such folder: " + path};
  // Where it cannot be told (no permission to look), it is read as a folder, whose
  // file then gives the system's reason.
  if (status.type() != std::filesystem::file_type::directory &&
      status.type() != std::filesystem::file_type::none)
    return OpenFile(path, includeLF);
  const std::string infoFile = DeviceInfoFileName(path);
  if (!PathExists(infoFile)) {
    auto packs = std::make_unique<TDevicePacks>();
    if (packs->Load(path, includeLF))
      return {std::move(packs), {}};
  }
  // The folder's .info file, readable or not; in a folder of neither, its problem
  // names the file it lacks.
  return OpenInfoFile(infoFile, includeLF);
}

TVendorPacks LoadVendorPacks(const TPackSearch &search, bool includeLF) {
  std::string looked;
  for (const std::string &folder : PackSearchFolders(search)) {
    if (!PathExists(folder)) {
      looked += "\n  " + folder + " (not there)";
      continue;
    }
    TOpenedSource opened = OpenDeviceSource(folder, includeLF);
    // A folder that holds an 8bit_device.info is not where the IDE keeps packs.
    if (dynamic_cast<const TDevicePacks *>(opened.Source.get()) != nullptr)
      return {std::move(opened.Source), folder};
    looked += "\n  " + folder + " (no device packs)";
  }
  throw ENoVendorPacks("no device packs where the vendor's IDE keeps them; looked in:" + looked);
}
