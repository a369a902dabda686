// The rows of a parsed .PIC file, and the devices a pack's file names give.
#include "devicepacks/cPicTable.h"

#include "common/cCodePage1252.h"
#include "common/cDeviceFamily.h"

#include <algorithm>
#include <cstdio>

namespace {
bool IsReserved(const std::string &name) {
  return CompareText(name, "RESERVED") == 0;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && CompareText(text.substr(0, prefix.size()), prefix) == 0;
}

// Whether the part has a PGM pin: a pin with that function where the file lists
// its pins, nothing known where it does not.
TPinFact PgmPinOf(const TPicDevice &model) {
  if (!model.PinListed)
    return TPinFact::Unknown;
  for (const TPicPin &pin : model.Pins)
    for (const std::string &function : pin.Functions)
      if (CompareText(function, "PGM") == 0)
        return TPinFact::Present;
  return TPinFact::Absent;
}
} // namespace

void AddPicRows(const TPicDevice &model, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                std::vector<TConfigRegister> *registers) {
  const TPinFact pgmPin = PgmPinOf(model);
  for (size_t r = 0; r < model.Registers.size(); ++r) {
    const TPicRegister &reg = model.Registers[r];
    if (registers != nullptr) {
      char address[16];
      std::snprintf(address, sizeof(address), "%X", static_cast<unsigned>(reg.Address));
      registers->push_back({reg.Name, address, reg.Unset, reg.Line, reg.Otp, model.Family, reg.Implemented});
    }
    for (const TPicField &field : reg.Fields) {
      if (field.Hidden || field.LangHidden || IsReserved(field.Name))
        continue;
      TSwitchRow row;
      row.Name = field.Name;
      row.Function = field.Description;
      row.Mask = field.Mask << field.Offset;
      row.Register = static_cast<int>(r);
      row.Line = field.Line;
      row.Otp = reg.Otp;
      row.PgmPin = pgmPin;
      for (const TPicSemantic &semantic : field.Semantics) {
        if (semantic.Hidden || semantic.LangHidden || semantic.Name.empty() || IsReserved(semantic.Name))
          continue;
        row.Settings.push_back(
            {semantic.Name, semantic.Description.empty() ? "unspecified" : semantic.Description,
             semantic.WhenValue << field.Offset, semantic.WhenMask << field.Offset, semantic.Line});
      }
      if (row.Settings.empty())
        continue; // a switch without selectable settings gets no row
      SetDefaults(row, reg.Unset, useInfoDefaults);
      rows.push_back(std::move(row));
    }
  }
}

void ReadPicTable(const std::function<void(TPicDevice &)> &read, bool useInfoDefaults,
                  std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers) {
  TPicDevice model;
  try {
    read(model);
  } catch (...) {
    AddPicRows(model, useInfoDefaults, rows, registers);
    throw;
  }
  AddPicRows(model, useInfoDefaults, rows, registers);
}

std::string PicDeviceName(std::string_view fileName) {
  constexpr std::string_view kSuffix = ".PIC";
  if (fileName.size() < kSuffix.size() ||
      CompareText(fileName.substr(fileName.size() - kSuffix.size()), kSuffix) != 0 ||
      !StartsWithText(fileName, "PIC") ||
      !IsEightBitPart(fileName.substr(0, fileName.size() - kSuffix.size())))
    return {};
  if (std::any_of(fileName.begin(), fileName.end(),
                  [](char c) { return c == ' ' || IsControlChar(static_cast<unsigned char>(c)); }))
    return {};
  return UpperCaseAscii(fileName.substr(3, fileName.size() - 3 - kSuffix.size()));
}

void ListPicDevices(std::vector<std::string> devices, bool includeLF, TStringList &all, TStringList &listed) {
  std::sort(devices.begin(), devices.end());
  for (const std::string &device : devices) {
    all.Add(device);
    if (IsListedPic18(device, includeLF))
      listed.Add(device);
  }
}
