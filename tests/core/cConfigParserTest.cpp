// Reading configuration text back: both generated forms, hand-made variants,
// comments, odd spacing, a block inside a program and several blocks.
#include "core/cConfigParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Entries as "NAME=SETTING@LINE".
std::vector<std::string> Entries(const TParsedConfig &parsed) {
  std::vector<std::string> entries;
  for (const TConfigEntry &entry : parsed.Entries)
    entries.push_back(entry.Switch + "=" + entry.Setting + "@" + std::to_string(entry.Line));
  return entries;
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
      {"no configuration at all", "device = 18F1\nconfig\n\nx = 1 + 2\nconfig = 5\n", "18F1", {}},
      {"a device line without a name is no device line", "device =\ndevice = 18F1 extra\n", "", {}},
      {"settings may hold a single slash", "config BORV = 4/5 // four fifths\n", "", {"BORV=4/5@1"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(parsed.Device, c.Device);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_EQ(parsed.Found(), !c.Entries.empty());
  }
}

TEST(ConfigParser, TheDeviceLineKeepsItsLineNumber) {
  const TParsedConfig parsed = ParseConfigText("\n\ndevice = PIC18F45K22\n");
  EXPECT_EQ(parsed.Device, "18F45K22");
  EXPECT_EQ(parsed.DeviceLine, 3);
}
