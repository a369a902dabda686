// Configuration words: the registers' names, the words of a table, where a switch's
// bits are, the faults of the data, and a table read back from a HEX file's words.
#include "core/cConfigWords.h"

#include "bench/cDeviceInfoGenerator.h"
#include "core/cConfigRead.h"
#include "core/cConfigText.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/HexText.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

TSwitchRow Row(const std::string &name, int reg, uint32_t mask,
               std::initializer_list<std::pair<const char *, uint32_t>> settings, int chosen = 0) {
  TSwitchRow row;
  row.Name = name;
  row.Register = reg;
  row.Mask = mask;
  for (const auto &[setting, value] : settings)
    row.Settings.push_back({setting, "", value, mask, static_cast<int>(row.Settings.size()) + 11});
  row.Chosen = chosen;
  row.StartSetting = row.ChipDefault = row.Settings[0].Name;
  return row;
}

// CONFIG1H with OSC (bits 0-3) and IESO (bit 7), CONFIG2L with BOR (bits 1-2);
// CONFIG3H has no switch.
std::vector<TWordRegister> Registers() {
  return {{"CONFIG1H", 0x300001, 0x07}, {"CONFIG2L", 0x300002, 0x1F}, {"CONFIG3H", 0x300005, 0x83}};
}

std::vector<TSwitchRow> Rows() {
  return {Row("OSC", 0, 0x0F, {{"LP", 0}, {"HS", 2}, {"HS2", 2}, {"RC", 7}}),
          Row("IESO", 0, 0x80, {{"OFF", 0}, {"ON", 0x80}}),
          Row("BOR", 1, 0x06, {{"OFF", 0}, {"ON", 2}, {"SBORDIS", 6}}, 2)};
}

Strings Lines(const std::vector<TConfigWord> &words) {
  Strings lines;
  lines.reserve(words.size());
  for (const TConfigWord &word : words)
    lines.push_back(WordLine(word));
  return lines;
}

// Reads a HEX text onto Rows() in Mode; the diagnostics as "LINE severity: text".
Strings ReadHex(const std::string &text, std::vector<TSwitchRow> &rows, TReadMode mode = TReadMode::Check) {
  Strings diagnostics;
  ReadHexConfig(text, Registers(), rows, "18F1", mode, [&](const TDiagnostic &d) {
    diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
  });
  return diagnostics;
}

Strings Settings(const std::vector<TSwitchRow> &rows) {
  Strings settings;
  settings.reserve(rows.size());
  for (const TSwitchRow &row : rows)
    settings.push_back(row.Setting());
  return settings;
}
} // namespace

TEST(ConfigWords, EachRegisterKeepsItsValueWhereNoChosenSettingCovers) {
  std::vector<TSwitchRow> rows = Rows();
  EXPECT_EQ(Lines(ConfigWords(Registers(), rows)),
            (Strings{"CONFIG1H  0x300001  0x00", "CONFIG2L  0x300002  0x1F", "CONFIG3H  0x300005  0x83"}));
  rows[0].Chosen = 3;
  rows[1].Chosen = 1;
  rows[2].Chosen = 1;
  EXPECT_EQ(Lines(ConfigWords(Registers(), rows)),
            (Strings{"CONFIG1H  0x300001  0x87", "CONFIG2L  0x300002  0x1B", "CONFIG3H  0x300005  0x83"}));
}

TEST(ConfigWords, NamesComeFromTheSourceOrTheAddress) {
  const std::vector<TConfigRegister> registers = {
      {"", "300009", 0xC0, 5}, {"", "300000", 0, 2}, {"CONFIG1", "300001", 0, 3}, {"", "30000D", 0, 4}};
  const std::vector<TWordRegister> named = WordRegisters(registers, {}, "x.info");
  ASSERT_EQ(named.size(), 4u);
  EXPECT_EQ(named[0].Name, "CONFIG5H");
  EXPECT_EQ(named[0].Address, 0x300009u);
  EXPECT_EQ(named[1].Name, "CONFIG1L");
  EXPECT_EQ(named[2].Name, "CONFIG1"); // a pack's own name
  EXPECT_EQ(named[3].Name, "CONFIG7H");
  // Registers at the end of program memory count from the lowest of them.
  const std::vector<TWordRegister> low =
      WordRegisters({{"", "1FFF9", 0, 1}, {"", "1FFF8", 0, 2}, {"", "1FFFD", 0, 3}}, {}, "x.info");
  EXPECT_EQ(low[0].Name, "CONFIG1H");
  EXPECT_EQ(low[1].Name, "CONFIG1L");
  EXPECT_EQ(low[2].Name, "CONFIG3H");
}

