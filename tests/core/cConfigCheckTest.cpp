// Reading a configuration onto a device's table: the outcome of each entry, the
// diagnostics, the switches a text leaves out, and the risky settings.
#include "core/cConfigCheck.h"
#include "core/cConfigRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// A row whose chip default is Default (its first setting when none is given).
TSwitchRow Row(const std::string &name, std::initializer_list<const char *> settings,
               const char *chip = nullptr) {
  TSwitchRow row;
  row.Name = name;
  for (const char *setting : settings)
    row.Settings.push_back({setting, std::string("about ") + setting});
  row.StartSetting = row.ChipDefault = chip != nullptr ? chip : row.Settings[0].Name;
  return row;
}

// A part with a PGM pin, whose LVP is on by default.
std::vector<TSwitchRow> Table() {
  std::vector<TSwitchRow> rows = {Row("FOSC", {"LP", "XT", "HS", "HS"}), Row("WDT", {"OFF", "ON"}),
                                  Row("LVP", {"OFF", "ON"}, "ON")};
  for (TSwitchRow &row : rows)
    row.PgmPin = TPinFact::Present;
  return rows;
}

// Reads Text onto Rows; the diagnostics as "LINE severity: text".
std::vector<std::string> Read(const std::string &text, std::vector<TSwitchRow> &rows, TReadMode mode,
                              int deviceLine = 1, TReadSummary *summary = nullptr) {
  std::vector<std::string> lines;
  const TReadSummary result = ReadConfigText(text, rows, "18F1", deviceLine, mode, [&](const TDiagnostic &d) {
    lines.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
  });
  if (summary != nullptr)
    *summary = result;
  return lines;
}

std::vector<std::string> Settings(const std::vector<TSwitchRow> &rows) {
  std::vector<std::string> settings;
  settings.reserve(rows.size());
  for (const TSwitchRow &row : rows)
    settings.push_back(row.Setting());
  return settings;
}

using Strings = std::vector<std::string>;
} // namespace

TEST(ConfigCheck, EachEntryIsAppliedOrSaysWhyNot) {
  std::vector<TSwitchRow> rows = Table();
  TReadSummary summary;
  const Strings diagnostics = Read("config\n fosc = hs,\n WDT = MAYBE,\n PLL = ON,\n FOSC = XT,\n WDT = on\n",
                                   rows, TReadMode::Paste, 1, &summary);
  EXPECT_EQ(diagnostics,
            (Strings{"3 error: unknown setting 'MAYBE' for switch 'WDT'; its settings: OFF, ON",
                     "4 error: unknown switch 'PLL' for 18F1; its switches: FOSC, WDT, LVP",
                     "5 error: switch 'FOSC' named twice (first on line 2); this later setting wins"}));
  // The later entry wins; the first setting of a name is taken; the unknown setting named nothing.
  EXPECT_EQ(Settings(rows), (Strings{"XT", "ON", "OFF"}));
  EXPECT_EQ(rows[0].Chosen, 1);
  EXPECT_EQ(summary.Entries, 5);
  EXPECT_EQ(summary.Applied, 3);
  EXPECT_EQ(summary.Errors, 3);
}

TEST(ConfigCheck, ASwitchTheTextLeavesOutStandsForTheChipDefaultInACheckButNotInAPaste) {
  std::vector<TSwitchRow> checked = Table();
  checked[2].StartSetting = "OFF"; // forced off in the table, on in the chip
  ApplyStartSettings(checked);
  EXPECT_EQ(Read("device = 18F1\nconfig WDT = ON\n", checked, TReadMode::Check),
            (Strings{"1 warning: LVP = ON (the chip's default, as the file does not set it): low-voltage "
                     "programming: the PGM pin is given over to programming, and a stray high level on it "
                     "stops the program",
                     "1 note: 2 switch(es) of 18F1 not named, so at the chip's default: FOSC, LVP"}));
  EXPECT_EQ(Settings(checked), (Strings{"LP", "ON", "ON"}));

  std::vector<TSwitchRow> pasted = Table();
  pasted[0].Chosen = 2;
  EXPECT_EQ(Read("config WDT = ON\n", pasted, TReadMode::Paste), Strings{});
  EXPECT_EQ(Settings(pasted), (Strings{"HS", "ON", "OFF"}));
}

TEST(ConfigCheck, TheNotesGoToTheFirstConfigurationLineWithoutADeviceLine) {
  std::vector<TSwitchRow> rows = Table();
  EXPECT_EQ(Read("\n\nconfig FOSC = HS, WDT = OFF, LVP = OFF\n", rows, TReadMode::Check, 0), Strings{});
  rows = Table();
  EXPECT_EQ(Read("x\nconfig FOSC = HS, WDT = OFF\n", rows, TReadMode::Check, 0).front(),
            "2 warning: LVP = ON (the chip's default, as the file does not set it): low-voltage programming: "
            "the PGM pin is given over to programming, and a stray high level on it stops the program");
}

TEST(ConfigCheck, NoConfigurationAndUnreadableLinesAreErrors) {
  std::vector<TSwitchRow> rows = Table();
  TReadSummary summary;
  EXPECT_EQ(Read("device = 18F1\nx = 1\n", rows, TReadMode::Check, 1, &summary),
            Strings{"1 error: no configuration found"});
  EXPECT_FALSE(summary.Found);
  const Strings diagnostics =
      Read("config\n WDT = OFF extra,\n LVP = OFF\n", rows, TReadMode::Check, 0, &summary);
  ASSERT_GE(diagnostics.size(), 1u);
  EXPECT_EQ(diagnostics[0].substr(0, 16), "2 error: expecte");
  EXPECT_EQ(summary.Problems, 1);
  EXPECT_EQ(summary.Errors, 1);
}

