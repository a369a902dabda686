// Reading a device's table and the rules for its chosen settings.
#include "core/cDeviceTable.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "core/cConfigText.h"
#include "core/cDeviceSources.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/ReaderProbe.h"
#include "tests/support/SwitchRows.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

Strings Names(const std::vector<TSwitchRow> &rows) {
  Strings names;
  for (const TSwitchRow &row : rows)
    names.push_back(row.Name);
  return names;
}

// The source Path opens to; a test that gets none fails.
std::unique_ptr<IDeviceSource> Opened(const std::string &path, bool includeLF) {
  TOpenedSource opened = OpenDeviceSource(path, includeLF);
  if (!opened.Source)
    throw std::runtime_error(path + ": " + opened.Problem);
  return std::move(opened.Source);
}
} // namespace

TEST(DeviceTable, ReadsEverySwitchWithSettingsAtItsFirstSettingAndSkipsTheOthers) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader,
                                    TDeviceInfoText()
                                        .Index("18F1")
                                        .Index("18F2")
                                        .Part("18F1")
                                        .Register("0")
                                        .Switch("A", "a", "1")
                                        .Setting("A1", "one", "1")
                                        .Setting("A0", "zero", "0")
                                        .Switch("R", "reserved only", "2")
                                        .Setting("RESERVED", "r", "0")
                                        .Switch("", "no name, no settings", "4")
                                        .Switch("B", "b", "8")
                                        .Setting("B0", "", "0")
                                        .Part("18F2")
                                        .Switch("C", "c", "1")
                                        .Setting("C0", "c0", "0")
                                        .Text(),
                                    false);
  std::vector<TSwitchRow> rows(3);
  ASSERT_TRUE(ReadDeviceTable(reader, false, "18F1", rows));
  EXPECT_EQ(Names(rows), (Strings{"A", "B"}));
  EXPECT_EQ(rows[0].Function, "a");
  EXPECT_EQ(SettingNames(rows[0]), (Strings{"A1", "A0"}));
  EXPECT_EQ(SettingDescriptions(rows[0]), (Strings{"one", "zero"}));
  EXPECT_EQ(rows[0].StartSetting, "A0");
  EXPECT_EQ(rows[0].Setting(), "A1");
  EXPECT_EQ(rows[1].Description(), "unspecified");

  ApplyStartSettings(rows);
  EXPECT_EQ(rows[0].Setting(), "A0");
  EXPECT_EQ(rows[0].Description(), "zero");

  EXPECT_FALSE(ReadDeviceTable(reader, false, "18F9", rows));
  EXPECT_TRUE(rows.empty());
}

TEST(DeviceTable, AMalformedRecordLeavesTheRowsReadBeforeIt) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader,
                                    TDeviceInfoText()
                                        .Part("18F1")
                                        .Switch("A", "a", "1")
                                        .Setting("A0", "zero", "0")
                                        .Switch("B", "b", "ZZ")
                                        .Setting("B0", "zero", "0")
                                        .Text(),
                                    false);
  std::vector<TSwitchRow> rows;
  EXPECT_THROW(ReadDeviceTable(reader, false, "18F1", rows), EConvertError);
  EXPECT_EQ(Names(rows), (Strings{"A"}));
}

TEST(DeviceTable, DefaultsAndLookupsTakeTheFirstOfAName) {
  TSwitchRow row;
  row.Name = "OSC";
  for (const char *name : {"HS", "XT", "HS"}) {
    row.Settings.push_back({name, std::string(name) + " " + std::to_string(row.Settings.size() + 1)});
  }
  row.StartSetting = "HS";
  row.Chosen = 2;
  std::vector<TSwitchRow> rows{row};
  ApplyStartSettings(rows);
  EXPECT_EQ(rows[0].Chosen, 0);
  EXPECT_EQ(rows[0].Description(), "HS 1");

  EXPECT_EQ(FindSetting(row, "XT"), 1);
  EXPECT_EQ(FindSetting(row, "xt"), -1);
  EXPECT_EQ(FindSetting(row, "xt", true), 1);
}

