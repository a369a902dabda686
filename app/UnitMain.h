// TMainForm: the main window's logic. Every handler of the window and its order of
// steps, the settings table behind the grid and the persisted settings; the work
// itself (a device's table, the text, reading a configuration back) is the core's.
// It reaches controls and platform only through the seams, so it runs the same
// behind the Win32 window and the tests' stand-ins.
#pragma once

#include "common/cStringList.h"
#include "core/cConfigRead.h"
#include "core/cConfigWords.h"
#include "core/cDeviceTable.h"
#include "seams/cControls.h"
#include "seams/cPlatform.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TModels;
class TDeviceInfo;
struct TSyntax;

// Every control of the window, found by its name in the layout
// (app/cMainFormLayout.h). A name the layout does not have, or a control of
// another kind, raises std::logic_error: every window that is made checks its names.
class IControlLookup {
public:
  virtual ~IControlLookup() = default;
  virtual ILabel &FindLabel(std::string_view name) = 0;
  virtual IButton &FindButton(std::string_view name) = 0;
  virtual IDropDownList &FindDropDown(std::string_view name) = 0;
  virtual ICheckBox &FindCheckBox(std::string_view name) = 0;
  virtual ISettingsGrid &FindGrid(std::string_view name) = 0;
  virtual IOutputBox &FindOutputBox(std::string_view name) = 0;
};

// The controls the handlers reach, under their names in the layout; a handler may
// find any other control through Find.
struct TMainFormControls {
  explicit TMainFormControls(IControlLookup &find) : Find(find) {}

  IControlLookup &Find;
  ILabel &LabelIncludePath = Find.FindLabel("LabelIncludePath");
  IButton &ButtonChangeFolder = Find.FindButton("ButtonChangeFolder");
  IButton &ButtonLoadDeviceInfoFile = Find.FindButton("ButtonLoadDeviceInfoFile");
  IDropDownList &DeviceSelectComboBox = Find.FindDropDown("DeviceSelectComboBox");
  ICheckBox &chkIncludeLF = Find.FindCheckBox("chkIncludeLF");
  ICheckBox &CheckBoxUseInfoDefaults = Find.FindCheckBox("CheckBoxUseInfoDefaults");
  IButton &ButtonSetDefaults = Find.FindButton("ButtonSetDefaults");
  ISettingsGrid &SettingsGrid = Find.FindGrid("SettingsGrid");
  IButton &ButtonGenerate = Find.FindButton("ButtonGenerate");
  IButton &ButtonCopy = Find.FindButton("ButtonCopy");
  ICheckBox &CheckBoxComments = Find.FindCheckBox("CheckBoxComments");
  ICheckBox &CheckBoxOrvaneSyntax = Find.FindCheckBox("CheckBoxOrvaneSyntax");
  IOutputBox &Memo = Find.FindOutputBox("Memo");
  ILabel &StatusBar = Find.FindLabel("StatusBar");
};

// The platform services the handlers use.
struct TMainFormServices {
  IMessagePump &Pump;
  IClipboard &Clipboard;
  IRegistry &Registry;
  IFileSystem &FileSystem;
  ISaveFileDialog &SaveFileDialog;
  // Creates the folder dialog, owned by the window from FormCreate to FormDestroy.
  std::function<std::unique_ptr<IFolderDialog>()> CreateFolderDialog;
};

class TMainForm final : private IDeviceTables {
public:
  // The per-user key and its two values.
  static constexpr const char *kSettingsKey = "\\Software\\Holmcraft\\Fusebench\\Converter";
  static constexpr const char *kValueMicrochipPath = "MicrochipPath";
  static constexpr const char *kValueDevice = "Device";
  // Texts the window shows.
  static constexpr const char *kInitialFolderText = "C:\\Program Files (x86)\\Microchip\\MPASM Suite";
  static constexpr const char *kFolderNotSpecified = "[not specified]";
  static constexpr const char *kStatusReady = "Ready";
  static constexpr const char *kStatusWorking = " Working, please wait...";
  static constexpr const char *kNothingToPaste = "Paste: the clipboard holds no configuration.";
  // The grid's context menu: these items, then a "Copy as" item for each syntax that
  // the window copies.
  static constexpr const char *kPasteMenuText = "Paste Configuration";
  static constexpr const char *kCopyWordsMenuText = "Copy Configuration Words";
  static constexpr const char *kSaveHexMenuText = "Save as HEX...";
  static constexpr const char *kCopyAsMenuText = "Copy as ";
  // The save-file dialog of the grid's "Save as HEX...".
  static constexpr const char *kSaveHexTitle = "Save as HEX";
  static constexpr const char *kHexFilter = "Intel HEX files (*.hex)|*.hex|All files (*.*)|*.*";
  // Diagnostics a paste report shows; the rest are counted.
  static constexpr int kMaxPasteDiagnostics = 100;
  // Rows the table holds room for from the start; larger devices get more.
  static constexpr int kInitialRowStorage = 64;

