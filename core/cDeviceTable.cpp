// Reading a device's table from a source of device data, and the rules for its chosen
// settings.
#include "core/cDeviceTable.h"

#include "common/cCodePage1252.h"

#include <algorithm>

namespace {
// The table takes the vendor's texts without control characters, from every source,
// so nothing the tool writes breaks a line or a column.
void BlankTableControls(std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers) {
  for (TSwitchRow &row : rows) {
    for (std::string *text : {&row.Name, &row.Function, &row.StartSetting, &row.ChipDefault})
      BlankControls(*text);
    for (TSwitchSetting &setting : row.Settings) {
      BlankControls(setting.Name);
      BlankControls(setting.Description);
    }
  }
  if (registers != nullptr)
    for (TConfigRegister &reg : *registers)
      BlankControls(reg.Name);
}
} // namespace

bool ReadDeviceTable(IDeviceSource &source, bool useInfoDefaults, const std::string &device,
                     std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers) {
  rows.clear();
  if (registers != nullptr)
    registers->clear();
  bool found = false;
  try {
    found = source.ReadTable(device, useInfoDefaults, rows, registers);
  } catch (...) {
    BlankTableControls(rows, registers);
    throw;
  }
  BlankTableControls(rows, registers);
  return found;
}

namespace {
void ApplyNamed(std::vector<TSwitchRow> &rows, std::string TSwitchRow::*name) {
  for (TSwitchRow &row : rows) {
    const int k = FindSetting(row, row.*name);
    if (k >= 0)
      row.Chosen = k;
  }
}
} // namespace

bool AtChipDefault(const TSwitchRow &row) {
  return row.LeftOut || (!row.ChipDefaultMatchesNone && row.Setting() == row.ChipDefault);
}

void ApplyStartSettings(std::vector<TSwitchRow> &rows) {
  ApplyNamed(rows, &TSwitchRow::StartSetting);
  for (TSwitchRow &row : rows)
    row.LeftOut = false;
}

void ApplyChipDefaults(std::vector<TSwitchRow> &rows) {
  ApplyNamed(rows, &TSwitchRow::ChipDefault);
  for (TSwitchRow &row : rows)
    row.LeftOut = row.ChipDefaultMatchesNone && !row.Settings.empty();
}

int FindSetting(const TSwitchRow &row, std::string_view name, bool ignoreCase) {
  for (size_t k = 0; k < row.Settings.size(); ++k)
    if (ignoreCase ? CompareText(row.Settings[k].Name, name) == 0 : row.Settings[k].Name == name)
      return static_cast<int>(k);
  return -1;
}

namespace {
const std::string &UpperCased(std::string_view text, std::string &buffer) {
  buffer.assign(text);
  for (char &c : buffer)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return buffer;
}
} // namespace

TSwitchIndex::TSwitchIndex(const std::vector<TSwitchRow> &rows) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto [found, added] = FNames.try_emplace(UpperCased(rows[i].Name, FKey), Count());
    if (added)
      FRows.emplace_back();
    FRows[static_cast<size_t>(found->second)].push_back(static_cast<int>(i));
  }
}

int TSwitchIndex::Find(std::string_view name) const {
  const auto found = FNames.find(UpperCased(name, FKey));
  return found == FNames.end() ? -1 : found->second;
}
