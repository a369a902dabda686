// TMainForm over the headless window: loading, the settings table, the generated
// text, the folder choice, the clipboard and the persisted settings.
#include "app/UnitMain.h"

#include "common/cErrors.h"
#include "common/cTextLines.h"
#include "app/cDeviceInfo.h"
#include "app/cModel.h"
#include "app/gDeviceInfo.h"
#include "core/cSyntax.h"
#include "tests/support/HeadlessWindow.h"
#include "tests/support/DeviceInfoText.h"
#include "tests/support/FixtureDevices.h"
#include "tests/support/HexText.h"
#include "tests/support/StandIns.h"
#include "tests/support/SwitchRows.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
using Strings = std::vector<std::string>;

constexpr const char *kKey = TMainForm::kSettingsKey;

Strings Items(const TStringList &list) {
  return {list.begin(), list.end()};
}

// Lines joined with CR LF after each, as the output box holds them.
std::string Crlf(const Strings &lines) {
  std::string text;
  for (const std::string &line : lines)
    text += line + "\r\n";
  return text;
}

class MainWindow : public testing::Test {
protected:
  THeadlessWindow &Open() {
    W.reset(); // a window still open saves its settings first
    W = std::make_unique<THeadlessWindow>(THeadlessServices{&Pump, nullptr, &Faulty, &Files});
    W->Open();
    return *W;
  }
  // Writes the file into the test folder, points the window there and loads.
  void Load(const std::string &text) {
    Folder.WriteDeviceInfo(text);
    W->Form().Models().SetPath(Folder.Path());
    W->Button("ButtonLoadDeviceInfoFile").Click();
  }
  std::string Cell(int col, int row) const { return WideToAnsi(W->Grid("SettingsGrid").Cell(col, row)); }
  Strings Column(int col) const {
    Strings cells;
    for (int r = 0; r < W->Grid("SettingsGrid").RowCount(); ++r)
      cells.push_back(Cell(col, r));
    return cells;
  }
  Strings Entries() const {
    Strings entries;
    for (int i = 0; i < W->DropDown("DeviceSelectComboBox").Count(); ++i)
      entries.push_back(W->DropDown("DeviceSelectComboBox").Item(i));
    return entries;
  }
  Strings Defaults() const {
    Strings defaults;
    for (const TSwitchRow &row : W->Form().Rows())
      defaults.push_back(row.StartSetting);
    return defaults;
  }
  Strings EditorItems() const {
    Strings items;
    for (const WideString &item : W->Grid("SettingsGrid").Editor().Items())
      items.push_back(WideToAnsi(item));
    return items;
  }
  void Pick(const std::string &device) {
    ASSERT_TRUE(
        W->DropDown("DeviceSelectComboBox").UserPick(W->DropDown("DeviceSelectComboBox").IndexOf(device)))
        << device;
  }
  std::string Stored(const std::string &name) const {
    TMemoryRegistry::TValue value;
    if (!Registry.GetValue(kKey, name, value))
      return "<missing>";
    EXPECT_EQ(value.Type, IRegistry::kRegSz) << name;
    return value.Data;
  }

  TCountingPump Pump;
  TMemoryRegistry Registry;
  TFaultyRegistry Faulty{Registry};
  TMemoryFileSystem Files;
  TTempFolder Folder;
  std::unique_ptr<THeadlessWindow> W;
};
} // namespace

// --- Life cycle ------------------------------------------------------------------

TEST_F(MainWindow, CreationMakesTheReaderGlobalAndDestructionReleasesIt) {
  Open();
  ASSERT_NE(W->Form().Reader(), nullptr);
  EXPECT_EQ(DeviceInfo, W->Form().Reader());
  EXPECT_EQ(W->Form().Reader()->Version, "<none>");
  EXPECT_FALSE(W->Form().Reader()->UseInfoDefaults());
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Focused()); // FormShow
  EXPECT_EQ(W->Label("StatusBar").Text(), "Ready");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Text(), "select device");
  W->Close();
  EXPECT_EQ(DeviceInfo, nullptr);
  W.reset();
  EXPECT_EQ(DeviceInfo, nullptr);
}

// --- Generated text -----------------------------------------------------------------

TEST_F(MainWindow, WorkedExampleInAllFourForms) {
  Open();
  Load(WorkedExample());
  ASSERT_EQ(W->Grid("SettingsGrid").RowCount(), 3);

  ASSERT_TRUE(W->Button("ButtonGenerate").Click());
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F1234", "", "config", "    CLKSEL = INTRC,     // Internal RC oscillator",
                  "    BOOTBLOCKSIZE = 2KW,// Boot block of 2K words",
                  "    WDOG = OFF          // Watchdog disabled"}));
  EXPECT_EQ(W->OutputBox("Memo").SelectionStart(), 0);
  EXPECT_EQ(W->OutputBox("Memo").SelectionLength(), 0);
  EXPECT_TRUE(W->Button("ButtonGenerate").Enabled());
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());

  W->CheckBox("CheckBoxComments").Click(); // off: regenerated at once
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"device = 18F1234", "", "config", "    CLKSEL = INTRC,",
                                               "    BOOTBLOCKSIZE = 2KW,", "    WDOG = OFF"}));
  W->CheckBox("CheckBoxOrvaneSyntax").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"device = 18F1234", "", "config CLKSEL = INTRC",
                                               "config BOOTBLOCKSIZE = 2KW", "config WDOG = OFF"}));
  W->CheckBox("CheckBoxComments").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F1234", "", "config CLKSEL = INTRC   ' Internal RC oscillator",
                  "config BOOTBLOCKSIZE = 2KW ' Boot block of 2K words",
                  "config WDOG = OFF       ' Watchdog disabled"}));
}

TEST_F(MainWindow, FormatDeviceListRewrapsTheBoxsLines) {
  Open();
  for (int i = 1; i <= 8; ++i)
    W->OutputBox("Memo").AddLine("D" + std::to_string(i));
  W->Form().FormatDeviceList();
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"D1, D2, D3, D4, D5, D6, D7, ", "D8"}));
}

TEST_F(MainWindow, GeneratingBeforeAnyDeviceWritesOnlyTheHeader) {
  Open();
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(), "device = \r\n\r\nconfig\r\n");

  W->Close();
  Registry.PutString(kKey, "Device", "18f9999"); // remembered from the last run
  Open();
  W->CheckBox("CheckBoxComments").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(), "device = 18F9999\r\n\r\nconfig\r\n");
  W->CheckBox("CheckBoxOrvaneSyntax").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(), "device = 18F9999\r\n\r\n");
}

TEST_F(MainWindow, GenerateDisablesItsButtonsWhileThePumpRunsAndIsNotDoubledByQueuedClicks) {
  Open();
  Load(WorkedExample());
  std::string seen;
  bool clicked = false;
  Pump.OnPump = [&] {
    seen = std::string(W->Button("ButtonGenerate").Enabled() ? "enabled" : "disabled") + "/" +
           (W->Button("ButtonLoadDeviceInfoFile").Enabled() ? "enabled" : "disabled") + "/" +
           W->OutputBox("Memo").Text();
    if (!clicked) { // a click on "Comments" queued while Generate runs
      clicked = true;
      W->CheckBox("CheckBoxComments").Click();
    }
  };
  const int before = Pump.Calls;
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(Pump.Calls - before, 2); // its own and the nested run's
  EXPECT_EQ(seen, "disabled/disabled/");
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"device = 18F1234", "", "config", "    CLKSEL = INTRC,",
                                               "    BOOTBLOCKSIZE = 2KW,", "    WDOG = OFF"}));
  EXPECT_TRUE(W->Button("ButtonGenerate").Enabled());
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
}

// --- Load File --------------------------------------------------------------------

