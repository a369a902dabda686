// Reading a device's table from the reader's source, and the rules for its chosen
// settings.
#include "core/cDeviceTable.h"

#include "common/cCodePage1252.h"
#include "deviceinfo/cDeviceInfo.h"

#include <algorithm>

namespace {
void BlankListControls(TStringList &list) {
  for (int k = 0; k < list.Count(); ++k)
    if (std::any_of(list[k].begin(), list[k].end(),
                    [](char c) { return IsControlChar(static_cast<unsigned char>(c)); })) {
      std::string text = list[k];
      BlankControls(text);
      list.Put(k, text);
    }
}

// The table takes the vendor's texts without control characters, from every source,
// so nothing the tool writes breaks a line or a column.
void BlankTableControls(std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers) {
  for (TSwitchRow &row : rows) {
    for (std::string *text : {&row.Name, &row.Function, &row.Default, &row.FileDefault})
      BlankControls(*text);
    BlankListControls(row.SettingNames);
    BlankListControls(row.SettingDescriptions);
  }
  if (registers != nullptr)
    for (TConfigRegister &reg : *registers)
      BlankControls(reg.Name);
}
} // namespace

bool ReadDeviceTable(TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows,
                     std::vector<TConfigRegister> *registers) {
  rows.clear();
  if (registers != nullptr)
    registers->clear();
  bool found = false;
  try {
    found = reader.Source().ReadTable(device, reader.UseInfoDefaults(), rows, registers);
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
  return !row.DefaultMatchesNone && row.Setting() == row.FileDefault;
}

void ApplyDefaults(std::vector<TSwitchRow> &rows) {
  ApplyNamed(rows, &TSwitchRow::Default);
}

void ApplyChipDefaults(std::vector<TSwitchRow> &rows) {
  ApplyNamed(rows, &TSwitchRow::FileDefault);
}

int FindSetting(const TSwitchRow &row, std::string_view name, bool ignoreCase) {
  return ignoreCase ? row.SettingNames.IndexOf(name, CompareText) : row.SettingNames.IndexOf(name);
}

int FindSwitch(const std::vector<TSwitchRow> &rows, std::string_view name, bool ignoreCase) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (ignoreCase ? CompareText(rows[i].Name, name) == 0 : rows[i].Name == name)
      return static_cast<int>(i);
  return -1;
}
