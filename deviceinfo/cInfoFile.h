// The vendor's device information file: its line tokenizer and TInfoFile, the file
// as one source of device data, which lists the devices and walks one device's
// configuration switches record by record.
#pragma once

#include "common/cDeviceSource.h"
#include "common/cErrors.h"
#include "common/cStringList.h"
#include "deviceinfo/cLineBuffer.h"

#include <cstdint>
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

// One .info file as a source of device data: the version, the index's devices, and
// a device's table by the FindPart/NextSwitch walk. Every error a step raises
// carries its place (the file, and the line where the walk stopped).
class TInfoFile : public IDeviceSource {
public:
  TInfoFile();
  ~TInfoFile() override;
  TInfoFile(const TInfoFile &) = delete;
  TInfoFile &operator=(const TInfoFile &) = delete;

  // Reads the file FileName and lists the index's 18F (and 18LF) devices. Returns ""
  // when read; else, with nothing listed, why it cannot be read as the user reads it
  // ("cannot read FILE: reason"). A malformed index record raises, the devices and
  // version read before it kept.
  std::string Load(const std::string &fileName, bool includeLF);
  // Finds the device's PART_INFO_TYPE record and leaves Cursor on it.
  bool FindPart(const std::string &device, TStringList &fields);
  // Hands over the next switch from Cursor on; false when it gathered no setting
  // (SwitchFound then tells a switch without settings from the device's end).
  bool NextSwitch(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                  TStringList &settingDescriptions, std::string &defaultSetting);
  // Whether NextSwitch starts each switch from the file's own defaults.
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
  // Index of the line looked at last: where a malformed record stopped a walk.
  int LastLine() const { return FLastLine; }

  std::string StatusName() const override { return Version; }
  const TStringList &DeviceNames() const override { return Devices; }
  // Every 8-bit part of the index.
  const TStringList &AllDeviceNames() const override { return FAllDevices; }
  std::string Where() const override { return FFileName; }
  std::string FileOf(const std::string &) const override { return FFileName; }
  bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) override;

private:
  // The tests' view of the file's state (tests/support/ReaderProbe.h).
  friend class TInfoFileProbe;

  void WalkIndex(bool includeLF);
  // Runs a step over the lines. When the file changed under it, the step fails
  // with EFileChanged and leaves Cursor as it found it, whatever it made of the
  // bytes it read. Any error leaves with its place.
  template <typename TStep> auto OverLines(TStep step);
  // Puts on Error the file and the line looked at last.
  void Place(Exception &error) const;
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
  int FLastLine = -1;
};