TEST(ConfigCheck, ASwitchNameTheDeviceRepeatsTakesThatManyEntriesInOrder) {
  std::vector<TSwitchRow> rows = {Row("CCPMX", {"RB3", "RC1"}), Row("WDT", {"OFF", "ON"}),
                                  Row("CCPMX", {"RB3", "RC1"})};
  EXPECT_EQ(Read("config CCPMX = RC1, WDT = ON, CCPMX = RB3\n", rows, TReadMode::Check), Strings{});
  EXPECT_EQ(Settings(rows), (Strings{"RC1", "ON", "RB3"}));
  EXPECT_EQ(Read("config CCPMX = RC1, CCPMX = RC1, CCPMX = RB3\n", rows, TReadMode::Check),
            (Strings{"1 error: switch 'CCPMX' named twice (first on line 1); this later setting wins",
                     "1 note: 1 switch(es) of 18F1 not named, so at the chip's default: WDT"}));
  EXPECT_EQ(Settings(rows), (Strings{"RB3", "OFF", "RC1"}));
}

TEST(ConfigCheck, ARiskyEntryIsWarnedOfEvenWhenALaterOneOverridesIt) {
  std::vector<TSwitchRow> rows = Table();
  const Strings diagnostics =
      Read("config LVP = ON,\n FOSC = HS, WDT = OFF,\n LVP = OFF\n", rows, TReadMode::Check);
  ASSERT_EQ(diagnostics.size(), 2u);
  EXPECT_EQ(diagnostics[0].substr(0, 22), "1 warning: LVP = ON: l");
  EXPECT_EQ(diagnostics[1].substr(0, 24), "3 error: switch 'LVP' na");
}

TEST(ConfigCheck, MatchEntryNamesTheRowAndSettingOrWhyNot) {
  const std::vector<TSwitchRow> rows = Table();
  const TEntryMatch good = MatchEntry(rows, "fosc", "Hs", "18F1");
  EXPECT_EQ(good.Row, 0);
  EXPECT_EQ(good.Setting, 2);
  EXPECT_EQ(good.Error, "");
  EXPECT_EQ(MatchEntry(rows, "PLL", "ON", "18F1").Error,
            "unknown switch 'PLL' for 18F1; its switches: FOSC, WDT, LVP");
  EXPECT_EQ(MatchEntry(rows, "FOSC", "RC", "18F1").Error,
            "unknown setting 'RC' for switch 'FOSC'; its settings: LP, XT, HS");
}

TEST(ConfigCheck, RiskGoesBySwitchFamilyAndItsSafeSettings) {
  const struct {
    const char *Switch, *Setting;
    bool Risky;
  } cases[] = {
      // Protection: safe only OFF, whatever the block or area.
      {"CP", "ON", true},
      {"CP0", "ON", true},
      {"CP7", "on", true},
      {"CP12", "ON", true},
      {"CPB", "ON", true},
      {"CPC", "ON", true},
      {"CPD", "ON", true},
      {"CP0", "OFF", false},
      {"WRT", "ON", true},
      {"WRT3", "ON", true},
      {"WRTB", "ON", true},
      {"WRTC", "ON", true},
      {"WRTD", "ON", true},
      {"WRTAPP", "ON", true},
      {"wrtsaf", "ON", true},
      {"WRTAPP", "OFF", false},
      {"EBTR", "ON", true},
      {"EBTR1", "ON", true},
      {"EBTRB", "ON", true},
      {"EBTRB", "OFF", false},
      {"CP", "HALF", true},
      // Names that only share a prefix are never risky.
      {"CPUDIV", "OSC1_PLL2", false},
      {"CPORT", "ON", false},
      {"CPX", "ON", false},
      {"WRTX", "ON", false},
      {"EBTRC", "ON", false},
      {"CPDX", "ON", false},
      // MCLRE: safe ON or EXTMCLR.
      {"MCLRE", "OFF", true},
      {"MCLRE", "INTMCLR", true},
      {"MCLRE", "ON", false},
      {"MCLRE", "EXTMCLR", false},
      // LVP, DEBUG, XINST: safe off.
      {"LVP", "ON", true},
      {"lvp", "Enabled", true},
      {"LVP", "OFF", false},
      {"LVP", "DISABLED", false},
      {"DEBUG", "ON", true},
      {"DEBUG", "OFF", false},
      {"XINST", "ON", true},
      {"XINST", "OFF", false},
      {"WDT", "ON", false},
  };
  for (const auto &c : cases) {
    // The chip's default is the other setting: only the family decides.
    const TSwitchRow row = Row(c.Switch, {c.Setting, "CHIP"}, "CHIP");
    const char *reason = RiskOf(row, 0);
    EXPECT_EQ(reason != nullptr, c.Risky) << c.Switch << "=" << c.Setting;
  }
}

