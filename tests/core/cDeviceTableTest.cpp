// Reading a device's table and the rules for its chosen settings.
#include "core/cDeviceTable.h"

#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/ReaderProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}

Strings Names(const std::vector<TSwitchRow> &rows) {
  Strings names;
  for (const TSwitchRow &row : rows)
    names.push_back(row.Name);
  return names;
}
} // namespace

TEST(DeviceTable, ReadsEverySwitchWithSettingsAtItsFirstSettingAndSkipsTheOthers) {
  TDeviceInfo reader;
  TDeviceInfoProbe::LoadIndexFromText(reader,
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
  ASSERT_TRUE(ReadDeviceTable(reader, "18F1", rows));
  EXPECT_EQ(Names(rows), (Strings{"A", "B"}));
  EXPECT_EQ(rows[0].Function, "a");
  EXPECT_EQ(Items(rows[0].SettingNames), (Strings{"A1", "A0"}));
  EXPECT_EQ(Items(rows[0].SettingDescriptions), (Strings{"one", "zero"}));
  EXPECT_EQ(rows[0].Default, "A0");
  EXPECT_EQ(rows[0].Setting(), "A1");
  EXPECT_EQ(rows[1].Description(), "unspecified");

  ApplyDefaults(rows);
  EXPECT_EQ(rows[0].Setting(), "A0");
  EXPECT_EQ(rows[0].Description(), "zero");

  EXPECT_FALSE(ReadDeviceTable(reader, "18F9", rows));
  EXPECT_TRUE(rows.empty());
}

TEST(DeviceTable, AMalformedRecordLeavesTheRowsReadBeforeIt) {
  TDeviceInfo reader;
  TDeviceInfoProbe::LoadIndexFromText(reader,
                                      TDeviceInfoText()
                                          .Part("18F1")
                                          .Switch("A", "a", "1")
                                          .Setting("A0", "zero", "0")
                                          .Switch("B", "b", "ZZ")
                                          .Setting("B0", "zero", "0")
                                          .Text(),
                                      false);
  std::vector<TSwitchRow> rows;
  EXPECT_THROW(ReadDeviceTable(reader, "18F1", rows), EConvertError);
  EXPECT_EQ(Names(rows), (Strings{"A"}));
}

TEST(DeviceTable, DefaultsAndLookupsTakeTheFirstOfAName) {
  TSwitchRow row;
  row.Name = "OSC";
  for (const char *name : {"HS", "XT", "HS"}) {
    row.SettingNames.Add(name);
    row.SettingDescriptions.Add(std::string(name) + " " + std::to_string(row.SettingNames.Count()));
  }
  row.Default = "HS";
  row.Chosen = 2;
  std::vector<TSwitchRow> rows{row};
  ApplyDefaults(rows);
  EXPECT_EQ(rows[0].Chosen, 0);
  EXPECT_EQ(rows[0].Description(), "HS 1");

  EXPECT_EQ(FindSetting(row, "XT"), 1);
  EXPECT_EQ(FindSetting(row, "xt"), -1);
  EXPECT_EQ(FindSetting(row, "xt", true), 1);
  EXPECT_EQ(FindSwitch(rows, "OSC"), 0);
  EXPECT_EQ(FindSwitch(rows, "osc"), -1);
  EXPECT_EQ(FindSwitch(rows, "osc", true), 0);
}

TEST(DeviceTable, EachRowKnowsItsRegisterMaskAndSettingValues) {
  TDeviceInfo reader;
  TDeviceInfoProbe::LoadIndexFromText(reader,
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
  ASSERT_TRUE(ReadDeviceTable(reader, "18F1", rows, &registers));
  ASSERT_EQ(registers.size(), 3u);
  EXPECT_EQ(registers[0].Address, "300001");
  EXPECT_EQ(registers[0].Unset, 0x0Fu);
  EXPECT_EQ(registers[0].Line, 4);
  EXPECT_EQ(registers[2].Address, "300005"); // a register without switches, after the last one
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Register, -1);
  EXPECT_EQ(rows[1].Register, 0);
  EXPECT_EQ(rows[1].Mask, 0x0Cu);
  EXPECT_EQ(rows[1].Values, (std::vector<uint32_t>{0x0, 0xC})); // parallel to the offered settings
  EXPECT_EQ(rows[1].ValueLines, (std::vector<int>{6, 8}));
  EXPECT_EQ(rows[2].Register, 1);
}
