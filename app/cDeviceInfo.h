// TDeviceInfo, the window's device information reader: it opens a folder's device
// data through the core (OpenDeviceSource), holds the source opened and hands the
// window's steps to it: the version, the device list and a device's switches.
#pragma once

#include "common/cDeviceSource.h"
#include "common/cStringList.h"

#include <memory>
#include <string>
#include <vector>

class TInfoFile;

class TDeviceInfo {
public:
  TDeviceInfo();
  ~TDeviceInfo();
  TDeviceInfo(const TDeviceInfo &) = delete;
  TDeviceInfo &operator=(const TDeviceInfo &) = delete;

  // Opens Path (a folder, or a file named for one) and holds the source it is:
  // Version is the source's StatusName, Devices its DeviceNames. Where there is
  // none, Version "<none>", no devices, and LoadError says why. Bad data raises,
  // with LastLine where the walk stopped; the source of an earlier load is
  // dropped either way.
  void LoadDeviceIndex(const std::string &path, bool includeLF);
  // Finds the device and leaves Cursor on it: in the .info file its PART_INFO_TYPE
  // record, whose fields Fields receives (its own walk); in any other source the
  // device's table, read whole (Fields then empty).
  bool FindPart(const std::string &device, TStringList &fields);
  // Hands over the next switch from Cursor on; false when it gathered no setting
  // (SwitchFound then tells a switch without settings from the device's end).
  bool NextSwitch(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                  TStringList &settingDescriptions, std::string &defaultSetting);
  void SetUseInfoDefaults(bool value) { FUseInfoDefaults = value; }
  bool UseInfoDefaults() const { return FUseInfoDefaults; }

  // Index of the record where the next step starts (of the table's rows, counted
  // from 1, outside the .info file); callers advance it.
  int Cursor = 0;
  // "<none>", or the source's name for the status line: "V1.42.7", the packs.
  std::string Version;
  // Device names of the source, in its order; callers may sort it.
  TStringList Devices;

  // Whether the last NextSwitch met a switch; false once the device has no further one.
  bool SwitchFound() const;
  // The source the last load opened; null before any, and where it opened none.
  IDeviceSource *Source() const { return FSource.get(); }
  // Where the devices were read, as messages name it: the source's, else the
  // folder's 8bit_device.info ("" before any load).
  std::string Where() const;
  // The file Device's data comes from, as messages name it (as Where without a source).
  std::string DataFileOf(const std::string &device) const;
  // Why the last LoadDeviceIndex opened nothing, as messages say it ("no such
  // folder: DIR", "cannot read FILE: reason"); empty when it opened a source.
  const std::string &LoadError() const { return FLoadError; }
  // Index of the line of the .info file looked at last: where a malformed record
  // stopped a walk or the load; -1 where none.
  int LastLine() const;

private:
  // Runs Step on the .info file's own walk, from this reader's cursor and defaults;
  // the cursor comes back however the step ends.
  template <typename TStep> auto InInfoFile(TStep step);

  std::unique_ptr<IDeviceSource> FSource;
  TInfoFile *FInfoFile = nullptr; // FSource, where it is the .info file
  // Another source's walk: the device's rows from FindPart, and whether the last
  // NextSwitch met one.
  std::vector<TSwitchRow> FPartRows;
  bool FSwitchFound = false;
  bool FUseInfoDefaults = false;
  std::string FFileName; // the loaded folder's 8bit_device.info
  std::string FLoadError;
  int FLastLine = -1; // where a failed load stopped
};
