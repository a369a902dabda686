// Storage of the global reader.
#include "deviceinfo/gDeviceInfo.h"

TDeviceInfo *DeviceInfo = nullptr;
