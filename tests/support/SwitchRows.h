// A switch row's settings as plain lists, for tests that compare them whole.
#pragma once

#include "common/cSwitchRow.h"

#include <string>
#include <vector>

inline std::vector<std::string> SettingNames(const TSwitchRow &row) {
  std::vector<std::string> names;
  for (const TSwitchSetting &setting : row.Settings)
    names.push_back(setting.Name);
  return names;
}

inline std::vector<std::string> SettingDescriptions(const TSwitchRow &row) {
  std::vector<std::string> descriptions;
  for (const TSwitchSetting &setting : row.Settings)
    descriptions.push_back(setting.Description);
  return descriptions;
}