TEST_F(MainWindow, LoadFileListsSortsSelectsTheRememberedDeviceAndFillsTheGrid) {
  Registry.PutString(kKey, "Device", "18f2550");
  Open();
  W->CheckBox("chkIncludeLF").Click();
  std::string atPump;
  Pump.OnPump = [&] {
    atPump = W->Label("StatusBar").Text() + "|" +
             (W->Button("ButtonLoadDeviceInfoFile").Enabled() ? "enabled" : "disabled");
  };
  Load(FiveDevices());

  EXPECT_EQ(Pump.Calls, 1);
  EXPECT_EQ(atPump, " Working, please wait...|disabled");
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: V2.5    5 device(s) found");
  EXPECT_EQ(Entries(), (Strings{"18F1220", "18F1220", "18F2550", "18F4520", "18LF25K22"}));
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ItemIndex(), 2);
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Text(), "18F2550");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ChangeCount(), 1);
  EXPECT_EQ(W->Form().Device(), "18F2550"); // the list's spelling
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"FOSC", "PWRT"}));
  EXPECT_EQ(Column(ISettingsGrid::kColFunction), (Strings{"Oscillator", "Power-up timer"}));
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"HS", "ON"}));
  EXPECT_EQ(Column(ISettingsGrid::kColDescription), (Strings{"HS oscillator", "PWRT on"}));
  EXPECT_EQ(W->Grid("SettingsGrid").VisibleRow(), 0);
  EXPECT_EQ(W->Grid("SettingsGrid").SelectedRow(), 1); // the fill leaves the last row selected
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  EXPECT_TRUE(W->Button("ButtonGenerate").Focused());
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
  // The model list keeps the file order; the reader's list was sorted.
  TStringList modelNames;
  W->Form().Models().CopyDevicesTo(modelNames);
  EXPECT_EQ(Items(modelNames), (Strings{"18F4520", "18LF25K22", "18F1220", "18F2550", "18F1220"}));

  // Loading again first clears the shown text while the old entries are in place,
  // which re-reads the selected device; then the same device is selected anew.
  Strings events;
  const TNotifyEvent fill = W->DropDown("DeviceSelectComboBox").OnChange;
  W->DropDown("DeviceSelectComboBox").OnChange = [&, fill] {
    events.push_back(W->DropDown("DeviceSelectComboBox").Text() + "|" +
                     std::to_string(W->DropDown("DeviceSelectComboBox").Count()) + "|" +
                     std::to_string(W->DropDown("DeviceSelectComboBox").ItemIndex()));
    fill();
  };
  W->CheckBox("chkIncludeLF").Click(); // now off: only the next load notices
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 5);
  W->Button("ButtonLoadDeviceInfoFile").Click();
  EXPECT_EQ(events, (Strings{"|5|2", "18F2550|4|2"}));
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: V2.5    4 device(s) found");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"HS", "ON"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
}

TEST_F(MainWindow, RememberedDeviceNotListedSelectsTheFirstEntry) {
  Registry.PutString(kKey, "Device", "18F9999");
  Open();
  Load(FiveDevices());
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ItemIndex(), 0);
  EXPECT_EQ(W->Form().Device(), "18F1220");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"ON"}));
}

TEST_F(MainWindow, FirstLoadWithoutTheFileLeavesTheListEmpty) {
  Open();
  W->Form().Models().SetPath(Folder.Path()); // holds no 8bit_device.info
  W->Button("ButtonLoadDeviceInfoFile").Click();
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: <none>    0 device(s) found");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 0);
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ItemIndex(), 0);
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Text(), "select device");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ChangeCount(), 0);
  EXPECT_EQ(W->Grid("SettingsGrid").RowCount(), 0);
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
  EXPECT_TRUE(W->Button("ButtonGenerate").Focused());
}

// A remembered folder that is gone, or that names a file, loads nothing, as a
// folder without the file does: the status says so, and no error box is shown.
TEST_F(MainWindow, LoadFromAFolderThatIsGoneOrAFileLeavesTheListEmpty) {
  const std::string notes = Folder.WriteFile("notes.txt", "not device data");
  for (const std::string &path : {Folder.Path() + "/gone", notes}) {
    SCOPED_TRACE(path);
    Open();
    W->Form().Models().SetPath(path);
    EXPECT_NO_THROW(W->Button("ButtonLoadDeviceInfoFile").Click());
    EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: <none>    0 device(s) found");
    EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 0);
    EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
  }
}

TEST_F(MainWindow, LaterLoadWithoutTheFileKeepsThePreviousDeviceInTheGrid) {
  Registry.PutString(kKey, "Device", "18F2550");
  Open();
  Load(FiveDevices());
  W->Grid("SettingsGrid").PickSetting(0, 2); // EC: the reload puts the default back
  TTempFolder empty;
  W->Form().Models().SetPath(empty.Path());
  W->Button("ButtonLoadDeviceInfoFile").Click();
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: <none>    0 device(s) found");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 0);
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ItemIndex(), 0);
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Text(), "");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"HS", "ON"}));
  EXPECT_EQ(W->Form().Device(), "18F2550");
  W->Close();
  EXPECT_EQ(Stored("Device"), std::string("18F2550\0", 8));
}

TEST_F(MainWindow, DeviceWithoutAPartSectionLeavesAnEmptyTable) {
  Registry.PutString(kKey, "Device", "18F3000");
  Open();
  Load(TDeviceInfoText()
           .Index("18F1000")
           .Index("18F3000")
           .Part("18F1000")
           .Switch("A", "a", "1")
           .Setting("X", "x", "0")
           .Text());
  EXPECT_EQ(W->Form().Device(), "18F3000");
  EXPECT_EQ(W->Grid("SettingsGrid").RowCount(), 0);
  EXPECT_TRUE(W->Form().Rows().empty());
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  TStringList fields;
  EXPECT_FALSE(W->Form().Reader()->FindPart("18F3000", fields));
}

// --- Settings table -----------------------------------------------------------------

TEST_F(MainWindow, EditingOffersTheRowsOwnSettingsWithTheCurrentOnePreselected) {
  Registry.PutString(kKey, "Device", "18F2550");
  Open();
  Load(FiveDevices());
  ASSERT_TRUE(W->Grid("SettingsGrid").BeginEdit(0));
  EXPECT_EQ(EditorItems(), (Strings{"XT", "HS", "EC"}));
  EXPECT_EQ(W->Grid("SettingsGrid").Editor().ItemIndex(), 1);
  EXPECT_GT(W->Grid("SettingsGrid").Editor().RefreshCount(), 0);
  ASSERT_TRUE(W->Grid("SettingsGrid").PickEntry(0));
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 0), "XT oscillator"); // at once
  W->Grid("SettingsGrid").EndEdit(true);
  EXPECT_EQ(Cell(ISettingsGrid::kColSetting, 0), "XT");

  ASSERT_TRUE(W->Grid("SettingsGrid").BeginEdit(1));
  EXPECT_EQ(EditorItems(), (Strings{"ON", "OFF"}));
  EXPECT_EQ(W->Grid("SettingsGrid").Editor().ItemIndex(), 0);
  W->Grid("SettingsGrid").EndEdit(false);

  W->OutputBox("Memo").UserSetText("old text");
  W->Button("ButtonSetDefaults").Click();
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"HS", "ON"}));
  EXPECT_EQ(Column(ISettingsGrid::kColDescription), (Strings{"HS oscillator", "PWRT on"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
}

TEST_F(MainWindow, TwoSettingsOfOneNamePickByPositionAndDefaultByName) {
  Open();
  Load(TDeviceInfoText()
           .Index("18F1")
           .Part("18F1")
           .Register("2")
           .Switch("MODE", "Mode", "3")
           .Setting("X", "first X", "1")
           .Setting("X", "second X", "2")
           .Setting("Y", "why", "0")
           .Text());
  EXPECT_EQ(SettingNames(W->Form().Rows()[0]), (Strings{"X", "X", "Y"}));
  EXPECT_EQ(Defaults(), (Strings{"X"}));                         // the register matched the second X
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 0), "first X"); // Set Defaults matches by name
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(0, 1));
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 0), "second X");
  W->Button("ButtonGenerate").Click();
  EXPECT_NE(W->OutputBox("Memo").Text().find("    MODE = X            // second X\r\n"), std::string::npos)
      << W->OutputBox("Memo").Text();
  W->Button("ButtonSetDefaults").Click();
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 0), "first X");
}

