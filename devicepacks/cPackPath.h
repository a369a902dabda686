// Paths of the packs' folders and files: the tool's 8-bit text to the file system's
// own form and back (on Windows through the ANSI code page, as the window's folder).
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path PackPath(const std::string &text);
std::string PackPathText(const std::filesystem::path &path);
