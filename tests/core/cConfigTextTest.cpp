// The configuration text in its four forms, its comment columns, and the device
// list rewrap.
#include "core/cConfigText.h"

#include "core/cConfigCheck.h"
#include "core/cConfigRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

TSwitchRow Row(const std::string &name, const std::string &setting, const std::string &description) {
  TSwitchRow row;
  row.Name = name;
  row.Settings.push_back({setting, description});
  row.StartSetting = setting;
  return row;
}

// The made-up rows of the generator's worked example.
std::vector<TSwitchRow> WorkedExample() {
  return {Row("CLKSEL", "INTRC", "Internal RC oscillator"),
          Row("BOOTBLOCKSIZE", "2KW", "Boot block of 2K words"), Row("WDOG", "OFF", "Watchdog disabled")};
}
} // namespace

TEST(ConfigText, WorkedExampleInAllFourForms) {
  const struct {
    const TSyntax *Syntax;
    bool Comments;
    Strings Lines;
  } cases[] = {
      {&kTarnwickSyntax,
       true,
       {"device = 18F1234", "", "config", "    CLKSEL = INTRC,     // Internal RC oscillator",
        "    BOOTBLOCKSIZE = 2KW,// Boot block of 2K words", "    WDOG = OFF          // Watchdog disabled"}},
      {&kTarnwickSyntax,
       false,
       {"device = 18F1234", "", "config", "    CLKSEL = INTRC,", "    BOOTBLOCKSIZE = 2KW,",
        "    WDOG = OFF"}},
      {&kOrvaneSyntax,
       true,
       {"device = 18F1234", "", "config CLKSEL = INTRC   ' Internal RC oscillator",
        "config BOOTBLOCKSIZE = 2KW ' Boot block of 2K words",
        "config WDOG = OFF       ' Watchdog disabled"}},
      {&kOrvaneSyntax,
       false,
       {"device = 18F1234", "", "config CLKSEL = INTRC", "config BOOTBLOCKSIZE = 2KW", "config WDOG = OFF"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ConfigTextLines("18F1234", WorkedExample(), {c.Syntax, c.Comments}), c.Lines)
        << c.Syntax->Name << ", comments " << c.Comments;
}

TEST(ConfigText, CAndAssemblerGroupTheEntriesUnderTheirRegisters) {
  std::vector<TSwitchRow> rows = WorkedExample();
  rows[0].Register = 0;
  rows[1].Register = 0;
  rows[2].Register = 2;
  const std::vector<TWordRegister> registers = {
      {"CONFIG1H", 0x300001, 0xFF}, {"CONFIG2L", 0x300002, 0xFF}, {"CONFIG2H", 0x300003, 0xFF}};
  EXPECT_EQ(ConfigTextLines("18F1234", rows, {&kCSyntax, true}, registers),
            (Strings{"/* device = 18F1234 */", "", "// CONFIG1H at 0x300001",
                     "#pragma config CLKSEL = INTRC       // Internal RC oscillator",
                     "#pragma config BOOTBLOCKSIZE = 2KW  // Boot block of 2K words", "",
                     "// CONFIG2H at 0x300003", "#pragma config WDOG = OFF           // Watchdog disabled"}));
  EXPECT_EQ(
      ConfigTextLines("18F1234", rows, {&kAssemblerSyntax, false}, registers),
      (Strings{"    PROCESSOR 18F1234", "", "; CONFIG1H at 0x300001", "    CONFIG CLKSEL = INTRC",
               "    CONFIG BOOTBLOCKSIZE = 2KW", "", "; CONFIG2H at 0x300003", "    CONFIG WDOG = OFF"}));
  // A row of no register known is written without a heading.
  rows[2].Register = -1;
  EXPECT_EQ(ConfigTextLines("18F1234", rows, {&kAssemblerSyntax, true}, registers).back(),
            "    CONFIG WDOG = OFF           ; Watchdog disabled");
  for (TSwitchRow &row : rows)
    row.ChipDefault = row.StartSetting;
  EXPECT_EQ(ConfigTextLines("18F1234", rows, {&kCSyntax, false, true}),
            (Strings{"/* device = 18F1234 */", "", "// config: every switch at the chip's default"}));
}

TEST(ConfigText, TheChosenSettingAndItsDescriptionAreWritten) {
  std::vector<TSwitchRow> rows{Row("WDT", "OFF", "Watchdog disabled")};
  rows[0].Settings.push_back({"ON", "Watchdog enabled"});
  rows[0].Chosen = 1;
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kTarnwickSyntax, true}).back(),
            "    WDT = ON            // Watchdog enabled");
}

