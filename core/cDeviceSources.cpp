// What a folder is as a source of device data.
#include "core/cDeviceSources.h"

#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cDevicePacks.h"
#include "devicepacks/cPackSearch.h"

std::unique_ptr<IDeviceSource> ChooseDeviceSource(const std::string &folder, bool includeLF) {
  if (PathExists(DeviceInfoFileName(folder)))
    return nullptr;
  auto packs = std::make_unique<TDevicePacks>();
  if (packs->Load(folder, includeLF))
    return packs;
  return nullptr;
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
  throw Exception("no --folder DIR given, and no device packs where the vendor's IDE keeps them; looked in:" +
                  looked);
}
