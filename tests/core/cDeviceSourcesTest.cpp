// What a folder is as a source of device data, as the window and configgen load it,
// and the vendor's install as configgen finds it.
#include "core/cDeviceSources.h"

#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cPackSearch.h"
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

// Without a folder, the first folder of device packs where the vendor's IDE keeps
// them is read, newest IDE first; where none holds packs, the error names each
// folder looked in and why it was passed over.
TEST(LoadVendorPacks, ReadsTheFirstFolderOfDevicePacksOrNamesEveryFolderLookedIn) {
  TTempFolder root;
  const std::filesystem::path top(root.Path());
  std::filesystem::create_directories(top / "opt/microchip/mplabx/v6.20/packs");
  std::filesystem::create_directories(top / "opt/microchip/mplabx/v6.05/packs/Microchip/A_DFP/1.0.0/edc");
  root.WriteFile("opt/microchip/mplabx/v6.05/packs/Microchip/A_DFP/1.0.0/edc/PIC18F1.PIC", "");
  std::filesystem::create_directories(top / "home/me/.mchp_packs/Microchip/B_DFP/1.0.0/edc");
  root.WriteFile("home/me/.mchp_packs/Microchip/B_DFP/1.0.0/edc/PIC18F2.PIC", "");
  TPackSearch search;
  search.System = TPackSearch::TSystem::Linux;
  search.Root = root.Path();
  search.Home = "/home/me";
  const std::string ide = root.Path() + "/opt/microchip/mplabx/";
  TDeviceInfo reader;
  EXPECT_EQ(LoadVendorPacks(reader, search, false), ide + "v6.05/packs");
  EXPECT_EQ(reader.Version, "A_DFP 1.0.0");
  EXPECT_EQ(Items(reader.Devices), Strings{"18F1"});

  std::filesystem::remove_all(top / "opt/microchip/mplabx/v6.05");
  std::filesystem::remove_all(top / "home/me/.mchp_packs/Microchip");
  try {
    LoadVendorPacks(reader, search, false);
    FAIL() << "no error";
  } catch (const Exception &e) {
    EXPECT_EQ(e.Message(),
              "no --folder DIR given, and no device packs where the vendor's IDE keeps them; looked in:"
              "\n  " +
                  ide + "v6.20/packs (no device packs)\n  " + root.Path() +
                  "/home/me/.mchp_packs (no device packs)");
  }
  TTempFolder bare;
  search.Root = bare.Path();
  try {
    LoadVendorPacks(reader, search, false);
    FAIL() << "no error";
  } catch (const Exception &e) {
    EXPECT_EQ(e.Message(),
              "no --folder DIR given, and no device packs where the vendor's IDE keeps them; looked in:"
              "\n  " +
                  bare.Path() + "/opt/microchip/mplabx/v*/packs (not there)\n  " + bare.Path() +
                  "/home/me/.mchp_packs (not there)");
  }
}
