// Reading configuration text back: both generated forms, hand-made variants,
// comments, odd spacing, a block inside a program, several blocks, the lines that
// cannot be read inside an open block, byte-order marks and UTF-16.
#include "core/cConfigParser.h"

#include "tests/support/ParsedConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Entries as "NAME=SETTING@LINE".
std::vector<std::string> Entries(const TParsedConfig &parsed) {
  std::vector<std::string> entries;
  for (const TParsedConfig::TEntry &entry : parsed.Entries)
    entries.push_back(entry.Switch + "=" + entry.Setting + "@" + std::to_string(entry.Line));
  return entries;
}

// Problems as "LINE: the first words of the message".
std::vector<std::string> Problems(const TParsedConfig &parsed) {
  std::vector<std::string> problems;
  for (const auto &[line, text] : parsed.Problems)
    problems.push_back(std::to_string(line) + ": " + text.substr(0, 22));
  return problems;
}
} // namespace

TEST(ConfigParser, ReadsBothFormsAndWhatPeopleMakeOfThem) {
  const struct {
    const char *What;
    std::string Text;
    std::string Device;
    std::vector<std::string> Entries;
  } cases[] = {
      {"Tarnwick with comments",
       "device = 18F1234\r\n\r\nconfig\r\n    CLKSEL = INTRC,     // Internal RC oscillator\r\n"
       "    BOOTBLOCKSIZE = 2KW,// Boot block of 2K words\r\n    WDOG = OFF          // Watchdog "
       "disabled\r\n",
       "18F1234",
       {"CLKSEL=INTRC@4", "BOOTBLOCKSIZE=2KW@5", "WDOG=OFF@6"}},
      {"Tarnwick without comments, LF line ends",
       "device = 18F1234\n\nconfig\n    A = X,\n    B = Y\n",
       "18F1234",
       {"A=X@4", "B=Y@5"}},
      {"Orvane with comments",
       "device = 18F1234\r\n\r\nconfig CLKSEL = INTRC   ' Internal RC oscillator\r\n"
       "config BOOTBLOCKSIZE = 2KW ' Boot block, of 2K // words\r\n",
       "18F1234",
       {"CLKSEL=INTRC@3", "BOOTBLOCKSIZE=2KW@4"}},
      {"entries on the config line", "config FOSC = HS, WDTEN = OFF\n", "", {"FOSC=HS@1", "WDTEN=OFF@1"}},
      {"entries spread over lines, several to a line",
       "CONFIG FOSC=HS,\n\tWDTEN =OFF , PWRT\t=  ON,\n\n  // a comment inside the block\n  LVP = OFF\n",
       "",
       {"FOSC=HS@1", "WDTEN=OFF@2", "PWRT=ON@2", "LVP=OFF@5"}},
      {"the block ends at the first entry without a comma", "config\n A = X\n B = Y\n", "", {"A=X@2"}},
      {"keywords in any case, a PIC prefix", "Device=PIC18f4520\nConfig osc = hs\n", "18f4520", {"osc=hs@2"}},
      {"a block inside a program",
       "' My program\ndevice = 18F2550\nDim x As Byte\nconfig FOSC = HS ' crystal\nconfigure()\nx = 5\n"
       "config\n  WDT = OFF,\n  LVP = OFF\nMain:\n  Goto Main\n",
       "18F2550",
       {"FOSC=HS@4", "WDT=OFF@8", "LVP=OFF@9"}},
      {"several blocks and devices: the first device line counts",
       "device = 18F1\nconfig A = 1\ndevice = 18F2\nconfig\n B = 2,\n C = 3\nconfig A = 4\n",
       "18F1",
       {"A=1@2", "B=2@5", "C=3@6", "A=4@7"}},
      {"program text that begins with the word", "device = 18F1\nconfig = 5\nconfig(3)\n", "18F1", {}},
      {"a device line without a name is no device line", "device =\ndevice = 18F1 extra\n", "", {}},
      {"settings may hold a single slash", "config BORV = 4/5 // four fifths\n", "", {"BORV=4/5@1"}},
      {"lone CR and CR LF count as an editor counts them",
       "config\rA = X,\r\n\nB = Y\r",
       "",
       {"A=X@2", "B=Y@4"}},
      {"a UTF-8 byte-order mark is skipped",
       "\xEF\xBB\xBF"
       "device = 18F1\nconfig A = X\n",
       "18F1",
       {"A=X@2"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(parsed.Device.Name, c.Device);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().second;
  }
}

TEST(ConfigParser, EveryLineThatCannotBeReadIsAProblemAtItsOwnLineAndReadingGoesOn) {
  const struct {
    const char *What;
    std::string Text;
    std::vector<std::string> Entries;
    std::vector<std::string> Problems;
  } cases[] = {
      {"a word after an entry",
       "config\n  OSC = HS,\n  WDT = OFF extra,\n  LVP = ON\n",
       {"OSC=HS@2", "LVP=ON@4"},
       {"3: expected NAME = SETTIN"}},
      {"two equals signs",
       "config\n  OSC = B = C,\n  WDT = OFF\n",
       {"WDT=OFF@3"},
       {"2: expected NAME = SETTIN"}},
      {"two commas",
       "config\n  OSC = HS,, LVP = ON\n",
       {},
       {"2: expected NAME = SETTIN", "2: the config block begun"}},
      {"program text while the block is open",
       "config\n  OSC = HS,\nMain:\n  Goto Main\n\n  WDT = OFF\n",
       {"OSC=HS@2", "WDT=OFF@6"},
       {"3: expected NAME = SETTIN", "4: expected NAME = SETTIN"}},
      {"a second config line inside a block",
       "config\n  OSC = HS,\nconfig\n  WDT = OFF\n",
       {"OSC=HS@2", "WDT=OFF@4"},
       {"3: a config line inside t"}},
      {"an Orvane statement inside a block",
       "config\n  OSC = HS,\nconfig WDT = OFF\n",
       {"OSC=HS@2", "WDT=OFF@3"},
       {"3: a config line inside t"}},
      {"a block that never ends",
       "config\n  OSC = HS,\n  WDT = OFF,\n\n",
       {"OSC=HS@2", "WDT=OFF@3"},
       {"3: the config block begun"}},
      {"a config line without entries at the end",
       "device = 18F1\nconfig\n",
       {},
       {"2: the config line has no"}},
      {"a config statement with something after it",
       "config WDT = OFF extra\nconfig LVP = ON\n",
       {"LVP=ON@2"},
       {"1: expected NAME = SETTIN"}},
      {"UTF-16 with a byte-order mark",
       std::string("\xFF\xFE"
                   "d\0e\0v\0",
                   8),
       {},
       {"1: the text is UTF-16; sa"}},
      {"UTF-16 without one",
       std::string("c\0o\0n\0f\0i\0g\0 \0A\0=\0B\0", 20),
       {},
       {"1: the text is UTF-16; sa"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_EQ(Problems(parsed), c.Problems);
  }
}

TEST(ConfigParser, FindsTheFirstDeviceLineAndWhetherAConfigurationFollows) {
  const struct {
    std::string Text;
    std::string Device;
    int Line;
    bool Found;
  } cases[] = {
      {"\n\ndevice = PIC18F45K22\n", "18F45K22", 3, false},
      {"\r\n\n\r\r\n  \n\r\rdevice = 18F1\n", "18F1", 8, false}, // runs of blank lines, mixed ends
      // Long runs, taken 16 bytes at a time, with a CR LF across two blocks.
      {"x\n" + std::string(40, '\n') + "device = 18F1\n", "18F1", 42, false},
      {"x\n" + std::string(13, '\n') + "\r\n\r\n" + std::string(30, '\r') + "device = 18F1\n", "18F1", 47,
       false},
      {"x\n" + std::string(14, '\n') + "\r\n" + std::string(20, '\n') + "\r\r\n\ndevice = 18F1\n", "18F1", 40,
       false},
      {"config A = B\ndevice = 18F1\ndevice = 18F2\n", "18F1", 2, true},
      {"device = 18F1\n\n// config: every switch at the chip's default\n", "18F1", 1, true},
      {"device = 18F1\n\n  '   CONFIG: Every switch at the chip's default  \n", "18F1", 1, true},
      {"device = 18F1\n// config: every switch at the chip's default, but\n", "18F1", 1, false},
      {"x = 1\n", "", 0, false},
  };
  for (const auto &c : cases) {
    const TTextDevice device = FindDeviceLine(c.Text);
    EXPECT_EQ(device.Name, c.Device) << c.Text;
    EXPECT_EQ(device.Line, c.Line) << c.Text;
    EXPECT_EQ(device.Found, c.Found) << c.Text;
  }
}
