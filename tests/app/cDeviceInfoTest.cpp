// The window's reader: the source it opens and holds, and its steps handed to that
// source, the .info file's own walk or a table's rows.
#include "app/cDeviceInfo.h"

#include "common/cErrors.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}

// One switch as NextSwitch hands it over.
struct TSwitch {
  std::string Name, Function, Default;
  Strings Names, Descriptions;
  bool operator==(const TSwitch &) const = default;
};

// Walks a device as the window's design does: FindPart, a step past the part's
// record, NextSwitch to the first false.
std::vector<TSwitch> WalkDevice(TDeviceInfo &reader, const std::string &device) {
  TStringList fields, names, descriptions;
  std::vector<TSwitch> result;
  if (!reader.FindPart(device, fields))
    return result;
  ++reader.Cursor;
  TSwitch s;
  while (reader.NextSwitch(s.Name, s.Function, names, descriptions, s.Default)) {
    s.Names = Items(names);
    s.Descriptions = Items(descriptions);
    result.push_back(s);
  }
  EXPECT_FALSE(reader.SwitchFound());
  return result;
}

// The same switches as the device's table gives them.
std::vector<TSwitch> TableOf(IDeviceSource &source, bool useInfoDefaults, const std::string &device) {
  std::vector<TSwitchRow> rows;
  EXPECT_TRUE(ReadDeviceTable(source, useInfoDefaults, device, rows));
  std::vector<TSwitch> result;
  for (const TSwitchRow &row : rows) {
    TSwitch &s = result.emplace_back();
    s.Name = row.Name;
    s.Function = row.Function;
    s.Default = row.StartSetting;
    for (const TSwitchSetting &setting : row.Settings) {
      s.Names.push_back(setting.Name);
      s.Descriptions.push_back(setting.Description);
    }
  }
  return result;
}

const std::string kTwoDevices = TDeviceInfoText()
                                    .Version("1.42")
                                    .Index("18F1220")
                                    .Index("18F2550")
                                    .Part("18F1220")
                                    .Register("0C")
                                    .Switch("OSC", "Oscillator", "0F")
                                    .Setting("LP", "LP oscillator", "0")
                                    .Setting("HS", "HS oscillator", "C")
                                    .Part("18F2550")
                                    .Register("40")
                                    .Switch("XINST", "Extended", "40")
                                    .Setting("OFF", "off", "0")
                                    .Setting("ON", "on", "40")
                                    .Text();
} // namespace

// Each load opens through the core and holds what it opened: the status line's name
// and the list are the source's; where nothing opens, nothing is held and the
// problem is kept, with no error raised.
TEST(DeviceInfoReader, HoldsTheSourceEachLoadOpens) {
  TTempFolder info;
  const std::string file = info.WriteDeviceInfo(kTwoDevices);
  const std::string packs = SourcePath("samples/packs");
  const std::string missing = info.Path() + "-gone";
  const struct {
    std::string Path;
    std::string Version;
    size_t Devices; // the first of them named below
    std::string First;
    std::string Where;
    std::string Problem;
  } cases[] = {
      {packs, "PIC18F-K_DFP 1.0.4, PIC18F-Q_DFP 1.2.71, PIC18Fxxxx_DFP 1.10.3", 7, "18F04Q20",
       "the device packs in " + packs, ""},
      {info.Path(), "V1.42", 2, "18F1220", file, ""},
      {missing, "<none>", 0, "", DeviceInfoFileName(missing), "no such folder: " + missing},
  };
  TDeviceInfo reader;
  EXPECT_EQ(reader.Source(), nullptr);
  EXPECT_EQ(reader.Where(), "");
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Path);
    reader.LoadDeviceIndex(c.Path, false);
    EXPECT_EQ(reader.Version, c.Version);
    EXPECT_EQ(static_cast<size_t>(reader.Devices.Count()), c.Devices);
    if (c.Devices > 0) {
      EXPECT_EQ(reader.Devices[0], c.First);
    }
    EXPECT_EQ(reader.Where(), c.Where);
    EXPECT_EQ(reader.LoadError(), c.Problem);
    EXPECT_EQ(reader.Source() == nullptr, !c.Problem.empty());
    EXPECT_EQ(reader.LastLine(), c.Path == info.Path() ? 3 : -1); // the index walk stops at the first part
  }
}

