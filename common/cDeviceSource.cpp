// The rules every source's switch rows follow.
#include "common/cDeviceSource.h"

int SettingOfBits(const TSwitchRow &row, uint32_t word) {
  const uint32_t bits = word & row.Mask;
  int found = -1;
  for (size_t v = 0; v < row.Values.size(); ++v)
    if ((bits & (v < row.ValueMasks.size() ? row.ValueMasks[v] : row.Mask)) == row.Values[v])
      found = static_cast<int>(v);
  return found;
}

int NoteChipDefault(TSwitchRow &row, uint32_t unset) {
  const int k = SettingOfBits(row, unset);
  row.DefaultMatchesNone = k < 0;
  return k;
}

std::string StartingDefault(std::string_view switchName, const TStringList &settingNames,
                            const std::string &fileDefault, bool useInfoDefaults) {
  if (!useInfoDefaults &&
      (switchName == "XINST" || switchName == "DEBUG" || switchName == "LVP" || switchName == "IOL1WAY")) {
    for (const std::string_view off : {"OFF", "DISABLED", "DISABLE"}) {
      const int k = settingNames.IndexOf(off, CompareText);
      if (k >= 0)
        return settingNames[k];
    }
  }
  return fileDefault;
}
