// The round trip on every device of the full-size generated file: the text written
// for a table, read back onto the device's fresh table, gives the same text.
#include "bench/cDeviceInfoGenerator.h"
#include "core/cConfigCheck.h"
#include "core/cConfigParser.h"
#include "core/cConfigText.h"
#include "deviceinfo/cDeviceInfo.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string Joined(const std::vector<std::string> &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\r\n";
  return text;
}
} // namespace

TEST(RoundTrip, EveryDeviceOfTheFullSizeFileInAllFourForms) {
  TDeviceInfo reader;
  TDeviceInfoProbe::LoadIndexFromText(reader, GenerateDeviceInfo().Text, true);
  TStringList devices = reader.Devices;
  ASSERT_GT(devices.Count(), 100);
  int checked = 0;
  for (const std::string &device : devices) {
    std::vector<TSwitchRow> chosen;
    if (!ReadDeviceTable(reader, device, chosen))
      continue;
    ApplyDefaults(chosen);
    // Some rows away from their defaults, by name (the first setting of a name).
    for (size_t i = 0; i < chosen.size(); i += 3)
      chosen[i].Chosen = FindSetting(
          chosen[i], chosen[i].SettingNames[static_cast<int>(i * 7) % chosen[i].SettingNames.Count()]);
    for (const TConfigTextOptions options :
         {TConfigTextOptions{false, true}, TConfigTextOptions{false, false}, TConfigTextOptions{true, true},
          TConfigTextOptions{true, false}}) {
      const std::string text = Joined(ConfigTextLines(device, chosen, options));
      const TParsedConfig parsed = ParseConfigText(text);
      ASSERT_EQ(parsed.Device, device);
      std::vector<TSwitchRow> fresh;
      ASSERT_TRUE(ReadDeviceTable(reader, device, fresh));
      ApplyDefaults(fresh);
      for (const TEntryResult &result : ApplyEntries(parsed.Entries, fresh))
        ASSERT_EQ(result.Outcome, TEntryOutcome::Applied) << device << ": " << result.Entry.Switch;
      ASSERT_EQ(Joined(ConfigTextLines(device, fresh, options)), text) << device;
    }
    ++checked;
  }
  EXPECT_EQ(checked, devices.Count());
}
