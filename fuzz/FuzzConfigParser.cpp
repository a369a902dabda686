// libFuzzer target: the configuration text's reader and its matching on arbitrary
// bytes. Nothing may escape; every item keeps a line of the text and entries have
// non-empty names; and what the matching applied, written out in every form and
// read back, checks without errors to the same settings.
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
          Row("CP0", {"OFF", "ON"}), Row("WDT", {"ON", "OFF"})};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  int lines = 1;
  for (const char c : text)
    lines += c == '\n' || c == '\r' ? 1 : 0;
  TConfigTextScanner scanner(text);
  TConfigItem item;
  while (scanner.Next(item)) {
    Check(item.Line >= 1 && item.Line <= lines);
    if (item.Kind == TConfigItemKind::Entry)
      Check(!item.Name.empty() && !item.Setting.empty());
    if (item.Kind == TConfigItemKind::Problem)
      Check(!item.Problem.empty());
  }

  std::vector<TSwitchRow> rows = Table();
  int errors = 0;
  const TReadSummary summary =
      ReadConfigText(text, rows, "18F1", 0, TReadMode::Check, [&](const TDiagnostic &d) {
        Check(d.Line >= 1 && d.Line <= lines && !d.Text.empty());
        errors += d.Severity == TSeverity::Error ? 1 : 0;
      });
  Check(summary.Errors == errors && summary.Applied <= summary.Entries);

  // The round trip: the table as it now stands, written and read back.
  for (const TConfigTextOptions options :
       {TConfigTextOptions{false, true, false}, TConfigTextOptions{true, false, false},
        TConfigTextOptions{false, false, true}}) {
    std::string written;
    for (const std::string &line : ConfigTextLines("18F1", rows, options))
      written += line + "\n";
    std::vector<TSwitchRow> again = Table();
    const TReadSummary back = ReadConfigText(written, again, "18F1", 1, TReadMode::Check, nullptr);
    Check(back.Found && back.Errors == 0);
    for (size_t i = 0; i < rows.size(); ++i)
      Check(again[i].Chosen == rows[i].Chosen);
  }
  return 0;
}
