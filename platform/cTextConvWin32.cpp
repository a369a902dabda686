// Windows conversion through the system's ANSI code page.
#include "common/cTextConv.h"

#include <windows.h>

WideString AnsiToWide(std::string_view text) {
  if (text.empty())
    return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  WideString result(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
  return result;
}

std::string WideToAnsi(std::wstring_view text) {
  if (text.empty())
    return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string result(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), n, nullptr,
                      nullptr);
  return result;
}
