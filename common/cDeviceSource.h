// A source of device data (the .info file, device packs installed or archived) as
// one small interface, and the table of switch rows every source gives the core,
// with the rules each source's rows follow.
#pragma once

#include "common/cErrors.h"
#include "common/cStringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A configuration register of a device, as its source gives it.
struct TConfigRegister {
  std::string Name;    // CONFIG1L..., where the source names it; else empty
  std::string Address; // the source's text of its address (hexadecimal)
  uint32_t Unset = 0;  // its value when not set
  int Line = 0;        // where it stands in the source, from 1
  bool Otp = false;    // one-time programmable (device packs say so of a sector)
};

struct TSwitchRow {
  std::string Name;     // the switch, as the Config column shows it
  std::string Function; // what it does
  // Its settings in file order, repeats kept, and their descriptions (parallel).
  TStringList SettingNames;
  TStringList SettingDescriptions;
  // The default the table starts from, and the file's own (what the chip has when
  // the switch is not set); they differ where a switch is forced off.
  std::string Default;
  std::string FileDefault;
  // The chip's own default matches none of the settings (its register's bits when not
  // set): FileDefault is then the last setting, and no setting is at the chip's default.
  bool DefaultMatchesNone = false;
  // Its register is one-time programmable: a setting other than the chip's default
  // can never be undone once programmed.
  bool Otp = false;
  // The setting chosen, as an entry of SettingNames (never outside it).
  int Chosen = 0;

  // Where the switch's bits are in the chip's configuration words: its register
  // (an index into the device's registers, -1 when it stands before any), its bits
  // there, and each setting's value under them with the line of the source it
  // stands on (both parallel to SettingNames).
  int Register = -1;
  int Line = 0; // where the switch stands in the source, from 1
  uint32_t Mask = 0;
  std::vector<uint32_t> Values;
  std::vector<int> ValueLines;
  // The bits each setting's value is compared on, where a source gives settings
  // that leave some of the switch's bits open (parallel; empty: all of Mask).
  std::vector<uint32_t> ValueMasks;

  const std::string &Setting() const { return SettingNames[Chosen]; }
  const std::string &Description() const { return SettingDescriptions[Chosen]; }
};

// The last setting of Row whose value the bits of Word under the row's mask equal
// (on the bits that setting compares), or -1: how a register's bits read as a
// setting, for the chip's default and a HEX file's words alike.
int SettingOfBits(const TSwitchRow &row, uint32_t word);
// Notes whether the chip's default, its register's bits when not set (Unset), is
// one of Row's settings, and returns the setting it is (-1: none; every source then
// takes the last setting as the row's FileDefault).
int NoteChipDefault(TSwitchRow &row, uint32_t unset);

// The default a switch's row starts from: the file's own, except that XINST, DEBUG,
// LVP and IOL1WAY start off (their OFF, else DISABLED, else DISABLE setting, in any
// letter case) unless the file's defaults are asked for. A switch without any of
// them keeps the file's default rather than get a setting the compiler would reject.
std::string StartingDefault(std::string_view switchName, const TStringList &settingNames,
                            const std::string &fileDefault, bool useInfoDefaults);

// What the tool reads devices from. The reader holds one per folder, chosen once
// when the folder is loaded; the window and configgen ask it, never its kind.
class IDeviceSource {
public:
  virtual ~IDeviceSource() = default;

  // What the status line shows where the .info file's version stands: "V1.42.7",
  // or the packs and their versions.
  virtual std::string StatusName() const = 0;
  // The devices it lists, in its own order.
  virtual const TStringList &DeviceNames() const = 0;
  // Where its devices were read, as messages name it: "DIR/8bit_device.info", "the
  // device packs in DIR".
  virtual std::string Where() const = 0;
  // The file a device's data comes from, as messages name it.
  virtual std::string FileOf(const std::string &device) const = 0;
  // Appends the device's switches to Rows, each at its first setting (a switch
  // without selectable settings gets none), and its configuration registers to
  // Registers when given, in the order the source gives them. False, with nothing
  // appended, when it has no such device or no part section for it. Bad data raises
  // an Exception with the rows read before it appended.
  virtual bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                         std::vector<TConfigRegister> *registers) = 0;
  // An error it raised, as configgen reports it: with the place it stopped at,
  // where the message does not say it already.
  virtual std::string WithPlace(const Exception &error) const { return error.Message(); }
};