TEST(ConfigText, CommentColumnsAtTheWidthEdges) {
  // One row whose entry text is 23, 24 or 26 characters long in each form.
  const struct {
    const TSyntax *Syntax;
    const char *Name, *Setting;
    const char *Expected;
  } cases[] = {
      {&kTarnwickSyntax, "ABCDEFGHIJ", "XXXXXX", "    ABCDEFGHIJ = XXXXXX // d"},      // 23: one blank
      {&kTarnwickSyntax, "ABCDEFGHIJ", "XXXXXXX", "    ABCDEFGHIJ = XXXXXXX// d"},     // 24: none
      {&kTarnwickSyntax, "ABCDEFGHIJ", "XXXXXXXXX", "    ABCDEFGHIJ = XXXXXXXXX// d"}, // 26: not cut
      {&kOrvaneSyntax, "ABCDEFG", "XXXXXX", "config ABCDEFG = XXXXXX ' d"},            // 23: no fill
      {&kOrvaneSyntax, "ABCDEFG", "XXXXXXX", "config ABCDEFG = XXXXXXX ' d"},          // 24
      {&kOrvaneSyntax, "ABCDEFG", "XXXXXXXXX", "config ABCDEFG = XXXXXXXXX ' d"},      // 26
      {&kOrvaneSyntax, "AB", "C", "config AB = C           ' d"},  // short: marker in column 25
      {&kTarnwickSyntax, "A", "B", "    A = B               // "}, // empty description
  };
  for (const auto &c : cases) {
    const std::string description = c.Expected[std::string(c.Expected).size() - 1] == ' ' ? "" : "d";
    EXPECT_EQ(ConfigTextLines("X", {Row(c.Name, c.Setting, description)}, {c.Syntax, true}).back(),
              c.Expected);
  }
}

TEST(ConfigText, ADeviceWithoutSwitchesGetsTheAllDefaultsCommentATableNotReadOnlyTheHeader) {
  // Read whole and empty: the text still reads back as a configuration.
  EXPECT_EQ(ConfigTextLines("18F1", {}, {&kTarnwickSyntax, true}),
            (Strings{"device = 18F1", "", "// config: every switch at the chip's default"}));
  EXPECT_EQ(ConfigTextLines("18F1", {}, {&kOrvaneSyntax, false}),
            (Strings{"device = 18F1", "", "' config: every switch at the chip's default"}));
  // No table read (no device chosen, or reading it failed).
  EXPECT_EQ(ConfigTextLines("", {}, {&kTarnwickSyntax, true, false, false}),
            (Strings{"device = ", "", "config"}));
  EXPECT_EQ(ConfigTextLines("18F1", {}, {&kOrvaneSyntax, false, false, false}),
            (Strings{"device = 18F1", ""}));
}

TEST(ConfigText, PadRightFillsWithBlanksAndNeverShortens) {
  EXPECT_EQ(PadRight("abc", 5), "abc  ");
  EXPECT_EQ(PadRight("abcde", 5), "abcde");
  EXPECT_EQ(PadRight("abcdef", 5), "abcdef");
  EXPECT_EQ(PadRight("", 0), "");
  EXPECT_EQ(PadRight("ab", -3), "ab");
}

TEST(ConfigText, DeviceListRewrap) {
  const struct {
    int Count;
    Strings Expected;
  } cases[] = {
      {0, {}},
      {1, {"D1"}},
      {7, {"D1, D2, D3, D4, D5, D6, D7"}},
      {8, {"D1, D2, D3, D4, D5, D6, D7, ", "D8"}},
      {13, {"D1, D2, D3, D4, D5, D6, D7, ", "D8, D9, D10, D11, D12, D13"}},
      {15, {"D1, D2, D3, D4, D5, D6, D7, ", "D8, D9, D10, D11, D12, D13, ", "D14, D15"}},
  };
  for (const auto &c : cases) {
    TStringList names;
    for (int i = 1; i <= c.Count; ++i)
      names.Add("D" + std::to_string(i));
    EXPECT_EQ(WrapDeviceList(names), c.Expected) << c.Count << " names";
  }
}

TEST(ConfigText, ChangedOnlyWritesTheChangedRowsWithTheirNamesakesOrTheAllDefaultsComment) {
  std::vector<TSwitchRow> rows{Row("CCPMX", "RB3", ""), Row("WDT", "OFF", ""), Row("ccpmx", "RB3", "")};
  for (TSwitchRow &row : rows) {
    row.Settings.push_back({"RC1", ""});
    row.ChipDefault = row.StartSetting;
  }
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kTarnwickSyntax, false, true}),
            (Strings{"device = 18F1", "", "// config: every switch at the chip's default"}));
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, true, true}),
            (Strings{"device = 18F1", "", "' config: every switch at the chip's default"}));
  rows[2].Chosen = 1; // one of two rows of a name: both are written, in order
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false, true}),
            (Strings{"device = 18F1", "", "config CCPMX = RB3", "config ccpmx = RC1"}));
  // A switch whose chip default is none of its settings is never at one of them,
  // so at a setting it is written; left out, it is at the chip's default.
  rows[2].Chosen = 0;
  rows[1].ChipDefaultMatchesNone = true;
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false, true}),
            (Strings{"device = 18F1", "", "config WDT = OFF"}));
  rows[1].LeftOut = true;
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false, true}),
            (Strings{"device = 18F1", "", "' config: every switch at the chip's default"}));
}

