// The device information file: its line tokenizer and TDeviceInfo, the reader that
// lists the devices and hands over one device's configuration switches. The reader
// is also where the tool keeps its source of device data: the file, or the source
// that its chooser makes of a folder without one.
#pragma once

#include "common/cDeviceSource.h"
#include "common/cErrors.h"
#include "common/cStringList.h"
#include "deviceinfo/cLineBuffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Name of the vendor's file inside the chosen folder.
inline constexpr const char *kDeviceInfoFileName = "8bit_device.info";

// Cuts one line into its <field> texts; clears Fields first and returns the count.
int SplitFields(std::string_view line, TStringList &fields);

// Folder + separator + file name; the separator is "\" on Windows and "/" elsewhere,
// added whatever the folder ends with.
std::string DeviceInfoFileName(const std::string &folder);

// The file changed (shrank) while the reader was reading it: what was read is not
// the file, so the step fails rather than hand over a mix of old and new.
class EFileChanged : public Exception {
public:
  EFileChanged();
};

class TFieldViews;

// What a chooser makes of the path the reader is given (a folder, or a file named
// for one): a source of its own, or the .info file the reader reads itself, or
// nothing to read.
struct TSourceChoice {
  // Loaded with its 18F (and 18LF) devices; null where the reader reads the .info file.
  std::unique_ptr<IDeviceSource> Source;
  // The .info file the reader reads; empty: the folder's 8bit_device.info.
  std::string InfoFile;
  // Not empty where there is nothing to read: why, as the user reads it.
  std::string Problem;
};

// Makes the choice for a path; bad data raises an Exception.
using TSourceChooser = std::function<TSourceChoice(const std::string &path, bool includeLF)>;

// The .info file as a source of device data, and the holder of whichever source the
// last load chose.
class TDeviceInfo : public IDeviceSource {
public:
  TDeviceInfo();
  ~TDeviceInfo() override;
  TDeviceInfo(const TDeviceInfo &) = delete;
  TDeviceInfo &operator=(const TDeviceInfo &) = delete;

  // Who decides what a folder is, given by whoever creates the reader; without one
  // every folder is read as 8bit_device.info.
  void SetSourceChooser(TSourceChooser chooser) { FChooser = std::move(chooser); }

  // Asks the chooser what Path is; where it makes another source, Devices and
  // Version are that source's. Otherwise reads the .info file it names (without a
  // chooser, Path's 8bit_device.info) and lists the index's 18F (and 18LF) devices.
  void LoadDeviceIndex(const std::string &path, bool includeLF);
  // The source the last load chose: this reader for the .info file, or another.
  IDeviceSource &Source() { return FOther ? *FOther : static_cast<IDeviceSource &>(*this); }
  const IDeviceSource &Source() const { return FOther ? *FOther : static_cast<const IDeviceSource &>(*this); }
  // Finds the device's PART_INFO_TYPE record and leaves Cursor on it.
  bool FindPart(const std::string &device, TStringList &fields);
  // Hands over the next switch from Cursor on; false when it gathered no setting
  // (SwitchFound then tells a switch without settings from the device's end).
  bool NextSwitch(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                  TStringList &settingDescriptions, std::string &defaultSetting);
  void SetUseInfoDefaults(bool value) { FUseInfoDefaults = value; }
  bool UseInfoDefaults() const { return FUseInfoDefaults; }

  // Index of the record where the next step starts; callers advance it.
  int Cursor = 0;
  // "<none>", or "V" and the version record's text.
  std::string Version;
  // Device names of the index, in file order; callers may sort it.
  TStringList Devices;

  // Whether the last NextSwitch read a switch record; false once the device has
  // no further switch.
  bool SwitchFound() const { return FSwitchFound; }
  // The file Device's data comes from, as messages name it: 8bit_device.info, or
  // the file of the source the last load chose.
  std::string DataFileOf(const std::string &device) const { return Source().FileOf(device); }
  // Why the last LoadDeviceIndex found nothing to read, as messages say it ("cannot
  // read FILE: reason", or the chooser's problem); empty when it read something.
  const std::string &LoadError() const { return FLoadError; }
  // Index of the line looked at last: where a malformed record stopped a walk.
  int LastLine() const { return FLastLine; }

  // The .info file as a source: the version, the index's devices, the file, and a
  // device's table by the FindPart/NextSwitch walk.
  std::string StatusName() const override { return Version; }
  const TStringList &DeviceNames() const override { return Devices; }
  // Every 8-bit part of the index (of the other source, where the load chose one).
  const TStringList &AllDeviceNames() const override { return FAllDevices; }
  std::string Where() const override { return FFileName; }
  std::string FileOf(const std::string &) const override { return FFileName; }
  bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) override;
  // With the file and the line where the walk stopped (a file that changed under the
  // reader has no such line; an error of the chooser's names its own place).
  std::string WithPlace(const Exception &error) const override;

private:
  // The tests' view of the reader's state (tests/support/ReaderProbe.h).
  friend class TDeviceInfoProbe;

  void WalkIndex(bool includeLF);
  // Runs a step over the lines. When the file changed under it, the step fails
  // with EFileChanged and leaves Cursor as it found it, whatever it made of the
  // bytes it read.
  template <typename TStep> auto OverLines(TStep step);
  bool FindPartOfLines(const std::string &device, TStringList &fields);
  // Reads the next switch from Cursor on into Row, its settings, place and
  // defaults; false when it gathered no setting (FSwitchFound as for NextSwitch).
  bool NextRow(TSwitchRow &row);
  bool NextRowOfLines(TSwitchRow &row);
  // Splits line Index into Fields, noting it as the line looked at last.
  void Split(int index, TStringList &fields);
  void Split(int index, TFieldViews &fields);
  // Notes the register record on line Index, whose fields are Fields.
  void TakeRegister(int index, const TFieldViews &fields);

  TLineBuffer FLines;
  int FPartStart = 0;
  bool FPartFound = false;
  bool FSwitchFound = false;
  uint32_t FRegisterValue = 0;
  // The CONFIGREG_INFO_TYPE records the walk met since the last FindPart: the
  // address field's text (a number only where it is hexadecimal), the value when
  // not set, and the line's index.
  struct TRegisterRecord {
    std::string Address;
    uint32_t Value = 0;
    int Line = 0;
  };
  std::vector<TRegisterRecord> FRegisters;
  TSwitchRow FRow; // the switch NextSwitch hands over
  // The family of the part FindPart found, null where its record cannot tell it.
  const TDeviceFamily *FPartFamily = nullptr;
  TStringList FAllDevices;
  std::string FFileName;
  bool FUseInfoDefaults = false;
  std::string FLoadError;
  int FLastLine = -1;
  TSourceChooser FChooser;
  std::unique_ptr<IDeviceSource> FOther;
};