TEST(DeviceTable, TheSwitchIndexKeepsEachNamesRowsInOrderIgnoringLetterCase) {
  std::vector<TSwitchRow> rows(4);
  rows[0].Name = "OSC";
  rows[1].Name = "WDT";
  rows[2].Name = "osc";
  rows[3].Name = "CP\xe9";
  const TSwitchIndex index(rows);
  EXPECT_EQ(index.Count(), 3);
  const int osc = index.Find("Osc");
  ASSERT_GE(osc, 0);
  EXPECT_EQ(index.Rows(osc), (std::vector<int>{0, 2}));
  EXPECT_EQ(index.Rows(index.Find("wdt")), (std::vector<int>{1}));
  EXPECT_EQ(index.Find("CP\xc9"), -1); // letters outside A to Z are compared as they stand
  EXPECT_EQ(index.Find("LVP"), -1);
}

TEST(DeviceTable, EachRowKnowsItsRegisterMaskAndSettingValues) {
  TInfoFile reader;
  TInfoFileProbe::LoadIndexFromText(reader,
                                    TDeviceInfoText()
                                        .Part("18F1")
                                        .Switch("EARLY", "before any register", "1")
                                        .Setting("E1", "", "1")
                                        .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H><0f><ff>")
                                        .Switch("A", "a", "0C")
                                        .Setting("A0", "", "0")
                                        .Setting("RESERVED", "", "4")
                                        .Setting("A3", "", "C")
                                        .Line("<CONFIGREG_INFO_TYPE><300002><CONFIG2L><1f><ff>")
                                        .Switch("B", "b", "1")
                                        .Setting("B1", "", "1")
                                        .Line("<CONFIGREG_INFO_TYPE><300005><CONFIG3H><83><ff>")
                                        .Part("18F2")
                                        .Text(),
                                    false);
  std::vector<TSwitchRow> rows;
  std::vector<TConfigRegister> registers;
  ASSERT_TRUE(ReadDeviceTable(reader, false, "18F1", rows, &registers));
  ASSERT_EQ(registers.size(), 3u);
  EXPECT_EQ(registers[0].Address, "300001");
  EXPECT_EQ(registers[0].Unset, 0x0Fu);
  EXPECT_EQ(registers[0].Line, 4);
  EXPECT_EQ(registers[2].Address, "300005"); // a register without switches, after the last one
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Register, -1);
  EXPECT_EQ(rows[1].Register, 0);
  EXPECT_EQ(rows[1].Mask, 0x0Cu);
  ASSERT_EQ(rows[1].Settings.size(), 2u); // the offered settings
  EXPECT_EQ(rows[1].Settings[0].Value, 0x0u);
  EXPECT_EQ(rows[1].Settings[1].Value, 0xCu);
  EXPECT_EQ(rows[1].Settings[1].Compared, 0xCu);
  EXPECT_EQ(rows[1].Settings[0].Line, 6);
  EXPECT_EQ(rows[1].Settings[1].Line, 8);
  EXPECT_EQ(rows[2].Register, 1);
  // Each against its own register's value when not set (0 before any): E1 is not
  // 0, so EARLY's chip default is none of its settings; A3 and B1 are theirs.
  EXPECT_TRUE(rows[0].ChipDefaultMatchesNone);
  EXPECT_FALSE(rows[1].ChipDefaultMatchesNone);
  EXPECT_FALSE(rows[2].ChipDefaultMatchesNone);
  // At the chip's defaults, a switch whose chip default is none of its settings is
  // left out (its table showing ChipDefault); at its start setting, the same setting,
  // it is not at the chip's default.
  ApplyChipDefaults(rows);
  EXPECT_EQ(rows[0].Setting(), "E1");
  EXPECT_TRUE(rows[0].LeftOut);
  EXPECT_FALSE(rows[1].LeftOut);
  EXPECT_TRUE(AtChipDefault(rows[0]));
  EXPECT_TRUE(AtChipDefault(rows[1]));
  ApplyStartSettings(rows);
  EXPECT_EQ(rows[0].Setting(), "E1");
  EXPECT_FALSE(rows[0].LeftOut);
  EXPECT_FALSE(AtChipDefault(rows[0]));
}

