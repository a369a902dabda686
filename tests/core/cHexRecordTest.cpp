// Intel HEX records: the writer's records as real tools write them, checked against
// the tests' own record builder, and the reader's walk over them.
#include "core/cHexRecord.h"

#include "core/cHexFile.h"
#include "tests/support/HexImage.h"
#include "tests/support/HexText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
std::vector<uint8_t> Bytes(size_t count, uint8_t first) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

} // namespace

TEST(HexRecordWriter, WritesSixteenBytesARecordWithAnAddressRecordWhereTheUpperHalfChanges) {
  const struct {
    uint32_t Address;
    size_t Count;
    std::string Expected; // the same records, made by the tests' own builder
  } cases[] = {
      {0x300000, 14, THexText().Upper(0x30).Data(0, Bytes(14, 1)).End().Text()},
      {0x0000, 20, THexText().Upper(0).Data(0, Bytes(16, 1)).Data(0x10, Bytes(4, 17)).End().Text()},
      // Across a 64 KiB boundary: a record stops there, a new 04 record follows.
      {0xFFF8, 12, THexText().Upper(0).Data(0xFFF8, Bytes(8, 1)).Upper(1).Data(0, Bytes(4, 9)).End().Text()},
      {0x400E, 2, THexText().Upper(0).Data(0x400E, Bytes(2, 1)).End().Text()},
  };
  for (const auto &c : cases) {
    std::string text;
    THexRecordWriter writer(text, "\r\n");
    const std::vector<uint8_t> data = Bytes(c.Count, 1);
    writer.Data(c.Address, data.data(), data.size());
    writer.End();
    EXPECT_EQ(text, c.Expected) << std::hex << c.Address;
  }
}

TEST(HexRecordWriter, WhatItWritesReadsBackAtTheSameAddresses) {
  std::string text;
  THexRecordWriter writer(text);
  const std::vector<uint8_t> low = Bytes(40, 0xF0);
  const std::vector<uint8_t> high = Bytes(3, 7);
  writer.Data(0xFFEC, low.data(), low.size());
  writer.Data(0x300005, high.data(), high.size());
  writer.End();
  const std::map<uint32_t, uint8_t> image = ImageOf(text);
  ASSERT_EQ(image.size(), 43u);
  for (size_t i = 0; i < low.size(); ++i)
    EXPECT_EQ(image.at(0xFFEC + static_cast<uint32_t>(i)), low[i]);
  for (size_t i = 0; i < high.size(); ++i)
    EXPECT_EQ(image.at(0x300005 + static_cast<uint32_t>(i)), high[i]);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(HexRecordReader, DecodesARecordOrSaysWhatIsWrong) {
  const struct {
    std::string Line;
    std::string Fault; // its start; empty: good
    uint8_t Type;
    uint16_t Offset;
    std::vector<uint8_t> Data;
  } cases[] = {
      {":0400100001020304E2", "", 0, 0x0010, {1, 2, 3, 4}},
      {":00000001FF", "", 1, 0, {}},
      {":020000040030CA", "", 4, 0, {0x00, 0x30}},
      {":0400100001020304E3", "the record's checksum is 0xE3 where its bytes give 0xE2", 0, 0, {}},
      {":05001000010203", "the record's length says 5 data byte(s), but it holds 2", 0, 0, {}},
      {":0000000AF6", "record type 0x0A is none of 00 to 05", 0, 0, {}},
      {":01000004FFFC", "a record of type 0x04 holds 2 data byte(s), not 1", 0, 0, {}},
      {":0G", "a record holds hexadecimal digits only", 0, 0, {}},
      {"0400", "a line that is no record", 0, 0, {}},
  };
  for (const auto &c : cases) {
    THexRecord record;
    const std::string fault = DecodeHexRecord(c.Line, record);
    EXPECT_EQ(fault.substr(0, c.Fault.size()), c.Fault) << c.Line;
    EXPECT_EQ(fault.empty(), c.Fault.empty()) << c.Line;
    if (c.Fault.empty()) {
      EXPECT_EQ(record.Type, c.Type) << c.Line;
      EXPECT_EQ(record.Offset, c.Offset) << c.Line;
      EXPECT_EQ(record.Data, c.Data) << c.Line;
    }
  }
}