  // Wires the drop-down's change event and each of the grid's events (editing,
  // selection, paste) to its handler, and fills the grid's context menu.
  TMainForm(const TMainFormControls &controls, const TMainFormServices &services);
  ~TMainForm();
  TMainForm(const TMainForm &) = delete;
  TMainForm &operator=(const TMainForm &) = delete;

  // Window life cycle.
  void FormCreate();
  void FormShow();
  void FormDestroy();

  // Handlers, named after the control and its event.
  void ButtonLoadDeviceInfoFileClick();
  void ButtonChangeFolderClick();
  void ButtonCopyClick();
  void ButtonGenerateClick();
  void CheckBoxCommentsClick();
  void CheckBoxOrvaneSyntaxClick();
  void CheckBoxUseInfoDefaultsClick();
  void ButtonSetDefaultsClick();
  void DeviceSelectComboBoxChange();
  void SettingsGridApplyEditText(int col, int row, WideString &value);
  void SettingsGridOnSelectCBColumn();
  // Ctrl+V in the grid, or its "Paste Configuration": applies the configuration on
  // the clipboard (source text, or an Intel HEX file's words) to the table and
  // reports in the output box what it did.
  void SettingsGridPaste();
  // Files dropped on the window: one file's text is applied as a paste of it would
  // be; a file that cannot be read, or more than one file, is only reported.
  void FormDropFiles(const std::vector<std::string> &paths);
  // The grid's "Copy Configuration Words": the chip's configuration words for the
  // table, one register a line, on the clipboard.
  void SettingsGridCopyWords();
  // The grid's "Copy as C" and "Copy as Assembler" (a "Copy as" item for each
  // syntax whose row says WindowCopies): the text of the settings shown in Syntax,
  // with comments as the Comments box says, on the clipboard.
  void SettingsGridCopyText(const TSyntax &syntax);
  // The grid's "Save as HEX...": the configuration-only HEX file of the settings
  // shown, written to the name the save-file dialog gives; a failed write is
  // reported in the output box, as a file that cannot be read is.
  void SettingsGridSaveHex();

  // Rewraps the device names in the output box.
  void FormatDeviceList();

  // Persisted settings (per-user registry).
  void LoadSettings();
  void SaveSettings();

  // State, for the tests and the window's benchmark.
  const std::string &Device() const { return FDevice; }
  TModels &Models() { return *FModels; }
  // The settings table: one row per switch with its settings, defaults and choice;
  // the grid shows it.
  const std::vector<TSwitchRow> &Rows() const { return FRows; }
  // The reader, which the global DeviceInfo refers to from FormCreate to FormDestroy.
  TDeviceInfo *Reader() const { return FDeviceInfo.get(); }

private:
  // Applies Text (a configuration text or an Intel HEX file) to the table and
  // reports in the output box. A text it cannot take is only reported: a UTF-16
  // text after Prefix, a text without a configuration as Nothing. FileName (a
  // dropped file's) is evidence of the text's syntax; a paste has none.
  void ApplyConfigText(const std::string &text, const std::string &prefix, const std::string &nothing,
                       const std::string &fileName = {});
  // The device list and the table shown, as reading a configuration back needs them:
  // opening a device selects it in the drop-down, whose change event fills the table.
  const TStringList &Listed() override;
  std::string ListedIn() override;
  TReadTable Open(int index) override;
  TReadTable Shown() override;
  // Appends a grid row for each table row, showing its first setting.
  void ShowRows();
  // The device's registers as the words name them; a fault of the device data that
  // the words would meet raises EDataError.
  std::vector<TWordRegister> CheckedWordRegisters() const;
  // Marks row Row: bold when its setting is not the chip's default, in the warning
  // colour when it is risky.
  void MarkRow(int row);
  // Reads a string value of the open key: missing or empty gives "", a
  // non-string type or a failed read gives false.
  bool ReadString(IRegistry::THandle key, const std::string &name, std::string &value);

  TMainFormControls FControls;
  TMainFormServices FServices;

  std::unique_ptr<TModels> FModels;
  std::string FDevice;
  std::unique_ptr<TDeviceInfo> FDeviceInfo; // the global DeviceInfo refers to it
  std::vector<TSwitchRow> FRows;
  // FRows is the chosen device's whole table (not before a device is read, nor when
  // reading it failed or found no part section).
  bool FWholeTable = false;
  // The device's configuration registers, as its data gives them and as the words
  // name them (empty where the data has a fault that the words would meet).
  std::vector<TConfigRegister> FRegisters;
  std::vector<TWordRegister> FWordRegisters;
  std::unique_ptr<IFolderDialog> FFolderDlg;
};
