// The one place that decides what a folder is as a source of device data: the
// chooser that whoever creates the reader gives it (the window, configgen).
#pragma once

#include "common/cDeviceSource.h"

#include <memory>
#include <string>

class TDeviceInfo;
struct TPackSearch;

// The source Folder is, loaded with its 18F (and 18LF) devices: null where the
// folder holds an 8bit_device.info (even one that cannot be read), which the reader
// reads itself, or holds no device data of any kind (the reader then gives the
// missing file's error); else the device packs it holds, installed or archived.
// Bad data raises an Exception that names where it is.
std::unique_ptr<IDeviceSource> ChooseDeviceSource(const std::string &folder, bool includeLF);

// The vendor's install, for configgen when it is given no folder: loads Reader from
// the first of Search's folders (PackSearchFolders) that holds device packs, and
// returns that folder. Where none does, raises an Exception that names each folder
// looked in and why it was passed over.
std::string LoadVendorPacks(TDeviceInfo &reader, const TPackSearch &search, bool includeLF);