namespace {
// A folder with the devices as 8bit_device.info, and one with them as a version
// folder of device packs.
struct TBothSources {
  explicit TBothSources(const std::vector<TGenDevice> &devices) {
    Info.WriteDeviceInfo(InfoText(devices));
    for (const TGenDevice &device : devices) {
      const std::filesystem::path edc = std::filesystem::path(Packs.Path()) / "P_DFP" / "1.0.0" / "edc";
      std::filesystem::create_directories(edc);
      Packs.WriteFile("P_DFP/1.0.0/edc/PIC" + device.Name + ".PIC", PicXml(device));
    }
  }
  TTempFolder Info;
  TTempFolder Packs;
};

TGenSetting Setting(const std::string &name, uint32_t value) {
  return {name, name == "ON" ? "" : "Setting " + name, value, 0, false, false};
}

// Devices whose data both sources hold alike: adjust points (forwards and back),
// hidden and RESERVED fields and settings, don't-care settings, settings several
// of which match the unset value, none that matches, the four switches forced off.
std::vector<TGenDevice> AgreementDevices() {
  std::vector<TGenDevice> devices;
  TGenDevice &a = devices.emplace_back();
  a.Name = "18F1";
  TGenRegister first{"CONFIG1H", 0x300001, 0x25, 0xFF, false, {}};
  TGenField osc{"FOSC", "Oscillator Selection bits", 0xF, 4, 0, false, false, false, {}};
  for (const char *name : {"LP", "XT", "HS", "RC", "EC", "ECIO6"})
    osc.Settings.push_back(Setting(name, static_cast<uint32_t>(osc.Settings.size())));
  osc.Settings.push_back({"", "", 0, 0xE, false, true}); // a don't-care pattern
  osc.Settings.push_back({"HIDDEN", "", 5, 0, true, false});
  osc.Settings.push_back(Setting("ECIO6B", 5)); // matches 5 as well: the last one is the default
  osc.Settings.push_back({"RESERVED", "r", 7, 0, false, false});
  first.Fields.push_back(osc);
  first.Fields.push_back({"RESERVED", "", 0x1, 1, 0, true, false, false, {Setting("R", 0)}});
  first.Fields.push_back(
      {"IESO", "Switchover", 0x1, 1, 1, false, false, false, {Setting("OFF", 0), Setting("ON", 1)}});
  first.Fields.push_back(
      {"LOW", "back down", 0x3, 2, -3, false, false, true, {Setting("L0", 0), Setting("L2", 2)}});
  a.Registers.push_back(first);
  TGenRegister second{"CONFIG4L", 0x300006, 0x85, 0xC5, false, {}};
  second.Fields.push_back(
      {"STVREN", "Stack", 0x1, 1, 0, false, false, false, {Setting("OFF", 0), Setting("ON", 1)}});
  second.Fields.push_back(
      {"LVP", "Low voltage", 0x1, 1, 1, false, false, false, {Setting("OFF", 0), Setting("ON", 1)}});
  second.Fields.push_back({"HID", "hidden field", 0x1, 1, 0, false, true, false, {Setting("X", 0)}});
  second.Fields.push_back(
      {"XINST", "Extended", 0x1, 1, 3, false, false, false, {Setting("ON", 1), Setting("Off", 0)}});
  second.Fields.push_back(
      {"DEBUG", "Debugger", 0x1, 1, 0, false, false, false, {Setting("ON", 0), Setting("OFF", 1)}});
  a.Registers.push_back(second);
  // A register before the first in address order, written after it.
  TGenRegister early{"CONFIG1L", 0x300000, 0x00, 0x3F, false, {}};
  TGenField div{"PLLDIV", "PLL Prescaler", 0x7, 3, 0, false, false, false, {}};
  for (uint32_t v = 1; v < 8; ++v) // none matches 0: the last offered setting is the default
    div.Settings.push_back(Setting(std::to_string(v), v));
  div.Settings.push_back({"ALLHIDDEN", "", 0, 0, false, true});
  early.Fields.push_back(div);
  early.Fields.push_back({"ONLYHIDDEN",
                          "every setting hidden",
                          0x1,
                          1,
                          0,
                          false,
                          false,
                          false,
                          {{"A", "", 0, 0, true, false}, {"", "nameless", 1, 0, false, false}}});
  a.Registers.push_back(early);
  // Realistic devices of several shapes.
  for (unsigned seed = 1; seed <= 12; ++seed)
    devices.push_back(RandomDevice("18F" + std::to_string(100 + seed), seed));
  devices.push_back(RandomDevice("18LF5", 99));
  return devices;
}

std::string Describe(const std::vector<TSwitchRow> &rows, const std::vector<TConfigRegister> &registers) {
  std::string text;
  for (const TSwitchRow &row : rows) {
    text += row.Name + "|" + row.Function + "|" + row.StartSetting + "|" + row.ChipDefault +
            (row.ChipDefaultMatchesNone ? " (none)|" : "|") + std::to_string(row.Register) + "|" +
            std::to_string(row.Mask) + "|";
    for (const TSwitchSetting &setting : row.Settings)
      text += setting.Name + "=" + setting.Description + "=" + std::to_string(setting.Value) + ",";
    text += "\n";
  }
  for (const TConfigRegister &reg : registers)
    text += reg.Address + ":" + std::to_string(reg.Unset) + "\n";
  return text;
}
} // namespace