namespace {
// FOSC and BBSIZE of CONFIG1H, WDT of CONFIG2H; BBSIZE's chip default is none of
// its settings, and it is left out.
std::vector<TSwitchRow> WithLeftOut() {
  std::vector<TSwitchRow> rows{Row("FOSC", "HS", "HS oscillator"), Row("BBSIZE", "B512", "512 words"),
                               Row("WDT", "OFF", "Watchdog disabled")};
  rows[1].Settings.push_back({"B128", "128 words"});
  rows[2].Settings.push_back({"ON", "Watchdog enabled"});
  rows[0].Register = rows[1].Register = 0;
  rows[2].Register = 1;
  for (TSwitchRow &row : rows)
    row.ChipDefault = row.StartSetting;
  rows[1].ChipDefault = "B128";
  rows[1].ChipDefaultMatchesNone = true;
  rows[1].LeftOut = true;
  rows[1].Chosen = 1;
  rows[2].Chosen = 1;
  return rows;
}
} // namespace

TEST(ConfigText, ASwitchLeftOutIsNotNamedButACommentSaysSoAndItReadsBackLeftOut) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0xFF}, {"CONFIG2H", 0x300003, 0xFF}};
  const struct {
    const TSyntax *Syntax;
    bool Comments;
    bool ChangedOnly;
    Strings Lines;
  } cases[] = {
      {&kTarnwickSyntax,
       true,
       false,
       {"device = 18F1", "", "config", "    FOSC = HS,          // HS oscillator",
        "    // BBSIZE not set: at the chip's default, which is none of its settings",
        "    WDT = ON            // Watchdog enabled"}},
      {&kOrvaneSyntax,
       false,
       false,
       {"device = 18F1", "", "config FOSC = HS",
        "' BBSIZE not set: at the chip's default, which is none of its settings", "config WDT = ON"}},
      {&kCSyntax,
       false,
       false,
       {"/* device = 18F1 */", "", "// CONFIG1H at 0x300001", "#pragma config FOSC = HS",
        "// BBSIZE not set: at the chip's default, which is none of its settings", "",
        "// CONFIG2H at 0x300003", "#pragma config WDT = ON"}},
      {&kAssemblerSyntax,
       true,
       false,
       {"    PROCESSOR 18F1", "", "; CONFIG1H at 0x300001", "    CONFIG FOSC = HS            ; HS oscillator",
        "    ; BBSIZE not set: at the chip's default, which is none of its settings", "",
        "; CONFIG2H at 0x300003", "    CONFIG WDT = ON             ; Watchdog enabled"}},
      // Only what differs from the chip's default: a switch left out is at it.
      {&kAssemblerSyntax,
       false,
       true,
       {"    PROCESSOR 18F1", "", "; CONFIG2H at 0x300003", "    CONFIG WDT = ON"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.Syntax->Name) + (c.ChangedOnly ? ", changed only" : ""));
    const std::vector<TSwitchRow> rows = WithLeftOut();
    const Strings lines = ConfigTextLines("18F1", rows, {c.Syntax, c.Comments, c.ChangedOnly}, registers);
    EXPECT_EQ(lines, c.Lines);
    // Read back, the comment is a comment: no warning, no error, and BBSIZE is left
    // out again.
    std::string text;
    for (const std::string &line : lines)
      text += line + "\n";
    std::vector<TSwitchRow> back = WithLeftOut();
    back[1].LeftOut = false;
    back[1].Chosen = 0;
    Strings problems;
    ReadConfigText(
        text, back, "18F1", 1, TReadMode::Check,
        [&](const TDiagnostic &d) {
          if (d.Severity != TSeverity::Note)
            problems.push_back(d.Text);
        },
        static_cast<size_t>(-1), registers);
    EXPECT_EQ(problems, Strings{});
    EXPECT_TRUE(back[1].LeftOut);
    EXPECT_EQ(ConfigTextLines("18F1", back, {c.Syntax, c.Comments, c.ChangedOnly}, registers), lines);
  }
}

TEST(ConfigText, ASwitchLeftOutIsWrittenWhereALaterSwitchOfItsNameIsOrWhereNothingElseIs) {
  std::vector<TSwitchRow> rows = WithLeftOut();
  // Every switch left out: the all-defaults comment, then what is left out.
  rows[0].Name = rows[2].Name = "BBSIZE";
  for (TSwitchRow &row : rows) {
    row.Settings = WithLeftOut()[1].Settings;
    row.ChipDefault = "B128";
    row.ChipDefaultMatchesNone = row.LeftOut = true;
    row.Chosen = 1;
  }
  rows[1].Name = "WRTB";
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false}),
            (Strings{"device = 18F1", "", "' config: every switch at the chip's default",
                     "' BBSIZE not set: at the chip's default, which is none of its settings",
                     "' WRTB not set: at the chip's default, which is none of its settings",
                     "' BBSIZE not set: at the chip's default, which is none of its settings"}));
  // The n-th entry of a name goes to the n-th switch of it: the first BBSIZE is
  // named where the second is.
  rows[2].LeftOut = false;
  rows[2].Chosen = 0;
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false, true}),
            (Strings{"device = 18F1", "", "config BBSIZE = B128", "config BBSIZE = B512"}));
}