TEST_F(MainWindow, ASwitchForcedOffShowsItsOwnOffSettingWithItsDescription) {
  Open();
  Load(TDeviceInfoText()
           .Index("18F1")
           .Part("18F1")
           .Register("4")
           .Switch("LVP", "Low-voltage programming", "4")
           .Setting("ENABLED", "LVP enabled", "4")
           .Setting("Disabled", "LVP disabled", "0")
           .Text());
  EXPECT_EQ(Cell(ISettingsGrid::kColSetting, 0), "Disabled");
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 0), "LVP disabled");
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F1", "", "config", "    LVP = Disabled      // LVP disabled"}));
}

TEST_F(MainWindow, AShorterDeviceAfterALongerOneLeavesNoTrace) {
  Open();
  Load(TDeviceInfoText()
           .Index("18F1")
           .Index("18F2")
           .Part("18F1")
           .Switch("A", "a", "1")
           .Setting("A0", "a0", "0")
           .Setting("A1", "a1", "1")
           .Switch("B", "b", "2")
           .Setting("B0", "b0", "0")
           .Switch("C", "c", "4")
           .Setting("C0", "c0", "0")
           .Part("18F2")
           .Switch("Z", "z", "1")
           .Setting("Z1", "z1", "1")
           .Setting("Z0", "z0", "0")
           .Text());
  ASSERT_EQ(W->Grid("SettingsGrid").RowCount(), 3);
  W->Button("ButtonGenerate").Click();
  Pick("18F2");
  EXPECT_EQ(W->Form().Device(), "18F2");
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"Z"}));
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"Z0"}));
  EXPECT_EQ(Column(ISettingsGrid::kColDescription), (Strings{"z0"}));
  EXPECT_EQ(Defaults(), (Strings{"Z0"}));
  ASSERT_TRUE(W->Grid("SettingsGrid").BeginEdit(0));
  EXPECT_EQ(EditorItems(), (Strings{"Z1", "Z0"}));
  W->Grid("SettingsGrid").EndEdit(false);
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F2", "", "config", "    Z = Z0              // z0"}));
  // Choosing the entry that is already selected re-reads nothing.
  const int changes = W->DropDown("DeviceSelectComboBox").ChangeCount();
  Pick("18F2");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ChangeCount(), changes);
  EXPECT_NE(W->OutputBox("Memo").Text(), "");
}

TEST_F(MainWindow, AChangeWithoutASelectedEntryLeavesEverythingAsItIs) {
  Registry.PutString(kKey, "Device", "18F2550");
  Open();
  Load(FiveDevices());
  W->Button("ButtonGenerate").Click();
  const std::string text = W->OutputBox("Memo").Text();
  W->DropDown("DeviceSelectComboBox").SetItemIndex(-1); // stored only
  W->DropDown("DeviceSelectComboBox").ClearText();      // the text changes: the change event runs
  EXPECT_EQ(W->Form().Device(), "18F2550");
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"FOSC", "PWRT"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), text);
}

TEST_F(MainWindow, SetDefaultsOnAnEmptyTableOnlyEmptiesTheOutput) {
  Open();
  W->OutputBox("Memo").UserSetText("text");
  W->Button("ButtonSetDefaults").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  EXPECT_EQ(W->Grid("SettingsGrid").RowCount(), 0);
}

TEST_F(MainWindow, AMalformedSwitchEndsTheFillWithTheRowsSoFarAtTheirFirstSetting) {
  Open();
  EXPECT_THROW(Load(TDeviceInfoText()
                        .Index("18F1")
                        .Part("18F1")
                        .Register("1")
                        .Switch("A", "a", "1")
                        .Setting("A0", "a0", "0")
                        .Setting("A1", "a1", "1")
                        .Switch("B", "b", "XYZ")
                        .Setting("B0", "b0", "0")
                        .Text()),
               EConvertError);
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"A0"})); // Set Defaults did not run
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: <none>    1 device(s) found");
}

// --- Mended faults ----------------------------------------------------------------

TEST_F(MainWindow, SwitchesWithoutSelectableSettingsGetNoRowButTheFillGoesOn) {
  Open();
  Load(TDeviceInfoText()
           .Index("18F1")
           .Index("18F2")
           .Part("18F1")
           .Switch("A", "a", "1")
           .Setting("A0", "a0", "0")
           .Switch("R", "all reserved", "2")
           .Setting("RESERVED", "r", "0")
           .Setting("RESERVED", "r", "2")
           .Switch("N", "no settings", "4")
           .Switch("", "no name, no settings", "4")
           .Switch("", "no name, reserved only", "4")
           .Setting("RESERVED", "r", "0")
           .Switch("B", "b", "8")
           .Setting("B0", "b0", "0")
           .Switch("Z", "reserved at the end", "10")
           .Setting("RESERVED", "r", "0")
           .Part("18F2")
           .Switch("C", "c", "1")
           .Setting("C0", "c0", "0")
           .Text());
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"A", "B"}));
  EXPECT_EQ(Defaults(), (Strings{"A0", "B0"}));
  EXPECT_EQ(SettingNames(W->Form().Rows()[1]), (Strings{"B0"}));
}

TEST_F(MainWindow, MoreThanSixtyFourSwitchesEachGetARow) {
  TDeviceInfoText text;
  text.Index("18F9").Index("18F1").Part("18F9").Register("0");
  for (int i = 0; i < 70; ++i) {
    const std::string n = std::to_string(i);
    text.Switch("S" + n, "switch " + n, "1").Setting("ON", "on " + n, "1").Setting("OFF", "off " + n, "0");
  }
  text.Part("18F1").Switch("T", "t", "1").Setting("T0", "t0", "0");
  Registry.PutString(kKey, "Device", "18F9");
  Open();
  Load(text.Text());

  ASSERT_EQ(W->Grid("SettingsGrid").RowCount(), 70);
  EXPECT_EQ(W->Form().Rows().size(), 70u);
  EXPECT_EQ(Cell(ISettingsGrid::kColConfig, 69), "S69");
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 69), "off 69");
  EXPECT_EQ(SettingDescriptions(W->Form().Rows()[69]), (Strings{"on 69", "off 69"}));
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(69, 0));
  EXPECT_EQ(Cell(ISettingsGrid::kColDescription, 69), "on 69");
  W->Button("ButtonGenerate").Click();
  EXPECT_NE(W->OutputBox("Memo").Text().find(
                "    S68 = OFF,          // off 68\r\n    S69 = ON            // on 69\r\n"),
            std::string::npos);
  W->Button("ButtonSetDefaults").Click();
  EXPECT_EQ(Cell(ISettingsGrid::kColSetting, 69), "OFF");

  Pick("18F1");
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"T"}));
  EXPECT_EQ(W->Form().Rows().size(), 1u);
}

