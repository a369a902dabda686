// libFuzzer target: the configuration text's reader and its matching on arbitrary
// bytes. Nothing may escape; every entry keeps a line of the text and non-empty
// names; and what the matching applied, written out and read back, applies again
// to the same settings.
#include "core/cConfigCheck.h"
#include "core/cConfigParser.h"
#include "core/cConfigText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

TSwitchRow Row(const char *name, std::initializer_list<const char *> settings) {
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
  return {Row("FOSC", {"HS", "XT", "LP", "hs"}), Row("WDT", {"OFF", "ON"}), Row("LVP", {"OFF", "ON"}),
          Row("CP0", {"OFF", "ON"})};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  const TParsedConfig parsed = ParseConfigText(text);
  int lines = 1;
  for (const char c : text)
    lines += c == '\n' || c == '\r' ? 1 : 0;
  for (const TConfigEntry &entry : parsed.Entries)
    Check(entry.Line >= 1 && entry.Line <= lines && !entry.Switch.empty() && !entry.Setting.empty());
  Check(parsed.DeviceLine >= 0 && parsed.DeviceLine <= lines);

  std::vector<TSwitchRow> rows = Table();
  const std::vector<TEntryResult> results = ApplyEntries(parsed.Entries, rows);
  Check(results.size() == parsed.Entries.size());
  for (const TEntryResult &result : results)
    Check((result.Outcome == TEntryOutcome::UnknownSwitch) == (result.Row < 0));

  // The round trip: the table as it now stands, written and read back.
  for (const TConfigTextOptions options :
       {TConfigTextOptions{false, true}, TConfigTextOptions{true, false}}) {
    std::string written;
    for (const std::string &line : ConfigTextLines("18F1", rows, options))
      written += line + "\n";
    std::vector<TSwitchRow> again = Table();
    for (const TEntryResult &result : ApplyEntries(ParseConfigText(written).Entries, again))
      Check(result.Outcome == TEntryOutcome::Applied);
    for (size_t i = 0; i < rows.size(); ++i)
      Check(again[i].Chosen == rows[i].Chosen);
  }
  return 0;
}
