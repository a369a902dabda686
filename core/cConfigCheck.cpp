// Matching entries to a device's rows, the messages about them, and the table of
// risky settings.
#include "core/cConfigCheck.h"

#include "common/cErrors.h"

#include <algorithm>
#include <cctype>

namespace {
// Names in order, each once.
std::string Listed(const std::vector<std::string> &names) {
  std::vector<std::string> once;
  for (const std::string &name : names)
    if (std::find(once.begin(), once.end(), name) == once.end())
      once.push_back(name);
  return ListForMessage(once);
}

// A setting that can lock the user out of the chip, or make it misbehave, and why.
struct TRiskRule {
  const char *Switch;
  bool Numbered; // the switch name is followed by a block number (CP0, CP1, ...)
  const char *Settings[3];
  const char *Reason;
};

constexpr const char *kCodeProtect = "code protection: the program memory can no longer be read back or "
                                     "verified; only a bulk erase of the chip lifts it";
constexpr const char *kWriteProtect =
    "write protection: the protected memory can no longer be changed by the "
    "program or a bootloader; only a bulk erase of the chip lifts it";
constexpr const char *kReadProtect = "table read protection: code in other blocks can no longer read this "
                                     "block; only a bulk erase of the chip lifts it";

const TRiskRule kRiskRules[] = {
    {"CP", true, {"ON"}, kCodeProtect},
    {"CPB", false, {"ON"}, kCodeProtect},
    {"CPD",
     false,
     {"ON"},
     "data EEPROM protection: the EEPROM can no longer be read back by a programmer; only "
     "a bulk erase of the chip lifts it"},
    {"WRT", true, {"ON"}, kWriteProtect},
    {"WRTB", false, {"ON"}, kWriteProtect},
    {"WRTC",
     false,
     {"ON"},
     "configuration write protection: the configuration can no longer be changed, not "
     "even by a programmer short of a bulk erase"},
    {"WRTD", false, {"ON"}, kWriteProtect},
    {"EBTR", true, {"ON"}, kReadProtect},
    {"EBTRB", false, {"ON"}, kReadProtect},
    {"LVP",
     false,
     {"ON", "ENABLED", "ENABLE"},
     "low-voltage programming: the PGM pin is given over to "
     "programming, and a stray high level on it stops the program"},
    {"DEBUG",
     false,
     {"ON"},
     "background debugger: two port pins are taken by the debugger and the program "
     "runs only under a debugger"},
    {"XINST",
     false,
     {"ON"},
     "extended instruction set: code built for the standard instruction set runs "
     "wrongly"},
    {"MCLRE",
     false,
     {"OFF"},
     "MCLR pin disabled: the chip can no longer be reset from the pin, and some "
     "programmers then fail to take control of it"},
};

bool IsDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(),
                                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool SwitchMatches(const TRiskRule &rule, const std::string &name) {
  const std::string_view prefix = rule.Switch;
  if (!rule.Numbered)
    return CompareText(name, prefix) == 0;
  return name.size() > prefix.size() &&
         CompareText(std::string_view(name).substr(0, prefix.size()), prefix) == 0 &&
         IsDigits(std::string_view(name).substr(prefix.size()));
}
} // namespace

std::vector<TEntryResult> ApplyEntries(const std::vector<TConfigEntry> &entries,
                                       std::vector<TSwitchRow> &rows) {
  std::vector<TEntryResult> results;
  results.reserve(entries.size());
  std::vector<int> namedOn(rows.size(), 0); // line of the entry that applied to each row
  for (const TConfigEntry &entry : entries) {
    TEntryResult &result = results.emplace_back();
    result.Entry = entry;
    result.Row = FindSwitch(rows, entry.Switch, true);
    if (result.Row < 0) {
      result.Outcome = TEntryOutcome::UnknownSwitch;
      continue;
    }
    TSwitchRow &row = rows[static_cast<size_t>(result.Row)];
    const int k = FindSetting(row, entry.Setting, true);
    if (k < 0) {
      result.Outcome = TEntryOutcome::UnknownSetting;
      continue;
    }
    row.Chosen = k;
    result.Setting = k;
    int &first = namedOn[static_cast<size_t>(result.Row)];
    if (first != 0) {
      result.Outcome = TEntryOutcome::NamedTwice;
      result.FirstLine = first;
    } else {
      first = entry.Line;
    }
  }
  return results;
}

std::string DescribeOutcome(const TEntryResult &result, const std::vector<TSwitchRow> &rows,
                            const std::string &device) {
  const TConfigEntry &entry = result.Entry;
  switch (result.Outcome) {
  case TEntryOutcome::Applied:
    return {};
  case TEntryOutcome::UnknownSwitch: {
    std::vector<std::string> names;
    names.reserve(rows.size());
    for (const TSwitchRow &row : rows)
      names.push_back(row.Name);
    return "unknown switch " + QuotedForMessage(entry.Switch) + " for " + device +
           "; its switches: " + Listed(names);
  }
  case TEntryOutcome::UnknownSetting: {
    const TSwitchRow &row = rows[static_cast<size_t>(result.Row)];
    return "unknown setting " + QuotedForMessage(entry.Setting) + " for switch " +
           QuotedForMessage(row.Name) +
           "; its settings: " + Listed({row.SettingNames.begin(), row.SettingNames.end()});
  }
  case TEntryOutcome::NamedTwice:
    return "switch " + QuotedForMessage(rows[static_cast<size_t>(result.Row)].Name) +
           " named twice (first on line " + std::to_string(result.FirstLine) + "); this later setting wins";
  }
  return {};
}

std::vector<int> RowsNotNamed(const std::vector<TEntryResult> &results, size_t rowCount) {
  std::vector<bool> named(rowCount, false);
  for (const TEntryResult &result : results)
    if ((result.Outcome == TEntryOutcome::Applied || result.Outcome == TEntryOutcome::NamedTwice) &&
        result.Row >= 0 && static_cast<size_t>(result.Row) < rowCount)
      named[static_cast<size_t>(result.Row)] = true;
  std::vector<int> rows;
  for (size_t i = 0; i < rowCount; ++i)
    if (!named[i])
      rows.push_back(static_cast<int>(i));
  return rows;
}

const char *RiskOf(const std::string &switchName, const std::string &setting) {
  for (const TRiskRule &rule : kRiskRules) {
    if (!SwitchMatches(rule, switchName))
      continue;
    for (const char *risky : rule.Settings)
      if (risky != nullptr && CompareText(setting, risky) == 0)
        return rule.Reason;
  }
  return nullptr;
}

std::string RiskWarning(const TSwitchRow &row, int setting) {
  const std::string &name = row.SettingNames[setting];
  const char *reason = RiskOf(row.Name, name);
  return reason == nullptr ? std::string() : row.Name + " = " + name + ": " + reason;
}
