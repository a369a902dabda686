// What a folder is as a source of device data, as the window and configgen load it.
#include "core/cDeviceSources.h"

#include "deviceinfo/cDeviceInfo.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}
} // namespace

// The file is read whenever the folder holds one, readable or not; only a folder
// without it is looked at as device packs, and a folder of neither gives the
// file's own error.
TEST(ChooseDeviceSource, ReadsDevicePacksOnlyWhenTheFolderHoldsNoInfoFileAtAll) {
  TTempFolder folder;
  const std::filesystem::path root(folder.Path());
  std::filesystem::create_directories(root / "A_DFP" / "1.0.0" / "edc");
  folder.WriteFile("A_DFP/1.0.0/edc/PIC18F9.PIC", "");
  folder.WriteFile("A_DFP/1.0.0/edc/PIC18LF9.PIC", "");
  TDeviceInfo reader;
  reader.SetSourceChooser(ChooseDeviceSource);
  reader.LoadDeviceIndex(folder.Path(), true);
  EXPECT_NE(&reader.Source(), &reader);
  EXPECT_EQ(reader.LoadError(), "");
  EXPECT_EQ(reader.Version, "A_DFP 1.0.0");
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F9", "18LF9"}));
  EXPECT_EQ(reader.Source().Where(), "the device packs in " + folder.Path());
  EXPECT_EQ(reader.LastLine(), -1);

  folder.WriteDeviceInfo(TDeviceInfoText().Version("1.42").Index("18F1220").Text());
  reader.LoadDeviceIndex(folder.Path(), true);
  EXPECT_EQ(&reader.Source(), &reader);
  EXPECT_EQ(reader.Version, "V1.42");
  EXPECT_EQ(Items(reader.Devices), (Strings{"18F1220"}));

  std::filesystem::remove(root / "8bit_device.info");
  std::filesystem::create_directory(root / "8bit_device.info");
  reader.LoadDeviceIndex(folder.Path(), true);
  EXPECT_EQ(&reader.Source(), &reader);
  EXPECT_NE(reader.LoadError(), "");
  EXPECT_EQ(reader.Version, "<none>");
  EXPECT_EQ(reader.Devices.Count(), 0);

  TTempFolder empty;
  reader.LoadDeviceIndex(empty.Path(), true);
  EXPECT_EQ(&reader.Source(), &reader);
  EXPECT_NE(reader.LoadError(), "");
  EXPECT_EQ(reader.Version, "<none>");
}
