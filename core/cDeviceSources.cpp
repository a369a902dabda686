// What a folder is as a source of device data.
#include "core/cDeviceSources.h"

#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cDevicePacks.h"

std::unique_ptr<IDeviceSource> ChooseDeviceSource(const std::string &folder, bool includeLF) {
  if (PathExists(DeviceInfoFileName(folder)))
    return nullptr;
  auto packs = std::make_unique<TDevicePacks>();
  if (packs->Load(folder, includeLF))
    return packs;
  return nullptr;
}