TEST(DeviceTable, PacksAndTheInfoFileGiveTheSameTableAndTextForTheSameData) {
  const std::vector<TGenDevice> devices = AgreementDevices();
  const TBothSources sources(devices);
  for (const bool infoDefaults : {false, true}) {
    const std::unique_ptr<IDeviceSource> info = Opened(sources.Info.Path(), true);
    const std::unique_ptr<IDeviceSource> packs = Opened(sources.Packs.Path(), true);
    ASSERT_EQ(dynamic_cast<TInfoFile *>(packs.get()), nullptr);
    for (const TGenDevice &device : devices) {
      std::vector<TSwitchRow> infoRows, packRows;
      std::vector<TConfigRegister> infoRegisters, packRegisters;
      ASSERT_TRUE(ReadDeviceTable(*info, infoDefaults, device.Name, infoRows, &infoRegisters));
      ASSERT_TRUE(ReadDeviceTable(*packs, infoDefaults, device.Name, packRows, &packRegisters));
      // The .info file keeps the registers in its own order; the packs in address order.
      std::sort(infoRegisters.begin(), infoRegisters.end(),
                [](const TConfigRegister &x, const TConfigRegister &y) { return x.Address < y.Address; });
      if (device.Name == "18F1") { // its early register comes first in the packs
        for (TSwitchRow &row : infoRows)
          row.Register = row.Register == 2 ? 0 : row.Register + 1;
        std::rotate(infoRows.begin(), infoRows.end() - 1, infoRows.end());
        ASSERT_EQ(packRows.size(), 8u);
        EXPECT_EQ(packRows[0].StartSetting, "7");
        EXPECT_TRUE(packRows[0].ChipDefaultMatchesNone);
        EXPECT_EQ(packRows[1].ChipDefault, "ECIO6B");
        EXPECT_FALSE(packRows[1].ChipDefaultMatchesNone);
        EXPECT_EQ(packRegisters[0].Name, "CONFIG1L");
      }
      EXPECT_EQ(Describe(packRows, packRegisters), Describe(infoRows, infoRegisters)) << device.Name;
      ApplyStartSettings(infoRows);
      ApplyStartSettings(packRows);
      for (const TSyntax &syntax : kSyntaxes) {
        TConfigTextOptions options;
        options.Syntax = &syntax;
        EXPECT_EQ(ConfigTextLines(device.Name, packRows, options),
                  ConfigTextLines(device.Name, infoRows, options))
            << device.Name;
      }
    }
  }
}

