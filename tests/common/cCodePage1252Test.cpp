// UTF-8 text turned into code page 1252.
#include "common/cCodePage1252.h"

#include <gtest/gtest.h>

TEST(CodePage1252, Utf8BecomesTheCodePagesBytesAndWhatItLacksAQuestionMark) {
  struct {
    const char *Utf8;
    const char *Expected;
  } const cases[] = {
      {"Fosc > 16 MHz", "Fosc > 16 MHz"},
      {"caf\xC3\xA9 \xC2\xB5s", "caf\xE9 \xB5s"},                   // U+00E9, U+00B5: the same byte
      {"\xE2\x82\xAC \xE2\x80\x93 \xE2\x84\xA2", "\x80 \x96 \x99"}, // euro, en dash, trade mark
      {"a\xE4\xB8\xAD"
       "b\xF0\x9F\x98\x80"
       "c",
       "a?b?c"},                                            // not in the code page
      {"\xC2\x81", "\x81"},                                 // C1 control as on Windows
      {"\xC3", "?"},                                        // cut short
      {"\xC0\xAF \xE0\x80\xAF \xED\xA0\x80", "?? ??? ???"}, // overlong, surrogate
      {"\xFF\xFE", "??"},
      {"", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Utf8ToCp1252(c.Utf8), c.Expected) << c.Utf8;
}

TEST(CodePage1252, EveryByteMapsToItsCodePointAndBack) {
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(CodePointToCp1252(Cp1252ToCodePoint(static_cast<unsigned char>(b))), b) << b;
  EXPECT_EQ(CodePointToCp1252(0x4E2D), -1);
}

TEST(CodePage1252, ControlCharactersBecomeBlanksAndNothingElseChanges) {
  std::string controls("\0\x01\t\n\r\x1F\x7F\x81\x8D\x8F\x90\x9D", 12);
  BlankControls(controls);
  EXPECT_EQ(controls, std::string(12, ' '));
  std::string text = " a~\x80\x9F\xA0\xFF";
  BlankControls(text);
  EXPECT_EQ(text, " a~\x80\x9F\xA0\xFF");
}
