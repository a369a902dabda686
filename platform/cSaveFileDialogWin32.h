// TSaveFileDialogWin32: ISaveFileDialog over the common save-file dialog (ANSI, as
// the rest of the window's paths).
#pragma once

#include "seams/cPlatform.h"

#include <string>

#include <windows.h>

class TSaveFileDialogWin32 : public ISaveFileDialog {
public:
  // Owner is the window the dialog is modal to; it may be null.
  explicit TSaveFileDialogWin32(HWND owner = nullptr) : FOwner(owner) {}
  void SetOwner(HWND owner) { FOwner = owner; }
  // GetSaveFileNameA with OFN_OVERWRITEPROMPT; the extension of Filter's first
  // pattern is added to a name typed without one.
  std::string AskSaveFileName(const std::string &title, const std::string &defaultName,
                              const std::string &filter) override;

private:
  HWND FOwner;
};

// Filter's "Description|*.ext|..." as the dialog takes it: each '|' a zero, and a
// second zero at the end.
std::string DialogFilter(const std::string &filter);
// The extension of Filter's first pattern ("hex" of "...|*.hex|..."), or "".
std::string DefaultExtension(const std::string &filter);
