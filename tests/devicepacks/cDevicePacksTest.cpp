// The packs' folder walk: which kind of folder, which version, which devices.
#include "devicepacks/cDevicePacks.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Writes an empty file at Relative inside the folder, making its folders.
void Put(const TTempFolder &temp, const std::string &relative) {
  const fs::path path = fs::path(temp.Path()) / relative;
  fs::create_directories(path.parent_path());
  temp.WriteFile(fs::relative(path, temp.Path()).string(), "");
}

std::string In(const TTempFolder &temp, const std::string &relative) {
  return (fs::path(temp.Path()) / relative).string();
}

Strings Devices(const TDevicePacks &packs) {
  return {packs.Devices().begin(), packs.Devices().end()};
}
} // namespace

// Each kind of folder, given as Folder, finds the same pack.
TEST(DevicePacks, TakeTheFolderAsTheFirstKindThatFits) {
  TTempFolder temp;
  Put(temp, "packs/Vendor/PIC18F-K_DFP/1.2.0/edc/PIC18F45K22.PIC");
  Put(temp, "packs/Vendor/PIC18F-K_DFP/1.2.0/edc/PIC18LF45K22.PIC");
  Put(temp, "packs/Vendor/PIC18F-K_DFP/1.2.0/Vendor.PIC18F-K_DFP.pdsc");
  struct {
    const char *Folder;
    const char *Text;
  } const cases[] = {{"packs", "PIC18F-K_DFP 1.2.0"},
                     {"packs/Vendor", "PIC18F-K_DFP 1.2.0"},
                     {"packs/Vendor/PIC18F-K_DFP", "PIC18F-K_DFP 1.2.0"},
                     {"packs/Vendor/PIC18F-K_DFP/1.2.0", "PIC18F-K_DFP 1.2.0"},
                     {"packs/Vendor/PIC18F-K_DFP/1.2.0/edc", "PIC18F-K_DFP 1.2.0"},
                     {"packs/Vendor/PIC18F-K_DFP/1.2.0/edc/", "PIC18F-K_DFP 1.2.0"}};
  for (const auto &c : cases) {
    TDevicePacks packs;
    ASSERT_TRUE(packs.Load(In(temp, c.Folder), false)) << c.Folder;
    EXPECT_EQ(packs.Text(), c.Text) << c.Folder;
    EXPECT_EQ(Devices(packs), Strings{"18F45K22"}) << c.Folder;
    EXPECT_EQ(fs::path(packs.FileOf("18LF45K22")).filename(), "PIC18LF45K22.PIC") << c.Folder;
  }
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "packs"), true));
  EXPECT_EQ(Devices(packs), (Strings{"18F45K22", "18LF45K22"}));
  EXPECT_EQ(packs.FileOf("18F99"), "");
}

// An edc folder whose parent's name is no version is a pack of that name, without
// a version, whether the edc folder or its parent is given.
TEST(DevicePacks, AnEdcFolderBelowANameThatIsNoVersionIsAPackOfThatName) {
  TTempFolder temp;
  Put(temp, "mine/edc/PIC18F1.PIC");
  for (const char *folder : {"mine", "mine/edc"}) {
    TDevicePacks packs;
    ASSERT_TRUE(packs.Load(In(temp, folder), false)) << folder;
    EXPECT_EQ(packs.Text(), "mine") << folder;
    ASSERT_EQ(packs.Packs().size(), 1u) << folder;
    EXPECT_EQ(packs.Packs()[0].Version, "") << folder;
    EXPECT_EQ(Devices(packs), Strings{"18F1"}) << folder;
  }
}

TEST(DevicePacks, ReadOnlyTheHighestVersionOfEachPack) {
  TTempFolder temp;
  Put(temp, "Vendor/A_DFP/1.9.5/edc/PIC18F1.PIC");
  Put(temp, "Vendor/A_DFP/1.10.0/edc/PIC18F2.PIC");
  Put(temp, "Vendor/A_DFP/1.10.0.bak/edc/PIC18F3.PIC");
  Put(temp, "Vendor/A_DFP/2.0.0-rc1/edc/PIC18F4.PIC");
  // The highest version of B has no edc folder: B gives no devices, not its older ones.
  Put(temp, "Vendor/B_DFP/1.0.0/edc/PIC18F5.PIC");
  Put(temp, "Vendor/B_DFP/1.1.0/B.pdsc");
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "Vendor"), false));
  EXPECT_EQ(Devices(packs), Strings{"18F2"});
  ASSERT_EQ(packs.Packs().size(), 2u);
  EXPECT_EQ(packs.Packs()[1].Version, "1.1.0");
  EXPECT_EQ(packs.Packs()[1].EdcFolder, "");
  EXPECT_EQ(packs.Text(), "A_DFP 1.10.0");
}

