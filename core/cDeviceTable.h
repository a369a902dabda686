// A device's table of configuration switches: one row per switch with its
// settings, its default and the setting chosen for it. Read from the device
// information file through the reader's FindPart/NextSwitch walk, written once here.
#pragma once

#include "common/cStringList.h"

#include <string>
#include <string_view>
#include <vector>

class TDeviceInfo;

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
  // The setting chosen, as an entry of SettingNames (never outside it).
  int Chosen = 0;

  const std::string &Setting() const { return SettingNames[Chosen]; }
  const std::string &Description() const { return SettingDescriptions[Chosen]; }
};

// Reads Device's switches into Rows (cleared first), each showing its first
// setting; a switch without selectable settings gets no row. False, and no rows,
// when the device has no part section. A malformed record raises the reader's
// error with the rows read before it left in Rows.
bool ReadDeviceTable(TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows);

// Puts every row back to its default: the first setting of that name.
void ApplyDefaults(std::vector<TSwitchRow> &rows);

// Index of Name among the row's settings (the first of that name), or -1. Exact,
// or ignoring the letter case of A to Z.
int FindSetting(const TSwitchRow &row, std::string_view name, bool ignoreCase = false);
// Index of the first row of switch Name, or -1.
int FindSwitch(const std::vector<TSwitchRow> &rows, std::string_view name, bool ignoreCase = false);
