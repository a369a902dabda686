// An .atpack archive as a source: the pack's name and version, its devices and their
// tables, and what a bad archive gives.
#include "devicepacks/cPackArchive.h"

#include "bench/cPackGenerator.h"
#include "common/cErrors.h"
#include "devicepacks/cPicTable.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}

std::string ErrorOf(const std::function<void()> &step) {
  try {
    step();
  } catch (const Exception &e) {
    return e.Message();
  }
  return {};
}
} // namespace

TEST(PackFileName, GivesTheVendorThePackAndTheVersion) {
  struct {
    const char *File, *Vendor, *Name, *Version;
  } const cases[] = {
      {"Microchip.PIC18F-Q_DFP.1.28.451.atpack", "Microchip", "PIC18F-Q_DFP", "1.28.451"},
      {"Microchip.PIC18F-Q_DFP.1.28.451.ATPACK", "Microchip", "PIC18F-Q_DFP", "1.28.451"},
      {"Microchip.PIC18F-Q_DFP.1.28.451 (1).atpack", "Microchip", "PIC18F-Q_DFP.1.28.451 (1)", ""},
      {"Vendor.Pack.V2.1.0.atpack", "Vendor", "Pack.V2", "1.0"},
      {"Pack.atpack", "", "Pack", ""},
      {"pack", "", "pack", ""}};
  for (const auto &c : cases) {
    const TPackFileName name = ParsePackFileName(c.File);
    EXPECT_EQ(name.Vendor, c.Vendor) << c.File;
    EXPECT_EQ(name.Name, c.Name) << c.File;
    EXPECT_EQ(name.Version, c.Version) << c.File;
  }
}

// The .pdsc names the pack (its first release is its version); the file name stands
// in for what the .pdsc lacks, and a pack without a version is an error.
TEST(PackArchive, TheDescriptionNamesThePackAndTheFileNameStandsInForWhatItLacks) {
  TTempFolder folder;
  const auto write = [&](const std::string &file,
                         const std::vector<std::pair<std::string, std::string>> &files) {
    std::string path = (fs::path(folder.Path()) / file).string();
    WriteZip(path, files);
    return path;
  };
  const std::string described =
      write("Downloaded (1).atpack",
            {{"Vendor.P_DFP.pdsc", PackDescription("Vendor", "P_DFP", {"1.3.0", "1.2.0"})}});
  const TPackArchive archive(described, 100);
  EXPECT_EQ(archive.Vendor(), "Vendor");
  EXPECT_EQ(archive.Name(), "P_DFP");
  EXPECT_EQ(archive.Version(), "1.3.0");
  EXPECT_EQ(archive.StatusName(), "P_DFP 1.3.0");
  EXPECT_EQ(archive.Where(), described);

  const std::string named = write("Maker.Q_DFP.2.0.1.atpack", {{"edc/PIC18F1.PIC", "x"}});
  const TPackArchive fromName(named, 100);
  EXPECT_EQ(fromName.Vendor(), "Maker");
  EXPECT_EQ(fromName.Name(), "Q_DFP");
  EXPECT_EQ(fromName.Version(), "2.0.1");

  // A release that is no version: the file name's.
  const std::string odd = write("Maker.R_DFP.3.1.atpack",
                                {{"Maker.R_DFP.pdsc", PackDescription("Maker", "R_DFP", {"3.1-beta"})}});
  EXPECT_EQ(TPackArchive(odd, 100).Version(), "3.1");

  const std::string none = write("Unnamed.atpack", {{"edc/PIC18F1.PIC", "x"}});
  EXPECT_EQ(ErrorOf([&] { const TPackArchive archive(none, 100); }),
            "cannot read " + none +
                ": it gives no version, neither in a .pdsc nor in its file name "
                "(Vendor.Pack.Version.atpack)");
  const std::string broken = write("V.P.1.0.atpack", {{"V.P.pdsc", "<package><name>P</package>"}});
  EXPECT_EQ(ErrorOf([&] {
              const TPackArchive archive(broken, 100);
            }).rfind("cannot read entry V.P.pdsc of " + broken + ": not well-formed XML: ", 0),
            0u);
}

// The devices are the PIC18F and PIC18LF files of edc/ at the root, each read from its
// entry alone; its errors name the entry and the archive.
TEST(PackArchive, ListsTheDevicesOfItsEdcFolderAndReadsEachFromItsEntry) {
  TGenDevice device = RandomDevice("18F1", 4);
  const std::string xml = PicXml(device);
  const auto bytes = std::make_shared<std::string>();
  {
    TTempFolder folder;
    const std::string path = (fs::path(folder.Path()) / "V.P_DFP.1.0.0.atpack").string();
    WriteZip(path, {{"edc/PIC18F1.PIC", xml},
                    {"edc/pic18lf1.pic", xml},
                    {"edc/PIC16F1.PIC", xml},
                    {"edc/PIC18F 2.PIC", xml},
                    {"other/PIC18F3.PIC", xml},
                    {"edc/sub/PIC18F4.PIC", xml},
                    {"PIC18F5.PIC", xml},
                    {"edc/PIC18F6.PIC", "<edc:PIC xmlns:edc=\"http://crownking/edc\">\n<a>\n"},
                    {"edc/PIC18F7.PIC", ""}});
    std::ifstream in(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(in), {});
  }
  TPackArchive archive(bytes, "V.P_DFP.1.0.0.atpack", 100);
  EXPECT_EQ(Items(archive.DeviceNames()), (Strings{"18F1", "18F6", "18F7", "18LF1"}));
  EXPECT_EQ(archive.FileOf("18LF1"), "entry edc/pic18lf1.pic of V.P_DFP.1.0.0.atpack");
  EXPECT_EQ(archive.FileOf("18F3"), "");

  TPicDevice fromArchive, fromText;
  ASSERT_TRUE(archive.ReadPic("18F1", fromArchive));
  ReadPicText(xml, "X", fromText);
  ASSERT_EQ(fromArchive.Registers.size(), fromText.Registers.size());
  std::vector<TSwitchRow> rows, expected;
  ASSERT_TRUE(archive.ReadTable("18F1", false, rows, nullptr));
  AddPicRows(fromText, false, expected, nullptr);
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t r = 0; r < rows.size(); ++r)
    EXPECT_EQ(rows[r].Name + rows[r].StartSetting, expected[r].Name + expected[r].StartSetting);
  EXPECT_FALSE(archive.ReadTable("18F3", false, rows, nullptr));

  const std::string bad = ErrorOf([&] { archive.ReadTable("18F6", false, rows, nullptr); });
  EXPECT_EQ(bad.rfind("not well-formed XML: ", 0), 0u) << bad;
  EXPECT_NE(bad.find("(entry edc/PIC18F6.PIC of V.P_DFP.1.0.0.atpack, line 2)"), std::string::npos) << bad;
  EXPECT_EQ(ErrorOf([&] { archive.ReadTable("18F7", false, rows, nullptr); }),
            "cannot read entry edc/PIC18F7.PIC of V.P_DFP.1.0.0.atpack: the entry is empty");
}
