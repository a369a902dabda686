// The one device information reader of the running tool.
#pragma once

class TDeviceInfo;

// Created and freed by the main window; null outside its lifetime.
extern TDeviceInfo *DeviceInfo;
