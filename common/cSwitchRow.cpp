// The rules every source's switch rows follow.
#include "common/cSwitchRow.h"

#include "common/cStringList.h"

int SettingOfBits(const TSwitchRow &row, uint32_t word) {
  const uint32_t bits = word & row.Mask;
  int found = -1;
  for (size_t k = 0; k < row.Settings.size(); ++k)
    if ((bits & row.Settings[k].Compared) == row.Settings[k].Value)
      found = static_cast<int>(k);
  return found;
}

namespace {
// The setting a switch starts from, where it differs from the chip's default.
const TSwitchSetting *ForcedOff(const TSwitchRow &row) {
  if (row.Name != "XINST" && row.Name != "DEBUG" && row.Name != "LVP" && row.Name != "IOL1WAY")
    return nullptr;
  for (const std::string_view off : {"OFF", "DISABLED", "DISABLE"})
    for (const TSwitchSetting &setting : row.Settings)
      if (CompareText(setting.Name, off) == 0)
        return &setting;
  return nullptr;
}
} // namespace

void SetDefaults(TSwitchRow &row, uint32_t unset, bool useChipDefaults) {
  const int k = SettingOfBits(row, unset);
  row.ChipDefaultMatchesNone = k < 0;
  if (row.Settings.empty())
    row.ChipDefault.clear();
  else
    row.ChipDefault = row.Settings[k >= 0 ? static_cast<size_t>(k) : row.Settings.size() - 1].Name;
  const TSwitchSetting *off = useChipDefaults ? nullptr : ForcedOff(row);
  row.StartSetting = off != nullptr ? off->Name : row.ChipDefault;
}
