// A device's table of configuration switches: one row per switch with its
// settings, its default and the setting chosen for it. Read from the device
// information file through the reader's FindPart/NextSwitch walk, or from the
// device's .PIC file of the device packs, one function per source, written once here.
#pragma once

#include "common/cStringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TDeviceInfo;

// A configuration register of a device, as its source gives it.
struct TConfigRegister {
  std::string Name;    // CONFIG1L..., where the source names it; else empty
  std::string Address; // the source's text of its address (hexadecimal)
  uint32_t Unset = 0;  // its value when not set
  int Line = 0;        // where it stands in the source, from 1
  bool Otp = false;    // one-time programmable (device packs say so of a sector)
};

// A configuration register as the words and the texts name it: CONFIGnL or
// CONFIGnH from its address (0x300000 + 2(n-1), plus 1 for H), or the name its
// source gives (WordRegisters, core/cConfigWords.h, makes them).
struct TWordRegister {
  std::string Name;
  uint32_t Address = 0;
  uint32_t Unset = 0; // its value when not set
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

// Reads Device's switches into Rows (cleared first), each showing its first
// setting; a switch without selectable settings gets no row. False, and no rows,
// when the device has no part section (no .PIC file in the packs). A malformed
// record raises the reader's error with the rows read before it left in Rows.
// Registers, when given, receives the device's configuration registers in the
// order the source gives them.
bool ReadDeviceTable(TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows,
                     std::vector<TConfigRegister> *registers = nullptr);

// The last setting of Row whose value the bits of Word under the row's mask equal
// (on the bits that setting compares), or -1: how a register's bits read as a
// setting, for the chip's default and a HEX file's words alike.
int SettingOfBits(const TSwitchRow &row, uint32_t word);
// Whether Row's chosen setting is what the chip has when the switch is not set.
bool AtChipDefault(const TSwitchRow &row);

// Puts every row back to its default: the first setting of that name.
void ApplyDefaults(std::vector<TSwitchRow> &rows);
// Puts every row at the chip's own default (what it has when the switch is not
// set): the first setting of that name.
void ApplyChipDefaults(std::vector<TSwitchRow> &rows);

// Index of Name among the row's settings (the first of that name), or -1. Exact,
// or ignoring the letter case of A to Z.
int FindSetting(const TSwitchRow &row, std::string_view name, bool ignoreCase = false);
// Index of the first row of switch Name, or -1.
int FindSwitch(const std::vector<TSwitchRow> &rows, std::string_view name, bool ignoreCase = false);
