// Code page 1252, the tool's 8-bit text, and UTF-8 text turned into it: the device
// packs' XML is UTF-8, while every name and description the tool shows or writes is
// code page 1252, as in the vendor's 8bit_device.info.
#pragma once

#include <string>
#include <string_view>

// The Unicode code point of a code page 1252 byte. Bytes 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D, unassigned there, stand for the C1 control of the same value, as on Windows.
char32_t Cp1252ToCodePoint(unsigned char byte);
// The code page 1252 byte of a code point, or -1 when the code page lacks it.
int CodePointToCp1252(char32_t code);

// UTF-8 text in code page 1252: a character the code page lacks, and each byte of a
// malformed UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view text);

// A control character of code page 1252 text: a byte below 0x20, DEL (0x7F), or one
// of the five bytes that stand for C1 controls.
bool IsControlChar(unsigned char byte);
// Every control character of Text becomes a blank: the vendor's texts break no line
// and no column where the tool shows or writes them.
void BlankControls(std::string &text);