// Whether the part has a PGM pin is what its pack's pin list says, on each of its
// rows; the .info file lists no pins, so there nothing is known.
TEST(DeviceTable, ThePacksPinListSaysWhetherThePartHasAPgmPinAndTheInfoFileNothing) {
  const struct {
    const char *Name;
    std::vector<std::vector<std::string>> Pins;
    TPinFact Packs;
  } cases[] = {
      {"18F1", {{"MCLR", "VPP", "RE3"}, {"RB5", "KBI1", "PGM"}, {"RB6", "PGC"}}, TPinFact::Present},
      {"18F2", {{"RB5", "pgm"}}, TPinFact::Present},
      {"18F3", {{"RE3", "MCLR", "VPP"}, {"RB6", "ICSPCLK"}, {"RB7", "ICSPDAT"}}, TPinFact::Absent},
      {"18F4", {{"RB5", "PGMX"}, {"PGM2"}}, TPinFact::Absent},
      {"18F5", {}, TPinFact::Unknown}, // no pin list
  };
  std::vector<TGenDevice> devices;
  for (const auto &c : cases) {
    TGenDevice &device = devices.emplace_back();
    device.Name = c.Name;
    TGenRegister reg{"CONFIG4L", 0x300006, 0x85, 0xFF, false, {}};
    reg.Fields.push_back(
        {"STVREN", "Stack", 0x1, 1, 0, false, false, false, {Setting("OFF", 0), Setting("ON", 1)}});
    reg.Fields.push_back(
        {"LVP", "Low voltage", 0x1, 1, 1, false, false, false, {Setting("OFF", 0), Setting("ON", 1)}});
    device.Registers.push_back(reg);
    device.Pins = c.Pins;
  }
  const TBothSources sources(devices);
  const std::unique_ptr<IDeviceSource> info = Opened(sources.Info.Path(), false);
  const std::unique_ptr<IDeviceSource> packs = Opened(sources.Packs.Path(), false);
  for (const auto &c : cases) {
    std::vector<TSwitchRow> rows;
    ASSERT_TRUE(ReadDeviceTable(*packs, false, c.Name, rows));
    ASSERT_EQ(rows.size(), 2u) << c.Name;
    for (const TSwitchRow &row : rows)
      EXPECT_EQ(row.PgmPin, c.Packs) << c.Name << " " << row.Name;
    ASSERT_TRUE(ReadDeviceTable(*info, false, c.Name, rows));
    for (const TSwitchRow &row : rows)
      EXPECT_EQ(row.PgmPin, TPinFact::Unknown) << c.Name << " " << row.Name;
  }
}

TEST(DeviceTable, ASecondOneTimeProgrammableSectorJoinsInAddressOrderAndMarksItsRowsAndRegisters) {
  TGenDevice device;
  device.Name = "18F04Q20";
  TGenRegister lock{"CONFIG14", 0x300018, 0xFF, 0x01, false, {}, 1, true};
  lock.Fields.push_back(
      {"SAFLOCK", "SAF lock", 0x1, 1, 0, false, false, false, {Setting("OFF", 1), Setting("ON", 0)}});
  TGenRegister first{"CONFIG8", 0x300007, 0xFF, 0xFF, false, {}};
  first.Fields.push_back({"BBSIZE", "Boot block size", 0xFF, 8, 0, false, false, false, {}});
  for (uint32_t v = 8; v-- > 0;)
    first.Fields.back().Settings.push_back(Setting("BBSIZE_" + std::to_string(128u << v), v));
  device.Registers = {lock, first};
  const TBothSources sources({device});
  const std::unique_ptr<IDeviceSource> packs = Opened(sources.Packs.Path(), false);
  std::vector<TSwitchRow> rows;
  std::vector<TConfigRegister> registers;
  ASSERT_TRUE(ReadDeviceTable(*packs, false, device.Name, rows, &registers));
  ASSERT_EQ(registers.size(), 2u);
  EXPECT_EQ(registers[0].Name, "CONFIG8");
  EXPECT_FALSE(registers[0].Otp);
  EXPECT_EQ(registers[1].Name, "CONFIG14");
  EXPECT_TRUE(registers[1].Otp);
  EXPECT_EQ(Names(rows), (Strings{"BBSIZE", "SAFLOCK"}));
  EXPECT_FALSE(rows[0].Otp);
  EXPECT_TRUE(rows[0].ChipDefaultMatchesNone); // 0xFF is none of 0 to 7
  EXPECT_EQ(rows[0].ChipDefault, "BBSIZE_128");
  EXPECT_TRUE(rows[1].Otp);
  EXPECT_EQ(rows[1].ChipDefault, "OFF");
  EXPECT_EQ(rows[1].Register, 1);
}

