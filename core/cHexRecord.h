// Intel HEX records, the one home of their form: a reader that walks a file's
// records and decodes each (type, address, data, checksum), and a writer that makes
// records as real tools write them.
#pragma once

#include "common/cTextLines.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct THexRecord {
  uint8_t Type = 0; // 00 data, 01 end of file, 02/04 base address, 03/05 start address
  uint16_t Offset = 0;
  std::vector<uint8_t> Data;
};

// Decodes one record (a line with its blanks trimmed, starting with ':'): its
// digits, length, checksum, type (00 to 05) and the length its type asks for. An
// empty text when good, else what is wrong, as messages say it.
std::string DecodeHexRecord(std::string_view line, THexRecord &record);

// Walks a HEX text's records up to and with its end-of-file record, keeping the
// base address the 02 and 04 records set (the latest applies), so that each data
// byte's address is known. A DOS end-of-file byte (0x1A) that ends the text is no
// line. Lines after the end-of-file record are not read.
class THexRecordReader {
public:
  explicit THexRecordReader(std::string_view text);

  // The next line that is not blank; false after the end-of-file record or the
  // last line.
  bool Next();
  // The line Next gave (its blanks trimmed) and its number, as an editor counts.
  std::string_view Text() const { return FText; }
  int Line() const { return FLines.Number(); }
  // Empty when the line is a good record, else what is wrong with it; the base
  // address is then as before.
  const std::string &Fault() const { return FFault; }
  const THexRecord &Record() const { return FRecord; }
  // The address of data byte I of a good data record: a segment's offset wraps
  // within its 64 KiB, a linear address within 4 GiB.
  uint32_t AddressOf(size_t i) const {
    const uint32_t offset = FRecord.Offset + static_cast<uint32_t>(i);
    return FSegmented ? FBase + (offset & 0xFFFF) : FBase + offset;
  }
  bool Ended() const { return FEnded; }
  // The base address in force, and whether an 02 record (not an 04) set it.
  uint32_t Base() const { return FBase; }
  bool Segmented() const { return FSegmented; }
  // The number of the last line read (0: none).
  int LastLine() const { return FLastLine; }

private:
  TTextLines FLines;
  std::string_view FText;
  std::string FFault;
  THexRecord FRecord;
  uint32_t FBase = 0;
  bool FSegmented = false; // the base came from an extended segment address
  bool FEnded = false;
  int FLastLine = 0;
};

// Writes records onto a text as real tools write them: upper-case hexadecimal, a
// checksum each, data 16 bytes a record, an extended linear address record (04)
// before the first data and wherever the upper 16 bits of the address change.
class THexRecordWriter {
public:
  // LineEnd ends every record ("\n", or "\r\n" where the platform's text has it).
  explicit THexRecordWriter(std::string &text, std::string_view lineEnd = "\n")
      : FText(text), FLineEnd(lineEnd) {}

  // One record as it stands, its length and checksum computed.
  void Record(uint8_t type, uint16_t offset, const uint8_t *data, size_t size);
  // Bytes from Address on, as data records of up to 16 bytes that never cross a
  // 64 KiB boundary, with the 04 records they need. The upper address is not known
  // at first, so the first data gets its 04 record.
  void Data(uint32_t address, const uint8_t *data, size_t size);
  // Forgets the upper address written last (after records written around this
  // writer), so the next data gets its 04 record.
  void ForgetUpper() { FUpperKnown = false; }
  // A line as it stands (a record kept from another file).
  void Line(std::string_view line);
  // The end-of-file record, ":00000001FF".
  void End();

private:
  std::string &FText;
  std::string FLineEnd;
  uint32_t FUpper = 0;
  bool FUpperKnown = false;
};
