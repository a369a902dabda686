// The file-system seam on Win32: the folder test of the folder selection routines
// and a file's text, read and written.
#pragma once

#include "seams/cPlatform.h"

#include <string>

class TFileSystemWin32 : public IFileSystem {
public:
  // As FolderExists of dialogs/cDialogsWin32: visible folders and present drive roots.
  bool FolderExists(const std::string &path) override;
  // Path in the ANSI code page, as the rest of the window's paths.
  TFileText ReadFileText(const std::string &path, uint64_t maxSize) override;
  // Path in the ANSI code page; a file that cannot be written whole is removed.
  std::string WriteFileText(const std::string &path, const std::string &text) override;
};
