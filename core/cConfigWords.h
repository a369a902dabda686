// Configuration words: the bytes the chip gets for a device's chosen settings, and
// where a HEX file holds them.
#pragma once

#include "common/cErrors.h"
#include "core/cDeviceTable.h"
#include "core/cHexFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A fault in the device data that only the words notice, with the file and line.
class EDataError : public Exception {
public:
  using Exception::Exception;
};

// The device's registers with their names, addresses and family. A register whose
// address is not hexadecimal, or lies outside its family's configuration words, is an
// EDataError naming DataFile and its line; so is a setting value with bits outside
// its switch's mask, and a mask or value that needs bits above its family's word (the
// words and the HEX reading would all go wrong with it).
std::vector<TWordRegister> WordRegisters(const std::vector<TConfigRegister> &registers,
                                         const std::vector<TSwitchRow> &rows, const std::string &dataFile);

// The rows of each of Count registers (by a row's Register), in table order: the
// switches a register's word sets. A row outside the registers is in none.
std::vector<std::vector<size_t>> RowsOfRegisters(size_t count, const std::vector<TSwitchRow> &rows);

// The switches that stand before any register of their device: they belong to
// none, so the words leave them out and a HEX file gives them their chip default.
// One warning text for each ("switch 'X' (FILE, line N) stands before ..."), the
// same where words are written and where a HEX file is read.
std::vector<std::string> SwitchesOutsideRegisters(const std::vector<TSwitchRow> &rows,
                                                  const std::string &dataFile);

struct TConfigWord {
  std::string Name;
  uint32_t Address = 0;
  uint32_t Value = 0;
  const TDeviceFamily *Family = &kPic18Family;
};

// Each register's word, in address order: its value when not set, with each of its
// switches' bits replaced by the chosen setting's value; bits no switch covers, and
// those of a switch left out, keep that value.
std::vector<TConfigWord> ConfigWords(const std::vector<TWordRegister> &registers,
                                     const std::vector<TSwitchRow> &rows);

// "CONFIG1H  0x300001  0x08", "CONFIG1  0x8007  0x3FE4": name, two blanks, the
// address in upper-case hex digits (six on PIC18, four on word-addressed families),
// two blanks, the whole word (two digits on PIC18, four for 14 bits, three for 12).
std::string WordLine(const TConfigWord &word);

// "CONFIG1H, bits 0–3" (an en dash, in the tool's code page): where Row's bits are,
// followed by ", one-time programmable" where they are; empty for a switch outside
// the registers.
std::string BitsOfRow(const std::vector<TWordRegister> &registers, const TSwitchRow &row);

// A register's word as a HEX file holds it: its byte, or on word-addressed families
// its bytes little-endian at twice its address (a byte the file leaves out is the
// register's value when not set), cut to the bits the word has.
struct THexWord {
  bool Found = false;
  uint32_t Value = 0;
  int Line = 0; // the last line that wrote a byte of it
};
THexWord HexWordOf(const THexImage &image, const TWordRegister &reg);
// Watches the HEX addresses of Registers' words in Image, and on word-addressed
// families each register's own address too (WrongScale).
void WatchRegisters(THexImage &image, const std::vector<TWordRegister> &registers);
// Where Image (read with WatchRegisters) holds no word of Registers but bytes at a
// word-addressed register's own address: the error that the file is written at the
// wrong scale, its line in Line; else empty.
std::string WrongScale(const THexImage &image, const std::vector<TWordRegister> &registers, int &line);
