// The model list: folder, load through the global reader, copies of the names.
#include "app/cModel.h"

#include "app/cDeviceInfo.h"
#include "app/gDeviceInfo.h"
#include "common/cErrors.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
// Installs a fresh global reader for one test, as the main window does.
class ModelsTest : public testing::Test {
protected:
  void SetUp() override { DeviceInfo = &FReader; }
  void TearDown() override { DeviceInfo = nullptr; }
  TDeviceInfo FReader;
};

std::vector<std::string> Items(const TStringList &list) {
  return {list.begin(), list.end()};
}
} // namespace

TEST_F(ModelsTest, LoadsFromTheFolderSetAndKeepsFileOrder) {
  TTempFolder folder;
  folder.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F2>\n<PARTS_INDEX_TYPE><18F1>\n<PARTS_INDEX_TYPE><18LF3>\n");
  TModels models;
  EXPECT_EQ(models.Path, "");
  models.SetPath(folder.Path());
  EXPECT_EQ(models.Path, folder.Path());
  models.LoadDevices(true);
  // Sorting the reader's list later must not reorder the model's copy.
  FReader.Devices.Sort();
  TStringList lines;
  lines.Add("kept");
  models.CopyDevicesTo(lines);
  models.CopyDevicesTo(lines);
  EXPECT_EQ(Items(lines),
            (std::vector<std::string>{"kept", "18F2", "18F1", "18LF3", "18F2", "18F1", "18LF3"}));
}

TEST_F(ModelsTest, SetPathDoesNotReloadAndAFailedLoadLeavesNoNames) {
  TTempFolder folder;
  folder.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\n");
  TModels models;
  models.SetPath(folder.Path());
  models.LoadDevices(false);
  models.SetPath(folder.Path() + "-gone");
  TStringList lines;
  models.CopyDevicesTo(lines);
  EXPECT_EQ(Items(lines), (std::vector<std::string>{"18F1"}));

  models.LoadDevices(false);
  lines.Clear();
  models.CopyDevicesTo(lines);
  EXPECT_EQ(lines.Count(), 0);
}

TEST_F(ModelsTest, WithoutAFolderReadsAtTheRoot) {
  TModels models;
  models.LoadDevices(false);
#ifdef _WIN32
  const std::string expected = "\\8bit_device.info";
#else
  const std::string expected = "/8bit_device.info";
#endif
  EXPECT_EQ(DeviceInfoFileName(""), expected);
  EXPECT_EQ(FReader.Version, "<none>");
}

TEST_F(ModelsTest, ReaderErrorPassesThroughWithNoNamesKept) {
  TTempFolder good, bad;
  good.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F1>\n");
  bad.WriteDeviceInfo("<PARTS_INDEX_TYPE><18F2>\n<PARTS_INDEX_TYPE>\n");
  TModels models;
  models.SetPath(good.Path());
  models.LoadDevices(false);
  models.SetPath(bad.Path());
  EXPECT_THROW(models.LoadDevices(false), EListError);
  TStringList lines;
  models.CopyDevicesTo(lines);
  EXPECT_EQ(lines.Count(), 0);
}
