// A configuration switch as a row of a device's table, and the rules every source of
// device data follows in making one: which setting the chip has when the switch is
// not set, and which setting the table starts from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a part's device data says of one of its pins: that the part has it, that it
// has none (a pin list that names no such pin), or nothing (the .info file lists no
// pins, nor does a pack without a pin list).
enum class TPinFact : uint8_t { Unknown, Present, Absent };

// One setting of a switch.
struct TSwitchSetting {
  std::string Name;
  std::string Description;
  uint32_t Value = 0;    // its bits, within the switch's mask
  uint32_t Compared = 0; // the bits Value is compared on: the switch's mask, or fewer
                         // where the device data leaves some of them open
  int Line = 0;          // where it stands in the data file, from 1
};

struct TSwitchRow {
  std::string Name;     // the switch, as the Config column shows it
  std::string Function; // what it does
  // Its settings in file order, repeats kept.
  std::vector<TSwitchSetting> Settings;
  // The setting the table starts from, and the chip's default (what the chip has
  // when the switch is not set); they differ where a switch starts forced off.
  std::string StartSetting;
  std::string ChipDefault;
  // The chip's default matches none of the settings: ChipDefault is then the last
  // setting, and no setting is at the chip's default.
  bool ChipDefaultMatchesNone = false;
  // Its register is one-time programmable: a setting other than the chip's default
  // can never be undone once programmed.
  bool Otp = false;
  // The setting chosen, an index into Settings (never outside it).
  int Chosen = 0;
  // The switch is left out of the configuration, where its chip default is none of
  // its settings: the chip keeps the bits it has when not set, no setting's. Chosen
  // then stands at ChipDefault, as the table shows it.
  bool LeftOut = false;
  // Where the switch's bits are in the chip's configuration words: its register (an
  // index into the device's registers, -1 when it stands before any) and its bits
  // there.
  int Register = -1;
  uint32_t Mask = 0;
  int Line = 0; // where the switch stands in the data file, from 1
  // Whether the part has a PGM pin (low-voltage programming's entry pin), as its
  // data says: a fact of the part, the same on each of its rows, so that a row's
  // risk is told from the row alone.
  TPinFact PgmPin = TPinFact::Unknown;

  const std::string &Setting() const { return Settings[static_cast<size_t>(Chosen)].Name; }
  const std::string &Description() const { return Settings[static_cast<size_t>(Chosen)].Description; }
};

// The last setting of Row whose value the bits of Word equal (on the bits that
// setting compares), or -1: how a register's bits read as a setting, for the chip's
// default and a configuration word alike.
int SettingOfBits(const TSwitchRow &row, uint32_t word);

// Sets Row's ChipDefault from Unset, its register's value when not set (the last
// setting where none matches), and its StartSetting: the chip's default, except
// that XINST, DEBUG, LVP and IOL1WAY start off (their OFF, else DISABLED, else
// DISABLE setting, in any letter case) unless the chip's defaults are asked for. A
// switch without any of them keeps the chip's default rather than get a setting the
// compiler would reject. A row without settings gets empty names.
void SetDefaults(TSwitchRow &row, uint32_t unset, bool useChipDefaults);
