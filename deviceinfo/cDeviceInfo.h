// The device information file: its line tokenizer and TDeviceInfo, the reader that
// lists the devices and hands over one device's configuration switches. A folder
// without the file is read as device packs instead.
#pragma once

#include "common/cErrors.h"
#include "common/cStringList.h"
#include "deviceinfo/cLineBuffer.h"
#include "devicepacks/cDevicePacks.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Name of the vendor's file inside the chosen folder.
inline constexpr const char *kDeviceInfoFileName = "8bit_device.info";

// Cuts one line into its <field> texts; clears Fields first and returns the count.
int SplitFields(std::string_view line, TStringList &fields);

// Reads a hexadecimal field: one or more of 0-9, A-F, a-f, no prefix, sign or
// blanks, value within 32 bits. Returns false for any other text.
bool TryHexToUInt32(std::string_view text, uint32_t &value);
// As TryHexToUInt32, raising EConvertError ("'$<text>' is not a valid integer value").
uint32_t HexToUInt32(std::string_view text);

// Folder + separator + file name; the separator is "\" on Windows and "/" elsewhere,
// added whatever the folder ends with.
std::string DeviceInfoFileName(const std::string &folder);

// The default a switch's row starts from: the file's own, except that XINST, DEBUG,
// LVP and IOL1WAY start off (their OFF, else DISABLED, else DISABLE setting, in any
// letter case) unless the file's defaults are asked for. A switch without any of
// them keeps the file's default rather than get a setting the compiler would reject.
std::string StartingDefault(std::string_view switchName, const TStringList &settingNames,
                            const std::string &fileDefault, bool useInfoDefaults);

// The file changed (shrank) while the reader was reading it: what was read is not
// the file, so the step fails rather than hand over a mix of old and new.
class EFileChanged : public Exception {
public:
  EFileChanged();
};

class TFieldViews;

class TDeviceInfo {
public:
  TDeviceInfo();
  virtual ~TDeviceInfo();
  TDeviceInfo(const TDeviceInfo &) = delete;
  TDeviceInfo &operator=(const TDeviceInfo &) = delete;

  // Reads Folder's 8bit_device.info and lists the index's 18F (and 18LF) devices.
  // A folder that holds no such file at all is read as device packs, when it is
  // one: Devices are then the packs' and Version names the packs and versions.
  void LoadDeviceIndex(const std::string &folder, bool includeLF);
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
  // The default the file itself gives the last switch NextSwitch handed over (what
  // the chip has when the switch is not set), before any switch is forced off.
  const std::string &FileDefault() const { return FFileDefault; }
  // A CONFIGREG_INFO_TYPE record that the walk met since the last FindPart: its
  // address field's text (a number only where it is hexadecimal), its value when
  // not set, and its line.
  struct TRegisterRecord {
    std::string Address;
    uint32_t Value = 0;
    int Line = 0;
  };
  const std::vector<TRegisterRecord> &Registers() const { return FRegisters; }
  // Of the switch NextSwitch handed over last: its register (an index into
  // Registers(), -1 when it stands before any), its mask, and for each offered
  // setting (parallel to its names) the value and the line of its record.
  int SwitchRegister() const { return FSwitchRegister; }
  // Index of the line of its switch record.
  int SwitchLine() const { return FSwitchLine; }
  uint32_t SwitchMask() const { return FSwitchMask; }
  const std::vector<uint32_t> &SettingValues() const { return FSettingValues; }
  const std::vector<int> &SettingLines() const { return FSettingLines; }
  // The file Device's data comes from, as messages name it: 8bit_device.info, or
  // the device's own .PIC file in device packs.
  std::string SourceOf(const std::string &device) const;
  // Why the last LoadDeviceIndex could not read the file; empty when it could.
  const std::string &LoadError() const { return FLoadError; }
  // Index of the line looked at last: where a malformed record stopped a walk.
  int LastLine() const { return FLastLine; }

  // Whether the last LoadDeviceIndex read device packs, and their reader.
  bool FromPacks() const { return FFromPacks; }
  const TDevicePacks &Packs() const { return FPacks; }

private:
  // The tests' view of the reader's state (tests/support/ReaderProbe.h).
  friend class TDeviceInfoProbe;

  void WalkIndex(bool includeLF);
  // Runs a step over the lines. When the file changed under it, the step fails
  // with EFileChanged and leaves Cursor as it found it, whatever it made of the
  // bytes it read.
  template <typename TStep> auto OverLines(TStep step);
  bool FindPartOfLines(const std::string &device, TStringList &fields);
  bool NextSwitchOfLines(std::string &switchName, std::string &switchFunction, TStringList &settingNames,
                         TStringList &settingDescriptions, std::string &defaultSetting);
  // Splits line Index into Fields, noting it as the line looked at last.
  void Split(int index, TStringList &fields);
  void Split(int index, TFieldViews &fields);
  // Notes the register record on line Index, whose fields are Fields.
  void TakeRegister(int index, const TFieldViews &fields);

  TLineBuffer FLines;
  int FPartStart = 0;
  bool FPartFound = false;
  bool FSwitchFound = false;
  std::string FFileDefault;
  uint32_t FRegisterValue = 0;
  std::vector<TRegisterRecord> FRegisters;
  int FSwitchRegister = -1;
  int FSwitchLine = -1;
  std::string FSourceName;
  uint32_t FSwitchMask = 0;
  std::vector<uint32_t> FSettingValues;
  std::vector<int> FSettingLines;
  bool FUseInfoDefaults = false;
  std::string FLoadError;
  int FLastLine = -1;
  bool FFromPacks = false;
  TDevicePacks FPacks;
};
