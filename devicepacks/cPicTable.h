// A device's switch rows from its parsed .PIC file, by the rules that give the same
// table as the .info file, for every source of device packs; the device a .PIC
// file's name stands for, and a pack's devices listed.
#pragma once

#include "common/cDeviceSource.h"
#include "devicepacks/cPicFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Appends the rows of a parsed .PIC file, register by register in address order,
// field by field in bit order: a row for each field with an offered setting, each
// with whether the part has a PGM pin as its pin list says; and its registers to
// Registers when given.
void AddPicRows(const TPicDevice &model, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                std::vector<TConfigRegister> *registers);
// Reads a device's model with Read (a .PIC file, an archive's entry) and appends its
// rows; where Read raises, the rows of what it read before are appended first.
void ReadPicTable(const std::function<void(TPicDevice &)> &read, bool useInfoDefaults,
                  std::vector<TSwitchRow> &rows, std::vector<TConfigRegister> *registers);

// The device a .PIC file's name gives, in capitals: "PIC18F45K22.PIC" (any letter
// case) gives 18F45K22, "PIC16F1847.PIC" 16F1847. Empty for a name that is no 8-bit
// part's device file (a debug header's "AC244043_AS_PIC16F1823.PIC", a PIC17's),
// and for one with a blank or a control character, which no configuration text can
// give.
std::string PicDeviceName(std::string_view fileName);
// Lists Devices (each given once) in name order: every one in All, and each PIC18F
// one in Listed (PIC18LF too with IncludeLF).
void ListPicDevices(std::vector<std::string> devices, bool includeLF, TStringList &all, TStringList &listed);
