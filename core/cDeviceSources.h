// The one place that decides what a folder is as a source of device data: the
// chooser that whoever creates the reader gives it (the window, configgen).
#pragma once

#include "common/cDeviceSource.h"
#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"

#include <memory>
#include <string>

struct TPackSearch;

// The source Path is, loaded with its 18F (and 18LF) devices. A folder: none where
// it holds an 8bit_device.info (even one that cannot be read), which the reader
// reads itself, or holds no device data of any kind (the reader then gives the
// missing file's error); else the device packs it holds, installed or archived. A
// file named for a folder: an .atpack archive is read as a folder holding just that
// archive, an 8bit_device.info (any letter case) is the file the reader reads, any
// other file is a problem ("not a folder: ..."), as is a path where nothing is ("no
// such folder: ..."). Bad data raises an Exception that names where it is.
TSourceChoice ChooseDeviceSource(const std::string &path, bool includeLF);

// The vendor's install, for configgen when it is given no folder: loads Reader from
// the first of Search's folders (PackSearchFolders) that holds device packs, and
// returns that folder. Where none does, raises ENoVendorPacks, which names each
// folder looked in and why it was passed over.
std::string LoadVendorPacks(TDeviceInfo &reader, const TPackSearch &search, bool includeLF);

// No device packs where the vendor's IDE keeps them; configgen adds why it looked.
class ENoVendorPacks : public Exception {
public:
  using Exception::Exception;
};
