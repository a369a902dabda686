// Conversion between the tool's 8-bit paths and std::filesystem's; pack versions.
#include "devicepacks/cPackPath.h"

#include "common/cTextConv.h"

#include <algorithm>

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

bool IsVersion(std::string_view name) {
  int numbers = 0;
  size_t i = 0;
  while (i < name.size()) {
    const size_t start = i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9')
      ++i;
    if (i == start)
      return false;
    ++numbers;
    if (i == name.size())
      break;
    if (name[i] != '.' || i + 1 == name.size())
      return false;
    ++i;
  }
  return numbers >= 2;
}

int CompareVersions(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const size_t endA = std::min(a.find('.', i), a.size());
    const size_t endB = std::min(b.find('.', j), b.size());
    std::string_view x = a.substr(i, endA - i);
    std::string_view y = b.substr(j, endB - j);
    // Numbers of any length: without leading zeros, the longer is the larger.
    while (x.size() > 1 && x[0] == '0')
      x.remove_prefix(1);
    while (y.size() > 1 && y[0] == '0')
      y.remove_prefix(1);
    if (x.size() != y.size())
      return x.size() < y.size() ? -1 : 1;
    if (const int order = x.compare(y); order != 0)
      return order < 0 ? -1 : 1;
    i = endA + 1;
    j = endB + 1;
  }
  const bool moreA = i < a.size();
  const bool moreB = j < b.size();
  return moreA == moreB ? 0 : (moreA ? 1 : -1);
}

bool PreferVersion(std::string_view a, std::string_view b) {
  if (const int order = CompareVersions(a, b); order != 0)
    return order > 0;
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}