TEST_F(MainWindow, MalformedFileReEnablesLoadFileAndSaysWhereLoadingFailed) {
  Open();
  EXPECT_THROW(Load("<PARTS_INDEX_TYPE><18F1>\r\n<RES_FILE_VERSION_INFO_TYPE><1>\r\n<PARTS_INDEX_TYPE>\r\n"),
               EListError);
  EXPECT_TRUE(W->Button("ButtonLoadDeviceInfoFile").Enabled());
  EXPECT_EQ(W->Label("StatusBar").Text(), "Loading failed at line 3 of 8bit_device.info");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 0);
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");

  // The user loads a sound file.
  TTempFolder mended;
  mended.WriteDeviceInfo(FiveDevices());
  W->Form().Models().SetPath(mended.Path());
  ASSERT_NO_THROW(W->Button("ButtonLoadDeviceInfoFile").Click());
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: V2.5    4 device(s) found");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 4);
}

TEST_F(MainWindow, AFailingDeviceDoesNotKeepAMendedFileFromLoading) {
  const std::string broken = TDeviceInfoText().Index("18F1").Part("18F1").Switch("A", "a", "QQ").Text();
  Open();
  EXPECT_THROW(Load(broken), EConvertError); // shown when the device is chosen
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 1);
  // Loading again re-reads the old device first; that repeat must not stop the load.
  TTempFolder mended;
  mended.WriteDeviceInfo(
      TDeviceInfoText().Index("18F1").Part("18F1").Switch("A", "a", "1").Setting("A0", "a0", "0").Text());
  W->Form().Models().SetPath(mended.Path());
  ASSERT_NO_THROW(W->Button("ButtonLoadDeviceInfoFile").Click());
  EXPECT_EQ(Column(ISettingsGrid::kColConfig), (Strings{"A"}));
  EXPECT_EQ(W->Label("StatusBar").Text(), "resource file: <none>    1 device(s) found");
}

TEST_F(MainWindow, UseInfoDefaultsReReadsTheSelectedDeviceTheFirstIncluded) {
  const std::string file = TDeviceInfoText()
                               .Index("18F1")
                               .Index("18F2")
                               .Part("18F1")
                               .Register("40")
                               .Switch("XINST", "Extended instructions", "40")
                               .Setting("OFF", "off", "0")
                               .Setting("ON", "on", "40")
                               .Part("18F2")
                               .Switch("W", "w", "1")
                               .Setting("W0", "w0", "0")
                               .Text();
  Open();
  W->CheckBox("CheckBoxUseInfoDefaults").Click(); // before any load: only the reader's flag
  EXPECT_TRUE(W->Form().Reader()->UseInfoDefaults());
  EXPECT_EQ(W->Grid("SettingsGrid").RowCount(), 0);
  W->CheckBox("CheckBoxUseInfoDefaults").Click();
  EXPECT_FALSE(W->Form().Reader()->UseInfoDefaults());

  Load(file);
  ASSERT_EQ(W->DropDown("DeviceSelectComboBox").ItemIndex(), 0);
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF"}));
  W->Button("ButtonGenerate").Click();
  W->CheckBox("CheckBoxUseInfoDefaults").Click();
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"ON"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  W->CheckBox("CheckBoxUseInfoDefaults").Click();
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF"}));

  // After a load that found nothing the list is empty: nothing is re-read.
  TTempFolder empty;
  W->Form().Models().SetPath(empty.Path());
  W->Button("ButtonLoadDeviceInfoFile").Click();
  ASSERT_EQ(W->DropDown("DeviceSelectComboBox").Count(), 0);
  ASSERT_NO_THROW(W->CheckBox("CheckBoxUseInfoDefaults").Click());
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF"}));
}

// --- Change Folder and Copy -----------------------------------------------------------

TEST_F(MainWindow, ChangeFolderUpperCasesTheChoiceAndCancelChangesNothing) {
  Registry.PutString(kKey, "MicrochipPath", "c:\\old");
  Open();
  W->FolderDialog.Accept = false;
  W->Button("ButtonChangeFolder").Click();
  EXPECT_EQ(W->FolderDialog.Runs, 1);
  EXPECT_EQ(W->FolderDialog.Title, "Please select the folder that contains the Microchip MPASM/MPASMX files");
  EXPECT_EQ(W->FolderDialog.Selection, "C:\\OLD");
  EXPECT_EQ(W->FolderDialog.Caption, "Select Folder");
  EXPECT_EQ(W->Form().Models().Path, "C:\\OLD");
  EXPECT_EQ(W->Label("LabelIncludePath").Text(), "C:\\Program Files (x86)\\Microchip\\MPASM Suite");

  W->FolderDialog.Accept = true;
  W->FolderDialog.Path = "d:\\Vendor\\mpasm \xe9t\xe9";
  W->Button("ButtonChangeFolder").Click();
  EXPECT_EQ(W->Form().Models().Path, "D:\\VENDOR\\MPASM \xe9T\xe9");
  EXPECT_EQ(W->Label("LabelIncludePath").Text(), "D:\\VENDOR\\MPASM \xe9T\xe9");
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").Text(), "select device"); // nothing reloaded
  W->Close();
  EXPECT_EQ(Stored("MicrochipPath"), std::string("D:\\VENDOR\\MPASM \xe9T\xe9") + '\0');
}

TEST_F(MainWindow, WithoutAFolderDialogTheWindowOpensAndChangeFolderDoesNothing) {
  struct TCase {
    const char *Name;
    std::function<std::unique_ptr<IFolderDialog>()> Create;
  };
  const TCase cases[] = {
      {"creation gives nothing", [] { return std::unique_ptr<IFolderDialog>(); }},
      {"creation fails", []() -> std::unique_ptr<IFolderDialog> { throw Exception("no folder browser"); }},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    Registry.PutString(kKey, "MicrochipPath", "c:\\old");
    W = std::make_unique<THeadlessWindow>(THeadlessServices{&Pump, nullptr, &Faulty, &Files});
    W->CreateFolderDialog = c.Create;
    ASSERT_NO_THROW(W->Open());
    EXPECT_EQ(W->Form().Models().Path, "C:\\OLD"); // the settings were read all the same
    ASSERT_NO_THROW(W->Button("ButtonChangeFolder").Click());
    EXPECT_EQ(W->Form().Models().Path, "C:\\OLD");
    EXPECT_EQ(W->Label("LabelIncludePath").Text(), TMainForm::kInitialFolderText);
    EXPECT_EQ(W->FolderDialog.Runs, 0);
    W->Close();
    EXPECT_EQ(Stored("MicrochipPath"), std::string("C:\\OLD") + '\0');
  }
}

TEST_F(MainWindow, CopyPutsTheBoxsTextAsItStandsOnTheClipboard) {
  Open();
  W->Button("ButtonCopy").Click();
  EXPECT_EQ(W->OwnClipboard.Text(), "");
  Load(WorkedExample());
  W->Button("ButtonGenerate").Click();
  W->OutputBox("Memo").UserSetText("edited\r\nby the user");
  W->Button("ButtonCopy").Click();
  EXPECT_EQ(W->OwnClipboard.Text(), "edited\r\nby the user");
}

// --- Paste and marks ---------------------------------------------------------------------

namespace {

std::vector<TRowMark> Marks(THeadlessWindow &window) {
  std::vector<TRowMark> marks;
  marks.reserve(static_cast<size_t>(window.Grid("SettingsGrid").RowCount()));
  for (int r = 0; r < window.Grid("SettingsGrid").RowCount(); ++r)
    marks.push_back(window.Grid("SettingsGrid").RowMark(r));
  return marks;
}
} // namespace

