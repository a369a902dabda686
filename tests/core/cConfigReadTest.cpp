// Reading a configuration back: the device it goes onto, as each mode chooses it,
// and what stops the reading.
#include "core/cConfigRead.h"

#include "deviceinfo/cInfoFile.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/HexText.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

// Devices 18F1 and 18F2 with one switch each, 18F25K22 listed without a part
// section.
std::string ThreeDevices() {
  return TDeviceInfoText()
      .Index("18F1")
      .Index("18F2")
      .Index("18F25K22")
      .Part("18F1")
      .Register("FF")
      .Switch("A", "a", "1")
      .Setting("A1", "one", "1")
      .Setting("A0", "zero", "0")
      .Part("18F2")
      .Register("FF")
      .Switch("B", "b", "1")
      .Setting("B1", "one", "1")
      .Setting("B0", "zero", "0")
      .Text();
}

// The devices of Info (ThreeDevices unless given); Open makes a device the one
// shown, as the window's drop-down does.
class TTables : public IDeviceTables {
public:
  explicit TTables(const std::string &info = ThreeDevices()) {
    TInfoFileProbe::LoadIndexFromText(FReader, info, false);
  }
  const TStringList &Listed() override { return FReader.Devices; }
  std::string ListedIn() override { return "the list"; }
  std::string HowToNameDevice() const override { return NameDevice; }
  std::string HowToSeeListed() const override { return SeeListed; }
  TReadTable Open(int index) override {
    FDevice = FReader.Devices[index];
    if (!ReadDeviceTable(FReader, false, FDevice, FRows, &FRegisters))
      return {FDevice, nullptr, nullptr, {}, "no part section"};
    ApplyStartSettings(FRows);
    return Shown();
  }
  TReadTable Shown() override { return {FDevice, &FRows, &FRegisters, "the file", {}}; }

  std::string FDevice;
  std::vector<TSwitchRow> FRows;
  std::string NameDevice, SeeListed; // none, as in the window

private:
  TInfoFile FReader;
  std::vector<TConfigRegister> FRegisters;
};

struct TRead {
  TReadResult Result;
  Strings Diagnostics; // "LINE severity: text"
};

TRead Read(TTables &tables, const std::string &text, TReadMode mode, const std::string &device = {},
           const std::string &fileName = {}) {
  TRead read;
  read.Result = ReadConfiguration(
      text, tables, device, mode,
      [&](const TDiagnostic &d) {
        read.Diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
      },
      kEveryDiagnostic, fileName);
  return read;
}
} // namespace

TEST(ReadConfiguration, ACheckStopsWithOneErrorWhereThereIsNoDeviceToReadOnto) {
  const struct {
    std::string Text, Device;
    Strings Expected;
  } cases[] = {
      {std::string("d\0e\0", 4), "", {"1 error: the text is UTF-16; save it as ANSI or UTF-8"}},
      {THexText().End().Text(), "", {"1 error: a HEX file names no device"}},
      {"config A = A0\n", "", {"1 error: the text has no device line"}},
      {"nothing\n", "", {"1 error: no configuration found", "1 error: the text has no device line"}},
      {"\ndevice = 18F45K22\nconfig A = A0\n",
       "",
       {"2 error: device '18F45K22' is not among the 18F and 18LF devices listed in the list;"
        " did you mean '18F25K22'?"}},
      {"\ndevice = 18F1\n",
       "PIC18F7",
       {"1 error: device 'PIC18F7' is not among the 18F and 18LF devices listed "
        "in the list; did you mean "
        "'18F1' or '18F2'?"}},
      {"\ndevice = 18f25k22\n", "", {"2 error: no part section"}},
      // What was looked for, in the text's own family.
      {"#include <xc.h>\n#pragma config A = A0\n",
       "",
       {"1 error: the text names no device: no comment /* device = NAME */, no heading comment \"PIC18F4520 "
        "Configuration Bit Settings\" and no #include of the device's header (<pic18f4520.h>)"}},
      {"    CONFIG A = 0x0\n",
       "",
       {"1 error: the text names no device: no PROCESSOR NAME or LIST P=NAME line, no include of the "
        "device's "
        ".inc file (p18f4520.inc) and no heading comment \"PIC18F4520 Configuration Bit Settings\""}},
  };
  for (const auto &c : cases) {
    TTables tables;
    const TRead read = Read(tables, c.Text, TReadMode::Check, c.Device);
    EXPECT_FALSE(read.Result.Read) << c.Text;
    EXPECT_EQ(read.Diagnostics, c.Expected) << c.Text;
  }
}

