// The configuration text in its four forms, its comment columns, and the device
// list rewrap.
#include "core/cConfigText.h"

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
  // A switch whose chip default is none of its settings is never at it: always written.
  rows[2].Chosen = 0;
  rows[1].ChipDefaultMatchesNone = true;
  EXPECT_EQ(ConfigTextLines("18F1", rows, {&kOrvaneSyntax, false, true}),
            (Strings{"device = 18F1", "", "config WDT = OFF"}));
}