namespace {
constexpr const char *kPgmPin = "low-voltage programming: the PGM pin is given over to programming, and a "
                                "stray high level on it stops the program";
constexpr const char *kAnyPart =
    "low-voltage programming: programming can start without a high voltage on MCLR/VPP; if the part has a "
    "PGM pin (its device data does not say), that pin is given over to programming, and a stray high level "
    "on it stops the program";
constexpr const char *kNoMclr = "MCLR pin disabled: the chip can no longer be reset from the pin, and some "
                                "programmers then fail to take control of it";
// The Q parts' words for LVP on, and for a MCLR pin whose function hangs on LVP.
constexpr const char *kQLvpOn =
    "Low voltage programming enabled. MCLR/VPP pin function is MCLR. MCLRE configuration bit is ignored";
constexpr const char *kQIntMclr =
    "If LVP = 0, MCLR pin function is port defined function; If LVP = 1, RE3 pin function is MCLR";
} // namespace

// A risk and its reason come from the part's own data where it says them: whether
// the part has a PGM pin (a pack's pin list), what a setting's description says of
// the MCLR pin; where the data is silent, the reason holds for every part.
TEST(ConfigCheck, TheRiskAndItsReasonComeFromThePartsOwnData) {
  const struct {
    const char *What;
    const char *Switch, *Setting, *Description;
    TPinFact PgmPin;
    std::string Reason; // empty: not risky
  } cases[] = {
      {"a PGM pin in the pin list", "LVP", "ON", "Single-Supply ICSP enabled", TPinFact::Present, kPgmPin},
      {"no PGM pin in the pin list", "LVP", "ON", "Single-Supply ICSP enabled", TPinFact::Absent, ""},
      {"the description keeps MCLR/VPP MCLR", "LVP", "ON", kQLvpOn, TPinFact::Unknown, ""},
      {"in any letter case", "LVP", "Enabled", "LVP on; the pin function is mclr", TPinFact::Unknown, ""},
      {"the pin list before the description", "LVP", "ON", kQLvpOn, TPinFact::Present, kPgmPin},
      {"nothing said: the reason for any part", "LVP", "ON", "Single-Supply ICSP enabled", TPinFact::Unknown,
       kAnyPart},
      {"off, with a PGM pin", "LVP", "OFF", "Single-Supply ICSP disabled", TPinFact::Present, ""},
      {"MCLR off while LVP is off", "MCLRE", "INTMCLR", kQIntMclr, TPinFact::Absent,
       "MCLR pin disabled while LVP is off (with LVP on the pin stays MCLR): the chip can then no longer be "
       "reset from the pin, and some programmers fail to take control of it"},
      {"MCLR off", "MCLRE", "OFF", "RE3 input pin enabled; MCLR disabled", TPinFact::Absent, kNoMclr},
      {"the debugger, whatever the pins", "DEBUG", "ON", "Background debugger enabled", TPinFact::Absent,
       "background debugger: two port pins are taken by the debugger and the program runs only under a "
       "debugger"},
  };
  for (const auto &c : cases) {
    TSwitchRow row = Row(c.Switch, {c.Setting, "CHIP"}, "CHIP");
    row.Settings[0].Description = c.Description;
    row.PgmPin = c.PgmPin;
    const char *reason = RiskOf(row, 0);
    EXPECT_EQ(reason == nullptr ? "" : reason, c.Reason) << c.What;
  }
}

namespace {
constexpr const char *kOneTime =
    "one-time programmable: once programmed, this setting can never be undone, not even by a bulk erase";

TSwitchRow Otp(TSwitchRow row) {
  row.Otp = true;
  return row;
}
} // namespace

TEST(ConfigCheck, ASettingOtherThanTheChipDefaultOfAOneTimeProgrammableSwitchIsRisky) {
  const TSwitchRow lock = Otp(Row("SAFLOCK", {"OFF", "ON"}));
  const TSwitchRow protection = Otp(Row("WRTSAF", {"OFF", "ON"}, "ON"));
  TSwitchRow none = Otp(Row("SAFSZ", {"SAFSZ_128", "SAFSZ_NONE"}, "SAFSZ_NONE"));
  none.ChipDefaultMatchesNone = true;
  const struct {
    const TSwitchRow &Row;
    int Setting;
    std::string Reason; // its start; empty: not risky
  } cases[] = {
      {lock, 0, ""},                         // the chip's default
      {lock, 1, kOneTime},                   // any other setting
      {protection, 0, kOneTime},             // safe as protection, yet not the chip's default
      {protection, 1, "write protection: "}, // the chip's default: only its family's risk
      {none, 0, kOneTime},                   // no setting is the chip's default
      {none, 1, kOneTime},
  };
  for (const auto &c : cases) {
    const char *reason = RiskOf(c.Row, c.Setting);
    const std::string text = reason == nullptr ? "" : reason;
    EXPECT_EQ(text.substr(0, c.Reason.size()), c.Reason) << c.Row.Name << " " << c.Setting;
    EXPECT_EQ(text.empty(), c.Reason.empty()) << c.Row.Name << " " << c.Setting;
  }
  EXPECT_EQ(RiskWarning(lock, 1), "SAFLOCK = ON: " + std::string(kOneTime));
}