// The core says what is missing; the front end's own words say how its user supplies it.
TEST(ReadConfiguration, ACheckAddsHowTheFrontEndsUserSuppliesWhatIsMissing) {
  const struct {
    std::string Text, Device, Expected;
  } cases[] = {
      {THexText().End().Text(), "", "1 error: a HEX file names no device; name it with the Device box"},
      {"config A = A0\n", "", "1 error: the text has no device line; name the device with the Device box"},
      {"\ndevice = 18F1\n", "PIC18F7",
       "1 error: device 'PIC18F7' is not among the 18F and 18LF devices listed in the list (see the Devices "
       "menu); did you mean '18F1' or '18F2'?"},
  };
  for (const auto &c : cases) {
    TTables tables;
    tables.NameDevice = "the Device box";
    tables.SeeListed = "see the Devices menu";
    EXPECT_EQ(Read(tables, c.Text, TReadMode::Check, c.Device).Diagnostics, Strings{c.Expected}) << c.Text;
  }
}

TEST(ReadConfiguration, ACheckReadsOntoTheDeviceGivenElseTheOneTheTextNames) {
  TTables tables;
  const TRead named = Read(tables, "device = PIC18F2\nconfig B = B0\n", TReadMode::Check);
  ASSERT_TRUE(named.Result.Read);
  EXPECT_EQ(named.Result.Table.Device, "18F2");
  EXPECT_EQ((*named.Result.Table.Rows)[0].Setting(), "B0");
  EXPECT_EQ(named.Result.Summary.Applied, 1);

  const TRead given = Read(tables, "device = 18F2\nconfig A = A0\n", TReadMode::Check, "18f1");
  ASSERT_TRUE(given.Result.Read);
  EXPECT_EQ(given.Result.Table.Device, "18F1");
  EXPECT_EQ((*given.Result.Table.Rows)[0].Setting(), "A0");
}