TEST_F(MainWindow, PasteSelectsTheNamedDeviceAppliesTheEntriesAndReports) {
  Open();
  Load(TwoDevices());
  ASSERT_EQ(W->Form().Device(), "18F1234");
  const int changes = W->DropDown("DeviceSelectComboBox").ChangeCount();
  W->OwnClipboard.SetText("device = PIC18F5678\r\nconfig\r\n  wdt = off,\r\n  LVP = ON,\r\n  PLL = 4,\r\n"
                          "  WDT = FAST\r\n");
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(W->DropDown("DeviceSelectComboBox").ChangeCount(), changes + 1); // picked, as a user would
  EXPECT_EQ(W->Form().Device(), "18F5678");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "ON"}));
  EXPECT_EQ(Column(ISettingsGrid::kColDescription), (Strings{"Watchdog disabled", "LVP enabled"}));
  TStringList lines;
  W->OutputBox("Memo").GetLines(lines);
  ASSERT_EQ(lines.Count(), 4);
  EXPECT_EQ(lines[0], "Pasted configuration: 2 of 4 entries applied.");
  EXPECT_EQ(lines[1].substr(0, 31), "line 4: warning: LVP = ON: low-");
  EXPECT_EQ(lines[2], "line 5: error: unknown switch 'PLL' for 18F5678; its switches: WDT, LVP");
  EXPECT_EQ(lines[3], "line 6: error: unknown setting 'FAST' for switch 'WDT'; its settings: OFF, ON");
  // WDT differs from its chip default (ON); LVP is at its chip default, and risky.
  const std::vector<TRowMark> marks = Marks(*W);
  EXPECT_TRUE(marks[0].Changed);
  EXPECT_EQ(marks[0].Risk, "");
  EXPECT_FALSE(marks[1].Changed);
  EXPECT_EQ(marks[1].Risk.substr(0, 11), "LVP = ON: l");

  // Generate writes what was pasted.
  W->CheckBox("CheckBoxComments").SetChecked(false);
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F5678", "", "config", "    WDT = OFF,", "    LVP = ON"}));
}

TEST_F(MainWindow, PasteReportsWhatCheckReports) {
  const struct {
    const char *What;
    std::string Text;
    std::vector<std::string> Report;
    std::vector<std::string> Settings;
  } cases[] = {
      {"a byte-order mark before the device line",
       "\xEF\xBB\xBF"
       "device = 18F5678\r\nconfig WDT = OFF\r\n",
       {"Pasted configuration: 1 of 1 entries applied."},
       {"OFF", "OFF"}},
      {"a line inside an open block that is no entry, and what follows it",
       "device = 18F5678\nconfig\n  WDT = OFF extra,\n  LVP = ON\n",
       {"Pasted configuration: 1 of 1 entries applied.", "line 3: error: expected NAME = SETTING entries",
        "line 4: warning: LVP = ON: low-voltage"},
       {"ON", "ON"}},
      {"a switch named twice",
       "device = 18F5678\nconfig WDT = OFF\nconfig WDT = ON\n",
       {"Pasted configuration: 2 of 2 entries applied.", "line 3: error: switch 'WDT' named twice"},
       {"ON", "OFF"}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    Open();
    Load(TwoDevices());
    W->OwnClipboard.SetText(c.Text);
    W->Grid("SettingsGrid").OnPaste();
    TStringList lines;
    W->OutputBox("Memo").GetLines(lines);
    ASSERT_EQ(lines.Count(), static_cast<int>(c.Report.size())) << W->OutputBox("Memo").Text();
    for (int i = 0; i < lines.Count(); ++i)
      EXPECT_EQ(lines[i].substr(0, c.Report[static_cast<size_t>(i)].size()),
                c.Report[static_cast<size_t>(i)]);
    EXPECT_EQ(Column(ISettingsGrid::kColSetting), c.Settings);
  }
}

TEST_F(MainWindow, ALongPasteReportShowsTheFirstHundredDiagnosticsAndCountsTheRest) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  std::string text = "config\n";
  for (int i = 0; i < 5000; ++i)
    text += "  WDT = SLOW" + std::to_string(i) + ",\n";
  text += "  LVP = OFF\n";
  W->OwnClipboard.SetText(text);
  W->Grid("SettingsGrid").OnPaste();
  TStringList lines;
  W->OutputBox("Memo").GetLines(lines);
  ASSERT_EQ(lines.Count(), 1 + TMainForm::kMaxPasteDiagnostics + 1);
  EXPECT_EQ(lines[0], "Pasted configuration: 1 of 5001 entries applied.");
  EXPECT_EQ(lines[100].substr(0, 44), "line 101: error: unknown setting 'SLOW99' fo");
  EXPECT_EQ(lines[101], "... and 4900 more diagnostic(s) not shown.");
}

TEST_F(MainWindow, TheGridsContextMenuOffersItsItemsInOrderAndPastesAsCtrlVDoes) {
  Open();
  Load(TwoDevices());
  EXPECT_EQ(W->Grid("SettingsGrid").MenuTexts(),
            (Strings{"Paste Configuration", "Copy Configuration Words", "Save as HEX...", "Copy as C",
                     "Copy as Assembler"}));
  W->OwnClipboard.SetText("device = 18F5678\r\nconfig WDT = OFF\r\n");
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Paste Configuration"));
  EXPECT_EQ(W->Form().Device(), "18F5678");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "OFF"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), "Pasted configuration: 1 of 1 entries applied.\r\n");
  // A "Copy as" item for each syntax whose row says the window copies it, none for another.
  for (const TSyntax &syntax : kSyntaxes) {
    SCOPED_TRACE(syntax.Name);
    W->OwnClipboard.SetText("");
    EXPECT_EQ(W->Grid("SettingsGrid").PickMenuItem("Copy as " + std::string(syntax.Name)),
              syntax.WindowCopies);
    if (syntax.WindowCopies) {
      EXPECT_EQ(W->OwnClipboard.GetText().substr(0, syntax.DeviceBefore.size()), syntax.DeviceBefore);
    }
  }
}

TEST_F(MainWindow, CopyConfigurationWordsPutsTheWordsOnTheClipboardAndTipsNameTheBits) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  // CONFIG1L is 0xFF when not set; WDT (bit 0) ON, LVP (bit 2) forced OFF.
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Copy Configuration Words"));
  EXPECT_EQ(W->OwnClipboard.GetText(), "CONFIG1L  0x300000  0xFB\r\n");
  EXPECT_EQ(Marks(*W)[0].Place, "CONFIG1L, bit 0");
  EXPECT_EQ(Marks(*W)[1].Place, "CONFIG1L, bit 2");
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(0, 0));
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Copy Configuration Words"));
  EXPECT_EQ(W->OwnClipboard.GetText(), "CONFIG1L  0x300000  0xFA\r\n");
}

TEST_F(MainWindow, CopyAsCAndAssemblerPutTheSettingsShownOnTheClipboardWithTheCommentsOption) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(1, 1)); // LVP ON
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Copy as C"));
  EXPECT_EQ(W->OwnClipboard.GetText(), "/* device = 18F5678 */\r\n\r\n// CONFIG1L at 0x300000\r\n"
                                       "#pragma config WDT = ON             // Watchdog enabled\r\n"
                                       "#pragma config LVP = ON             // LVP enabled\r\n");
  W->CheckBox("CheckBoxComments").SetChecked(false);
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Copy as Assembler"));
  EXPECT_EQ(W->OwnClipboard.GetText(), "    PROCESSOR 18F5678\r\n\r\n; CONFIG1L at 0x300000\r\n"
                                       "    CONFIG WDT = ON\r\n    CONFIG LVP = ON\r\n");
  // The output box and the check boxes are as they were.
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  EXPECT_FALSE(W->CheckBox("CheckBoxOrvaneSyntax").Checked());
}