TEST(DevicePacks, ListEachDeviceOnceFromThePackWhoseNameComesFirstInNameOrder) {
  TTempFolder temp;
  Put(temp, "packs/V2/b_DFP/1.0.0/edc/PIC18F2.PIC");
  Put(temp, "packs/V2/b_DFP/1.0.0/edc/PIC18F10.PIC");
  Put(temp, "packs/V1/C_DFP/3.0.0/edc/PIC18F2.PIC");
  Put(temp, "packs/V1/C_DFP/3.0.0/edc/pic18f1.pic"); // names ignore letter case
  Put(temp, "packs/V1/C_DFP/3.0.0/edc/PIC16F84.PIC");
  Put(temp, "packs/V1/C_DFP/3.0.0/edc/PIC18F9.txt");
  Put(temp, "packs/V1/D_DFP/1.0.0/EDC/PIC18F3.PIC");
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "packs"), false));
  EXPECT_EQ(Devices(packs), (Strings{"18F1", "18F10", "18F2", "18F3"}));
  EXPECT_NE(packs.FileOf("18F2").find("b_DFP"), std::string::npos);
  EXPECT_EQ(packs.Text(), "b_DFP 1.0.0, C_DFP 3.0.0, D_DFP 1.0.0");
}

// Of equal versions of a pack the one written shortest is read, then the first in
// byte order; a pack of one name in two vendor folders is one pack: its highest
// version is read, and of equal ones that of the vendor folder first in byte order.
TEST(DevicePacks, EqualVersionsAndAPackUnderTwoVendorsResolveByOneRule) {
  TTempFolder temp;
  Put(temp, "packs/V1/A_DFP/01.2/edc/PIC18F1.PIC");
  Put(temp, "packs/V1/A_DFP/1.02/edc/PIC18F2.PIC");
  Put(temp, "packs/V1/A_DFP/1.2/edc/PIC18F3.PIC");
  Put(temp, "packs/V1/B_DFP/2.0.0/edc/PIC18F4.PIC");
  Put(temp, "packs/V2/B_DFP/10.0.0/edc/PIC18F5.PIC");
  Put(temp, "packs/V1/C_DFP/1.0.0/edc/PIC18F6.PIC");
  Put(temp, "packs/V2/c_DFP/1.0.0/edc/PIC18F7.PIC");
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "packs"), false));
  EXPECT_EQ(Devices(packs), (Strings{"18F3", "18F5", "18F6"}));
  EXPECT_EQ(packs.Text(), "A_DFP 1.2, B_DFP 10.0.0, C_DFP 1.0.0");
}

// A folder's .atpack archives are packs beside its installed ones, under the same
// rules: the highest version of a pack wins, wherever it is; of equal ones the
// installed pack.
TEST(DevicePacks, ArchivesAreReadBesideTheInstalledPacksUnderTheSameRules) {
  TTempFolder temp;
  Put(temp, "packs/Vendor/A_DFP/1.2.0/edc/PIC18F1.PIC");
  Put(temp, "packs/Vendor/B_DFP/1.0.0/edc/PIC18F3.PIC");
  Put(temp, "packs/Vendor/C_DFP/2.0.0/edc/PIC18F5.PIC");
  const std::string pic = "<edc:PIC xmlns:edc=\"http://crownking/edc\"/>";
  const std::string newer = fs::path(In(temp, "packs/Vendor.A_DFP.1.10.0.atpack")).make_preferred().string();
  WriteZip(newer, {{"edc/PIC18F2.PIC", pic}, {"edc/PIC18LF2.PIC", pic}});
  WriteZip(In(temp, "packs/Vendor.B_DFP.1.0.0.atpack"), {{"edc/PIC18F4.PIC", pic}});
  WriteZip(In(temp, "packs/Other.c_DFP.1.9.0.atpack"), {{"edc/PIC18F6.PIC", pic}});
  WriteZip(In(temp, "packs/Vendor.D_DFP.1.0.0.atpack"), {{"edc/PIC16F7.PIC", pic}});
  for (const bool includeLF : {false, true}) {
    TDevicePacks packs;
    ASSERT_TRUE(packs.Load(In(temp, "packs"), includeLF));
    EXPECT_EQ(Devices(packs),
              includeLF ? (Strings{"18F2", "18F3", "18F5", "18LF2"}) : (Strings{"18F2", "18F3", "18F5"}));
    EXPECT_EQ(packs.Text(), "A_DFP 1.10.0, B_DFP 1.0.0, C_DFP 2.0.0");
    ASSERT_EQ(packs.Packs().size(), 4u);
    EXPECT_EQ(packs.Packs()[0].Archive, newer);
    EXPECT_EQ(packs.Packs()[1].Archive, "");
    EXPECT_EQ(packs.FileOf("18LF2"), "entry edc/PIC18LF2.PIC of " + newer);
    EXPECT_EQ(packs.Where(), "the device packs in " + In(temp, "packs"));
  }
}

