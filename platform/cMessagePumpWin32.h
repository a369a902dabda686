// TMessagePumpWin32: IMessagePump for the window's thread; keyboard navigation of the
// main window goes through IsDialogMessage.
#pragma once

#include "seams/cPlatform.h"

#include <windows.h>

class TMessagePumpWin32 : public IMessagePump {
public:
  explicit TMessagePumpWin32(HWND dialogWindow = nullptr) : FDialogWindow(dialogWindow) {}
  void SetDialogWindow(HWND value) { FDialogWindow = value; }
  HWND DialogWindow() const { return FDialogWindow; }

  // Handles every message pending now, then returns; a WM_QUIT met on the way is
  // posted again so that the main loop still sees it.
  void ProcessMessages() override;
  // Translates and dispatches one message, through IsDialogMessage for the window.
  void Dispatch(MSG &msg) const;
  // The main loop: runs until WM_QUIT and returns its exit code.
  int Run();

private:
  HWND FDialogWindow;
};
