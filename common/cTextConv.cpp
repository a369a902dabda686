// Portable conversion: Windows-1252 to and from UTF-16.
#include "common/cTextConv.h"

#include <cstdint>
#include <type_traits>

namespace {
// Code points of the bytes 0x80 to 0x9F in Windows-1252; 0 where the byte is unassigned
// (those bytes map to the C1 control of the same value, as Windows does).
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

wchar_t ByteToWide(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
    return static_cast<wchar_t>(kHigh[b - 0x80]);
  return static_cast<wchar_t>(b);
}

char WideToByte(wchar_t w) {
  const auto code = static_cast<uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(w));
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
    return static_cast<char>(code);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == code || (kHigh[i] == 0 && code == 0x80u + static_cast<unsigned>(i)))
      return static_cast<char>(0x80 + i);
  return '?';
}
} // namespace

WideString AnsiToWide(std::string_view text) {
  WideString result;
  result.reserve(text.size());
  for (char c : text)
    result.push_back(ByteToWide(static_cast<unsigned char>(c)));
  return result;
}

std::string WideToAnsi(std::wstring_view text) {
  std::string result;
  result.reserve(text.size());
  for (wchar_t w : text)
    result.push_back(WideToByte(w));
  return result;
}
