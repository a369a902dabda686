// What a path opens to as a source of device data, for the window and configgen
// alike, and the vendor's install as configgen finds it.
#include "core/cDeviceSources.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "deviceinfo/cInfoFile.h"
#include "devicepacks/cDevicePacks.h"
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

// What a path opened to, as the tests compare it.
struct TOpened {
  std::string Kind; // "info", "packs", or "" where nothing was opened
  std::string Status;
  Strings Devices;
  std::string WhereOrProblem; // where it was read, or why nothing was
};

TOpened Open(const std::string &path, bool includeLF) {
  const TOpenedSource opened = OpenDeviceSource(path, includeLF);
  TOpened result;
  if (!opened.Source) {
    result.WhereOrProblem = opened.Problem;
    return result;
  }
  EXPECT_EQ(opened.Problem, "");
  const IDeviceSource *source = opened.Source.get();
  result.Kind = dynamic_cast<const TInfoFile *>(source) != nullptr      ? "info"
                : dynamic_cast<const TDevicePacks *>(source) != nullptr ? "packs"
                                                                        : "other";
  result.Status = source->StatusName();
  result.Devices = Items(source->DeviceNames());
  result.WhereOrProblem = source->Where();
  return result;
}

void ExpectOpened(const TOpened &opened, const TOpened &expected) {
  EXPECT_EQ(opened.Kind, expected.Kind);
  EXPECT_EQ(opened.Status, expected.Status);
  EXPECT_EQ(opened.Devices, expected.Devices);
  EXPECT_EQ(opened.WhereOrProblem, expected.WhereOrProblem);
}

// Whether Text begins with Start.
bool StartsWith(const std::string &text, const std::string &start) {
  return text.compare(0, start.size(), start) == 0;
}
} // namespace

// The file is read whenever the folder holds one, readable or not; only a folder
// without it is looked at as device packs, and a folder of neither gives the
// missing file's problem.
TEST(OpenDeviceSource, ReadsDevicePacksOnlyWhenTheFolderHoldsNoInfoFileAtAll) {
  TTempFolder folder;
  const std::filesystem::path root(folder.Path());
  std::filesystem::create_directories(root / "A_DFP" / "1.0.0" / "edc");
  folder.WriteFile("A_DFP/1.0.0/edc/PIC18F9.PIC", "");
  folder.WriteFile("A_DFP/1.0.0/edc/PIC18LF9.PIC", "");
  ExpectOpened(Open(folder.Path(), true),
               {"packs", "A_DFP 1.0.0", {"18F9", "18LF9"}, "the device packs in " + folder.Path()});
  ExpectOpened(Open(folder.Path(), false),
               {"packs", "A_DFP 1.0.0", {"18F9"}, "the device packs in " + folder.Path()});

  const std::string info = folder.WriteDeviceInfo(TDeviceInfoText().Version("1.42").Index("18F1220").Text());
  ExpectOpened(Open(folder.Path(), true), {"info", "V1.42", {"18F1220"}, info});

  // Unreadable: a directory where the file would be.
  std::filesystem::remove(root / "8bit_device.info");
  std::filesystem::create_directory(root / "8bit_device.info");
  const TOpened unreadable = Open(folder.Path(), true);
  EXPECT_EQ(unreadable.Kind, "");
  EXPECT_TRUE(
      StartsWith(unreadable.WhereOrProblem, "cannot read " + DeviceInfoFileName(folder.Path()) + ": "))
      << unreadable.WhereOrProblem;

  TTempFolder empty;
  const TOpened nothing = Open(empty.Path(), true);
  EXPECT_EQ(nothing.Kind, "");
  EXPECT_TRUE(StartsWith(nothing.WhereOrProblem, "cannot read " + DeviceInfoFileName(empty.Path()) + ": "))
      << nothing.WhereOrProblem;
}

// A file named where a folder was meant: an .atpack archive is read as a folder
// holding just that archive is, an 8bit_device.info (any letter case) as a folder's
// file; any other file, and a path where nothing is, open nothing and say why.
TEST(OpenDeviceSource, AFileNamedForTheFolderIsReadAsTheUserMeantIt) {
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
    TOpened Expected;
  } cases[] = {
      {pack, false, {"packs", "PIC18F-K_DFP 1.0.4", {"18F25K22", "18F45K50"}, pack}},
      {pack, true, {"packs", "PIC18F-K_DFP 1.0.4", {"18F25K22", "18F45K50", "18LF25K22", "18LF45K50"}, pack}},
      {upper, false, {"info", "V1.42", {"18F1220"}, upper}},
      {upper, true, {"info", "V1.42", {"18F1220", "18LF1220"}, upper}},
      {notes,
       true,
       {"",
        "",
        {},
        "not a folder: " + notes +
            "; name a folder of device data, an .atpack archive or an 8bit_device.info file"}},
      {missing, true, {"", "", {}, "no such folder: " + missing}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Path);
    ExpectOpened(Open(c.Path, c.IncludeLF), c.Expected);
    if (c.Expected.Kind == "packs") {
      const TOpened folder = Open(alone.Path(), c.IncludeLF);
      EXPECT_EQ(c.Expected.Status, folder.Status);
      EXPECT_EQ(c.Expected.Devices, folder.Devices);
      EXPECT_EQ(OpenDeviceSource(c.Path, c.IncludeLF).Source->FileOf("18F25K22"),
                "entry edc/PIC18F25K22.PIC of " + c.Path);
    }
  }
}

// Bad data raises, with its place on the error or in its message, never a problem.
TEST(OpenDeviceSource, BadDataRaisesWithItsPlace) {
  const TTempFolder other, info;
  const std::string damaged = other.WriteFile("V.P.1.0.atpack", "no zip");
  const std::string file = info.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\n<PARTS_INDEX_TYPE>\n");
  const struct {
    std::string Path;
    std::string WithPlace;
  } cases[] = {
      {damaged, "cannot read " + damaged + ": not a zip archive"},
      {info.Path(), "List index out of bounds (1) (" + file + ", line 2)"},
      {file, "List index out of bounds (1) (" + file + ", line 2)"},
  };
  for (const auto &c : cases) {
    try {
      OpenDeviceSource(c.Path, false);
      ADD_FAILURE() << "no error: " << c.Path;
    } catch (const Exception &e) {
      EXPECT_EQ(e.WithPlace(), c.WithPlace);
    }
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
  const TVendorPacks found = LoadVendorPacks(search, false);
  EXPECT_EQ(found.Folder, ide + "v6.05/packs");
  ASSERT_NE(found.Source, nullptr);
  EXPECT_EQ(found.Source->StatusName(), "A_DFP 1.0.0");
  EXPECT_EQ(Items(found.Source->DeviceNames()), Strings{"18F1"});

  std::filesystem::remove_all(top / "opt/microchip/mplabx/v6.05");
  std::filesystem::remove_all(top / "home/me/.mchp_packs/Microchip");
  try {
    LoadVendorPacks(search, false);
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
    LoadVendorPacks(search, false);
    FAIL() << "no error";
  } catch (const ENoVendorPacks &e) {
    EXPECT_EQ(e.Message(), "no device packs where the vendor's IDE keeps them; looked in:"
                           "\n  " +
                               bare.Path() + "/opt/microchip/mplabx/v*/packs (not there)\n  " + bare.Path() +
                               "/home/me/.mchp_packs (not there)");
  }
}
