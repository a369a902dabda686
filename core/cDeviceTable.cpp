// Reading a device's table from either source, and the rules for its chosen settings.
#include "core/cDeviceTable.h"

#include "common/cCodePage1252.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cPicFile.h"

#include <algorithm>
#include <cstdio>

namespace {
// Notes whether the chip's default, its register's bits when not set (Unset), is
// one of Row's settings, and returns the setting it is (-1: none; both sources then
// take the last setting as the row's FileDefault).
int NoteChipDefault(TSwitchRow &row, uint32_t unset) {
  const int k = SettingOfBits(row, unset);
  row.DefaultMatchesNone = k < 0;
  return k;
}

// The .info file: the reader's FindPart/NextSwitch walk.
bool ReadInfoTable(TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows,
                   std::vector<TConfigRegister> *registers) {
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
    // A switch before any register is worked out against 0, as the reader does.
    NoteChipDefault(row, row.Register >= 0 ? reader.Registers()[static_cast<size_t>(row.Register)].Value : 0);
  }
  if (registers != nullptr)
    for (const TDeviceInfo::TRegisterRecord &record : reader.Registers())
      registers->push_back({{}, record.Address, record.Value, record.Line + 1});
  return true;
}

bool IsReserved(const std::string &name) {
  return CompareText(name, "RESERVED") == 0;
}

// The rows of a parsed .PIC file, register by register in address order, field by
// field in bit order: a row for each field with an offered setting.
void AddPackRows(const TPicDevice &model, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                 std::vector<TConfigRegister> *registers) {
  for (size_t r = 0; r < model.Registers.size(); ++r) {
    const TPicRegister &reg = model.Registers[r];
    if (registers != nullptr) {
      char address[16];
      std::snprintf(address, sizeof(address), "%X", static_cast<unsigned>(reg.Address));
      registers->push_back({reg.Name, address, reg.Unset, reg.Line, reg.Otp});
    }
    for (const TPicField &field : reg.Fields) {
      if (field.Hidden || field.LangHidden || IsReserved(field.Name))
        continue;
      TSwitchRow row;
      row.Mask = field.Mask << field.Offset;
      for (const TPicSemantic &semantic : field.Semantics) {
        if (semantic.Hidden || semantic.LangHidden || semantic.Name.empty() || IsReserved(semantic.Name))
          continue;
        row.SettingNames.Add(semantic.Name);
        row.SettingDescriptions.Add(semantic.Description.empty() ? std::string_view("unspecified")
                                                                 : std::string_view(semantic.Description));
        row.Values.push_back(semantic.WhenValue << field.Offset);
        row.ValueMasks.push_back(semantic.WhenMask << field.Offset);
        row.ValueLines.push_back(semantic.Line);
      }
      if (row.SettingNames.Empty())
        continue; // a switch without selectable settings gets no row
      // The default is the last offered setting the register's unset value matches,
      // else the last offered one: the .info rule.
      const int chip = NoteChipDefault(row, reg.Unset);
      row.FileDefault = chip >= 0 ? row.SettingNames[chip] : row.SettingNames.Last();
      row.Otp = reg.Otp;
      row.Name = field.Name;
      row.Function = field.Description;
      row.Default = StartingDefault(row.Name, row.SettingNames, row.FileDefault, useInfoDefaults);
      row.Register = static_cast<int>(r);
      row.Line = field.Line;
      rows.push_back(std::move(row));
    }
  }
}

// Device packs: the device's .PIC file, parsed whole, then its rows.
bool ReadPackTable(const TDeviceInfo &reader, const std::string &device, std::vector<TSwitchRow> &rows,
                   std::vector<TConfigRegister> *registers) {
  const std::string file = reader.Packs().FileOf(device);
  if (file.empty())
    return false;
  TPicDevice model;
  try {
    ReadPicFile(file, model);
  } catch (...) {
    AddPackRows(model, reader.UseInfoDefaults(), rows, registers);
    throw;
  }
  AddPackRows(model, reader.UseInfoDefaults(), rows, registers);
  return true;
}

void BlankListControls(TStringList &list) {
  for (int k = 0; k < list.Count(); ++k)
    if (std::any_of(list[k].begin(), list[k].end(),
                    [](char c) { return IsControlChar(static_cast<unsigned char>(c)); })) {
      std::string text = list[k];
      BlankControls(text);
      list.Put(k, text);
    }
}

// The table takes the vendor's texts without control characters, from either source,
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
    found = reader.FromPacks() ? ReadPackTable(reader, device, rows, registers)
                               : ReadInfoTable(reader, device, rows, registers);
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

int SettingOfBits(const TSwitchRow &row, uint32_t word) {
  const uint32_t bits = word & row.Mask;
  int found = -1;
  for (size_t v = 0; v < row.Values.size(); ++v)
    if ((bits & (v < row.ValueMasks.size() ? row.ValueMasks[v] : row.Mask)) == row.Values[v])
      found = static_cast<int>(v);
  return found;
}

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
