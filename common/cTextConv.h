// Conversion between the tool's 8-bit text and the UTF-16 text of the controls.
#pragma once

#include <string>
#include <string_view>

// Wide text as the controls hold it (UTF-16 code units on Windows).
using WideString = std::wstring;

// 8-bit text to wide text. On Windows through the system's ANSI code page;
// elsewhere as Windows-1252, the code page of the vendor's Western systems.
WideString AnsiToWide(std::string_view text);
// Wide text to 8-bit text; a character the code page lacks becomes '?'.
std::string WideToAnsi(std::wstring_view text);