// A folder holding only archives (the downloads) is packs; an edc or a version
// folder is one pack, whatever archives lie beside its files.
TEST(DevicePacks, AFolderOfArchivesIsPacksAndAnEdcFolderIsOnePack) {
  TTempFolder temp;
  fs::create_directory(In(temp, "Downloads"));
  WriteZip(In(temp, "Downloads/Vendor.Q_DFP.1.0.0.atpack"), {{"edc/PIC18F1.PIC", "x"}});
  temp.WriteFile("Downloads/notes.txt", "");
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "Downloads"), false));
  EXPECT_EQ(Devices(packs), Strings{"18F1"});
  EXPECT_EQ(packs.Text(), "Q_DFP 1.0.0");

  Put(temp, "P/1.0.0/edc/PIC18F2.PIC");
  temp.WriteFile("P/1.0.0/edc/junk.atpack", "no zip");
  temp.WriteFile("P/1.0.0/junk.atpack", "no zip");
  for (const char *folder : {"P/1.0.0", "P/1.0.0/edc"}) {
    ASSERT_TRUE(packs.Load(In(temp, folder), false)) << folder;
    EXPECT_EQ(Devices(packs), Strings{"18F2"}) << folder;
  }
}

// An archive that cannot be read stops the load with its error, never fewer packs.
TEST(DevicePacks, AnArchiveThatCannotBeReadIsAnErrorNamingIt) {
  TTempFolder temp;
  Put(temp, "packs/Vendor/A_DFP/1.0.0/edc/PIC18F1.PIC");
  const std::string junk =
      fs::path(temp.WriteFile("packs/V.B_DFP.1.0.0.atpack", "no zip")).make_preferred().string();
  TDevicePacks packs;
  try {
    packs.Load(In(temp, "packs"), false);
    FAIL() << "no error";
  } catch (const Exception &e) {
    EXPECT_EQ(e.Message(), "cannot read " + junk + ": not a zip archive");
  }
  fs::remove(junk);
  WriteZip(In(temp, "packs/V.B_DFP.1.0.0.atpack"), {{"a", "1"}, {"b", "2"}, {"c", "3"}});
  packs.SetEntryLimits(100, 2);
  EXPECT_THROW(packs.Load(In(temp, "packs"), false), Exception);
  packs.SetEntryLimits(100, 100);
  EXPECT_TRUE(packs.Load(In(temp, "packs"), false));
}

// A device name with a blank or a control character is one no configuration text
// can give, so such a file lists no device.
TEST(DevicePacks, FileNamesWithBlanksOrControlCharactersListNoDevice) {
  TTempFolder temp;
  Put(temp, "P/1.0.0/edc/PIC18F1.PIC");
  Put(temp, "P/1.0.0/edc/PIC18F1 2.PIC");
#ifndef _WIN32
  for (const char *name :
       {"PIC18F3\n.PIC", "PIC18F4\t.PIC", "PIC18F5\r.PIC", "PIC18F6\x7F.PIC", "PIC18F\x01.PIC"})
    Put(temp, std::string("P/1.0.0/edc/") + name);
#endif
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "P"), true));
  EXPECT_EQ(Devices(packs), Strings{"18F1"});
}

TEST(DevicePacks, PacksWithoutPic18PartsListNoDevicesAndNameEveryPack) {
  TTempFolder temp;
  Put(temp, "Vendor/PIC16_DFP/1.0.0/edc/PIC16F84.PIC");
  Put(temp, "Vendor/AVR_DFP/2.0.0/edc/ATtiny85.PIC");
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "Vendor"), true));
  EXPECT_TRUE(Devices(packs).empty());
  EXPECT_EQ(packs.Text(), "AVR_DFP 2.0.0, PIC16_DFP 1.0.0");
}

TEST(DevicePacks, AFolderOfNoKindIsNoPacks) {
  TTempFolder temp;
  Put(temp, "a/b/c/d/e/PIC18F1.PIC"); // deeper than a packs folder reaches
  Put(temp, "a/readme.txt");
  for (const std::string &folder :
       {In(temp, "a"), In(temp, "missing"), In(temp, "a/readme.txt"), std::string()}) {
    TDevicePacks packs;
    EXPECT_FALSE(packs.Load(folder, true)) << folder;
    EXPECT_TRUE(Devices(packs).empty());
    EXPECT_EQ(packs.Text(), "");
  }
}

