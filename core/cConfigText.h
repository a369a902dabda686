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
  // Only the rows not at their chip default (AtChipDefault: a switch left out is,
  // one whose chip default is none of its settings is at none of them), with the
  // rows that share their switch name; with none, the all-defaults comment stands
  // in for the entries, so the text still reads back as a configuration.
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
// there are written without a heading. A row left out is not named: a comment
// line (LeftOutComment) stands in its place, which reads back as a comment, so the
// switch stays left out (unless a later row of its name is written, which keeps
// the n-th entry of a name for the n-th row).
std::vector<std::string> ConfigTextLines(const std::string &device, const std::vector<TSwitchRow> &rows,
                                         const TConfigTextOptions &options,
                                         const std::vector<TWordRegister> &registers = {});

// "BBSIZE not set: ...": the comment a text carries for a switch left out.
std::string LeftOutComment(const std::string &switchName);

// Device names rewrapped into comma-separated lines: items 0 to 6 on the first
// line, six on each further one; every line followed by another ends in ", ".
std::vector<std::string> WrapDeviceList(const TStringList &names);