// Tabs, line breaks and every other control character of the vendor's texts are
// blanks in the table, from either source: written out, they would break a line of
// the text or a column of `switches`.
TEST(DeviceTable, ControlCharactersOfTheVendorsTextsBecomeBlanks) {
  TGenDevice device;
  device.Name = "18F1";
  TGenRegister reg{"CONFIG1H\x01", 0x300001, 0x1, 0xFF, false, {}};
  reg.Fields.push_back({"F\tOSC",
                        "Oscillator\tSelection",
                        0x1,
                        1,
                        0,
                        false,
                        false,
                        false,
                        {{"A\x7F", "line one@LF@line two", 0, 0, false, false},
                         {"B\x9D", "escaped@ESC@ break, @CRLF@@CRLF@ end", 1, 0, false, false}}});
  device.Registers.push_back(reg);
  std::string xml = PicXml(device);
  for (const auto &[marker, text] : {std::pair{"@LF@", "\n"}, {"@ESC@", "&#10;&#9;"}, {"@CRLF@", "\r\n"}}) {
    for (size_t at = xml.find(marker); at != std::string::npos; at = xml.find(marker))
      xml.replace(at, std::string_view(marker).size(), text);
  }
  TTempFolder packs;
  std::filesystem::create_directories(std::filesystem::path(packs.Path()) / "1.0.0" / "edc");
  packs.WriteFile("1.0.0/edc/PIC18F1.PIC", xml);
  TTempFolder info;
  info.WriteDeviceInfo(TDeviceInfoText()
                           .Index("18F1")
                           .Part("18F1")
                           .Line("<CONFIGREG_INFO_TYPE><300001><CONFIG1H\x01><01>")
                           .Switch("F\tOSC", "Oscillator\tSelection", "1")
                           .Setting("A\x7F", "line one\x1Fline two", "0")
                           .Setting("B\x9D", "escaped\x0B\x0C break, \x1B\x1B end", "1")
                           .Text());
  struct {
    const TTempFolder &Folder;
    const char *Description; // of the second setting
  } const cases[] = {{packs, "escaped   break,      end"}, {info, "escaped   break,    end"}};
  for (const auto &c : cases) {
    const std::unique_ptr<IDeviceSource> source = Opened(c.Folder.Path(), false);
    std::vector<TSwitchRow> rows;
    std::vector<TConfigRegister> registers;
    ASSERT_TRUE(ReadDeviceTable(*source, false, "18F1", rows, &registers)) << c.Folder.Path();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Name, "F OSC");
    EXPECT_EQ(rows[0].Function, "Oscillator Selection");
    EXPECT_EQ(SettingNames(rows[0]), (Strings{"A ", "B "}));
    EXPECT_EQ(SettingDescriptions(rows[0]), (Strings{"line one line two", c.Description}));
    EXPECT_EQ(rows[0].ChipDefault, "B ");
    EXPECT_EQ(registers[0].Name, c.Folder.Path() == packs.Path() ? "CONFIG1H " : "");
  }
}

TEST(DeviceTable, ABadPackFileKeepsTheRowsReadBeforeItAndAnUnlistedDeviceHasNone) {
  TTempFolder packs;
  std::filesystem::create_directories(std::filesystem::path(packs.Path()) / "1.0.0" / "edc");
  TGenDevice device = RandomDevice("18F1", 3);
  std::string xml = PicXml(device);
  const size_t third = xml.find("<edc:DCRDef ", xml.find("<edc:DCRDef ", xml.find("<edc:DCRDef ") + 1) + 1);
  const size_t when = xml.find("(field &amp;", third);
  xml.replace(when, 1, "[");
  packs.WriteFile("1.0.0/edc/PIC18F1.PIC", xml);
  const std::unique_ptr<IDeviceSource> source = Opened(packs.Path(), false);
  ASSERT_EQ(source->DeviceNames().Count(), 1);
  std::vector<TSwitchRow> rows;
  EXPECT_THROW(ReadDeviceTable(*source, false, "18F1", rows), Exception);
  size_t before = 0;
  for (size_t r = 0; r < 2; ++r)
    for (const TGenField &field : device.Registers[r].Fields)
      before += field.Hidden ? 0 : 1;
  EXPECT_EQ(rows.size(), before);
  EXPECT_GT(before, 0u);
  EXPECT_FALSE(ReadDeviceTable(*source, false, "18F2", rows));
  EXPECT_TRUE(rows.empty());
}
