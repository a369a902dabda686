// The status line and the device look-up.
#include "core/cDeviceList.h"

#include <algorithm>
#include <numeric>

namespace {
constexpr size_t kFarthestClose = 2;

// The letters inserted, removed or replaced to turn A into B, ignoring letter case.
size_t EditDistance(std::string_view a, std::string_view b) {
  const std::string upperA = UpperCaseAscii(a);
  const std::string upperB = UpperCaseAscii(b);
  std::vector<size_t> row(upperB.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= upperA.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= upperB.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (upperA[i - 1] == upperB[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row.back();
}
} // namespace

std::string StatusLine(const std::string &version, int count) {
  return "resource file: " + version + "    " + std::to_string(count) + " device(s) found";
}

std::string_view WithoutPicPrefix(std::string_view name) {
  if (name.size() > 3 && CompareText(name.substr(0, 3), "PIC") == 0)
    return name.substr(3);
  return name;
}

int FindListedDevice(const TStringList &names, std::string_view name) {
  return names.IndexOf(WithoutPicPrefix(name), CompareText);
}

std::vector<std::string> ClosestNames(const std::vector<std::string> &names, std::string_view name,
                                      size_t most) {
  const std::string_view wanted = WithoutPicPrefix(name);
  const size_t farthest = std::min(kFarthestClose, wanted.empty() ? 0 : wanted.size() - 1);
  std::vector<std::pair<size_t, size_t>> close; // distance, position in Names
  for (size_t i = 0; i < names.size(); ++i) {
    const size_t distance = EditDistance(wanted, WithoutPicPrefix(names[i]));
    if (distance <= farthest)
      close.emplace_back(distance, i);
  }
  std::stable_sort(close.begin(), close.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  std::vector<std::string> closest;
  for (size_t i = 0; i < close.size() && i < most; ++i)
    closest.push_back(names[close[i].second]);
  return closest;
}
