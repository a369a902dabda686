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

TEST(ConfigParser, TellsATextsSyntaxOnceFromDecisiveEvidence) {
  const struct {
    std::string Text;
    TSyntaxFamily Family;
    std::string FileName = {};
  } cases[] = {
      {"device = 18F1\nconfig A = B ' x\n", TSyntaxFamily::House},
      {"x = 1\n#pragma config WDT = OFF\n", TSyntaxFamily::Pragma},
      {"  #  Pragma  CONFIG WDT=OFF\n", TSyntaxFamily::Pragma},
      {"/* device = 18F4520 */\n\n// config: every switch at the chip's default\n", TSyntaxFamily::Pragma},
      {"\tPROCESSOR 18F4520\n", TSyntaxFamily::Directive},
      {"processor p18f4520 ; the chip\nconfig A = B\n", TSyntaxFamily::Directive},
      {"  list p=18f4520, r=dec\n", TSyntaxFamily::Directive},
      {"  LIST R=DEC, P = PIC18F4520\n", TSyntaxFamily::Directive},
      {"#include <p18f4520.inc>\n", TSyntaxFamily::Directive},
      {"  __config _CONFIG1H, _OSC_HS_1H\n", TSyntaxFamily::Directive},
      {"config OSC = HS ; crystal\n", TSyntaxFamily::Directive},
      // C wins wherever it stands.
      {"PROCESSOR 18F1\nconfig A = B ; x\n#pragma config A = B\n", TSyntaxFamily::Pragma},
      // No evidence: what the house forms read as before.
      {"config OSC = HS ' crystal; fast\n", TSyntaxFamily::House},
      {"config OSC = HS // crystal; fast\n", TSyntaxFamily::House},
      {"Processor = 5\nList p = 4\nprocessor x\n", TSyntaxFamily::House},
      {"#include <xc.h>\n#include <p18cxxx.inc>\n#include \"pic18f4520.h\"\n", TSyntaxFamily::House},
      {"// #pragma config WDT = ON\nconfig \"WDT\" = \"ON\"\n__configure = 1\n", TSyntaxFamily::House},
      {"/* device = 18F1 */ x = 1\n", TSyntaxFamily::House},
      // A setting as a 0x or 0b number is C's or assembler's; a decimal one may name a setting.
      {"    CONFIG FEXTOSC=0b100\n    CONFIG CSWEN=0b1\n", TSyntaxFamily::Directive},
      {"config WDTPS = 0x1A // fast\n", TSyntaxFamily::Directive},
      {"config BORV = 3, WDTPS = 32768\n", TSyntaxFamily::House},
      {"config WDTPS = 0x1A ' fast\n", TSyntaxFamily::House},
      // The vendor IDE's heading as assembler writes it; C's legacy macro.
      {"; PIC18F4520 Configuration Bit Settings\nCONFIG OSC = HS\n", TSyntaxFamily::Directive},
      {"__CONFIG(1, 0x0004U); __CONFIG(2, 0x1462U);\n", TSyntaxFamily::Pragma},
      {"  __CONFIG(FOSC_HS & WDTE_OFF); // x\n", TSyntaxFamily::Pragma},
      {"  __CONFIG (_CP_OFF & _WDT_OFF)\n", TSyntaxFamily::Directive},
      // C's macro left open to go on over the next lines; assembler's never is.
      {"  __CONFIG(FOSC_HS &\n    WDTE_OFF)\n", TSyntaxFamily::Pragma},
      // The file's name, after the lines only one family has and before the rest.
      {"CONFIG OSC = HS\n", TSyntaxFamily::Directive, "prog.ASM"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::Directive, "C:\\src.c\\boot.s"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::Directive, "lib/p18.inc"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::Directive, "main.as"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::Pragma, "main.c"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::Pragma, "fuses.H"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::House, "fuses.txt"},
      {"CONFIG OSC = HS\n", TSyntaxFamily::House, "asm"},
      {"config WDTPS = 0x1A\nconfig OSC = HS ; x\n", TSyntaxFamily::House, "prog.bas"},
      {"config WDTPS = 0x1A\n", TSyntaxFamily::Pragma, "prog.c"},
      {"  PROCESSOR 18F1\nconfig A = B\n", TSyntaxFamily::Directive, "prog.pbp"},
      {"#pragma config A = B\n", TSyntaxFamily::Pragma, "prog.asm"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(TellSyntaxFamily(c.Text, c.FileName), c.Family) << c.FileName << ": " << c.Text;
}

TEST(ConfigParser, ReadsCAndAssemblerAsPeopleWriteThem) {
  const struct {
    const char *What;
    std::string Text;
    std::string Device;
    std::vector<std::string> Entries;
  } cases[] = {
      {"C as the generator writes it",
       "/* device = 18F4520 */\r\n\r\n// CONFIG1H at 0x300001\r\n#pragma config OSC = HS          // HS\r\n",
       "18F4520",
       {"OSC=HS@4"}},
      {"assembler as the generator writes it",
       "    PROCESSOR 18F4520\n\n; CONFIG1H at 0x300001\n    CONFIG OSC = HS             ; HS\n",
       "18F4520",
       {"OSC=HS@4"}},
      {"several to a line, any case, blanks or none",
       "#PRAGMA config WDT = OFF,LVP=OFF ,  \tOSC= HS\n",
       "",
       {"WDT=OFF@1", "LVP=OFF@1", "OSC=HS@1"}},
      {"quotes around a name, a setting or the whole entry",
       "#pragma config \"WDT = ON\", 'LVP'='OFF'\n#pragma config \"FEXTOSC\" = \"ECH\"\n",
       "",
       {"WDT=ON@1", "LVP=OFF@1", "FEXTOSC=ECH@2"}},
      {"comments of every kind, anywhere",
       "#pragma config /* a */ WDT = OFF /* b */, LVP = OFF // c, OSC = HS\n/* #pragma config A = B\n  "
       "#pragma config C = D */ #pragma config E = F\n// #pragma config G = H\n",
       "",
       {"WDT=OFF@1", "LVP=OFF@1", "E=F@3"}},
      {"program lines' comments: left open, closed, going on over the next line",
       "x = 1; /* a */ y = 2; /* open\n#pragma config A = B */\nz /* c */ = /* d */ 3;\n#pragma config C = "
       "D\n"
       "w = 4; // e \\\n#pragma config E = F\n#pragma config G = H\n",
       "",
       {"C=D@4", "G=H@7"}},
      {"comment markers inside strings are text",
       "char *s = \"/* not a comment\";\n#pragma config A = B\nputs('\"'); // \"\n#pragma config C = D\n",
       "",
       {"A=B@2", "C=D@4"}},
      {"the vendor IDE's heading names the device",
       "// PIC18F2550 Configuration Bit Settings\n\n#include <xc.h>\n#pragma config FOSC = HS\n",
       "18F2550",
       {"FOSC=HS@4"}},
      {"the heading with a blank after PIC, on line 3 after other comments",
       "/* Blink */\n// by me\n// PIC 18F47Q43 Configuration Bit Settings\n#pragma config FEXTOSC = ECH\n",
       "18F47Q43",
       {"FEXTOSC=ECH@4"}},
      {"the heading with text after it",
       "// PIC18F46Q71 Configuration Bit Settings (generated in Memory View)\n#pragma config FEXTOSC = ECH\n",
       "18F46Q71",
       {"FEXTOSC=ECH@2"}},
      {"the heading as assembler writes it, without PROCESSOR",
       "; PIC18F4520 Configuration Bit Settings\n\n    CONFIG OSC = HS\n",
       "18F4520",
       {"OSC=HS@3"}},
      {"a // comment ending in a backslash goes on over the next line, in C",
       "// PIC18F4520 Configuration Bit Settings\n// was: \\\n#pragma config OSC = RC\n"
       "#pragma config WDT = OFF // x \\  \n#pragma config LVP = ON\n#pragma config XINST = OFF\n",
       "18F4520",
       {"WDT=OFF@4", "XINST=OFF@6"}},
      {"in assembler a backslash ends no comment",
       "    PROCESSOR 18F4520\n; was: \\\n    CONFIG OSC = HS ; x \\\n    CONFIG WDT = OFF\n",
       "18F4520",
       {"OSC=HS@3", "WDT=OFF@4"}},
      {"a C header names the device",
       "#include <pic18f45k22.h>\n#pragma config FOSC = HSHP\n",
       "18f45k22",
       {"FOSC=HSHP@2"}},
      {"LIST P= names the device; \";\" comments",
       "\tlist p=18F2550, r=dec ; the chip\n\tCONFIG FOSC = HS ; crystal, 20 MHz\n",
       "18F2550",
       {"FOSC=HS@2"}},
      {"an include of the device's .inc names it",
       "  #include \"P18F4520.INC\"\n  config OSC = HS, WDT = OFF ; x\n",
       "18F4520",
       {"OSC=HS@2", "WDT=OFF@2"}},
      {"the first device counts", "  processor 18F1\n  processor 18F2\n  CONFIG A = B\n", "18F1", {"A=B@3"}},
      {"#if 0 is a comment, its #else is read",
       "#if 0\n#pragma config A = 1\n#if X\n#pragma config B = 2\n#endif\n#else\n#pragma config C = 3\n"
       "#endif\n#pragma config D = 4\n",
       "",
       {"C=3@7", "D=4@9"}},
      {"the all-defaults comment is a configuration without entries",
       "    PROCESSOR 18F1\n\n; config: every switch at the chip's default\n",
       "18F1",
       {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_NE(parsed.Family, TSyntaxFamily::House);
    EXPECT_EQ(parsed.Device.Name, c.Device);
    EXPECT_TRUE(parsed.Device.Found);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().second;
    EXPECT_TRUE(parsed.Warnings.empty()) << parsed.Warnings.front().second;
  }
}

TEST(ConfigParser, CAndAssemblerLinesThatCannotBeReadOrAreNotAreSaidAtTheirLines) {
  const struct {
    const char *What;
    std::string Text;
    std::vector<std::string> Entries;
    std::vector<std::string> Problems; // "LINE: the first words of the message"
    std::vector<std::string> Warnings; // "LINE: the whole message"
  } cases[] = {
      {"a word after an entry, a comma at the end, nothing at all",
       "#pragma config WDT = OFF extra\n#pragma config LVP = OFF,\n#pragma config\n#pragma config A = B\n",
       {"A=B@4"},
       {"1: expected NAME = SETTIN", "2: expected NAME = SETTIN", "3: the #pragma config lin"},
       {}},
      {"a quote that is not closed",
       "  CONFIG \"WDT = ON\n  PROCESSOR 18F1\n",
       {},
       {"1: expected NAME = SETTIN"},
       {}},
      {"legacy lines of no form the tool reads",
       "  __CONFIG _CONFIG1H, _OSC_HS_1H | 2\n  CONFIG A = B\n  __CONFIG 1, 2, 3\n",
       {"A=B@2"},
       {},
       {"1: a legacy __CONFIG line is not read; write its settings as CONFIG NAME = SETTING: '__CONFIG "
        "_CONFIG1H, _OSC_HS_1H | 2'",
        "3: a legacy __CONFIG line is not read; write its settings as CONFIG NAME = SETTING: '__CONFIG 1, 2, "
        "3'"}},
      {"the old C macro with what is neither a number nor symbols",
       "#pragma config A = B\n__CONFIG(FOSC_HS & 3);\n__CONFIG(1, HS + FCMDIS);\n__CONFIG = 1;\n",
       {"A=B@1"},
       {},
       {"2: a legacy __CONFIG line is not read; write its settings as #pragma config NAME = SETTING: "
        "'__CONFIG(FOSC_HS & 3);'",
        "3: a legacy __CONFIG line is not read; write its settings as #pragma config NAME = SETTING: "
        "'__CONFIG(1, HS + FCMDIS);'",
        "4: a legacy __CONFIG line is not read; write its settings as #pragma config NAME = SETTING: "
        "'__CONFIG = 1;'"}},
      {"a spliced comment read again after a block's warning stays a comment",
       "#ifdef X\n#pragma config A = B // \\\n#pragma config C = D\n#endif\n",
       {"A=B@2"},
       {},
       {"1: '#ifdef X'"}},
      {"one warning per block, the first time a configuration line is read under it",
       "#ifdef DEBUG // a build\n#pragma config A = B\n#pragma config C = D\n#endif\n#ifndef X\n#endif\n",
       {"A=B@2", "C=D@3"},
       {},
       {"1: '#ifdef DEBUG // a build': the #pragma config lines under it are read as if its condition held; "
        "the preprocessor's conditions are not evaluated"}},
      {"nested blocks and branches each warn",
       "#if A\n#if B\n#pragma config A = B\n#endif\n#elif C\n#pragma config C = D\n#else\n#pragma config E = "
       "F\n"
       "#endif\n#if 0\n#elif X\n#pragma config G = H\n#endif\n",
       {"A=B@3", "C=D@6", "E=F@8", "G=H@12"},
       {},
       {"1: '#if A'", "2: '#if B'", "5: '#elif C'", "7: '#else'", "11: '#elif X'"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_EQ(Problems(parsed), c.Problems);
    std::vector<std::string> warnings;
    for (const auto &[line, text] : parsed.Warnings) {
      const std::string warning = std::to_string(line) + ": " + text;
      const size_t size = c.Warnings.size() > warnings.size() ? c.Warnings[warnings.size()].size() : 0;
      warnings.push_back(warning.substr(0, size));
    }
    EXPECT_EQ(warnings, c.Warnings);
  }
}

TEST(ConfigParser, ReadsCsLegacyMacroWithNumbersAsTheWordsItWrites) {
  const struct {
    const char *What;
    std::string Text;
    std::vector<std::string> Words;    // "N=VALUE@LINE"
    std::vector<std::string> Warnings; // "LINE: the first words"
  } cases[] = {
      {"several to a line, a U suffix, blanks or none",
       "#include <xc.h>\n__CONFIG(1,0x0004U); __CONFIG( 2 , 0x1462u );\n  __CONFIG(3, 33);\n",
       {"1=0x0004@2", "2=0x1462@2", "3=33@3"},
       {}},
      {"program text after the macros is passed over", "__CONFIG(1, 0x04); int x = 1;\n", {"1=0x04@1"}, {}},
      {"a macro not read among them is said, once",
       "__CONFIG(1, 0x04); __CONFIG(FOSC_HS | 1);\n",
       {"1=0x04@1"},
       {"1: a legacy __CONFIG line"}},
      {"in assembler, before its ; comment",
       "    PROCESSOR 18F1\n    __CONFIG(1, 0x04) ; the oscillator\n    __CONFIG _CONFIG1H, -1\n",
       {"1=0x04@2"},
       {"3: a legacy __CONFIG line"}},
      {"under #if 0 not at all; under another condition with its warning",
       "#if 0\n__CONFIG(1, 0x04);\n#else\n__CONFIG(2, 0x05);\n#endif\n#ifdef X\n__CONFIG(3, 0x06);\n#endif\n",
       {"2=0x05@4", "3=0x06@7"},
       {"6: '#ifdef X': the #pragm"}},
      {"a macro not closed is said", "__CONFIG(1, 0x04\n", {}, {"1: a legacy __CONFIG line"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    std::vector<std::string> words;
    for (const TParsedConfig::TEntry &word : parsed.Words)
      words.push_back(word.Switch + "=" + word.Setting + "@" + std::to_string(word.Line));
    EXPECT_EQ(words, c.Words);
    std::vector<std::string> warnings;
    for (const auto &[line, text] : parsed.Warnings)
      warnings.push_back(std::to_string(line) + ": " + text.substr(0, 22));
    EXPECT_EQ(warnings, c.Warnings);
    EXPECT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().second;
    EXPECT_EQ(parsed.Device.Found, !c.Words.empty());
  }
}

TEST(ConfigParser, ReadsTheLegacyFormsOfPic16CodeAsWordsAndSymbols) {
  const struct {
    const char *What;
    std::string Text;
    TSyntaxFamily Family;
    std::vector<std::string> Legacy; // "WORD|VALUE@LINE", one a symbol
    int Statements;                  // the items that carry the statement's warning
    std::vector<std::string> Others; // entries, words and warnings: "E NAME=SETTING@LINE", "W LINE"
  } cases[] = {
      {"assembler's symbols, a leading underscore, without a word",
       "    __CONFIG _FOSC_HS & _WDTE_OFF\n",
       TSyntaxFamily::Directive,
       {"|_FOSC_HS@1", "|_WDTE_OFF@1"},
       1,
       {}},
      {"assembler's symbols for a word named, any case, a ; comment",
       "\t__config _CONFIG1, _FOSC_INTOSC&_WDTE_OFF ; the clock\n",
       TSyntaxFamily::Directive,
       {"_CONFIG1|_FOSC_INTOSC@1", "_CONFIG1|_WDTE_OFF@1"},
       1,
       {}},
      {"assembler's numbers: alone, for a word named, for an address, the vendor's radix",
       "  __CONFIG 0x3F72\n  __CONFIG _CONFIG2, 0x3FE4\n  __CONFIG 0x2007, H'3F72'\n  __CONFIG _CONFIG, "
       "16242\n",
       TSyntaxFamily::Directive,
       {"|0x3F72@1", "_CONFIG2|0x3FE4@2", "0x2007|H'3F72'@3", "_CONFIG|16242@4"},
       4,
       {}},
      {"assembler's symbols in parentheses",
       "  __CONFIG (_CP_OFF & _WDT_OFF)\n  __CONFIG _CONFIG2, (_LVP_OFF) & (_BORV_19)\n",
       TSyntaxFamily::Directive,
       {"|_CP_OFF@1", "|_WDT_OFF@1", "_CONFIG2|_LVP_OFF@2", "_CONFIG2|_BORV_19@2"},
       2,
       {}},
      {"C's macro with symbols, and a number with its U",
       "__CONFIG(FOSC_INTOSC & WDTE_OFF & MCLRE_OFF & CP_OFF);\n__CONFIG(0x3FFFU);\n",
       TSyntaxFamily::Pragma,
       {"|FOSC_INTOSC@1", "|WDTE_OFF@1", "|MCLRE_OFF@1", "|CP_OFF@1", "|0x3FFF@2"},
       2,
       {}},
      {"C's macro over several lines, comments among them: each symbol at its line",
       "#include <xc.h>\n__CONFIG(FOSC_INTOSC &   // the oscillator\n\n         WDTE_OFF & /* no\n dog */ "
       "MCLRE_OFF\n         );\n#pragma config LVP = OFF\n",
       TSyntaxFamily::Pragma,
       {"|FOSC_INTOSC@2", "|WDTE_OFF@4", "|MCLRE_OFF@5"},
       1,
       {"E LVP=OFF@7"}},
      {"a macro left open stops at a line that is no part of it, which is read",
       "__CONFIG(FOSC_HS &\n#pragma config LVP = OFF\n",
       TSyntaxFamily::Pragma,
       {},
       0,
       {"W 1", "E LVP=OFF@2"}},
      {"several to a line, each of its form, then program text",
       "__CONFIG(1, 0x04); __CONFIG(FOSC_HS & CP_OFF); int x = 1;\n",
       TSyntaxFamily::Pragma,
       {"|FOSC_HS@1", "|CP_OFF@1"},
       1,
       {"N 1=0x04@1"}},
      {"under a condition, with its warning",
       "#ifdef X\n__CONFIG(FOSC_HS);\n#endif\n",
       TSyntaxFamily::Pragma,
       {"|FOSC_HS@2"},
       1,
       {"W 1"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(parsed.Family, c.Family);
    std::vector<std::string> legacy;
    for (const TParsedConfig::TEntry &value : parsed.Legacy)
      legacy.push_back(value.Switch + "|" + value.Setting + "@" + std::to_string(value.Line));
    EXPECT_EQ(legacy, c.Legacy);
    EXPECT_EQ(parsed.LegacyStatements, c.Statements);
    std::vector<std::string> others;
    for (const auto &[line, text] : parsed.Warnings)
      others.push_back("W " + std::to_string(line));
    for (const TParsedConfig::TEntry &word : parsed.Words)
      others.push_back("N " + word.Switch + "=" + word.Setting + "@" + std::to_string(word.Line));
    for (const TParsedConfig::TEntry &entry : parsed.Entries)
      others.push_back("E " + entry.Switch + "=" + entry.Setting + "@" + std::to_string(entry.Line));
    EXPECT_EQ(others, c.Others);
    EXPECT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().second;
  }
}

TEST(ConfigParser, ReadsEachLineOfAMixedTextInTheFormOnlyItCanBe) {
  const struct {
    const char *What;
    std::string Text;
    std::string Device;
    std::vector<std::string> Entries;
    std::vector<std::string> Problems;
  } cases[] = {
      {"a Tarnwick block after its device line, then C, assembler and Orvane lines",
       "device = 18F4520\nconfig\n    OSC = HS,       // crystal\n    WDT = OFF\n#pragma config LVP = OFF\n"
       "    CONFIG XINST = OFF ; x\nconfig MCLRE = ON ' Orvane\nconfig PBADEN = OFF\n",
       "18F4520",
       {"OSC=HS@3", "WDT=OFF@4", "LVP=OFF@5", "XINST=OFF@6", "MCLRE=ON@7", "PBADEN=OFF@8"},
       {}},
      {"assembler with a Tarnwick block and an Orvane statement",
       "    PROCESSOR 18F4520 ; the chip\n    CONFIG OSC = HS ; x\nconfig\n    WDT = OFF,\n    LVP = OFF\n"
       "config XINST = OFF ' y\ndevice = 18F2550\n",
       "18F4520",
       {"OSC=HS@2", "WDT=OFF@4", "LVP=OFF@5", "XINST=OFF@6"},
       {}},
      {"assembler's device lines in C, up to a ; comment",
       "  LIST P=18F2550 ; the chip\n#pragma config A = B\n",
       "18F2550",
       {"A=B@2"},
       {}},
      {"a house device line names a device's name only",
       "#pragma config A = B\ndevice = open(name);\ndevice = PIC18F1\n",
       "18F1",
       {"A=B@1"},
       {}},
      {"C's own statements that begin with the word are program text",
       "#pragma config A = B\nconfig x = 5;\nconfig = load();\nconfig(a, b);\nconfig y = f(a, b);\n",
       "",
       {"A=B@1"},
       {}},
      {"an open block reports the line that is no entry in every family",
       "#pragma config A = B\nconfig\n    C = D,\n#pragma config E = F\n",
       "",
       {"A=B@1", "C=D@3"},
       {"4: expected NAME = SETTIN", "4: the config block begun"}},
      {"an assembler line that no form reads whole is assembler's problem",
       "    PROCESSOR 18F1\n    CONFIG \"WDT = ON\n    CONFIG A = B,\n",
       "18F1",
       {},
       {"2: expected NAME = SETTIN", "3: expected NAME = SETTIN"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    const TParsedConfig parsed = ParseConfigText(c.Text);
    EXPECT_EQ(parsed.Device.Name, c.Device);
    EXPECT_EQ(Entries(parsed), c.Entries);
    EXPECT_EQ(Problems(parsed), c.Problems);
  }
  // The first line's device, as check and --from look for it.
  EXPECT_EQ(FindDeviceLine(cases[0].Text).Name, "18F4520");
  EXPECT_EQ(FindDeviceLine(cases[0].Text).Line, 1);
}

namespace {
// Every item a scanner gives, as "KIND LINE NAME=SETTING PROBLEM".
std::vector<std::string> Items(TConfigTextScanner scanner) {
  std::vector<std::string> items;
  TConfigItem item;
  while (scanner.Next(item))
    items.push_back(std::to_string(static_cast<int>(item.Kind)) + " " + std::to_string(item.Line) + " " +
                    std::string(item.Name) + "=" + std::string(item.Setting) + " " + item.Problem);
  return items;
}
} // namespace

// check reads a text again from its first item's line, after finding its device:
// what the scanner knew there comes with it.
TEST(ConfigParser, ARewoundScannerGivesEveryItemAgainFromTheFirst) {
  const std::string texts[] = {
      "x\ny\ndevice = 18F1\nz\nconfig\n  A = B,\n  C = D\n",
      "x\nconfig A = B\nq\ndevice = 18F1\n",
      // The first item's line begins inside a comment.
      "int a;\n/* open\n still */ #pragma config A = B\n/* device = 18F1 */\n",
      // Under a condition, whose warning comes again.
      "#ifdef X\nint a;\n#pragma config A = B\n#endif\n// PIC18F1 Configuration Bit Settings\n",
      "#include <xc.h>\nint a;\n__CONFIG(FOSC_HS &\n   WDTE_OFF);\n",
      std::string("\xFF\xFE"
                  "d\0e\0",
                  6),
      "no configuration here\n",
  };
  for (const std::string &text : texts) {
    SCOPED_TRACE(text);
    const std::vector<std::string> expected = Items(TConfigTextScanner(text));
    TConfigTextScanner scanner(text);
    FindDeviceLine(scanner);
    EXPECT_EQ(Items(scanner.Rewound()), expected);
    EXPECT_EQ(Items(TConfigTextScanner(text).Rewound()), expected);
  }
}