TEST(ConfigCheck, AOneTimeProgrammableSettingIsWarnedOfWhereNamedButAChipDefaultNever) {
  const std::vector<TSwitchRow> table = {Otp(Row("SAFLOCK", {"OFF", "ON"})),
                                         Otp(Row("CP", {"OFF", "ON"}, "ON"))};
  std::vector<TSwitchRow> rows = table;
  EXPECT_EQ(
      Read("device = 18F1\nconfig SAFLOCK = ON\n", rows, TReadMode::Check),
      (Strings{"2 warning: SAFLOCK = ON: " + std::string(kOneTime),
               "1 warning: CP = ON (the chip's default, as the file does not set it): code protection: "
               "the program memory can no longer be read back or verified; only a bulk erase of the chip "
               "lifts it",
               "1 note: 1 switch(es) of 18F1 not named, so at the chip's default: CP"}));
  rows = table;
  EXPECT_EQ(Read("config SAFLOCK = ON, CP = OFF\n", rows, TReadMode::Paste),
            (Strings{"1 warning: SAFLOCK = ON: " + std::string(kOneTime),
                     "1 warning: CP = OFF: " + std::string(kOneTime)}));
}

TEST(ConfigCheck, SwitchesLeftOutWhoseChipDefaultIsNoneOfTheirSettingsStayLeftOutAndAreNotedOnce) {
  std::vector<TSwitchRow> table = Table();
  table.push_back(Row("BBSIZE", {"B1", "B0"}, "B0"));
  table[0].ChipDefaultMatchesNone = true;
  table[2].ChipDefaultMatchesNone = true; // LVP: its chip default is no setting, so not warned of as ON
  table[3].ChipDefaultMatchesNone = true;
  std::vector<TSwitchRow> rows = table;
  EXPECT_EQ(Read("device = 18F1\nconfig WDT = ON, BBSIZE = B1\n", rows, TReadMode::Check),
            (Strings{"1 note: 2 switch(es) of 18F1 not named, so at the chip's default: FOSC, LVP",
                     "1 note: 2 switch(es) of 18F1 left out have a chip default that is none of their "
                     "settings; the chip gets the bits they have when not set: FOSC, LVP"}));
  EXPECT_EQ((std::vector<bool>{rows[0].LeftOut, rows[1].LeftOut, rows[2].LeftOut, rows[3].LeftOut}),
            (std::vector<bool>{true, false, true, false}));
  rows = table;
  EXPECT_EQ(
      Read("device = 18F1\nconfig FOSC = HS, WDT = ON, LVP = OFF, BBSIZE = B1\n", rows, TReadMode::Check),
      Strings{});
  EXPECT_FALSE(rows[0].LeftOut || rows[2].LeftOut || rows[3].LeftOut);
  // A paste leaves nothing out: the rows it does not name keep their settings.
  rows = table;
  EXPECT_EQ(Read("config WDT = ON\n", rows, TReadMode::Paste), Strings{});
  EXPECT_FALSE(rows[0].LeftOut || rows[2].LeftOut || rows[3].LeftOut);
}

namespace {
// A switch of register Reg whose settings' values, under Mask, are Values in order.
TSwitchRow Field(const std::string &name, int reg, uint32_t mask,
                 std::initializer_list<const char *> settings, std::initializer_list<uint32_t> values,
                 const char *chip = nullptr) {
  TSwitchRow row = Row(name, settings, chip);
  row.Register = reg;
  row.Mask = mask;
  size_t k = 0;
  for (const uint32_t value : values) {
    row.Settings[k].Value = value;
    row.Settings[k++].Compared = mask;
  }
  return row;
}

// CONFIG1H: FOSC in bits 0-2; CONFIG2H: WDT in bit 0, WDTPS in bits 1-3 (its
// settings named 1 to 128, field values 0 to 7), LVP in bit 5.
std::vector<TSwitchRow> FieldTable() {
  return {Field("FOSC", 0, 0x07, {"LP", "XT", "HS", "RC"}, {0, 1, 2, 3}),
          Field("WDT", 1, 0x01, {"OFF", "ON"}, {0, 1}),
          Field("WDTPS", 1, 0x0E, {"1", "2", "4", "8", "16", "32", "64", "128"},
                {0x0, 0x2, 0x4, 0x6, 0x8, 0xA, 0xC, 0xE}),
          Field("LVP", 1, 0x20, {"OFF", "ON"}, {0, 0x20}, "ON")};
}
} // namespace

