// Reading a device's table from the reader, and the rules for its chosen settings.
#include "core/cDeviceTable.h"

#include "deviceinfo/cDeviceInfo.h"

bool ReadDeviceTable(TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows,
                     std::vector<TConfigRegister> *registers) {
  rows.clear();
  if (registers != nullptr)
    registers->clear();
  TStringList fields;
  if (!reader.FindPart(device, fields))
    return false;
  // The walk starts at the record after the device's own.
  ++reader.Cursor;
  for (;;) {
    TSwitchRow &row = rows.emplace_back();
    bool gathered = false;
    try {
      gathered =
          reader.NextSwitch(row.Name, row.Function, row.SettingNames, row.SettingDescriptions, row.Default);
    } catch (...) {
      rows.pop_back();
      throw;
    }
    row.FileDefault = reader.FileDefault();
    row.Register = reader.SwitchRegister();
    row.Line = reader.SwitchLine() + 1;
    row.Mask = reader.SwitchMask();
    row.Values = reader.SettingValues();
    row.ValueLines.clear();
    for (const int line : reader.SettingLines())
      row.ValueLines.push_back(line + 1);
    if (!gathered) {
      rows.pop_back();
      if (!reader.SwitchFound())
        break;  // no further switch in this device
      continue; // a switch without selectable settings gets no row
    }
  }
  if (registers != nullptr)
    for (const TDeviceInfo::TRegisterRecord &record : reader.Registers())
      registers->push_back({{}, record.Address, record.Value, record.Line + 1});
  return true;
}

void ApplyDefaults(std::vector<TSwitchRow> &rows) {
  for (TSwitchRow &row : rows) {
    const int k = FindSetting(row, row.Default);
    if (k >= 0)
      row.Chosen = k;
  }
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
