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
  THeadlessLabel Label1{ControlSpec(kIdLabel1).Caption};
  THeadlessLabel LabelIncludePath{ControlSpec(kIdLabelIncludePath).Caption};
  THeadlessButton ButtonChangeFolder{ControlSpec(kIdButtonChangeFolder).Caption, &Focus};
  THeadlessButton ButtonLoadDeviceInfoFile{ControlSpec(kIdButtonLoadDeviceInfoFile).Caption, &Focus};
  THeadlessLabel Label2{ControlSpec(kIdLabel2).Caption};
  THeadlessDropDownList DeviceSelectComboBox{ControlSpec(kIdDeviceSelectComboBox).Caption};
  THeadlessCheckBox chkIncludeLF{ControlSpec(kIdChkIncludeLF).Caption, ControlSpec(kIdChkIncludeLF).Checked};
  THeadlessCheckBox CheckBoxUseInfoDefaults{ControlSpec(kIdCheckBoxUseInfoDefaults).Caption,
                                            ControlSpec(kIdCheckBoxUseInfoDefaults).Checked};
  THeadlessButton ButtonSetDefaults{ControlSpec(kIdButtonSetDefaults).Caption, &Focus};
  THeadlessSettingsGrid SettingsGrid;
  THeadlessButton ButtonGenerate{ControlSpec(kIdButtonGenerate).Caption, &Focus};
  THeadlessButton ButtonCopy{ControlSpec(kIdButtonCopy).Caption, &Focus};
  THeadlessCheckBox CheckBoxComments{ControlSpec(kIdCheckBoxComments).Caption,
                                     ControlSpec(kIdCheckBoxComments).Checked};
  THeadlessCheckBox CheckBoxOrvaneSyntax{ControlSpec(kIdCheckBoxOrvaneSyntax).Caption,
                                         ControlSpec(kIdCheckBoxOrvaneSyntax).Checked};
  THeadlessOutputBox Memo;
  THeadlessLabel StatusBar{ControlSpec(kIdStatusBar).Caption};

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