TEST(ConfigCheck, CAndAssemblerAsPeopleWriteThemGiveTheDiagnosticsAUserExpects) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2H", 0x300003, 0x2F}};
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
    Strings Settings; // FOSC, WDT, WDTPS, LVP; each starts at its first setting
  } cases[] = {
      {"several entries to a line, keywords and names in any case, blanks or none",
       "#pragma config FOSC = HS, wdt=on\n#PRAGMA Config  LVP =OFF ,WDTPS= 8\n",
       {},
       {"HS", "ON", "8", "OFF"}},
      {"a name, a setting or the whole entry in quotes",
       "#pragma config \"FOSC = XT\", 'WDT' = \"ON\"\n#pragma config WDTPS = '16'\n",
       {},
       {"XT", "ON", "16", "OFF"}},
      {"comments anywhere; commented-out lines are never read",
       "#pragma config FOSC /* crystal */ = HS // fast\n// #pragma config WDT = ON\n/* #pragma config WDT = "
       "ON\n"
       "#pragma config LVP = ON */ #pragma config WDTPS = 2\n",
       {},
       {"HS", "OFF", "2", "OFF"}},
      {"a setting's name wins over a number; a number is a field value",
       "#pragma config WDTPS = 4\n#pragma config FOSC = 0b11\n",
       {},
       {"RC", "OFF", "4", "OFF"}},
      {"field values in decimal, hexadecimal and binary",
       "#pragma config WDTPS = 0x5, FOSC = 1, WDT = 0b1\n",
       {},
       {"XT", "ON", "32", "OFF"}},
      {"a number that is no setting's value",
       "#pragma config FOSC = 9, WDTPS = 0x10\n",
       {"1 error: unknown setting '9' for switch 'FOSC', nor is it the value of one of its settings; its "
        "settings: LP, XT, HS, RC",
        "1 error: unknown setting '0x10' for switch 'WDTPS', nor is it the value of one of its settings; its "
        "settings: 1, 2, 4, 8, 16, 32, 64, 128"},
       {"LP", "OFF", "1", "OFF"}},
      {"a register's word sets each of its switches",
       "#pragma config CONFIG2H = 0x0B\n",
       {},
       {"LP", "ON", "32", "OFF"}},
      {"a register's bits that match no setting, and bits no switch covers",
       "#pragma config config1h = 0x05\n#pragma config CONFIG1H = 0x0A\n",
       {"1 error: CONFIG1H (0x300001) = 0x05: the bits 0x05 of switch 'FOSC' match none of its settings",
        "2 note: CONFIG1H (0x300001) = 0x0A: bits no switch covers (0x08) differ from the register's value "
        "when "
        "not set, 0x07"},
       {"HS", "OFF", "1", "OFF"}},
      {"a register's word is a number of one byte",
       "#pragma config CONFIG1H = HS, CONFIG2H = 0x100\n",
       {"1 error: CONFIG1H (0x300001) is a register: its word must be a number from 0 to 0xFF, not 'HS'",
        "1 error: CONFIG2H (0x300003) is a register: its word must be a number from 0 to 0xFF, not '0x100'"},
       {"LP", "OFF", "1", "OFF"}},
      {"a switch named again through its register",
       "#pragma config WDT = OFF\n#pragma config CONFIG2H = 0x01\n",
       {"2 error: switch 'WDT' named twice (first on line 1); this later setting wins"},
       {"LP", "ON", "1", "OFF"}},
      {"a risky setting given as a number",
       "#pragma config LVP = 1\n",
       {std::string("1 warning: LVP = ON: ") + kAnyPart},
       {"LP", "OFF", "1", "ON"}},
      {"assembler by the same rules",
       "    PROCESSOR 18F1\n    config CONFIG2H = 0x0F ; a word\n    CONFIG \"fosc\" = 'HS', WDTPS=0b111\n",
       {"3 warning: switch 'WDTPS' named twice with the same setting, on lines 2 and 3"},
       {"HS", "ON", "128", "OFF"}},
      {"the house forms take no numbers",
       "config FOSC = 2, CONFIG1H = 2\n",
       {"1 error: unknown setting '2' for switch 'FOSC'; its settings: LP, XT, HS, RC",
        "1 error: unknown switch 'CONFIG1H' for 18F1; its switches: FOSC, WDT, WDTPS, LVP"},
       {"LP", "OFF", "1", "OFF"}},
      {"a 0x or 0b number is assembler's, without a PROCESSOR line",
       "    CONFIG FOSC=0b10\n    CONFIG WDT=0b1, CONFIG2H = 0x0B\n",
       {"2 warning: switch 'WDT' named twice with the same setting, on line 2"},
       {"HS", "ON", "32", "OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = FieldTable();
    Strings diagnostics;
    ReadConfigText(
        c.Text, rows, "18F1", 0, TReadMode::Paste,
        [&](const TDiagnostic &d) {
          diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
        },
        static_cast<size_t>(-1), registers);
    EXPECT_EQ(diagnostics, c.Diagnostics);
    EXPECT_EQ(Settings(rows), c.Settings);
  }
}

TEST(ConfigCheck, ASwitchNamedTwiceIsAWarningWithTheSameSettingAndAnErrorWithAnother) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2H", 0x300003, 0x2F}};
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
    int Errors;
  } cases[] = {
      {"the same entry on two lines",
       "config WDT = OFF\n\n\nconfig WDT = off\n",
       {"4 warning: switch 'WDT' named twice with the same setting, on lines 1 and 4"},
       0},
      {"twice on one line",
       "#pragma config WDT = ON, WDT = ON\n",
       {"1 warning: switch 'WDT' named twice with the same setting, on line 1"},
       0},
      {"by its name and by its field's value",
       "#pragma config WDTPS = 8\n#pragma config WDTPS = 0x3\n",
       {"2 warning: switch 'WDTPS' named twice with the same setting, on lines 1 and 2"},
       0},
      {"by its name and through its register's word",
       "#pragma config WDT = ON\n#pragma config CONFIG2H = 0x01\n",
       {"2 warning: switch 'WDT' named twice with the same setting, on lines 1 and 2"},
       0},
      {"two different settings",
       "config WDT = OFF\nconfig WDT = ON\n",
       {"2 error: switch 'WDT' named twice (first on line 1); this later setting wins"},
       1},
      {"the same, then another",
       "config LVP = OFF\nconfig LVP = OFF\nconfig LVP = ON\n",
       {"2 warning: switch 'LVP' named twice with the same setting, on lines 1 and 2",
        "3 error: switch 'LVP' named twice (first on line 1); this later setting wins",
        "3 warning: LVP = ON: low-voltage programming: programming can start without a high voltage on "
        "MCLR/VPP; if the part has a PGM pin (its device data does not say), that pin is given over to "
        "programming, and a stray high level on it stops the program"},
       1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = FieldTable();
    Strings diagnostics;
    const TReadSummary summary = ReadConfigText(
        c.Text, rows, "18F1", 0, TReadMode::Paste,
        [&](const TDiagnostic &d) {
          diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
        },
        static_cast<size_t>(-1), registers);
    EXPECT_EQ(diagnostics, c.Diagnostics);
    EXPECT_EQ(summary.Errors, c.Errors);
  }
}

