// Numbers written as text, one function for each way the tool meets them: the
// device data's bare hexadecimal, a digit of a HEX file's records, a number as C
// and assembler (and the device packs' attributes) write it, and a number as the
// tool's messages write it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The value of C as a digit of Base (2, 10 or 16; letters in either case), or -1.
int DigitValue(char c, int base);

// One or more hexadecimal digits, no prefix, sign or blanks, within 32 bits; false,
// with Value untouched, for any other text.
bool TryHexToUInt32(std::string_view text, uint32_t &value);
// As TryHexToUInt32, raising EConvertError ("'$<text>' is not a valid integer value").
uint32_t HexToUInt32(std::string_view text);

// Decimal digits, or hexadecimal ones after "0x" and, where Binary, binary ones after
// "0b" (either letter case); no sign, within 32 bits. False, with Value untouched,
// for any other text.
bool ParseNumber(std::string_view text, uint32_t &value, bool binary = true);

// "0x" and Value in at least Digits upper-case hexadecimal digits, as messages
// about addresses and bytes write them.
std::string HexNumber(uint32_t value, int digits);
