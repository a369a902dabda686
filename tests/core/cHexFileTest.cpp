// Intel HEX files: telling them from text, their records, addressing and faults.
#include "core/cHexFile.h"

#include "tests/support/HexText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

// Reads Text; the diagnostics as "LINE severity: text".
Strings Read(const std::string &text, THexImage &image, THexSummary *summary = nullptr) {
  Strings diagnostics;
  const THexSummary result = ReadHexFile(text, image, [&](const TDiagnostic &d) {
    diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
  });
  if (summary != nullptr)
    *summary = result;
  return diagnostics;
}
// Each diagnostic begins as expected.
void ExpectStarts(const Strings &diagnostics, const Strings &starts) {
  ASSERT_EQ(diagnostics.size(), starts.size()) << testing::PrintToString(diagnostics);
  for (size_t i = 0; i < starts.size(); ++i)
    EXPECT_EQ(diagnostics[i].substr(0, starts[i].size()), starts[i]);
}
} // namespace

TEST(HexFile, IsToldFromTextByItsContent) {
  const struct {
    std::string Text;
    bool Hex;
  } cases[] = {
      {":00000001FF\n", true},
      {"\r\n  :00000001ff  \r\n\r\n", true},
      {"\xEF\xBB\xBF:00000001FF\n", true},
      {"", false},
      {"\n \n", false},
      // The first line that is not blank decides: what follows the records is not read.
      {":00000001FF\nconfig WDT = OFF\n", true},
      {":00000001FF\r\n\x1A", true},
      {":0100000055AB\r\nhello\r\n", true},
      {"device = 18F1\n:00000001FF\n", false},
      {": a comment\n:00000001FF\n", false},
      {":\n", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(LooksLikeHexFile(c.Text), c.Hex) << c.Text;
}

TEST(HexFile, DataGoesWhereTheLatestBaseAddressSays) {
  THexImage image;
  for (const uint32_t address : {0x000001u, 0x300000u, 0x300001u, 0x1FFFFu, 0x10000u, 0x20000u})
    image.Watch(address);
  const std::string text = THexText()
                               .Data(0x0000, {0x11, 0x22})
                               .Upper(0x0030)
                               .Data(0x0000, {0x0F, 0x08})
                               .Record(5, 0, {0, 0, 0, 0}) // a start address: read and ignored
                               .Record(2, 0, {0x10, 0x00}) // segment 0x1000: base 0x10000
                               .Data(0xFFFF, {0xAA, 0xBB}) // wraps within the segment
                               .Record(3, 0, {0, 0, 0, 0})
                               .End()
                               .Line("anything after the end is not read")
                               .Text();
  THexSummary summary;
  EXPECT_EQ(Read(text, image, &summary), Strings{});
  EXPECT_TRUE(summary.Ended);
  EXPECT_EQ(image.Byte(0x000001), 0x22);
  EXPECT_EQ(image.Byte(0x300000), 0x0F);
  EXPECT_EQ(image.Byte(0x300001), 0x08);
  EXPECT_EQ(image.Line(0x300001), 3);
  EXPECT_EQ(image.Byte(0x1FFFF), 0xAA);
  EXPECT_EQ(image.Byte(0x10000), 0xBB);
  EXPECT_EQ(image.Line(0x10000), 6);
  EXPECT_FALSE(image.Has(0x20000));
}

TEST(HexFile, OnlyTheWatchedAddressesAreKeptAndWarnedOf) {
  // A byte in each 64 KiB page and the same bytes again with other values: only the
  // watched addresses are kept, and only their second value is news.
  THexText text;
  for (uint32_t page = 0; page < 0x40; ++page)
    text.Upper(static_cast<uint16_t>(page)).Data(0x0001, {0x11, 0x22});
  text.Upper(0x0030).Data(0x0001, {0x33, 0x44}).Upper(0x0000).Data(0x0002, {0x55});
  THexImage image;
  image.Watch(0x300002);
  ExpectStarts(Read(text.End().Text(), image),
               {"130 warning: the byte at 0x300002 is written again with another value, 0x44 after 0x22"});
  EXPECT_TRUE(image.Has(0x300002));
  EXPECT_EQ(image.Byte(0x300002), 0x44);
  EXPECT_EQ(image.Line(0x300002), 130);
  EXPECT_FALSE(image.Has(0x300001));
  EXPECT_FALSE(image.Has(0x000002));
}

TEST(HexFile, WhatFollowsTheEndOfFileRecordIsNotRead) {
  const std::string records = THexText().Upper(0x0030).Data(0x0001, {0x08}).End().Text();
  for (const std::string after : {"config WDT = OFF\r\n", "\x1A", ":0100010000FE\r\nnot a record\r\n"}) {
    SCOPED_TRACE(after);
    THexImage image;
    image.Watch(0x300001);
    THexSummary summary;
    EXPECT_EQ(Read(records + after, image, &summary), Strings{});
    EXPECT_TRUE(summary.Ended);
    EXPECT_EQ(image.Byte(0x300001), 0x08);
  }
  // A DOS end-of-file byte right after the record, on its line.
  THexImage image;
  THexSummary summary;
  EXPECT_EQ(Read(":00000001FF\x1A", image, &summary), Strings{});
  EXPECT_TRUE(summary.Ended);
}

TEST(HexFile, EveryBadRecordIsAnErrorAtItsLineAndReadingGoesOn) {
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
  } cases[] = {
      {"a wrong checksum", ":0100000055AB\r\n:00000001FF\r\n", {"1 error: the record's checksum is 0xAB"}},
      {"a length that does not fit",
       ":020000005554\r\n:00000001FF\r\n",
       {"1 error: the record's length says 2 "}},
      {"too short", ":0000\r\n:00000001FF\r\n", {"1 error: a record is too short to ho"}},
      {"not hexadecimal", ":01000000GG00\r\n:00000001FF\r\n", {"1 error: a record holds hexadecimal"}},
      {"half a byte", ":00000001FF0\r\n:00000001FF\r\n", {"1 error: a record holds whole bytes"}},
      {"an unknown type", ":00000006FA\r\n:00000001FF\r\n", {"1 error: record type 0x06 is none "}},
      {"an address record of the wrong length",
       ":0100000400FB\r\n:00000001FF\r\n",
       {"1 error: a record of type 0x04 hold"}},
      {"a line that is no record, blank lines counted",
       "\r\n\r\nhello\r\n:00000001FF\r\n",
       {"3 error: a line that is no record: "}},
      {"no end-of-file record", ":0100000055AA\r\n\r\n", {"2 error: the file has no end-of-file"}},
      {"an empty text", "", {"1 error: the file has no end-of-file"}},
      {"blanks inside a record",
       ":0100000055AA\n:0100000066 99\n:0100000066\t99\n:00000001FF\n",
       {"2 error: a record holds hexadecimal", "3 error: a record holds hexadecimal"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    THexImage image;
    ExpectStarts(Read(c.Text, image), c.Diagnostics);
  }
  // The same byte again: the later value counts, with a warning; the same value is no news.
  THexImage image;
  image.Watch(0);
  ExpectStarts(Read(THexText().Data(0, {0x55}).Data(0, {0x55}).Data(0, {0x66}).End().Text(), image),
               {"3 warning: the byte at 0x000000 is written again with another value, 0x66 after 0x55"});
  EXPECT_EQ(image.Byte(0), 0x66);
}
