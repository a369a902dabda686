// Checking a configuration against a device: which entries apply to its table and
// why the others do not, and which settings can lock a user out of the chip.
#pragma once

#include "core/cConfigParser.h"
#include "core/cDeviceTable.h"

#include <string>
#include <vector>

enum class TEntryOutcome {
  Applied,        // the switch's setting is now the entry's
  UnknownSwitch,  // the device has no switch of that name
  UnknownSetting, // the switch has no setting of that name
  NamedTwice,     // an earlier entry named the switch too; this later one wins
};

struct TEntryResult {
  TConfigEntry Entry;
  TEntryOutcome Outcome = TEntryOutcome::Applied;
  int Row = -1;      // the row it names, when the switch is known
  int Setting = -1;  // the setting of that row it names, when the setting is known
  int FirstLine = 0; // NamedTwice: the line that named the switch first
};

// Applies Entries to Rows in order: switch and setting names are matched ignoring
// letter case and the first setting of that name is taken. Rows no entry names keep
// their settings. Each entry ends in exactly one outcome.
std::vector<TEntryResult> ApplyEntries(const std::vector<TConfigEntry> &entries,
                                       std::vector<TSwitchRow> &rows);

// Why an entry was not applied as it stands, in a line a user understands (empty
// for an applied one): the valid switches or settings are listed.
std::string DescribeOutcome(const TEntryResult &result, const std::vector<TSwitchRow> &rows,
                            const std::string &device);

// The rows whose switch no applied entry names, in row order.
std::vector<int> RowsNotNamed(const std::vector<TEntryResult> &results, size_t rowCount);

// The reason why choosing Setting for Switch is risky, or null when it is not.
const char *RiskOf(const std::string &switchName, const std::string &setting);
// "SWITCH = SETTING: reason" for a risky setting of Row, or empty.
std::string RiskWarning(const TSwitchRow &row, int setting);
