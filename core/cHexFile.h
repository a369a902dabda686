// Intel HEX files: telling one from source text, and reading its records into the
// bytes they program, with a diagnostic for every record that cannot be read.
#pragma once

#include "common/cNumbers.h" // HexNumber, which the HEX messages write numbers with
#include "core/cDiagnostic.h"
#include "core/cHexRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// Whether Text is an Intel HEX file: its first line that is not blank is a record
// (":" and a hexadecimal digit, blanks around it allowed). What follows is the
// reader's to judge: a line that is no record before the end-of-file record is an
// error at its line, anything after it is not read.
bool LooksLikeHexFile(std::string_view text);

// The bytes a HEX file programs at the addresses asked for (a device's configuration
// registers), each with the line of the record that wrote it last. Data elsewhere is
// read and checked, not kept, so memory goes with the addresses asked for, not with
// the ones the file writes.
class THexImage {
public:
  void Watch(uint32_t address);
  // Whether a watched Address was written; its byte and the line that wrote it last
  // (0 and 0 for others).
  bool Has(uint32_t address) const;
  uint8_t Byte(uint32_t address) const;
  int Line(uint32_t address) const;

  // Writes Value at Address from the record on Line, if Address is watched; true
  // when it was written before with another value (Old then holds it).
  bool Write(uint32_t address, uint8_t value, int line, uint8_t &old);

private:
  struct TByte {
    uint8_t Value = 0;
    int Line = 0; // 0: not written
  };
  std::unordered_map<uint32_t, TByte> FBytes;
  uint32_t FWatchedLow = UINT32_MAX;
  uint32_t FWatchedHigh = 0;
};

struct THexSummary {
  int Errors = 0;
  bool Ended = false; // an end-of-file record was read
};

// Reads Text's records (types 00 to 05, as the Intel HEX format defines them; 02
// and 04 set the base address, the latest one applies; 03 and 05 are read and
// ignored) into Image, whose watched addresses are set already. Every record's
// length and checksum are checked; a bad record is an error at its line (lines
// counted as an editor counts them), and reading goes on. A byte written again
// with another value takes the later one, with a warning (at the watched addresses,
// the only ones kept). Lines after the end-of-file record are ignored, as is a DOS
// end-of-file byte (0x1A) that ends the text; a file without one is an error, as it
// may be cut short. Linear in the length of Text.
// Where Visit is given, it sees each good record as it is read (the reader at it),
// so that a caller that also copies the file reads it once.
using THexRecordVisitor = std::function<void(const THexRecordReader &)>;
THexSummary ReadHexFile(std::string_view text, THexImage &image, const TDiagnosticSink &sink,
                        const THexRecordVisitor &visit = {});
