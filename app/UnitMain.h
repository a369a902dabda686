// TMainForm: the main window's logic. Every handler of the window, the settings
// table behind the grid, the configuration text generator and the persisted
// settings. It reaches controls and platform only through the seams, so it runs
// the same behind the Win32 window, the command line and the tests' stand-ins.
#pragma once

#include "common/cStringList.h"
#include "seams/cControls.h"
#include "seams/cPlatform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TModels;
class TDeviceInfo;

// The window's controls, as the handlers reach them.
struct TMainFormControls {
  ILabel &LabelIncludePath;
  IButton &ButtonChangeFolder;
  IButton &ButtonLoadDeviceInfoFile;
  IDropDownList &DeviceSelectComboBox;
  ICheckBox &chkIncludeLF;
  ICheckBox &CheckBoxUseInfoDefaults;
  IButton &ButtonSetDefaults;
  ISettingsGrid &SettingsGrid;
  IButton &ButtonGenerate;
  IButton &ButtonCopy;
  ICheckBox &CheckBoxComments;
  ICheckBox &CheckBoxOrvaneSyntax;
  IOutputBox &Memo;
  ILabel &StatusBar;
};

// The platform services the handlers use.
struct TMainFormServices {
  IMessagePump &Pump;
  IClipboard &Clipboard;
  IRegistry &Registry;
  IFileSystem &FileSystem;
  // Creates the folder dialog, owned by the window from FormCreate to FormDestroy.
  std::function<std::unique_ptr<IFolderDialog>()> CreateFolderDialog;
};

class TMainForm {
public:
  TMainForm(const TMainFormControls &controls, const TMainFormServices &services);
  virtual ~TMainForm();
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

  // Text helpers of the generator.
  static std::string PadRight(const std::string &s, int width);
  void FormatDeviceList();

  // Persisted settings (per-user registry).
  void LoadSettings();
  void SaveSettings();

  // State, for the command line and the tests.
  const std::string &Device() const { return FDevice; }
  TModels &Models() { return *FModels; }
  const TStringList &Defaults() const { return FDefaults; }
  const TStringList &SettingNames(int row) const;
  const TStringList &SettingDescriptions(int row) const;

private:
  TMainFormControls FControls;
  TMainFormServices FServices;

  std::unique_ptr<TModels> FModels;
  std::string FDevice;
  std::unique_ptr<TDeviceInfo> FDeviceInfo; // the global DeviceInfo refers to it
  std::vector<std::unique_ptr<TStringList>> FSettingNames;
  std::vector<std::unique_ptr<TStringList>> FSettingDescriptions;
  TStringList FDefaults;
  std::unique_ptr<IFolderDialog> FFolderDlg;
};
