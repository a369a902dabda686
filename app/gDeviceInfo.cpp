// Storage of the global reader.
#include "app/gDeviceInfo.h"

TDeviceInfo *DeviceInfo = nullptr;