TEST(ReadConfiguration, APasteOpensTheListedDeviceTheTextNamesElseWarnsAndReadsOntoTheOneShown) {
  TTables tables;
  tables.Open(0);
  const TRead other = Read(tables, "device = 18F2\nconfig B = B0\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_EQ(tables.FRows[0].Setting(), "B0");
  EXPECT_EQ(other.Diagnostics, Strings{});

  const TRead unlisted = Read(tables, "device = 18F9\nconfig B = B1\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_EQ(tables.FRows[0].Setting(), "B1");
  EXPECT_EQ(unlisted.Diagnostics,
            Strings{"1 warning: device '18F9' is not listed; the entries were applied to 18F2"});

  // A device line without a configuration opens nothing.
  const TRead noConfig = Read(tables, "device = 18F1\n", TReadMode::Paste);
  EXPECT_EQ(tables.FDevice, "18F2");
  EXPECT_TRUE(noConfig.Result.Read);
  EXPECT_FALSE(noConfig.Result.Summary.Found);
}

TEST(ReadConfiguration, ACheckFindsTheDeviceInEveryShapeAndFormATextNamesItIn) {
  const struct {
    const char *What;
    std::string Text;
    std::string Device;  // the table read onto
    std::string Setting; // its one switch's
  } cases[] = {
      {"a house device line before C's lines", "device = 18F2\n#pragma config B = B0\n", "18F2", "B0"},
      {"the heading with a blank after PIC",
       "// PIC 18F2 Configuration Bit Settings\n#pragma config B = B0\n", "18F2", "B0"},
      {"the heading with text after it",
       "// PIC18F2 Configuration Bit Settings (generated in Memory View)\n#pragma config B = B0\n", "18F2",
       "B0"},
      {"the heading as assembler writes it", "; PIC18F2 Configuration Bit Settings\n  CONFIG B = B0\n",
       "18F2", "B0"},
      {"C's legacy macro", "// PIC18F2 Configuration Bit Settings\n__CONFIG(1, 0x0000U);\n", "18F2", "B0"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    TTables tables;
    const TRead read = Read(tables, c.Text, TReadMode::Check);
    ASSERT_TRUE(read.Result.Read);
    EXPECT_EQ(read.Result.Table.Device, c.Device);
    EXPECT_EQ((*read.Result.Table.Rows)[0].Setting(), c.Setting);
    EXPECT_EQ(read.Result.Summary.Errors, 0);
  }
}

TEST(ReadConfiguration, TheFilesNameTellsTheSyntaxWhereTheTextDoesNot) {
  const std::string text = "    CONFIG \"A\" = \"A0\"\n";
  TTables tables;
  const TRead assembler = Read(tables, text, TReadMode::Check, "18F1", "src/fuses.asm");
  EXPECT_EQ(assembler.Diagnostics, Strings{});
  EXPECT_EQ((*assembler.Result.Table.Rows)[0].Setting(), "A0");
  // Without a name that says so, the house forms read it, where quotes are text.
  const TRead house = Read(tables, text, TReadMode::Check, "18F1", "src/fuses.txt");
  ASSERT_FALSE(house.Diagnostics.empty());
  EXPECT_EQ(house.Diagnostics[0].substr(0, 34), "1 error: unknown switch '\"A\"' for ");
  // The device's absence is said as the family the name gives.
  const TRead named = Read(tables, "config A = A0\n", TReadMode::Check, {}, "fuses.c");
  EXPECT_EQ(named.Diagnostics.front().substr(0, 40), "1 error: the text names no device: no co");
}

// The same configuration as a text and as its HEX file goes through one reading:
// the same rows, the same errors and warnings (their lines aside), the same summary.
TEST(ReadConfiguration, ATextAndItsHexFileGiveTheSameRowsDiagnosticsAndSummary) {
  // 18F3: CONFIG1H (0x37 when not set) holds OSC and BB, whose bits when not set
  // (0x30) are none of its settings; CONFIG4L (0x85 when not set) holds LVP, on.
  const std::string info = TDeviceInfoText()
                               .Index("18F3")
                               .Part("18F3")
                               .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H><37><ff>")
                               .Switch("OSC", "oscillator", "0f")
                               .Setting("LP", "lp", "0")
                               .Setting("XT", "xt", "1")
                               .Setting("HS", "hs", "2")
                               .Setting("RC", "rc", "7")
                               .Switch("BB", "boot block", "30")
                               .Setting("B1", "1K", "0")
                               .Setting("B2", "2K", "10")
                               .Setting("B3", "4K", "20")
                               .Line("<CONFIGREG_INFO_TYPE><300006><CONFIG4L><85><ff>")
                               .Switch("LVP", "low voltage", "04")
                               .Setting("OFF", "off", "0")
                               .Setting("ON", "on", "4")
                               .Text();
  const std::string lvp =
      "low-voltage programming: programming can start without a high voltage on MCLR/VPP; if the part has "
      "a PGM pin (its device data does not say), that pin is given over to programming, and a stray high "
      "level on it stops the program";
  const auto hex = [](uint8_t config1h, int config4l) {
    THexText text;
    text.Upper(0x30).Data(1, {config1h});
    if (config4l >= 0)
      text.Data(6, {static_cast<uint8_t>(config4l)});
    return text.End().Text();
  };
  const struct {
    const char *What;
    std::string Text, Hex;
    Strings Rows; // each row's setting, "-" where it is left out
    Strings Said; // the errors and warnings, without their lines
  } cases[] = {
      {"every switch set, one risky",
       "config\n    OSC = HS,\n    BB = B2,\n    LVP = ON\n",
       hex(0x12, 0x85),
       {"HS", "B2", "ON"},
       {"warning: LVP = ON: " + lvp}},
      {"a switch left out at a risky chip default",
       "config\n    OSC = HS,\n    BB = B3\n",
       hex(0x22, -1),
       {"HS", "B3", "ON"},
       {"warning: LVP = ON (the chip's default, as the file does not set it): " + lvp}},
      {"a switch left out whose chip default is none of its settings",
       "config OSC = XT\nconfig LVP = OFF\n",
       hex(0x31, 0x81),
       {"XT", "-", "OFF"},
       {}},
      {"bits that match no setting",
       "#pragma config CONFIG1H = 0x35\n#pragma config LVP = OFF\n",
       hex(0x35, 0x81),
       {"RC", "-", "OFF"},
       {"error: CONFIG1H (0x300001) = 0x35: the bits 0x05 of switch 'OSC' match none of its settings"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    TReadSummary summaries[2];
    for (const bool isHex : {false, true}) {
      SCOPED_TRACE(isHex ? "HEX" : "text");
      TTables tables(info);
      const TRead read = Read(tables, isHex ? c.Hex : c.Text, TReadMode::Check, "18F3");
      ASSERT_TRUE(read.Result.Read);
      EXPECT_EQ(read.Result.Hex, isHex);
      Strings rows;
      for (const TSwitchRow &row : *read.Result.Table.Rows)
        rows.push_back(row.LeftOut ? "-" : row.Setting());
      EXPECT_EQ(rows, c.Rows);
      Strings said;
      for (const std::string &d : read.Diagnostics)
        if (d.find(" note: ") == std::string::npos)
          said.push_back(d.substr(d.find(' ') + 1));
      EXPECT_EQ(said, c.Said);
      summaries[isHex ? 1 : 0] = read.Result.Summary;
    }
    EXPECT_TRUE(summaries[0].Found && summaries[1].Found);
    EXPECT_EQ(summaries[0].Errors, summaries[1].Errors);
    EXPECT_EQ(summaries[0].Problems, summaries[1].Problems);
  }
}
