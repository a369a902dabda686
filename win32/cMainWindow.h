// TMainWindow: the main window on Win32. It creates the controls of the layout,
// hands them to TMainForm and routes every notification to its handlers; a failure
// a handler raises goes to an error reporter (by default the error box).
#pragma once

#include "app/UnitMain.h"
#include "controls/cDropDownList.h"
#include "controls/cSettingsGrid.h"
#include "controls/cStdControls.h"
#include "platform/cClipboardWin32.h"
#include "platform/cMessagePumpWin32.h"

#include <functional>
#include <memory>
#include <string>

#include <windows.h>

// What the window needs from outside: the registry, the folder test and the folder
// dialog (given by the start-up and by tests), and where failures go.
struct TMainWindowSetup {
  IRegistry *Registry = nullptr;
  IFileSystem *FileSystem = nullptr;
  // Creates the folder dialog with the window as its owner.
  std::function<std::unique_ptr<IFolderDialog>(HWND owner)> CreateFolderDialog;
  // Shows a failure of a handler; by default an error box.
  TErrorReporter ReportError;
  // The application window that owns the main window (its taskbar button), or null.
  HWND Owner = nullptr;
  // Ends the message loop when the window is destroyed.
  bool QuitOnDestroy = false;
};

class TMainWindow {
public:
  static constexpr const char *kCaption = "Tarnwick Config Generator v1.3.1";
  static constexpr const char *kErrorTitle = "Config Settings Generator";
  static constexpr int kClientWidth = 788;
  static constexpr int kClientHeight = 594;

  // Creates the window (hidden) and its controls, then runs FormCreate.
  explicit TMainWindow(TMainWindowSetup setup);
  ~TMainWindow();
  TMainWindow(const TMainWindow &) = delete;
  TMainWindow &operator=(const TMainWindow &) = delete;

  // Centres the window on the screen, shows it and runs FormShow.
  void Show();
  HWND Handle() const { return FHandle; }
  // True until the window has been destroyed (closed).
  bool Alive() const { return FHandle != nullptr; }
  UINT Dpi() const { return FDpi; }

  TMainForm &Form() { return *FForm; }
  TMessagePumpWin32 &Pump() { return FPump; }

  // The controls, by their names in the layout.
  TLabel &Label1() { return *FLabel1; }
  TLabel &LabelIncludePath() { return *FLabelIncludePath; }
  TButton &ButtonChangeFolder() { return *FButtonChangeFolder; }
  TButton &ButtonLoadDeviceInfoFile() { return *FButtonLoadDeviceInfoFile; }
  TLabel &Label2() { return *FLabel2; }
  TDropDownList &DeviceSelectComboBox() { return *FDeviceSelectComboBox; }
  TCheckBox &ChkIncludeLF() { return *FChkIncludeLF; }
  TCheckBox &CheckBoxUseInfoDefaults() { return *FCheckBoxUseInfoDefaults; }
  TButton &ButtonSetDefaults() { return *FButtonSetDefaults; }
  TSettingsGrid &SettingsGrid() { return *FSettingsGrid; }
  TButton &ButtonGenerate() { return *FButtonGenerate; }
  TButton &ButtonCopy() { return *FButtonCopy; }
  TCheckBox &CheckBoxComments() { return *FCheckBoxComments; }
  TCheckBox &CheckBoxOrvaneSyntax() { return *FCheckBoxOrvaneSyntax; }
  TOutputBox &Memo() { return *FMemo; }
  TStatusPanel &PanelStatus() { return *FPanelStatus; }
  TLabel &StatusBar() { return *FStatusBar; }

private:
  static LRESULT CALLBACK WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void WireHandlers();
  // Fonts, window size and control placement for Dpi.
  void ApplyDpi(UINT dpi);
  void CreateFonts(UINT dpi);
  void DeleteFonts();
  void LayoutControls();
  void CenterOnScreen();
  void ReportError(const std::string &message);
  // Marks a run of the form's handlers for its lifetime; see LeaveHandler.
  class THandlerScope;
  // Ends a run; once the outermost has returned, a close met meanwhile is carried out.
  void LeaveHandler();

  TMainWindowSetup FSetup;
  HWND FHandle = nullptr;
  UINT FDpi = 96;
  HWND FLastFocus = nullptr;
  // Handlers of the form running now (a handler may pump messages and so meet a
  // close); the close waits until the last has returned, since it frees their state.
  int FHandlersRunning = 0;
  bool FClosePending = false;

  HFONT FFont = nullptr;
  HFONT FBoldFont = nullptr;
  HFONT FMemoFont = nullptr;
  HFONT FHeaderFont = nullptr;

  TMessagePumpWin32 FPump;
  TClipboardWin32 FClipboard;

  std::unique_ptr<TLabel> FLabel1;
  std::unique_ptr<TLabel> FLabelIncludePath;
  std::unique_ptr<TButton> FButtonChangeFolder;
  std::unique_ptr<TButton> FButtonLoadDeviceInfoFile;
  std::unique_ptr<TLabel> FLabel2;
  std::unique_ptr<TDropDownList> FDeviceSelectComboBox;
  std::unique_ptr<TCheckBox> FChkIncludeLF;
  std::unique_ptr<TCheckBox> FCheckBoxUseInfoDefaults;
  std::unique_ptr<TButton> FButtonSetDefaults;
  std::unique_ptr<TSettingsGrid> FSettingsGrid;
  std::unique_ptr<TButton> FButtonGenerate;
  std::unique_ptr<TButton> FButtonCopy;
  std::unique_ptr<TCheckBox> FCheckBoxComments;
  std::unique_ptr<TCheckBox> FCheckBoxOrvaneSyntax;
  std::unique_ptr<TOutputBox> FMemo;
  std::unique_ptr<TStatusPanel> FPanelStatus;
  std::unique_ptr<TLabel> FStatusBar;

  std::unique_ptr<TMainForm> FForm;
};
