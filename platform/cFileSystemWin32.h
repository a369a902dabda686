// The file-system seam on Win32: the folder test of the folder selection routines.
#pragma once

#include "seams/cPlatform.h"

#include <string>

class TFileSystemWin32 : public IFileSystem {
public:
  // As FolderExists of dialogs/cDialogsWin32: visible folders and present drive roots.
  bool FolderExists(const std::string &path) override;
};