TEST(ConfigWords, FaultsOfTheDataNameTheirFileAndLine) {
  try {
    WordRegisters({{"", "30000X", 0, 7}}, {}, "dir/8bit_device.info");
    ADD_FAILURE() << "no error";
  } catch (const EDataError &e) {
    EXPECT_EQ(
        e.Message(),
        "dir/8bit_device.info, line 7: the configuration register's address '30000X' is not hexadecimal");
  }
  std::vector<TSwitchRow> rows = Rows();
  rows[1].Settings[1].Value = 0x81;
  try {
    WordRegisters({}, rows, "dir/8bit_device.info");
    ADD_FAILURE() << "no error";
  } catch (const EDataError &e) {
    EXPECT_EQ(e.Message(), "dir/8bit_device.info, line 12: setting 'ON' of switch 'IESO' has the value 0x81, "
                           "with bits outside the switch's mask 0x80");
  }
  rows = Rows();
  rows[2].Register = -1;
  rows[2].Line = 30;
  EXPECT_EQ(
      SwitchesOutsideRegisters(rows, "f.info"),
      Strings{"switch 'BOR' (f.info, line 30) stands before any configuration register of its device: it "
              "belongs to none, so the words leave it out and the chip has its default"});
  EXPECT_EQ(Lines(ConfigWords(Registers(), rows))[1], "CONFIG2L  0x300002  0x1F");
}

TEST(ConfigWords, ARowsTipNamesItsRegisterAndBits) {
  const struct {
    uint32_t Mask;
    int Register;
    bool Otp;
    std::string Expected;
  } cases[] = {
      {0x0F, 0, false,
       "CONFIG1H, bits 0\x96"
       "3"},
      {0x80, 0, false, "CONFIG1H, bit 7"},
      {0x0D, 1, false,
       "CONFIG2L, bits 0, 2\x96"
       "3"},
      {0x01, 1, true, "CONFIG2L, bit 0, one-time programmable"},
      {0x06, -1, false, ""},
  };
  for (const auto &c : cases) {
    TSwitchRow row = Rows()[0];
    row.Mask = c.Mask;
    row.Register = c.Register;
    row.Otp = c.Otp;
    EXPECT_EQ(BitsOfRow(Registers(), row), c.Expected);
  }
}