TEST_F(MainWindow, SaveAsHexWritesTheConfigurationOnlyHexOfTheSettingsShownToTheChosenName) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(0, 0)); // WDT OFF
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(1, 1)); // LVP ON
  const std::string path = "C:\\Projects\\fuses.hex";
  W->SaveFileDialog.Answer = path;
  ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Save as HEX..."));
  EXPECT_EQ(W->SaveFileDialog.Runs, 1);
  EXPECT_EQ(W->SaveFileDialog.Title, "Save as HEX");
  EXPECT_EQ(W->SaveFileDialog.DefaultName, "18F5678.hex");
  EXPECT_EQ(W->SaveFileDialog.Filter, "Intel HEX files (*.hex)|*.hex|All files (*.*)|*.*");
  EXPECT_EQ(Files.Written, Strings{path});
  // CONFIG1L = 0xFE at 0x300000, under its 04 record, then the end record.
  const TFileText file = Files.ReadFileText(path, 1 << 20);
  EXPECT_EQ(file.Text, ":020000040030CA\r\n:01000000FE01\r\n:00000001FF\r\n");
  EXPECT_EQ(W->OutputBox("Memo").Text(), "");
  // The file read back (dropped on the window) gives the settings that were saved.
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(0, 1));
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(1, 0));
  W->Form().FormDropFiles({path});
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "ON"}));
}

TEST_F(MainWindow, SaveAsHexWritesNothingWhenCancelledAndReportsAFailedWrite) {
  struct {
    const char *Name;
    std::string Answer;
    std::string Unwritable; // its reason, when the answer cannot be written
    std::string Memo;
  } const cases[] = {
      {"cancelled", "", "", ""},
      {"write fails", "D:\\full.hex", "There is not enough space on the disk",
       "Save as HEX: cannot write D:\\full.hex: There is not enough space on the disk.\r\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    Files = TMemoryFileSystem();
    Open();
    Load(TwoDevices());
    Pick("18F5678");
    if (!c.Unwritable.empty())
      Files.AddUnwritablePath(c.Answer, c.Unwritable);
    W->SaveFileDialog.Answer = c.Answer;
    ASSERT_TRUE(W->Grid("SettingsGrid").PickMenuItem("Save as HEX..."));
    EXPECT_EQ(W->SaveFileDialog.Runs, 1);
    EXPECT_TRUE(Files.Written.empty());
    EXPECT_EQ(Files.ReadFileText(c.Answer, 1 << 20).Status, TFileText::TStatus::Missing);
    EXPECT_EQ(W->OutputBox("Memo").Text(), c.Memo);
  }
}

TEST_F(MainWindow, PastingCOrAssemblerReadsItThroughTheCoreAsAnyOtherText) {
  Open();
  Load(TwoDevices());
  Pick("18F1234");
  // The device from PROCESSOR is chosen first; a register's word sets both switches.
  W->OwnClipboard.SetText("    PROCESSOR 18F5678\r\n    CONFIG CONFIG1L = 0xFB ; WDT on, LVP off\r\n");
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(W->Form().Device(), "18F5678");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"ON", "OFF"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), "Pasted configuration: 2 of 2 entries applied.\r\n");
  // A legacy line alone is reported, not taken for no configuration.
  W->OwnClipboard.SetText("#pragma config WDT = 0\n__CONFIG(WDTE_ON);\n");
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "OFF"}));
  EXPECT_EQ(
      W->OutputBox("Memo").Text(),
      "Pasted configuration: 1 of 1 entries applied.\r\nline 2: warning: a legacy __CONFIG line is not read; "
      "write its settings as #pragma config NAME = SETTING: '__CONFIG(WDTE_ON);'\r\n");
}

TEST_F(MainWindow, PastingAHexFileAppliesItsWordsToTheDeviceShown) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  W->OwnClipboard.SetText(THexText().Upper(0x0030).Data(0, {0xFE}).End().Text());
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(W->Form().Device(), "18F5678");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "ON"}));
  TStringList lines;
  W->OutputBox("Memo").GetLines(lines);
  ASSERT_EQ(lines.Count(), 2) << W->OutputBox("Memo").Text();
  EXPECT_EQ(lines[0], "Pasted configuration: 2 of 2 entries applied.");
  EXPECT_EQ(lines[1].substr(0, 28), "line 2: warning: LVP = ON: l");
}

TEST_F(MainWindow, PastingUtf16TextOnlySaysSo) {
  std::string little; // as Notepad's "Unicode" saves it
  for (const char c : std::string("device = 18F5678\r\nconfig WDT = OFF\r\n"))
    little += std::string{c, '\0'};
  for (const std::string &text : {"\xFF\xFE" + little, little}) {
    Open();
    Load(TwoDevices());
    W->OwnClipboard.SetText(text);
    W->Grid("SettingsGrid").OnPaste();
    EXPECT_EQ(W->Form().Device(), "18F1234");
    EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"INTRC"}));
    EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"Paste: the text is UTF-16; save it as ANSI or UTF-8."}));
  }
}

TEST_F(MainWindow, PastingTextWithoutAConfigurationOnlyReportsIt) {
  Open();
  Load(TwoDevices());
  W->Button("ButtonGenerate").Click();
  W->OwnClipboard.SetText("device = 18F5678\r\nx = 1\r\n");
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(W->Form().Device(), "18F1234");
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"INTRC"}));
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({TMainForm::kNothingToPaste}));
}

// A dropped file's text goes the way of a pasted one: the same device, rows, marks
// and report as a paste of that text in a window in the same state.
TEST_F(MainWindow, ADroppedFileIsAppliedAsAPasteOfItsTextWouldBe) {
  const struct {
    const char *What;
    const char *Shown; // the device shown before
    std::string Text;
    std::string Report; // the report's first line
  } cases[] = {
      {"a program's source naming another device", "18F1234",
       "' my program\r\ndevice = 18F5678\r\nconfig\r\n  WDT = OFF,\r\n  LVP = ON,\r\n  PLL = 4\r\n",
       "Pasted configuration: 2 of 3 entries applied."},
      {"an Intel HEX file", "18F5678", THexText().Upper(0x0030).Data(0, {0xFE}).End().Text(),
       "Pasted configuration: 2 of 2 entries applied."},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.What);
    struct TOutcome {
      std::string Device;
      Strings Settings;
      std::vector<TRowMark> Marks;
      std::string Report;
    };
    auto run = [&](const std::function<void()> &apply) {
      Open();
      Load(TwoDevices());
      Pick(c.Shown);
      apply();
      return TOutcome{W->Form().Device(), Column(ISettingsGrid::kColSetting), Marks(*W),
                      W->OutputBox("Memo").Text()};
    };
    const TOutcome dropped = run([&] {
      Files.AddFile("C:\\Projects\\blink.src", c.Text);
      W->Form().FormDropFiles({"C:\\Projects\\blink.src"});
    });
    const TOutcome pasted = run([&] {
      W->OwnClipboard.SetText(c.Text);
      W->Grid("SettingsGrid").OnPaste();
    });
    EXPECT_EQ(dropped.Device, "18F5678");
    EXPECT_EQ(dropped.Settings, (Strings{"OFF", "ON"}));
    EXPECT_EQ(dropped.Report.substr(0, c.Report.size() + 2), c.Report + "\r\n");
    EXPECT_EQ(dropped.Device, pasted.Device);
    EXPECT_EQ(dropped.Settings, pasted.Settings);
    EXPECT_EQ(dropped.Marks, pasted.Marks);
    EXPECT_EQ(dropped.Report, pasted.Report);
  }
}

// A dropped file's name is evidence of its syntax, as configgen's FILE is; a paste
// has none.
TEST_F(MainWindow, ADroppedFilesExtensionTellsItsSyntaxWhereItsTextDoesNot) {
  const std::string text = "    CONFIG \"WDT\" = \"OFF\"\r\n";
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  Files.AddFile("C:\\Projects\\fuses.asm", text);
  W->Form().FormDropFiles({"C:\\Projects\\fuses.asm"});
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"Pasted configuration: 1 of 1 entries applied."}));
  EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"OFF", "OFF"}));

  W->OwnClipboard.SetText(text);
  W->Grid("SettingsGrid").OnPaste();
  TStringList lines;
  W->OutputBox("Memo").GetLines(lines);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines[0], "Pasted configuration: 0 of 1 entries applied.");
  EXPECT_EQ(lines[1].substr(0, 37), "line 1: error: unknown switch '\"WDT\"'");
}

