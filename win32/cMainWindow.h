// TMainWindow: the main window on Win32. The layout's factory makes its controls
// and wires their clicks to TMainForm; the window places them, routes every
// notification to them and counts the handlers that run; a failure a handler
// raises goes to an error reporter (by default the error box).
#pragma once

#include "app/UnitMain.h"
#include "app/cLayoutControls.h"
#include "controls/cDropDownList.h"
#include "controls/cSettingsGrid.h"
#include "controls/cStdControls.h"
#include "platform/cClipboardWin32.h"
#include "platform/cMessagePumpWin32.h"
#include "platform/cSaveFileDialogWin32.h"

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include <windows.h>

// What the window needs from outside: the registry, the file system (the folder
// test, a dropped file's text) and the folder dialog (given by the start-up and by
// tests), and where failures go.
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

// The Win32 controls, one class for each kind of control.
using TWin32Controls = TLayoutControls<TWinControl, TLabel, TButton, TDropDownList, TCheckBox, TSettingsGrid,
                                       TOutputBox, TStatusPanel>;

// The controls, by their names in the layout: Button("ButtonGenerate"),
// OutputBox("Memo"), ControlOf(row).
class TMainWindow : public TWin32Controls {
public:
  // The error box's title.
  static constexpr const char *kErrorTitle = kApplicationTitle;

  // Creates the window (hidden) and its controls, then runs FormCreate.
  explicit TMainWindow(TMainWindowSetup setup);
  ~TMainWindow() override;
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

  // Makes the control of one row (for the factory); it reports its failures and
  // counts the handlers it runs from its own window procedure as the window's.
  template <typename T>
  std::unique_ptr<T> Make(std::type_identity<T> kind, const TControlRequest<TWinControl> &request);

private:
  static LRESULT CALLBACK WndProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
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
  TSaveFileDialogWin32 FSaveFileDialog;

  std::unique_ptr<TMainForm> FForm;
};
