// Configuration words written as Intel HEX: the configuration-only file, a build's
// words read, and a build's file with its words replaced and nothing else touched.
#include "core/cConfigHex.h"

#include "core/cHexRecord.h"
#include "tests/support/HexImage.h"
#include "tests/support/HexText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {
using TImage = THexBytes;

std::vector<TConfigWord> Pic18Words(uint8_t first) {
  std::vector<TConfigWord> words;
  for (uint32_t i = 0; i < 3; ++i)
    words.push_back(
        {"CONFIG" + std::to_string(i), 0x300000 + i, static_cast<uint32_t>(first + i), &kPic18Family});
  return words;
}

std::vector<TWordRegister> Pic18Registers() {
  std::vector<TWordRegister> registers;
  for (uint32_t i = 0; i < 3; ++i)
    registers.push_back({"CONFIG" + std::to_string(i), 0x300000 + i, 0xFF, &kPic18Family, 0xFF});
  return registers;
}

std::vector<TWordRegister> MidRangeRegisters() {
  return {{"CONFIG1", 0x2007, 0x3FFF, &kMidRangeFamily, 0x3FFF},
          {"CONFIG2", 0x2008, 0x3FFF, &kMidRangeFamily, 0x3FFF}};
}
} // namespace

TEST(ConfigHex, WritesEachFamilysWordsAtItsAddresses) {
  const struct {
    std::vector<TConfigWord> Words;
    TImage Expected;
  } cases[] = {
      {Pic18Words(0x10), {{0x300000, 0x10}, {0x300001, 0x11}, {0x300002, 0x12}}},
      {{{"CONFIG1", 0x2007, 0x3FE4, &kMidRangeFamily}, {"CONFIG2", 0x2008, 0x1EFF, &kMidRangeFamily}},
       {{0x400E, 0xE4}, {0x400F, 0x3F}, {0x4010, 0xFF}, {0x4011, 0x1E}}},
      {{{"CONFIG", 0x0FFF, 0x0FEA, &kBaselineFamily}}, {{0x1FFE, 0xEA}, {0x1FFF, 0x0F}}},
  };
  for (const auto &c : cases) {
    const std::string text = ConfigHexText(c.Words, "\n");
    EXPECT_EQ(ImageOf(text), c.Expected) << text;
  }
  EXPECT_EQ(ConfigHexText(Pic18Words(0x10), "\r\n"),
            THexText().Upper(0x30).Data(0, {0x10, 0x11, 0x12}).End().Text());
}

TEST(ConfigHex, IntoABuildChangesTheWordsAndKeepsEveryOtherByteAndRecord) {
  const std::string program = ":0400000001020304F2";
  const std::string build = THexText()
                                .Upper(0)
                                .Line(program)
                                .Upper(0x30)
                                // CONFIG0..1 and two bytes beyond the words, in one record.
                                .Data(0, {0xAA, 0xBB, 0x77, 0x55})
                                .Record(5, 0, {0, 0, 0, 0})
                                .End()
                                .Line(":00000001FF")
                                .Text();
  TBuildWords held = ReadBuildWords(build, Pic18Registers(), {});
  EXPECT_EQ(held.Errors, 0);
  EXPECT_EQ(held.Words, (std::vector<uint32_t>{0xAA, 0xBB, 0x77}));
  const std::string written = WriteConfigInto(std::move(held), Pic18Words(0x20));
  TImage expected = ImageOf(build);
  expected[0x300000] = 0x20;
  expected[0x300001] = 0x21;
  expected[0x300002] = 0x22;
  EXPECT_EQ(ImageOf(written), expected) << written;
  // Each byte of the words written once: the result reads as a build again.
  EXPECT_EQ(ReadBuildWords(written, Pic18Registers(), {}).Errors, 0) << written;
  EXPECT_NE(written.find(program + "\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find(":0400000500000000F7\r\n"), std::string::npos) << written;
  EXPECT_EQ(written.find('\n'), written.find("\r\n") + 1);
}

TEST(ConfigHex, ABuildIsRefusedWithTheReasonAndTheLine) {
  const struct {
    std::string Build;
    int Line;
    std::string Error; // its start
  } cases[] = {
      {THexText().Upper(0).Line(":0400000001020304F3").End().Text(), 2, "the record's checksum is 0xF3"},
      {THexText().Upper(0).Line(":04000000010203").End().Text(), 2, "the record's length says"},
      {THexText().Upper(0).Data(0x400E, {0xE4, 0x3F}).Data(0x400E, {0xE5}).End().Text(), 3,
       "the byte at 0x00400E is written again"},
      {THexText().Upper(0).Data(0x2007, {0xE4}).End().Text(), 2, "the file holds bytes at 0x2007"},
      {THexText().Upper(0).Data(0x400E, {0xE4, 0x3F}).Text(), 2, "the file has no end-of-file record"},
  };
  for (const auto &c : cases) {
    std::vector<TDiagnostic> errors;
    const TBuildWords words =
        ReadBuildWords(c.Build, MidRangeRegisters(), [&](const TDiagnostic &d) { errors.push_back(d); });
    ASSERT_EQ(errors.size(), 1u) << c.Build;
    EXPECT_EQ(words.Errors, 1);
    EXPECT_EQ(errors[0].Line, c.Line) << c.Build;
    EXPECT_EQ(errors[0].Text.substr(0, c.Error.size()), c.Error) << errors[0].Text;
  }
}

TEST(ConfigHex, ABuildsWordsAreReadAndAMissingOneIsItsValueWhenNotSet) {
  // Bits above the 14-bit width, as an assembler sets them, are kept.
  const std::string build = THexText().Upper(0).Data(0x400E, {0xE4, 0xFF}).Data(0x400E, {0xE4}).End().Text();
  const TBuildWords words = ReadBuildWords(build, MidRangeRegisters(), {});
  EXPECT_EQ(words.Errors, 0); // the same value again is no fault
  EXPECT_EQ(words.Found, (std::vector<bool>{true, false}));
  EXPECT_EQ(words.Words, (std::vector<uint32_t>{0xFFE4, 0x3FFF}));
}