namespace {
// FieldTable with FOSC's chip default none of its settings: CONFIG1H's bits when
// not set, 0x07, are no setting's value.
std::vector<TSwitchRow> LeftOutTable() {
  std::vector<TSwitchRow> rows = FieldTable();
  SetDefaults(rows[0], 0x07, false);
  return rows;
}
} // namespace

TEST(ConfigCheck, AWordWithAChipDefaultThatIsNoSettingLeavesTheSwitchOutNotAnError) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2H", 0x300003, 0x2F}};
  const std::string rest = "#pragma config WDT = OFF, WDTPS = 1, LVP = OFF\n";
  const std::string leftOut = "1 note: 1 switch(es) of 18F1 left out have a chip default that is none of "
                              "their settings; the chip gets the bits they have when not set: FOSC (CONFIG1H "
                              "& 0x07 = 0x07)";
  const struct {
    const char *What;
    TReadMode Mode;
    std::string Text;
    Strings Diagnostics;
    bool LeftOut;
    std::string Setting; // FOSC's, which starts at XT
  } cases[] = {
      {"a text that does not name it",
       TReadMode::Check,
       rest,
       {"1 note: 1 switch(es) of 18F1 not named, so at the chip's default: FOSC", leftOut},
       true,
       "RC"},
      {"its register's word at its bits when not set",
       TReadMode::Check,
       "#pragma config CONFIG1H = 0x07\n" + rest,
       {leftOut},
       true,
       "RC"},
      {"the word twice",
       TReadMode::Check,
       "#pragma config CONFIG1H = 0x07\n" + rest + "#pragma config CONFIG1H = 7\n",
       {"3 warning: switch 'FOSC' named twice with the same setting, on lines 1 and 3", leftOut},
       true,
       "RC"},
      {"named, then left out by a word",
       TReadMode::Check,
       "#pragma config FOSC = HS\n#pragma config CONFIG1H = 0x07\n" + rest,
       {"2 error: switch 'FOSC' named twice (first on line 1); this later setting wins", leftOut},
       true,
       "RC"},
      {"a word that chooses a setting",
       TReadMode::Check,
       "#pragma config CONFIG1H = 0x02\n" + rest,
       {},
       false,
       "HS"},
      {"other bits that match no setting stay an error",
       TReadMode::Check,
       "#pragma config CONFIG1H = 0x05\n" + rest,
       {"1 error: CONFIG1H (0x300001) = 0x05: the bits 0x05 of switch 'FOSC' match none of its settings",
        "1 note: 1 switch(es) of 18F1 not named, so at the chip's default: FOSC", leftOut},
       true,
       "RC"},
      {"a paste keeps the setting",
       TReadMode::Paste,
       "#pragma config CONFIG1H = 0x07\n",
       {"1 note: CONFIG1H (0x300001) = 0x07: the bits 0x07 of switch 'FOSC' are its chip default, which is "
        "none of its settings: it keeps its setting"},
       false,
       "XT"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = LeftOutTable();
    rows[0].Chosen = 1;
    Strings diagnostics;
    ReadConfigText(
        c.Text, rows, "18F1", 1, c.Mode,
        [&](const TDiagnostic &d) {
          diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
        },
        static_cast<size_t>(-1), registers);
    EXPECT_EQ(diagnostics, c.Diagnostics);
    EXPECT_EQ(rows[0].LeftOut, c.LeftOut);
    EXPECT_EQ(rows[0].Setting(), c.Setting);
  }
}

TEST(ConfigCheck, ALegacyLineIsAWarningAndNoConfiguration) {
  std::vector<TSwitchRow> rows = FieldTable();
  TReadSummary summary;
  EXPECT_EQ(
      Read("    __CONFIG _CONFIG1H, _OSC_HS_1H\n", rows, TReadMode::Check, 0, &summary),
      (Strings{"1 warning: a legacy __CONFIG line is not read; write its settings as CONFIG NAME = SETTING: "
               "'__CONFIG _CONFIG1H, _OSC_HS_1H'",
               "1 error: no configuration found"}));
  // The paste reports it rather than finding nothing.
  EXPECT_FALSE(summary.Found);
  EXPECT_EQ(summary.Problems, 1);
}

