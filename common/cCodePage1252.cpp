// Code page 1252 and the conversion of UTF-8 text into it.
#include "common/cCodePage1252.h"

#include <cstdint>

namespace {
// Code points of the bytes 0x80 to 0x9F; 0 where the byte is unassigned.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Length of the UTF-8 sequence that Lead starts, 0 for a byte no sequence starts with.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}
} // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0)
    return kHigh[byte - 0x80];
  return byte;
}

int CodePointToCp1252(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
    return static_cast<int>(code);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == code || (kHigh[i] == 0 && code == 0x80u + static_cast<unsigned>(i)))
      return 0x80 + i;
  return -1;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) { // most text: taken as it stands
      result.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    const int length = SequenceLength(lead);
    char32_t code = lead & (0x7F >> length);
    bool valid = length > 0 && i + static_cast<size_t>(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are malformed too.
    if (valid && ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
                  (length == 4 && (code < 0x10000 || code > 0x10FFFF))))
      valid = false;
    if (!valid) {
      result.push_back('?');
      ++i;
      continue;
    }
    const int byte = CodePointToCp1252(code);
    result.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    i += static_cast<size_t>(length);
  }
  return result;
}

bool IsControlChar(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F || (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] == 0);
}

void BlankControls(std::string &text) {
  for (char &c : text)
    if (IsControlChar(static_cast<unsigned char>(c)))
      c = ' ';
}
