// The one place that decides what a folder is as a source of device data, and
// opens it for whoever asks (the window's reader, configgen).
#pragma once

#include "common/cDeviceSource.h"
#include "common/cErrors.h"

#include <memory>
#include <string>

struct TPackSearch;

// A source opened, owned by whoever opened it, or why there is none.
struct TOpenedSource {
  // Loaded with its 18F (and 18LF) devices; null where there is none.
  std::unique_ptr<IDeviceSource> Source;
  // Where Source is null: why, as the user reads it.
  std::string Problem;
};

// Opens the device data Path is. A folder: the .info file where it holds an
// 8bit_device.info (a problem where that cannot be read), else the device packs it
// holds, installed or archived; where it holds no device data of any kind, the
// missing file's problem ("cannot read DIR/8bit_device.info: ..."). A file named
// for a folder: an .atpack archive is read as a folder holding just that archive,
// an 8bit_device.info (any letter case) as that file; any other file is a problem
// ("not a folder: ..."), as is a path where nothing is ("no such folder: ...").
// Bad data raises an Exception that carries its place (or names it).
TOpenedSource OpenDeviceSource(const std::string &path, bool includeLF);

// The vendor's device packs found in the first folder that holds any, and that folder.
struct TVendorPacks {
  std::unique_ptr<IDeviceSource> Source;
  std::string Folder;
};

// The vendor's install, for configgen when it is given no folder: the packs of the
// first of Search's folders (PackSearchFolders) that holds device packs. Where none
// does, raises ENoVendorPacks, which names each folder looked in and why it was
// passed over.
TVendorPacks LoadVendorPacks(const TPackSearch &search, bool includeLF);

// No device packs where the vendor's IDE keeps them; configgen adds why it looked.
class ENoVendorPacks : public Exception {
public:
  using Exception::Exception;
};