// A drop the window cannot apply says why in one line, naming the file, and changes
// nothing else.
TEST_F(MainWindow, ADropThatCannotBeAppliedIsOnlyReported) {
  std::string wide;
  for (const char c : std::string("device = 18F5678\r\nconfig WDT = OFF\r\n"))
    wide += std::string{c, '\0'};
  Files.AddFolder("C:\\Projects");
  Files.AddFileOfSize("C:\\Projects\\huge.hex", kMaxTextSize + 1);
  Files.AddFileOfSize("C:\\Projects\\edge.txt", kMaxTextSize); // at the limit: read
  Files.AddUnreadableFile("C:\\Projects\\locked.asm", "Access is denied");
  Files.AddFile("C:\\Projects\\wide.asm", "\xFF\xFE" + wide);
  Files.AddFile("C:\\Projects\\notes.txt", "device = 18F5678\r\nx = 1\r\n");
  const std::string generated = Crlf({"device = 18F1234", "", "config", "    CLKSEL = INTRC"});
  const struct {
    Strings Paths;
    std::string Report; // "" leaves the output box as it was
  } cases[] = {
      {{"C:\\Projects\\gone.asm"}, "Drop: cannot read C:\\Projects\\gone.asm: no such file."},
      {{"C:\\Projects"}, "Drop: cannot read C:\\Projects: it is a folder, not a file."},
      {{"C:\\Projects\\huge.hex"},
       "Drop: cannot read C:\\Projects\\huge.hex: it is larger than 256 MiB, which no program's source is."},
      {{"C:\\Projects\\edge.txt"}, "Drop: C:\\Projects\\edge.txt: the file holds no configuration."},
      {{"C:\\Projects\\locked.asm"}, "Drop: cannot read C:\\Projects\\locked.asm: Access is denied."},
      {{"C:\\Projects\\wide.asm"},
       "Drop: C:\\Projects\\wide.asm: the text is UTF-16; save it as ANSI or UTF-8."},
      {{"C:\\Projects\\notes.txt"}, "Drop: C:\\Projects\\notes.txt: the file holds no configuration."},
      {{"C:\\Projects\\notes.txt", "C:\\Projects\\wide.asm"},
       "Drop: 2 files were dropped; drop one file at a time."},
      {{}, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Report);
    Open();
    Load(TwoDevices());
    W->CheckBox("CheckBoxComments").SetChecked(false);
    W->Button("ButtonGenerate").Click();
    ASSERT_EQ(W->OutputBox("Memo").Text(), generated);
    W->Form().FormDropFiles(c.Paths);
    EXPECT_EQ(W->OutputBox("Memo").Text(), c.Report.empty() ? generated : Crlf({c.Report}));
    EXPECT_EQ(W->Form().Device(), "18F1234");
    EXPECT_EQ(Column(ISettingsGrid::kColSetting), (Strings{"INTRC"}));
    EXPECT_FALSE(Marks(*W)[0].Changed);
  }
}

TEST_F(MainWindow, MarksFollowTheChosenSettings) {
  Open();
  Load(TwoDevices());
  Pick("18F5678");
  // Forced off, LVP differs from its chip default (ON); at ON it is risky instead.
  EXPECT_FALSE(Marks(*W)[0].Changed);
  EXPECT_TRUE(Marks(*W)[1].Changed);
  EXPECT_EQ(Marks(*W)[1].Risk, "");
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(1, 1));
  EXPECT_FALSE(Marks(*W)[1].Changed);
  EXPECT_NE(Marks(*W)[1].Risk, "");
  W->Button("ButtonSetDefaults").Click();
  EXPECT_TRUE(Marks(*W)[1].Changed);
  EXPECT_EQ(Marks(*W)[1].Risk, "");
}

namespace {
constexpr const char *kOneTime =
    "one-time programmable: once programmed, this setting can never be undone, not even by a bulk erase";
} // namespace

TEST_F(MainWindow, AOneTimeProgrammableSwitchIsMarkedWarnedOfAndTippedAsSuch) {
  std::filesystem::create_directories(std::filesystem::path(Folder.Path()) / "Q_DFP" / "1.0.0" / "edc");
  Folder.WriteFile("Q_DFP/1.0.0/edc/PIC18F04Q20.PIC", kNewestPart);
  Folder.WriteFile("Q_DFP/1.0.0/edc/PIC18F1.PIC",
                   "<edc:PIC xmlns:edc=\"http://crownking/edc\"><edc:ProgramSpace/></edc:PIC>\n");
  Open();
  W->Form().Models().SetPath(Folder.Path());
  W->Button("ButtonLoadDeviceInfoFile").Click();
  ASSERT_EQ(W->Form().Device(), "18F04Q20");
  // BBSIZE is never at the chip's default (0xFF is none of its settings): always bold.
  EXPECT_EQ(Marks(*W), (std::vector<TRowMark>{{true, "",
                                               "CONFIG8, bits 0\x96"
                                               "7"},
                                              {false, "", "CONFIG14, bit 0, one-time programmable"}}));
  ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(1, 1));
  EXPECT_EQ(Marks(*W)[1], (TRowMark{true, "SAFLOCK = ON: " + std::string(kOneTime),
                                    "CONFIG14, bit 0, one-time programmable"}));

  W->Button("ButtonSetDefaults").Click();
  W->OwnClipboard.SetText("device = 18F04Q20\r\nconfig SAFLOCK = ON\r\n");
  W->Grid("SettingsGrid").OnPaste();
  EXPECT_EQ(W->OutputBox("Memo").Text(), Crlf({"Pasted configuration: 1 of 1 entries applied.",
                                               "line 2: warning: SAFLOCK = ON: " + std::string(kOneTime)}));
  EXPECT_EQ(Marks(*W)[1].Risk, "SAFLOCK = ON: " + std::string(kOneTime));

  // A part without switches: its text is that of a configuration at the chip's defaults.
  Pick("18F1");
  EXPECT_EQ(W->Grid("SettingsGrid").RowCount(), 0);
  W->Button("ButtonGenerate").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F1", "", "// config: every switch at the chip's default"}));
  W->CheckBox("CheckBoxOrvaneSyntax").Click();
  EXPECT_EQ(W->OutputBox("Memo").Text(),
            Crlf({"device = 18F1", "", "' config: every switch at the chip's default"}));
}

// LVP = ON is marked red, with the reason as its tip, only where the part's own data
// says it costs a pin: the 18F4520's pack lists a PGM pin, the Q-shaped 18F26Q10's
// none.
TEST_F(MainWindow, LvpOnIsMarkedRiskyOnlyOnAPartWhosePackListsAPgmPin) {
  Open();
  W->Form().Models().SetPath(SourcePath("samples/packs"));
  W->Button("ButtonLoadDeviceInfoFile").Click();
  const struct {
    const char *Device;
    std::string Risk;
  } cases[] = {
      {"18F4520", "LVP = ON: low-voltage programming: the PGM pin is given over to programming, and a stray "
                  "high level on it stops the program"},
      {"18F26Q10", ""},
  };
  for (const auto &c : cases) {
    Pick(c.Device);
    const Strings names = Column(ISettingsGrid::kColConfig);
    const auto lvp = std::find(names.begin(), names.end(), "LVP");
    ASSERT_NE(lvp, names.end()) << c.Device;
    const int row = static_cast<int>(lvp - names.begin());
    const int on = FindSetting(W->Form().Rows()[static_cast<size_t>(row)], "ON");
    ASSERT_TRUE(W->Grid("SettingsGrid").PickSetting(row, on)) << c.Device;
    EXPECT_EQ(Marks(*W)[static_cast<size_t>(row)].Risk, c.Risk) << c.Device;
  }
}

