// A device's table of configuration switches: one row per switch with its
// settings, its defaults and the setting chosen for it. Read from a source of
// device data (common/cDeviceSource.h), and the rules for the setting chosen.
#pragma once

#include "common/cDeviceSource.h"
#include "common/cStringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A configuration register as the words and the texts name it: the name its source
// gives, else on PIC18 CONFIGnL or CONFIGnH from its address (0x300000 + 2(n-1),
// plus 1 for H) (WordRegisters, core/cConfigWords.h, makes them). Its family says
// how wide its word is and how a HEX file holds it.
struct TWordRegister {
  std::string Name;
  uint32_t Address = 0;
  uint32_t Unset = 0; // its value when not set, within Implemented
  const TDeviceFamily *Family = &kPic18Family;
  uint32_t Implemented = 0xFF; // the bits the word has
};

// Reads Device's switches from Source into Rows (cleared first), each showing its
// first setting, each switch's start setting from the source's own defaults where
// UseInfoDefaults; a switch without selectable settings gets no row. False, and no
// rows, when the device has no part section (no .PIC file in the packs). A malformed
// record raises the source's error with the rows read before it left in Rows.
// Registers, when given, receives the device's configuration registers in the
// order the source gives them.
bool ReadDeviceTable(IDeviceSource &source, bool useInfoDefaults, const std::string &device,
                     std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers = nullptr);

// Whether Row is at its chip default: its chosen setting is, or it is left out.
bool AtChipDefault(const TSwitchRow &row);

// Puts every row back to its start setting: the first setting of that name.
void ApplyStartSettings(std::vector<TSwitchRow> &rows);
// Puts every row at its chip default: the first setting of that name, or left out
// where the chip's default is none of its settings.
void ApplyChipDefaults(std::vector<TSwitchRow> &rows);

// Index of Name among the row's settings (the first of that name), or -1. Exact,
// or ignoring the letter case of A to Z.
int FindSetting(const TSwitchRow &row, std::string_view name, bool ignoreCase = false);
// A table's rows by switch name, ignoring letter case: the one look-up of a switch
// for every caller. A device may repeat a switch name; each name keeps its rows in
// table order.
class TSwitchIndex {
public:
  explicit TSwitchIndex(const std::vector<TSwitchRow> &rows);

  // The number of switch name Name among the table's names, or -1.
  int Find(std::string_view name) const;
  // The rows of name number Name, in table order (never empty).
  const std::vector<int> &Rows(int name) const { return FRows[static_cast<size_t>(name)]; }
  int Count() const { return static_cast<int>(FRows.size()); }

private:
  std::unordered_map<std::string, int> FNames; // upper-case name: its number
  std::vector<std::vector<int>> FRows;
  mutable std::string FKey; // the upper-case name looked up last
};
