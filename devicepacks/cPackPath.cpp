// Conversion between the tool's 8-bit paths and std::filesystem's.
#include "devicepacks/cPackPath.h"

#include "common/cTextConv.h"

std::filesystem::path PackPath(const std::string &text) {
#ifdef _WIN32
  return {AnsiToWide(text)};
#else
  return {text};
#endif
}

std::string PackPathText(const std::filesystem::path &path) {
#ifdef _WIN32
  return WideToAnsi(path.native());
#else
  return path.native();
#endif
}
