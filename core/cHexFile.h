// Intel HEX files: telling one from source text, and reading its records into the
// bytes they program, with a diagnostic for every record that cannot be read.
#pragma once

#include "core/cDiagnostic.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// "0x" and Value in at least Digits upper-case hexadecimal digits, as messages
// about addresses and bytes write them.
std::string HexNumber(uint32_t value, int digits);

// Whether Text is an Intel HEX file: every line that is not blank is a record
// beginning with ":" (blanks around it allowed), and there is one at least.
bool LooksLikeHexFile(std::string_view text);

// The bytes a HEX file programs, kept in pages of 64 KiB as they are written; for
// the addresses asked for, also the line of the record that wrote them last.
class THexImage {
public:
  bool Has(uint32_t address) const;
  uint8_t Byte(uint32_t address) const;
  // The line of the record that wrote a watched address last; 0 for others.
  int Line(uint32_t address) const;
  bool Empty() const { return FPages.empty(); }

  // Writes Value at Address from the record on Line; true when the byte was
  // written before with another value (Old then holds it).
  bool Write(uint32_t address, uint8_t value, int line, uint8_t &old);
  void Watch(uint32_t address);

private:
  struct TPage {
    std::array<uint8_t, 65536> Bytes{};
    std::bitset<65536> Written;
  };
  std::map<uint32_t, std::unique_ptr<TPage>> FPages;
  TPage *FPage = nullptr; // the page written last
  uint32_t FPageIndex = 0;
  std::unordered_map<uint32_t, int> FLines;
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
// with another value takes the later one, with a warning. Lines after the
// end-of-file record are ignored; a file without one is an error, as it may be cut
// short. Linear in the length of Text.
THexSummary ReadHexFile(std::string_view text, THexImage &image, const TDiagnosticSink &sink);
