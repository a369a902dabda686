// Numbers written as text.
#include "common/cNumbers.h"

#include "common/cErrors.h"

#include <cstdio>

namespace {
// Digits of Base only, at least one, within 32 bits.
bool TryDigits(std::string_view text, int base, uint32_t &value) {
  if (text.empty())
    return false;
  uint64_t number = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0)
      return false;
    number = number * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (number > UINT32_MAX)
      return false;
  }
  value = static_cast<uint32_t>(number);
  return true;
}
} // namespace

int DigitValue(char c, int base) {
  const int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
  return digit < base ? digit : -1;
}

bool TryHexToUInt32(std::string_view text, uint32_t &value) {
  return TryDigits(text, 16, value);
}

uint32_t HexToUInt32(std::string_view text) {
  uint32_t value = 0;
  if (!TryHexToUInt32(text, value))
    throw EConvertError("$" + ShortenForMessage(text));
  return value;
}

bool ParseNumber(std::string_view text, uint32_t &value, bool binary) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0') {
    const char prefix = text[1];
    if (prefix == 'x' || prefix == 'X')
      base = 16;
    else if (binary && (prefix == 'b' || prefix == 'B'))
      base = 2;
    if (base != 10)
      text.remove_prefix(2);
  }
  return TryDigits(text, base, value);
}

std::string HexNumber(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}