TEST(DevicePacks, AnEdcFolderWithTooManyEntriesIsBadData) {
  TTempFolder temp;
  const fs::path edc = fs::path(temp.Path()) / "P" / "1.0.0" / "edc";
  fs::create_directories(edc);
  for (int i = 0; i <= 50; ++i)
    std::ofstream(edc / ("PIC18F" + std::to_string(i) + ".PIC"));
  TDevicePacks packs;
  packs.SetEntryLimits(51, 1000);
  EXPECT_EQ(packs.Load(In(temp, "P"), false) ? packs.Devices().Count() : 0, 51);
  packs.SetEntryLimits(50, 1000);
  try {
    packs.Load(In(temp, "P"), false);
    FAIL() << "no error";
  } catch (const Exception &e) {
    EXPECT_NE(e.Message().find("more than 50 entries"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find(edc.string()), std::string::npos) << e.Message();
  }
}

// Reaching a limit ends the load with an error that names the limit and the folder
// where the walk stopped; nothing is left out in silence.
TEST(DevicePacks, ReachingALimitIsAnErrorNamingWhereTheWalkStopped) {
  struct {
    const char *What;
    std::function<void(const TTempFolder &)> Make;
    std::string Stopped; // the folder named
    std::string Message;
  } const cases[] = {
      {"packs whose folders hold other files",
       [](const TTempFolder &temp) {
         for (int p = 0; p < 12; ++p) {
           const std::string pack = "V/P" + std::to_string(10 + p);
           Put(temp, pack + "/1.0.0/edc/PIC18F" + std::to_string(p) + ".PIC");
           for (int i = 0; i < 17; ++i)
             Put(temp, pack + "/file" + std::to_string(i));
         }
       },
       "V/P20", "more than 200 entries in all the folders read for the device packs: the walk stopped at "},
      {"edc folders that are full in all",
       [](const TTempFolder &temp) {
         for (int p = 0; p < 11; ++p)
           for (int i = 0; i < 18; ++i)
             Put(temp,
                 "V/P" + std::to_string(10 + p) + "/1.0.0/edc/PIC18F" + std::to_string(p * 100 + i) + ".PIC");
       },
       "V/P19/1.0.0/edc",
       "more than 200 entries in all the folders read for the device packs: the walk stopped at "},
      {"a pack folder too full",
       [](const TTempFolder &temp) {
         Put(temp, "V/P10/1.0.0/edc/PIC18F1.PIC");
         for (int i = 0; i < 20; ++i)
           Put(temp, "V/P10/file" + std::to_string(i));
       },
       "V/P10", "more than 20 entries in "},
  };
  for (const auto &c : cases) {
    TTempFolder temp;
    c.Make(temp);
    TDevicePacks packs;
    packs.SetEntryLimits(20, 200);
    try {
      packs.Load(In(temp, "V"), false);
      ADD_FAILURE() << c.What << ": no error; " << packs.Text() << ", " << packs.Devices().Count()
                    << " device(s)";
    } catch (const Exception &e) {
      EXPECT_NE(e.Message().find(c.Message), std::string::npos) << c.What << ": " << e.Message();
      const std::string stopped = (fs::path(temp.Path()) / c.Stopped).make_preferred().string();
      EXPECT_NE(e.Message().find(stopped), std::string::npos) << c.What << ": " << e.Message();
    }
  }
}

#ifndef _WIN32
// Links are followed to where they lead; a pack reached twice is read once, and a
// link back up the tree ends nowhere.
TEST(DevicePacks, LinksAreFollowedOnceAndLoopsEnd) {
  TTempFolder temp;
  Put(temp, "packs/V/A_DFP/1.0.0/edc/PIC18F1.PIC");
  fs::create_directory_symlink(In(temp, "packs/V/A_DFP"), In(temp, "packs/V/Again_DFP"));
  fs::create_directory_symlink(In(temp, "packs"), In(temp, "packs/V/loop"));
  fs::create_directory_symlink(In(temp, "packs/V"), In(temp, "packs/V/A_DFP/1.0.0/edc/up"));
  TDevicePacks packs;
  ASSERT_TRUE(packs.Load(In(temp, "packs"), false));
  EXPECT_EQ(Devices(packs), Strings{"18F1"});
  EXPECT_EQ(packs.Text(), "A_DFP 1.0.0");
}
#endif
