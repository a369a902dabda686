// The device model list on top of the global reader.
#include "app/cModel.h"

#include "app/cDeviceInfo.h"
#include "app/gDeviceInfo.h"

void TModels::SetPath(const std::string &value) {
  Path = value;
  FInfoPath = value;
}

void TModels::LoadDevices(bool includeLF) {
  FDevices.Clear();
  DeviceInfo->LoadDeviceIndex(FInfoPath, includeLF);
  FDevices.AddStrings(DeviceInfo->Devices);
}

void TModels::CopyDevicesTo(TStringList &strings) const {
  strings.AddStrings(FDevices);
}
