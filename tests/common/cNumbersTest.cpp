// Numbers as text: bare hexadecimal, numbers as C writes them, and as messages do.
#include "common/cNumbers.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

#include <string>

TEST(HexNumbers, AcceptOnlyPlainHexadecimalWithin32Bits) {
  const struct {
    const char *Text;
    bool Ok;
    uint32_t Value;
  } cases[] = {
      {"0", true, 0},         {"1F", true, 31},
      {"1f", true, 31},       {"FFFFFFFF", true, 0xFFFFFFFFu},
      {"000000001", true, 1}, {"00000000000000000000ff", true, 255},
      {"", false, 0},         {"0x1F", false, 0},
      {" 1F", false, 0},      {"1F ", false, 0},
      {"1G", false, 0},       {"100000000", false, 0},
      {"-1", false, 0},       {"+1", false, 0},
      {"$1F", false, 0},
  };
  for (const auto &c : cases) {
    uint32_t value = 12345;
    EXPECT_EQ(TryHexToUInt32(c.Text, value), c.Ok) << c.Text;
    if (c.Ok) {
      EXPECT_EQ(value, c.Value) << c.Text;
      EXPECT_EQ(HexToUInt32(c.Text), c.Value) << c.Text;
    } else {
      EXPECT_EQ(value, 12345u) << c.Text;
      try {
        HexToUInt32(c.Text);
        ADD_FAILURE() << "no error: " << c.Text;
      } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'$" + std::string(c.Text) + "' is not a valid integer value");
      }
    }
  }
}

TEST(ParseNumber, TakesDecimalHexadecimalAndBinaryWhereAsked) {
  const struct {
    const char *Text;
    bool Good;
    uint32_t Value;
    bool Binary = true;
  } cases[] = {{"26", true, 26},
               {"0x1A", true, 26},
               {"0X1a", true, 26},
               {"0b11010", true, 26},
               {"0", true, 0},
               {"4294967295", true, UINT32_MAX},
               {"4294967296", false, 0},
               {"0x", false, 0},
               {"0b2", false, 0},
               {"1A", false, 0},
               {"-1", false, 0},
               {"", false, 0},
               {"0xFFFFFFFFF", false, 0},
               {"0b11", false, 0, false},
               {"0x1F", true, 31, false}};
  for (const auto &c : cases) {
    uint32_t value = 0;
    EXPECT_EQ(ParseNumber(c.Text, value, c.Binary), c.Good) << c.Text;
    EXPECT_EQ(value, c.Value) << c.Text; // untouched when no number
  }
}

TEST(HexNumbers, MessagesWriteThemWithAPrefixInAtLeastTheDigitsAsked) {
  const struct {
    uint32_t Value;
    int Digits;
    const char *Text;
  } cases[] = {
      {0x2, 2, "0x02"},
      {0x300001, 6, "0x300001"},
      {0xabc, 1, "0xABC"},
      {0xFFFFFFFFu, 2, "0xFFFFFFFF"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(HexNumber(c.Value, c.Digits), c.Text);
}