// --- Persisted settings -----------------------------------------------------------------

TEST_F(MainWindow, LoadSettingsHandlesEveryStoredState) {
  const std::string initial = TMainForm::kInitialFolderText;
  const std::string longPath = "c:\\" + std::string(5000, 'x');
  const struct {
    const char *Name;
    std::function<void(TMemoryRegistry &, TMemoryFileSystem &, TFaultyRegistry &)> Setup;
    std::string Path, Label, Device;
  } cases[] = {
      {"no key", [](auto &, auto &, auto &) {}, "", initial, ""},
      {"values missing", [](auto &r, auto &, auto &) { r.CreateKeyPath(kKey); }, "", initial, ""},
      {"values empty",
       [](auto &r, auto &, auto &) {
         r.PutString(kKey, "MicrochipPath", "");
         r.PutValue(kKey, "Device", IRegistry::kRegSz, "");
       },
       "", initial, ""},
      {"existing folder in lower case",
       [](auto &r, auto &f, auto &) {
         f.AddFolder("C:\\MPASM");
         r.PutString(kKey, "MicrochipPath", "c:\\mpasm");
         r.PutString(kKey, "Device", "18lf25k22");
       },
       "C:\\MPASM", "C:\\MPASM", "18LF25K22"},
      {"drive root",
       [](auto &r, auto &f, auto &) {
         f.AddFolder("D:\\");
         r.PutString(kKey, "MicrochipPath", "d:\\");
       },
       "D:\\", "D:\\", ""},
      {"folder gone", [](auto &r, auto &, auto &) { r.PutString(kKey, "MicrochipPath", "c:\\gone"); },
       "C:\\GONE", initial, ""},
      {"path stored as a number",
       [](auto &r, auto &, auto &) {
         r.PutValue(kKey, "MicrochipPath", IRegistry::kRegDword, std::string("\x01\0\0\0", 4));
         r.PutString(kKey, "Device", "18f1");
       },
       "", "[not specified]", "18F1"},
      {"path stored as binary",
       [](auto &r, auto &, auto &) { r.PutValue(kKey, "MicrochipPath", IRegistry::kRegBinary, "c:\\x"); }, "",
       "[not specified]", ""},
      {"device stored as a number",
       [](auto &r, auto &, auto &) {
         r.PutValue(kKey, "Device", IRegistry::kRegDword, std::string(4, '\0'));
       },
       "", initial, ""},
      {"only ASCII letters upper-cased",
       [](auto &r, auto &, auto &) { r.PutString(kKey, "MicrochipPath", "c:\\daten\\m\xe9tier \xe4"); },
       "C:\\DATEN\\M\xe9TIER \xe4", initial, ""},
      {"expandable string taken as stored",
       [](auto &r, auto &, auto &) {
         r.PutValue(kKey, "MicrochipPath", IRegistry::kRegExpandSz,
                    std::string("%programfiles%\\mpasm\0", 21));
       },
       "%PROGRAMFILES%\\MPASM", initial, ""},
      {"no terminating zero",
       [](auto &r, auto &, auto &) {
         r.PutValue(kKey, "MicrochipPath", IRegistry::kRegSz, "c:\\mpasm");
         r.PutValue(kKey, "Device", IRegistry::kRegSz, "18f1");
       },
       "C:\\MPASM", initial, "18F1"},
      {"longer than any fixed buffer",
       [&longPath](auto &r, auto &, auto &) {
         r.PutValue(kKey, "MicrochipPath", IRegistry::kRegSz, longPath);
         r.PutString(kKey, "Device", std::string(300, 'f'));
       },
       UpperCaseAscii(longPath), initial, std::string(300, 'F')},
      {"cut at the first zero",
       [](auto &r, auto &, auto &) {
         r.PutValue(kKey, "MicrochipPath", IRegistry::kRegSz, std::string("c:\\a\0junk\0", 10));
       },
       "C:\\A", initial, ""},
      {"a data read that fails once is retried",
       [](auto &r, auto &, auto &faulty) {
         r.PutString(kKey, "MicrochipPath", "c:\\p");
         faulty.FailDataReads = 1;
       },
       "C:\\P", initial, ""},
      {"data that cannot be read",
       [](auto &r, auto &, auto &faulty) {
         r.PutString(kKey, "MicrochipPath", "c:\\p");
         r.PutString(kKey, "Device", "18f1");
         faulty.FailDataReads = 100;
       },
       "", "[not specified]", ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    Registry.DeleteKey("\\Software");
    Files = TMemoryFileSystem();
    Faulty.FailDataReads = 0;
    c.Setup(Registry, Files, Faulty);
    Open();
    EXPECT_EQ(W->Form().Models().Path, c.Path);
    EXPECT_EQ(W->Label("LabelIncludePath").Text(), c.Label);
    EXPECT_EQ(W->Form().Device(), c.Device);
    EXPECT_EQ(Registry.OpenHandles(), 0);
    W.reset();
  }
}

TEST_F(MainWindow, AStoredFolderThatIsGoneIsStillWhereLoadFileLooks) {
  Folder.WriteDeviceInfo(FiveDevices());
  Registry.PutString(kKey, "MicrochipPath", Folder.Path());
  Open();
  // The stored path is upper-cased: on a case-sensitive file system it names
  // another folder, on Windows the same one.
  EXPECT_EQ(W->Form().Models().Path, UpperCaseAscii(Folder.Path()));
  EXPECT_EQ(W->Label("LabelIncludePath").Text(), TMainForm::kInitialFolderText);
  W->Close();
  EXPECT_EQ(Stored("MicrochipPath"), UpperCaseAscii(Folder.Path()) + '\0');
}

TEST_F(MainWindow, SaveSettingsOnClosing) {
  const struct {
    const char *Name;
    std::function<void(TFaultyRegistry &)> Setup;
    std::string Path, Device; // as stored afterwards
  } cases[] = {
      {"first run creates the key with empty values", [](auto &) {}, std::string(1, '\0'),
       std::string(1, '\0')},
      {"key can be neither opened nor created", [](auto &f) { f.FailCreate = true; }, "<missing>",
       "<missing>"},
      {"writing the folder fails: the device is not written",
       [](auto &f) { f.FailSet.insert("MicrochipPath"); }, "<missing>", "<missing>"},
      {"writing the device fails", [](auto &f) { f.FailSet.insert("Device"); }, std::string(1, '\0'),
       "<missing>"},
      {"a write that raises is swallowed", [](auto &f) { f.ThrowOnSet.insert("MicrochipPath"); }, "<missing>",
       "<missing>"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    Registry.DeleteKey("\\Software");
    Faulty.FailCreate = false;
    Faulty.FailSet.clear();
    Faulty.ThrowOnSet.clear();
    Open();
    c.Setup(Faulty);
    ASSERT_NO_THROW(W->Close());
    EXPECT_EQ(Stored("MicrochipPath"), c.Path);
    EXPECT_EQ(Stored("Device"), c.Device);
    EXPECT_EQ(Registry.OpenHandles(), 0);
    EXPECT_EQ(Registry.KeyExists(kKey), c.Path != "<missing>" || !Faulty.FailCreate);
    W.reset();
  }
}

TEST_F(MainWindow, SaveWritesTheLastFolderAndDeviceUnchanged) {
  Registry.PutString(kKey, "Device", "18f2550");
  Open();
  Load(FiveDevices());
  Pick("18F1220");
  W->Form().Models().SetPath("e:\\as-set");
  W->Close();
  EXPECT_EQ(Stored("MicrochipPath"), std::string("e:\\as-set\0", 10));
  EXPECT_EQ(Stored("Device"), std::string("18F1220\0", 8));
  EXPECT_EQ(Registry.ValueNames(kKey), (Strings{"Device", "MicrochipPath"}));
}
