// Checking entries against a device's table, the messages about them, and the
// risky settings.
#include "core/cConfigCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TSwitchRow Row(const std::string &name, std::initializer_list<const char *> settings) {
  TSwitchRow row;
  row.Name = name;
  for (const char *setting : settings) {
    row.SettingNames.Add(setting);
    row.SettingDescriptions.Add(std::string("about ") + setting);
  }
  row.Default = row.FileDefault = row.SettingNames[0];
  return row;
}

std::vector<TSwitchRow> Table() {
  return {Row("FOSC", {"LP", "XT", "HS", "HS"}), Row("WDT", {"OFF", "ON"}), Row("LVP", {"OFF", "ON"})};
}

TConfigEntry Entry(const std::string &name, const std::string &setting, int line) {
  return {name, setting, line};
}
} // namespace

TEST(ConfigCheck, EachEntryEndsInExactlyOneOutcome) {
  std::vector<TSwitchRow> rows = Table();
  const auto results = ApplyEntries({Entry("fosc", "hs", 3), Entry("WDT", "MAYBE", 4), Entry("PLL", "ON", 5),
                                     Entry("FOSC", "XT", 6), Entry("WDT", "on", 7)},
                                    rows);
  ASSERT_EQ(results.size(), 5u);
  EXPECT_EQ(results[0].Outcome, TEntryOutcome::Applied);
  EXPECT_EQ(results[0].Setting, 2); // the first of the name
  EXPECT_EQ(results[1].Outcome, TEntryOutcome::UnknownSetting);
  EXPECT_EQ(results[2].Outcome, TEntryOutcome::UnknownSwitch);
  EXPECT_EQ(results[3].Outcome, TEntryOutcome::NamedTwice);
  EXPECT_EQ(results[3].FirstLine, 3);
  EXPECT_EQ(results[4].Outcome, TEntryOutcome::Applied); // the unknown setting named nothing
  // The later entry wins; the first setting of a name is taken.
  EXPECT_EQ(rows[0].Setting(), "XT");
  EXPECT_EQ(rows[1].Setting(), "ON");
  EXPECT_EQ(rows[2].Setting(), "OFF");
  EXPECT_EQ(RowsNotNamed(results, rows.size()), std::vector<int>{2});

  std::vector<TSwitchRow> again = Table();
  ApplyEntries({Entry("FOSC", "hs", 1)}, again);
  EXPECT_EQ(again[0].Chosen, 2);
}

TEST(ConfigCheck, MessagesSayWhyAndListWhatIsValid) {
  std::vector<TSwitchRow> rows = Table();
  const auto results = ApplyEntries(
      {Entry("PLL", "ON", 2), Entry("FOSC", "RC", 3), Entry("WDT", "ON", 4), Entry("wdt", "OFF", 9)}, rows);
  EXPECT_EQ(DescribeOutcome(results[0], rows, "18F1"),
            "unknown switch 'PLL' for 18F1; its switches: FOSC, WDT, LVP");
  EXPECT_EQ(DescribeOutcome(results[1], rows, "18F1"),
            "unknown setting 'RC' for switch 'FOSC'; its settings: LP, XT, HS");
  EXPECT_EQ(DescribeOutcome(results[2], rows, "18F1"), "");
  EXPECT_EQ(DescribeOutcome(results[3], rows, "18F1"),
            "switch 'WDT' named twice (first on line 4); this later setting wins");
}

TEST(ConfigCheck, RiskySettingsHaveAReason) {
  const struct {
    const char *Switch, *Setting;
    bool Risky;
  } cases[] = {
      {"CP0", "ON", true},         {"CP12", "on", true},    {"CP", "ON", false},      {"CPX", "ON", false},
      {"CP0", "OFF", false},       {"CPB", "ON", true},     {"CPD", "ON", true},      {"WRT3", "ON", true},
      {"WRTB", "ON", true},        {"WRTC", "ON", true},    {"WRTD", "ON", true},     {"EBTR1", "ON", true},
      {"EBTRB", "ON", true},       {"LVP", "ON", true},     {"lvp", "Enabled", true}, {"LVP", "OFF", false},
      {"DEBUG", "ON", true},       {"DEBUG", "OFF", false}, {"XINST", "ON", true},    {"MCLRE", "OFF", true},
      {"MCLRE", "EXTMCLR", false}, {"WDT", "ON", false},
  };
  for (const auto &c : cases) {
    const char *reason = RiskOf(c.Switch, c.Setting);
    EXPECT_EQ(reason != nullptr, c.Risky) << c.Switch << "=" << c.Setting;
    if (reason != nullptr) {
      EXPECT_GT(std::string(reason).size(), 20u);
    }
  }
}