TEST(ConfigCheck, CsLegacyMacroSetsTheWordsItWritesAsAHexFileDoes) {
  // FieldTable's registers: word 1 is CONFIG1L (none) and CONFIG1H, word 2 CONFIG2L
  // (none) and CONFIG2H.
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2H", 0x300003, 0x2F}};
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
    Strings Settings; // FOSC, WDT, WDTPS, LVP; each starts at its first setting
  } cases[] = {
      {"each byte goes to its register; a byte without one is passed over",
       "__CONFIG(1, 0x02FFU); __CONFIG(2, 0x0B00);\n",
       {},
       {"HS", "ON", "32", "OFF"}},
      {"bits that match no setting, and bits no switch covers",
       "__CONFIG(1, 0x0500);\n__CONFIG(2, 0x8B00);\n",
       {"1 error: CONFIG1H (0x300001) = 0x05: the bits 0x05 of switch 'FOSC' match none of its settings",
        "2 note: CONFIG2H (0x300003) = 0x8B: bits no switch covers (0x80) differ from the register's value "
        "when "
        "not set, 0x2F"},
       {"LP", "ON", "32", "OFF"}},
      {"a word the part does not have is an error naming the line",
       "__CONFIG(3, 0x0000);\n__CONFIG(0, 0x0000);\n__CONFIG(4000000000, 0x0000);\n",
       {"1 error: __CONFIG(3, 0x0000): 18F1 has no configuration word 3; its words: 1, 2",
        "2 error: __CONFIG(0, 0x0000): 18F1 has no configuration word 0; its words: 1, 2",
        "3 error: __CONFIG(4000000000, 0x0000): 18F1 has no configuration word 4000000000; its words: 1, 2"},
       {"LP", "OFF", "1", "OFF"}},
      {"a word has 16 bits",
       "__CONFIG(1, 0x10200);\n",
       {"1 error: __CONFIG(1, 0x10200): a configuration word has 16 bits; its value must be at most 0xFFFF"},
       {"LP", "OFF", "1", "OFF"}},
      {"a switch named again through a word",
       "#pragma config FOSC = XT\n__CONFIG(1, 0x0200);\n",
       {"2 error: switch 'FOSC' named twice (first on line 1); this later setting wins"},
       {"HS", "OFF", "1", "OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = FieldTable();
    Strings diagnostics;
    TReadSummary summary = ReadConfigText(
        c.Text, rows, "18F1", 0, TReadMode::Paste,
        [&](const TDiagnostic &d) {
          diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
        },
        static_cast<size_t>(-1), registers);
    EXPECT_EQ(diagnostics, c.Diagnostics);
    EXPECT_EQ(Settings(rows), c.Settings);
    EXPECT_TRUE(summary.Found);
  }
  // Registers kept at the end of program memory count from the lowest of them.
  const std::vector<TWordRegister> low = {{"CONFIG1H", 0x7FF9, 0x07}, {"CONFIG2H", 0x7FFB, 0x2F}};
  std::vector<TSwitchRow> rows = FieldTable();
  ReadConfigText("__CONFIG(2, 0x0100);\n", rows, "18F1", 0, TReadMode::Paste, nullptr,
                 static_cast<size_t>(-1), low);
  EXPECT_EQ(Settings(rows), (Strings{"LP", "ON", "1", "OFF"}));
}

namespace {
// A two-word enhanced mid-range part: CONFIG1 FOSC (bits 0-2), WDTE (3-4), CP (7),
// CLK_OUT (8; a name and a setting with underscores); CONFIG2 STVREN (9), BORV (10,
// a setting named 19), LVP (13).
std::vector<TSwitchRow> Pic16Table() {
  return {Field("FOSC", 0, 0x07, {"LP", "XT", "HS", "INTOSC"}, {0, 1, 2, 4}),
          Field("WDTE", 0, 0x18, {"OFF", "SWDTEN", "NSLEEP", "ON"}, {0, 0x08, 0x10, 0x18}),
          Field("CP", 0, 0x80, {"ON", "OFF"}, {0, 0x80}),
          Field("CLK_OUT", 0, 0x100, {"OFF", "ON_RA4"}, {0, 0x100}),
          Field("STVREN", 1, 0x200, {"OFF", "ON"}, {0, 0x200}),
          Field("BORV", 1, 0x400, {"HI", "19"}, {0, 0x400}),
          Field("LVP", 1, 0x2000, {"OFF", "ON"}, {0, 0x2000})};
}

const std::vector<TWordRegister> kPic16Registers = {
    {"CONFIG1", 0x8007, 0x3FFF, &kEnhancedMidRangeFamily, 0x3FFF},
    {"CONFIG2", 0x8008, 0x3FFF, &kEnhancedMidRangeFamily, 0x3FFF}};

Strings ReadOnto(const std::string &text, std::vector<TSwitchRow> &rows,
                 const std::vector<TWordRegister> &registers, const std::string &device,
                 TReadSummary *summary = nullptr) {
  Strings diagnostics;
  const TReadSummary result = ReadConfigText(
      text, rows, device, 0, TReadMode::Paste,
      [&](const TDiagnostic &d) {
        diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
      },
      static_cast<size_t>(-1), registers);
  if (summary != nullptr)
    *summary = result;
  return diagnostics;
}

// LVP's reason where the data names no pins, as the .info file's never does.
constexpr const char *kLvpOn =
    "LVP = ON: low-voltage programming: programming can start without a high voltage on MCLR/VPP; if the "
    "part "
    "has a PGM pin (its device data does not say), that pin is given over to programming, and a stray high "
    "level on it stops the program";
} // namespace

TEST(ConfigCheck, TheLegacyFormsOfPic16CodeSetTheSwitchesTheirCompilersDid) {
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
    Strings Settings; // FOSC, WDTE, CP, CLK_OUT, STVREN, BORV, LVP; each starts at its first
  } cases[] = {
      {"each symbol lands in its own switch's word: the second macro in word 2",
       "__CONFIG(FOSC_HS & WDTE_OFF);\n__CONFIG(STVREN_ON & LVP_OFF & BORV_19);\n",
       {},
       {"HS", "OFF", "ON", "OFF", "ON", "19", "OFF"}},
      {"a leading underscore, a word named; underscores in the setting and the switch",
       "    __CONFIG _CONFIG1, _CLK_OUT_ON_RA4 & _cp_off\n",
       {},
       {"LP", "OFF", "OFF", "ON_RA4", "OFF", "HI", "OFF"}},
      {"a symbol that names no switch and setting, or no setting of its switch",
       "    __CONFIG _HS_OSC & _FOSC_XYZ & _WDTE_ON\n",
       {"1 error: __CONFIG symbol '_HS_OSC' names no switch and setting of 16F1; its switches: FOSC, WDTE, "
        "CP, "
        "CLK_OUT, STVREN, BORV, LVP",
        "1 error: __CONFIG symbol '_FOSC_XYZ' names no setting of switch 'FOSC'; its settings: LP, XT, HS, "
        "INTOSC"},
       {"LP", "ON", "ON", "OFF", "OFF", "HI", "OFF"}},
      {"a symbol of another word than the one named is read as its switch's, with a warning",
       "    __CONFIG _CONFIG1, _FOSC_HS & _LVP_ON\n",
       {"1 warning: '_LVP_ON' sets LVP of CONFIG2, not of CONFIG1 that its __CONFIG names: an assembler puts "
        "its "
        "bits into CONFIG1; it is read as LVP = ON",
        std::string("1 warning: ") + kLvpOn},
       {"HS", "OFF", "ON", "OFF", "OFF", "HI", "ON"}},
      {"one value is the first word; a second cannot be placed; bits above the width are ignored",
       "    __CONFIG 0x3FFA\n    __CONFIG 0x3FFC\n    __CONFIG _CONFIG2, 0xFFFF\n",
       {"2 warning: __CONFIG 0x3FFC: a second __CONFIG with one value on 16F1, which has 2 configuration "
        "words "
        "(CONFIG1 (0x8007), CONFIG2 (0x8008)): which one it means is not known, so it is not applied",
        std::string("3 warning: ") + kLvpOn},
       {"HS", "ON", "OFF", "ON_RA4", "ON", "19", "ON"}},
      {"a word by its address, the vendor's radix",
       "    __CONFIG 0x8008, H'1DFF'\n",
       {},
       {"LP", "OFF", "ON", "OFF", "OFF", "19", "OFF"}},
      {"C's __CONFIG(n, value): the n-th word",
       "__CONFIG(2, 0x3BFFU);\n",
       {std::string("1 warning: ") + kLvpOn},
       {"LP", "OFF", "ON", "OFF", "ON", "HI", "ON"}},
      {"bits that match no setting, bits no switch covers: as for a HEX word",
       "    __CONFIG _CONFIG1, 0x1FFB\n",
       {"1 error: CONFIG1 (0x8007) = 0x1FFB: the bits 0x0003 of switch 'FOSC' match none of its settings",
        "1 note: CONFIG1 (0x8007) = 0x1FFB: bits no switch covers (0x2000) differ from the register's value "
        "when "
        "not set, 0x3FFF"},
       {"LP", "ON", "OFF", "ON_RA4", "OFF", "HI", "OFF"}},
      {"a word the part does not have: an error once for a line's symbols, which still apply",
       "    __CONFIG _CONFIG3, 0x3FFF\n    __CONFIG _CONFIG3, _LVP_OFF & _STVREN_ON\n",
       {"1 error: __CONFIG _CONFIG3, 0x3FFF: 16F1 has no configuration word '_CONFIG3'; its words: CONFIG1 "
        "(0x8007), CONFIG2 (0x8008)",
        "2 error: __CONFIG _CONFIG3, ...: 16F1 has no configuration word '_CONFIG3'; its words: CONFIG1 "
        "(0x8007), "
        "CONFIG2 (0x8008)"},
       {"LP", "OFF", "ON", "OFF", "ON", "HI", "OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = Pic16Table();
    TReadSummary summary;
    EXPECT_EQ(ReadOnto(c.Text, rows, kPic16Registers, "16F1", &summary), c.Diagnostics);
    EXPECT_EQ(Settings(rows), c.Settings);
    EXPECT_TRUE(summary.Found);
  }
}

TEST(ConfigCheck, APic18ReadsOnlyTheLegacyNumberOfAWordNamed) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2H", 0x300003, 0x2F}};
  std::vector<TSwitchRow> rows = FieldTable();
  TReadSummary summary;
  EXPECT_EQ(
      ReadOnto("    __CONFIG _CONFIG1H, 0x02\n    __CONFIG 0x03\n    __CONFIG _CONFIG2H, _WDT_ON_2H & "
               "_LVP_OFF_2H\n",
               rows, registers, "18F1", &summary),
      (Strings{"2 warning: a legacy __CONFIG line is not read; write its settings as CONFIG NAME = SETTING: "
               "'__CONFIG 0x03'",
               "3 warning: a legacy __CONFIG line is not read; write its settings as CONFIG NAME = SETTING: "
               "'__CONFIG _CONFIG2H, _WDT_ON_2H & _LVP_OFF_2H'"}));
  EXPECT_EQ(Settings(rows), (Strings{"HS", "OFF", "1", "OFF"}));
  EXPECT_EQ(summary.Problems, 2);
}
