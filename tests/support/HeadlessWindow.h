// THeadlessWindow: the main window without a screen, for the tests and the
// benchmarks. It owns stand-in controls made from the window's layout and
// in-memory platform services, runs a TMainForm over them and routes clicks to its
// handlers through the layout, as the Win32 window does.
#pragma once

#include "app/UnitMain.h"
#include "app/cMainFormLayout.h"
#include "tests/support/HeadlessControls.h"
#include "tests/support/HeadlessPlatform.h"

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
  bool Click(TControlId id);
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
  THeadlessLabel Label1{ControlDef(kIdLabel1).Caption};
  THeadlessLabel LabelIncludePath{ControlDef(kIdLabelIncludePath).Caption};
  THeadlessButton ButtonChangeFolder{ControlDef(kIdButtonChangeFolder).Caption, &Focus};
  THeadlessButton ButtonLoadDeviceInfoFile{ControlDef(kIdButtonLoadDeviceInfoFile).Caption, &Focus};
  THeadlessLabel Label2{ControlDef(kIdLabel2).Caption};
  THeadlessDropDownList DeviceSelectComboBox{ControlDef(kIdDeviceSelectComboBox).Caption};
  THeadlessCheckBox chkIncludeLF{ControlDef(kIdChkIncludeLF).Caption, ControlDef(kIdChkIncludeLF).Checked};
  THeadlessCheckBox CheckBoxUseInfoDefaults{ControlDef(kIdCheckBoxUseInfoDefaults).Caption,
                                            ControlDef(kIdCheckBoxUseInfoDefaults).Checked};
  THeadlessButton ButtonSetDefaults{ControlDef(kIdButtonSetDefaults).Caption, &Focus};
  THeadlessSettingsGrid SettingsGrid;
  THeadlessButton ButtonGenerate{ControlDef(kIdButtonGenerate).Caption, &Focus};
  THeadlessButton ButtonCopy{ControlDef(kIdButtonCopy).Caption, &Focus};
  THeadlessCheckBox CheckBoxComments{ControlDef(kIdCheckBoxComments).Caption,
                                     ControlDef(kIdCheckBoxComments).Checked};
  THeadlessCheckBox CheckBoxOrvaneSyntax{ControlDef(kIdCheckBoxOrvaneSyntax).Caption,
                                         ControlDef(kIdCheckBoxOrvaneSyntax).Checked};
  THeadlessOutputBox Memo;
  THeadlessLabel StatusBar{ControlDef(kIdStatusBar).Caption};

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
  THeadlessButton *ButtonOf(TControlId id);
  THeadlessCheckBox *CheckBoxOf(TControlId id);

  std::unique_ptr<TMainForm> FForm;
  bool FOpen = false;
};
