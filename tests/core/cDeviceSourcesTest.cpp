// What a folder is as a source of device data, as the window and configgen load it,
// and the vendor's install as configgen finds it.
#include "core/cDeviceSources.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "deviceinfo/cDeviceInfo.h"
#include "devicepacks/cPackSearch.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// A file named where a folder was meant: an .atpack archive is read as a folder
// holding just that archive is, an 8bit_device.info (any letter case) as a folder's
// file; any other file, and a path where nothing is, load nothing and say why.
TEST(ChooseDeviceSource, AFileNamedForTheFolderIsReadAsTheUserMeantIt) {
  const TTempFolder archived, alone, info, other;
  const std::vector<std::string> archives = WritePackArchives(SourcePath("samples/packs"), archived.Path());
  const auto kPack = std::find_if(archives.begin(), archives.end(), [](const std::string &name) {
    return name.find("PIC18F-K_DFP.1.0.4") != std::string::npos;
  });
  ASSERT_NE(kPack, archives.end());
  const std::string &pack = *kPack;
  std::filesystem::copy_file(pack,
                             std::filesystem::path(alone.Path()) / std::filesystem::path(pack).filename());
  const std::string upper = info.WriteFile(
      "8BIT_DEVICE.INFO", TDeviceInfoText().Version("1.42").Index("18F1220").Index("18LF1220").Text());
  const std::string notes = other.WriteFile("notes.txt", "not device data");
  const std::string missing = other.Path() + "/gone";
  const struct {
    std::string Path;
    bool IncludeLF;
    bool InfoFile; // read by the reader itself
    std::string Version;
    Strings Devices;
    std::string Where; // where it was read, or the load's error
  } cases[] = {
      {pack, false, false, "PIC18F-K_DFP 1.0.4", {"18F25K22", "18F45K50"}, pack},
      {pack, true, false, "PIC18F-K_DFP 1.0.4", {"18F25K22", "18F45K50", "18LF25K22", "18LF45K50"}, pack},
      {upper, false, true, "V1.42", {"18F1220"}, upper},
      {notes,
       true,
       true,
       "<none>",
       {},
       "not a folder: " + notes +
           "; name a folder of device data, an .atpack archive or an 8bit_device.info file"},
      {missing, true, true, "<none>", {}, "no such folder: " + missing},
  };
  TDeviceInfo reader;
  reader.SetSourceChooser(ChooseDeviceSource);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Path);
    reader.LoadDeviceIndex(c.Path, c.IncludeLF);
    EXPECT_EQ(&reader.Source() == &reader, c.InfoFile);
    EXPECT_EQ(reader.Version, c.Version);
    EXPECT_EQ(Items(reader.Devices), c.Devices);
    EXPECT_EQ(reader.LoadError().empty() ? reader.Source().Where() : reader.LoadError(), c.Where);
    if (!c.InfoFile) {
      TDeviceInfo folder;
      folder.SetSourceChooser(ChooseDeviceSource);
      folder.LoadDeviceIndex(alone.Path(), c.IncludeLF);
      EXPECT_EQ(reader.Version, folder.Version);
      EXPECT_EQ(Items(reader.Devices), Items(folder.Devices));
      EXPECT_EQ(reader.DataFileOf("18F25K22"), "entry edc/PIC18F25K22.PIC of " + c.Path);
    }
  }
  const std::string damaged = other.WriteFile("V.P.1.0.atpack", "no zip");
  try {
    reader.LoadDeviceIndex(damaged, false);
    FAIL() << "no error";
  } catch (const Exception &e) {
    EXPECT_EQ(reader.Source().WithPlace(e), "cannot read " + damaged + ": not a zip archive");
  }
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
  } catch (const ENoVendorPacks &e) {
    EXPECT_EQ(e.Message(), "no device packs where the vendor's IDE keeps them; looked in:"
                           "\n  " +
                               ide + "v6.20/packs (no device packs)\n  " + root.Path() +
                               "/home/me/.mchp_packs (no device packs)");
  }
  TTempFolder bare;
  search.Root = bare.Path();
  try {
    LoadVendorPacks(reader, search, false);
    FAIL() << "no error";
  } catch (const ENoVendorPacks &e) {
    EXPECT_EQ(e.Message(), "no device packs where the vendor's IDE keeps them; looked in:"
                           "\n  " +
                               bare.Path() + "/opt/microchip/mplabx/v*/packs (not there)\n  " + bare.Path() +
                               "/home/me/.mchp_packs (not there)");
  }
}
