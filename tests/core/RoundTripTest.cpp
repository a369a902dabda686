// The round trip on every device of the full-size generated file, of every family:
// the text written for a table, in every syntax that serves its family and every
// option, read back onto the device's fresh table, is told to be in its syntax,
// checks clean and gives the same text.
#include "bench/cDeviceInfoGenerator.h"
#include "core/cConfigCheck.h"
#include "core/cConfigRead.h"
#include "core/cConfigParser.h"
#include "core/cConfigText.h"
#include "core/cConfigWords.h"
#include "core/cSyntax.h"
#include "deviceinfo/cInfoFile.h"
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

TEST(RoundTrip, EveryDeviceOfTheFullSizeFileInEverySyntaxAndOption) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, GenerateDeviceInfo().Text, true);
  TStringList devices = reader.AllDeviceNames();
  ASSERT_GT(devices.Count(), reader.Devices.Count() + 50);
  int checked = 0;
  for (const bool infoDefaults : {false, true}) {
    for (const std::string &device : devices) {
      std::vector<TSwitchRow> table;
      std::vector<TConfigRegister> source;
      if (!ReadDeviceTable(reader, infoDefaults, device, table, &source))
        continue;
      ApplyStartSettings(table);
      const std::vector<TWordRegister> registers = WordRegisters(source, table, "");
      // At the defaults, and with some rows away from them by name (the first
      // setting of a name).
      std::vector<TSwitchRow> varied = table;
      for (size_t i = 0; i < varied.size(); i += 3)
        varied[i].Chosen = FindSetting(varied[i], varied[i].Settings[i * 7 % varied[i].Settings.size()].Name);
      // At the chip's defaults, as a text that names nothing leaves them: a switch
      // whose chip default is none of its settings is left out.
      std::vector<TSwitchRow> chip = table;
      ApplyChipDefaults(chip);
      for (const std::vector<TSwitchRow> *start : {&table, &varied, &chip})
        for (const TSyntax &syntax : kSyntaxes)
          for (const bool comments : {true, false})
            if (SyntaxServes(syntax, FamilyOfRegisters(source)))
              for (const bool changedOnly : {false, true}) {
                const bool atDefaults = start != &varied;
                const TConfigTextOptions options{&syntax, comments, changedOnly};
                const std::string text = Joined(ConfigTextLines(device, *start, options, registers));
                const TTextDevice named = FindDeviceLine(text);
                ASSERT_EQ(named.Name, device);
                std::vector<TSwitchRow> fresh = table;
                std::vector<TDiagnostic> diagnostics;
                const TReadSummary summary = ReadConfigText(
                    text, fresh, device, named.Line, TReadMode::Check,
                    [&](const TDiagnostic &d) { diagnostics.push_back(d); }, static_cast<size_t>(-1),
                    registers);
                ASSERT_EQ(TellSyntaxFamily(text), syntax.Family) << text;
                ASSERT_TRUE(summary.Found) << device;
                for (const TDiagnostic &d : diagnostics) {
                  ASSERT_NE(d.Severity, TSeverity::Error) << device << ": " << d.Text << "\n" << text;
                  // At the defaults, only risky chip defaults are warned of (a switch
                  // forced off keeps its chip default where it has no off setting).
                  if (atDefaults && d.Severity == TSeverity::Warning) {
                    const TSwitchIndex names(fresh);
                    const int name = names.Find(d.Switch);
                    ASSERT_GE(name, 0) << d.Text;
                    const int row = names.Rows(name)[0];
                    ASSERT_EQ(d.Setting, fresh[static_cast<size_t>(row)].ChipDefault)
                        << device << ": " << d.Text;
                  }
                }
                ASSERT_EQ(Joined(ConfigTextLines(device, fresh, options, registers)), text) << device;
              }
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2 * devices.Count());
}
