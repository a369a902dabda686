// The configuration text: the declarations a program's source carries, in any of
// the syntaxes of core/cSyntax.h (a Tarnwick "config" block, Orvane "config"
// statements, C "#pragma config" lines, assembler "CONFIG" lines), with or without
// the settings' descriptions as comments; and the device list rewrap.
#pragma once

#include "core/cDeviceTable.h"
#include "core/cSyntax.h"

#include <string>
#include <vector>

struct TConfigTextOptions {
  const TSyntax *Syntax = &kTarnwickSyntax;
  bool Comments = true;
  // Only the rows whose setting differs from their ChipDefault (a switch whose chip
  // default is none of its settings always differs), with the rows that share their switch name; with none,
  // the all-defaults comment stands in for the entries, so the text still reads back as a configuration.
  bool ChangedOnly = false;
  // The rows are the device's whole table as read. Such a table without rows (a
  // device without switches) gets the all-defaults comment too; false where no
  // table was read (no device chosen yet, or reading it failed), whose text keeps
  // only its header.
  bool WholeTable = true;
};

// S followed by blanks up to Width characters; never shortened.
std::string PadRight(const std::string &s, int width);

// The text's lines for Device and the rows' chosen settings, in row order. A
// syntax that groups entries by register names each group's register from
// Registers (the device's, as WordRegisters gives them); rows of no register
// there are written without a heading.
std::vector<std::string> ConfigTextLines(const std::string &device, const std::vector<TSwitchRow> &rows,
                                         const TConfigTextOptions &options,
                                         const std::vector<TWordRegister> &registers = {});

// Device names rewrapped into comma-separated lines: items 0 to 6 on the first
// line, six on each further one; every line followed by another ends in ", ".
std::vector<std::string> WrapDeviceList(const TStringList &names);
