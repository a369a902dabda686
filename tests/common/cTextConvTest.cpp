// Conversion between 8-bit text and the controls' wide text.
#include "common/cTextConv.h"

#include <gtest/gtest.h>

TEST(TextConv, WesternCodePageCharactersMapBothWays) {
  EXPECT_EQ(AnsiToWide("Fosc > 16 MHz"), L"Fosc > 16 MHz");
  EXPECT_EQ(AnsiToWide("caf\xe9 \x80"), std::wstring(L"caf\u00e9 \u20ac"));
  EXPECT_EQ(WideToAnsi(L"caf\u00e9 \u20ac"), "caf\xe9 \x80");
  EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(TextConv, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
}

TEST(TextConv, CharacterOutsideTheCodePageBecomesQuestionMark) {
  EXPECT_EQ(WideToAnsi(L"a\u4e2db"), "a?b");
}
