// THeadlessWindow: the main window without a screen. It owns headless controls
// and platform services, runs a TMainForm over them and routes clicks to its
// handlers as the Win32 window does.
#pragma once

#include "app/UnitMain.h"
#include "headless/cHeadlessControls.h"
#include "headless/cHeadlessPlatform.h"

#include <functional>
#include <memory>

// Services to use instead of the window's own in-memory ones (null: its own).
struct THeadlessServices {
  IMessagePump *Pump = nullptr;
  IClipboard *Clipboard = nullptr;
  IRegistry *Registry = nullptr;
  IFileSystem *FileSystem = nullptr;
};

class THeadlessWindow {
public:
  explicit THeadlessWindow(const THeadlessServices &services = {});
  // Closes the window first if it is still open.
  ~THeadlessWindow();
  THeadlessWindow(const THeadlessWindow &) = delete;
  THeadlessWindow &operator=(const THeadlessWindow &) = delete;

  // Creation (FormCreate) and showing (FormShow), as the window's start does.
  void Open();
  // Closing: FormDestroy, which saves the settings. Safe to call twice.
  void Close();
  bool IsOpen() const { return FOpen; }

  // User actions. A click on a disabled button does nothing and returns false.
  // A check-box click toggles the box and then runs its handler (if any).
  // Failures of a handler propagate, as they would reach the window's error box.
  bool ClickLoadFile();
  bool ClickChangeFolder();
  bool ClickCopy();
  bool ClickGenerate();
  bool ClickSetDefaults();
  void ClickIncludeLF();
  void ClickUseInfoDefaults();
  void ClickComments();
  void ClickOrvaneSyntax();

  TMainForm &Form() { return *FForm; }

  // The controls, under the names the window gives them.
  THeadlessFocus Focus;
  THeadlessLabel Label1{"Microchip MPASM/MPASMX Folder"};
  THeadlessLabel LabelIncludePath{TMainForm::kInitialFolderText};
  THeadlessButton ButtonChangeFolder{"Change Folder...", &Focus};
  THeadlessButton ButtonLoadDeviceInfoFile{"Load File", &Focus};
  THeadlessLabel Label2{"Device"};
  THeadlessDropDownList DeviceSelectComboBox;
  THeadlessCheckBox chkIncludeLF{"Include 18LF", false};
  THeadlessCheckBox CheckBoxUseInfoDefaults{"Use .info Defaults", false};
  THeadlessButton ButtonSetDefaults{"Set Defaults", &Focus};
  THeadlessSettingsGrid SettingsGrid;
  THeadlessButton ButtonGenerate{"Generate", &Focus};
  THeadlessButton ButtonCopy{"Copy to Clipboard", &Focus};
  THeadlessCheckBox CheckBoxComments{"Comments", true};
  THeadlessCheckBox CheckBoxOrvaneSyntax{"Orvane Syntax", false};
  THeadlessOutputBox Memo;
  THeadlessLabel StatusBar{TMainForm::kStatusReady};

  // The window's own in-memory services (used unless others were given).
  THeadlessPump OwnPump;
  TMemoryClipboard OwnClipboard;
  TMemoryRegistry OwnRegistry;
  TMemoryFileSystem OwnFileSystem;
  // What the folder dialog answers and what it was told.
  TFolderDialogPreset FolderDialog;
  // When set before Open, creates the folder dialog instead of the preset one.
  std::function<std::unique_ptr<IFolderDialog>()> CreateFolderDialog;

private:
  std::unique_ptr<TMainForm> FForm;
  bool FOpen = false;
};