TEST(ConfigWords, AHexFilesWordsChooseTheSettings) {
  const struct {
    const char *What;
    std::string Text;
    Strings Diagnostics;
    Strings Settings;
  } cases[] = {
      {"every register held; several settings of one value: the last",
       THexText().Upper(0x30).Data(1, {0x82, 0x1B}).Data(5, {0x83}).End().Text(),
       {},
       {"HS2", "ON", "ON"}},
      {"a register the file does not hold: its switches at the chip's default",
       THexText().Upper(0x30).Data(1, {0x07}).End().Text(),
       {"1 note: CONFIG2L (0x300002) is not in the file: its switches (BOR) are at the chip's default"},
       {"RC", "OFF", "OFF"}},
      {"bits that match no setting; bits no switch covers",
       THexText().Upper(0x30).Data(1, {0x35, 0x1F}).Data(5, {0x03}).End().Text(),
       {"2 error: CONFIG1H (0x300001) = 0x35: the bits 0x05 of switch 'OSC' match none of its settings",
        "2 note: CONFIG1H (0x300001) = 0x35: bits no switch covers (0x30) differ from the register's value "
        "when not set, 0x07",
        "3 note: CONFIG3H (0x300005) = 0x03: bits no switch covers (0x80) differ from the register's value "
        "when not set, 0x83"},
       {"LP", "OFF", "SBORDIS"}},
      {"no data at any register address",
       THexText().Data(0, {1, 2, 3}).End().Text(),
       {"1 error: no configuration words: the file holds no data at the device's register addresses"},
       {"LP", "OFF", "OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = Rows();
    EXPECT_EQ(ReadHex(c.Text, rows), c.Diagnostics);
    EXPECT_EQ(Settings(rows), c.Settings);
  }
  // A paste keeps the rows of a register the file does not hold.
  std::vector<TSwitchRow> rows = Rows();
  ReadHex(THexText().Upper(0x30).Data(1, {0x02}).End().Text(), rows, TReadMode::Paste);
  EXPECT_EQ(Settings(rows), (Strings{"HS2", "OFF", "SBORDIS"}));
}

// OSC's chip default (CONFIG1H's bits 0x0F when not set) is none of its settings;
// IESO's is ON, BOR's SBORDIS.
TEST(ConfigWords, AHexFilesChipDefaultBitsThatAreNoSettingLeaveTheSwitchOutAndTheWordsKeepThem) {
  const std::vector<TWordRegister> registers = {{"CONFIG1H", 0x300001, 0x8F}, {"CONFIG2L", 0x300002, 0x1F}};
  const std::string leftOut =
      "1 note: 1 switch(es) of 18F1 left out have a chip default that is none of "
      "their settings; the chip gets the bits they have when not set: OSC (CONFIG1H & "
      "0x0F = 0x0F)";
  const struct {
    const char *What;
    TReadMode Mode;
    std::string Text;
    Strings Diagnostics;
    bool LeftOut;
    Strings Words; // the words of the table read
  } cases[] = {
      {"the word at the register's value when not set",
       TReadMode::Check,
       THexText().Upper(0x30).Data(1, {0x8F, 0x1F}).End().Text(),
       {leftOut},
       true,
       {"CONFIG1H  0x300001  0x8F", "CONFIG2L  0x300002  0x1F"}},
      {"other bits of the register",
       TReadMode::Check,
       THexText().Upper(0x30).Data(1, {0x0F, 0x1B}).End().Text(),
       {leftOut},
       true,
       {"CONFIG1H  0x300001  0x0F", "CONFIG2L  0x300002  0x1B"}},
      {"a register the file does not hold",
       TReadMode::Check,
       THexText().Upper(0x30).Data(2, {0x1B}).End().Text(),
       {"1 note: CONFIG1H (0x300001) is not in the file: its switches (OSC, IESO) are at the chip's default",
        leftOut},
       true,
       {"CONFIG1H  0x300001  0x8F", "CONFIG2L  0x300002  0x1B"}},
      {"a setting",
       TReadMode::Check,
       THexText().Upper(0x30).Data(1, {0x82, 0x1F}).End().Text(),
       {},
       false,
       {"CONFIG1H  0x300001  0x82", "CONFIG2L  0x300002  0x1F"}},
      {"bits that are neither stay an error",
       TReadMode::Check,
       THexText().Upper(0x30).Data(1, {0x85, 0x1F}).End().Text(),
       {"2 error: CONFIG1H (0x300001) = 0x85: the bits 0x05 of switch 'OSC' match none of its settings",
        leftOut},
       true,
       {"CONFIG1H  0x300001  0x8F", "CONFIG2L  0x300002  0x1F"}},
      {"a paste keeps the setting",
       TReadMode::Paste,
       THexText().Upper(0x30).Data(1, {0x8F, 0x1F}).End().Text(),
       {"2 note: CONFIG1H (0x300001) = 0x8F: the bits 0x0F of switch 'OSC' are its chip default, which is "
        "none of its settings: it keeps its setting"},
       false,
       {"CONFIG1H  0x300001  0x87", "CONFIG2L  0x300002  0x1F"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TSwitchRow> rows = Rows();
    for (TSwitchRow &row : rows)
      SetDefaults(row, registers[static_cast<size_t>(row.Register)].Unset, false);
    ApplyStartSettings(rows);
    rows[0].Chosen = 3; // RC, 7
    Strings diagnostics;
    ReadHexConfig(c.Text, registers, rows, "18F1", c.Mode, [&](const TDiagnostic &d) {
      diagnostics.push_back(std::to_string(d.Line) + " " + SeverityName(d.Severity) + ": " + d.Text);
    });
    EXPECT_EQ(diagnostics, c.Diagnostics);
    EXPECT_EQ(rows[0].LeftOut, c.LeftOut);
    EXPECT_EQ(Lines(ConfigWords(registers, rows)), c.Words);
  }
}

// For every device of the full-size file, with settings chosen at random: the words
// of its table, written as a HEX file and read back, give the same text.
TEST(ConfigWords, WordsWrittenAsAHexFileReadBackToTheSameTextOnEveryDevice) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader, GenerateDeviceInfo().Text, true);
  std::mt19937 random(20261208);
  int checked = 0;
  for (const std::string &device : reader.Devices) {
    std::vector<TSwitchRow> rows;
    std::vector<TConfigRegister> registers;
    if (!ReadDeviceTable(reader, false, device, rows, &registers))
      continue;
    ApplyStartSettings(rows);
    const std::vector<TSwitchRow> fresh = rows;
    // Each switch at a setting the words tell apart (the last of its value, and the
    // first of its name, as --set would choose it), at random; one outside the
    // registers at its chip default, which is what a HEX file gives it.
    for (TSwitchRow &row : rows) {
      std::vector<int> distinct;
      for (size_t k = 0; k < row.Settings.size(); ++k) {
        bool last = FindSetting(row, row.Settings[k].Name) == static_cast<int>(k);
        for (size_t v = k + 1; v < row.Settings.size(); ++v)
          last = last && row.Settings[v].Value != row.Settings[k].Value;
        if (last)
          distinct.push_back(static_cast<int>(k));
      }
      ASSERT_FALSE(distinct.empty()) << device << ": " << row.Name;
      row.Chosen =
          row.Register < 0 ? FindSetting(row, row.ChipDefault) : distinct[random() % distinct.size()];
    }
    const std::vector<TWordRegister> named = WordRegisters(registers, rows, "full-size");
    THexText hex;
    for (const TConfigWord &word : ConfigWords(named, rows))
      hex.Upper(static_cast<uint16_t>(word.Address >> 16))
          .Data(static_cast<uint16_t>(word.Address & 0xFFFF), {static_cast<uint8_t>(word.Value)});
    std::vector<TSwitchRow> back = fresh;
    int errors = 0;
    ReadHexConfig(hex.End().Text(), named, back, device, TReadMode::Check, [&](const TDiagnostic &d) {
      errors += d.Severity == TSeverity::Error ? 1 : 0;
      if (d.Severity == TSeverity::Error)
        ADD_FAILURE() << device << ": " << d.Text;
    });
    ASSERT_EQ(errors, 0);
    ASSERT_EQ(ConfigTextLines(device, back, {}), ConfigTextLines(device, rows, {})) << device;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}
