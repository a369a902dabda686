// Portable conversion: Windows-1252 to and from UTF-16.
#include "common/cTextConv.h"

#include "common/cCodePage1252.h"

#include <type_traits>

namespace {
wchar_t ByteToWide(unsigned char b) {
  return static_cast<wchar_t>(Cp1252ToCodePoint(b));
}

char WideToByte(wchar_t w) {
  const int byte = CodePointToCp1252(static_cast<std::make_unsigned_t<wchar_t>>(w));
  return byte < 0 ? '?' : static_cast<char>(byte);
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
