// Paths of the packs' folders and files: the tool's 8-bit text to the file system's
// own form and back (on Windows through the ANSI code page, as the window's folder),
// and the rules of the packs' version names, in folders and archive names alike.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

std::filesystem::path PackPath(const std::string &text);
std::string PackPathText(const std::filesystem::path &path);

// A version folder's name: numbers separated by dots ("1.13.292"); "1.6.89.bak" and
// "2.0.0-rc1" are none.
bool IsVersion(std::string_view name);
// Compares two versions number by number (1.10.0 is newer than 1.9.5); a version
// that is the start of another is older. Negative, 0 or positive.
int CompareVersions(std::string_view a, std::string_view b);
// True when version A is taken before B: it is newer, or equal and written shorter
// (1.2 before 01.2), or of the same length and first in byte order (01.2 before 1.02).
bool PreferVersion(std::string_view a, std::string_view b);
