// The platform services the main window is given on Win32: the per-user registry,
// the file system and the shell's folder browser, owned by the window's component.
#pragma once

#include "dialogs/cDialogsWin32.h"
#include "platform/cFileSystemWin32.h"
#include "platform/cRegistryWin32.h"
#include "win32/cMainWindow.h"

#include <memory>

class TServicesWin32 {
public:
  TServicesWin32() = default;
  TServicesWin32(const TServicesWin32 &) = delete;
  TServicesWin32 &operator=(const TServicesWin32 &) = delete;

  // A setup of the main window over these services; Report may be empty (error box).
  TMainWindowSetup Setup(TErrorReporter report = {}, HWND owner = nullptr, bool quitOnDestroy = false);

  TRegistryWin32 Registry;
  TFileSystemWin32 FileSystem;
};

// The folder dialog of the main window: the shell's browser owned by a component
// that stands for the window Owner.
std::unique_ptr<IFolderDialog> CreateFolderDialogWin32(HWND owner);
