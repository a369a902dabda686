// The file-system seam on Win32.
#include "platform/cFileSystemWin32.h"

#include "dialogs/cDialogsWin32.h"

bool TFileSystemWin32::FolderExists(const std::string &path) {
  return ::FolderExists(path);
}