// A malformed record raises through the load with the line it stopped at, and the
// source of the load before is gone.
TEST(DeviceInfoReader, BadDataRaisesWithTheLineAndDropsTheEarlierSource) {
  TTempFolder good, bad;
  good.WriteDeviceInfo(kTwoDevices);
  bad.WriteDeviceInfo(
      "<PARTS_INDEX_TYPE><18F1>\r\n<RES_FILE_VERSION_INFO_TYPE><1>\r\n<PARTS_INDEX_TYPE>\r\n");
  TDeviceInfo reader;
  reader.LoadDeviceIndex(good.Path(), false);
  ASSERT_NE(reader.Source(), nullptr);
  EXPECT_THROW(reader.LoadDeviceIndex(bad.Path(), false), EListError);
  EXPECT_EQ(reader.LastLine(), 2);
  EXPECT_EQ(reader.Source(), nullptr);
  EXPECT_EQ(reader.Version, "<none>");
  EXPECT_EQ(reader.Devices.Count(), 0);
}

// The .info file's own walk, record by record: the cursor stands on its lines.
TEST(DeviceInfoReader, WalksTheInfoFileRecordByRecord) {
  TTempFolder info;
  info.WriteDeviceInfo(kTwoDevices);
  TDeviceInfo reader;
  reader.LoadDeviceIndex(info.Path(), false);
  EXPECT_EQ(reader.Cursor, 3);
  TStringList fields;
  ASSERT_TRUE(reader.FindPart("18F2550", fields));
  EXPECT_EQ(reader.Cursor, 8);
  EXPECT_EQ(Items(fields), (Strings{"PART_INFO_TYPE", "0", "PIC18F2550", "PIC18"}));
  const std::vector<TSwitch> off = WalkDevice(reader, "18F2550");
  EXPECT_EQ(reader.Cursor, 13);
  EXPECT_EQ(off, (std::vector<TSwitch>{{"XINST", "Extended", "OFF", {"OFF", "ON"}, {"off", "on"}}}));
  // The file's own default for XINST is on.
  reader.SetUseInfoDefaults(true);
  EXPECT_EQ(WalkDevice(reader, "18F2550")[0].Default, "ON");
  EXPECT_EQ(WalkDevice(reader, "18F1220"), TableOf(*reader.Source(), true, "18F1220"));
  EXPECT_EQ(reader.Cursor, 8);
}

// Any other source's switches are its table's rows, handed over one by one, with
// the defaults asked for.
TEST(DeviceInfoReader, WalksTheRowsOfAPacksSource) {
  TDeviceInfo reader;
  reader.LoadDeviceIndex(SourcePath("samples/packs"), false);
  ASSERT_NE(reader.Source(), nullptr);
  // The flag matters to this device: its tables differ.
  ASSERT_NE(TableOf(*reader.Source(), false, "18F25K22"), TableOf(*reader.Source(), true, "18F25K22"));
  for (const bool infoDefaults : {false, true}) {
    SCOPED_TRACE(infoDefaults);
    reader.SetUseInfoDefaults(infoDefaults);
    const std::vector<TSwitch> walked = WalkDevice(reader, "18F25K22");
    EXPECT_GT(walked.size(), 10u);
    EXPECT_EQ(walked, TableOf(*reader.Source(), infoDefaults, "18F25K22"));
  }
  TStringList fields;
  EXPECT_FALSE(reader.FindPart("18F9999", fields));
  std::string name = "x", function, def;
  TStringList names, descriptions;
  EXPECT_FALSE(reader.NextSwitch(name, function, names, descriptions, def));
  EXPECT_EQ(name, "");
  EXPECT_FALSE(reader.SwitchFound());
}
