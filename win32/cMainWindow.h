// TMainWindow: the main window on Win32. It creates the controls of the layout,
// hands them to TMainForm and routes every notification to its handlers; a failure
// a handler raises goes to an error reporter (by default the error box).
#pragma once

#include "app/UnitMain.h"
#include "app/cMainFormLayout.h"
#include "controls/cDropDownList.h"
#include "controls/cSettingsGrid.h"
#include "controls/cStdControls.h"
#include "platform/cClipboardWin32.h"
#include "platform/cMessagePumpWin32.h"

#include <functional>
#include <map>
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
  // The error box's title.
  static constexpr const char *kErrorTitle = kApplicationTitle;

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
  TLabel &Label1() { return Control<TLabel>(kIdLabel1); }
  TLabel &LabelIncludePath() { return Control<TLabel>(kIdLabelIncludePath); }
  TButton &ButtonChangeFolder() { return Control<TButton>(kIdButtonChangeFolder); }
  TButton &ButtonLoadDeviceInfoFile() { return Control<TButton>(kIdButtonLoadDeviceInfoFile); }
  TLabel &Label2() { return Control<TLabel>(kIdLabel2); }
  TDropDownList &DeviceSelectComboBox() { return Control<TDropDownList>(kIdDeviceSelectComboBox); }
  TCheckBox &ChkIncludeLF() { return Control<TCheckBox>(kIdChkIncludeLF); }
  TCheckBox &CheckBoxUseInfoDefaults() { return Control<TCheckBox>(kIdCheckBoxUseInfoDefaults); }
  TButton &ButtonSetDefaults() { return Control<TButton>(kIdButtonSetDefaults); }
  TSettingsGrid &SettingsGrid() { return Control<TSettingsGrid>(kIdSettingsGrid); }
  TButton &ButtonGenerate() { return Control<TButton>(kIdButtonGenerate); }
  TButton &ButtonCopy() { return Control<TButton>(kIdButtonCopy); }
  TCheckBox &CheckBoxComments() { return Control<TCheckBox>(kIdCheckBoxComments); }
  TCheckBox &CheckBoxOrvaneSyntax() { return Control<TCheckBox>(kIdCheckBoxOrvaneSyntax); }
  TOutputBox &Memo() { return Control<TOutputBox>(kIdMemo); }
  TStatusPanel &PanelStatus() { return Control<TStatusPanel>(kIdPanelStatus); }
  TLabel &StatusBar() { return Control<TLabel>(kIdStatusBar); }
  // Any control of the layout.
  TWinControl &ControlOf(TControlId id) { return *FControls.at(id); }

private:
  static LRESULT CALLBACK WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  template <typename T> T &Control(TControlId id) { return static_cast<T &>(*FControls.at(id)); }
  void CreateControls();
  void WireHandlers();
  // Fonts, window size and control placement for Dpi.
  void ApplyDpi(UINT dpi);
  void CreateFonts(UINT dpi);
  void DeleteFonts();
  void LayoutControls();
  // The width a control of fixed width gets: its own, or wider where its caption
  // needs more in the font it is drawn with, up to its right-hand neighbour.
  int FittedWidth(const TControlDef &def, int width) const;
  void CenterOnScreen();
  void ReportError(const std::string &message);
  // Marks a run of the form's handlers for its lifetime; see LeaveHandler.
  class THandlerScope;
  // Ends a run; once the outermost has returned, a close met meanwhile is carried out.
  void LeaveHandler();
  // Handler, made to count as a run of the form's handlers.
  template <typename... TArgs> std::function<void(TArgs...)> Counted(std::function<void(TArgs...)> handler);

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

  // The layout's controls by id; the status label lives in the status panel.
  std::map<int, std::unique_ptr<TWinControl>> FControls;

  std::unique_ptr<TMainForm> FForm;
};
