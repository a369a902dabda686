// Start-up of the Windows program: the application object with its title, the main
// window, and the message loop until the window is closed.
#include "win32/cApplication.h"
#include "win32/cMainWindow.h"
#include "win32/cServicesWin32.h"

#include <windows.h>
#include <ole2.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  OleInitialize(nullptr); // the shell's folder browser needs COM on this thread

  int exitCode = 0;
  {
    TApplication application;
    TServicesWin32 services;
    TMainWindow window(services.Setup({}, application.Handle(), true));
    application.SetMainWindow(window.Handle());
    window.Show();
    // FormDestroy runs when the window is closed, before the loop ends.
    exitCode = window.Pump().Run();
  }
  OleUninitialize();
  return exitCode;
}
