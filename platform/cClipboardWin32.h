// TClipboardWin32: IClipboard over the Windows clipboard (plain text).
#pragma once

#include "seams/cPlatform.h"

#include <string>

#include <windows.h>

class TClipboardWin32 : public IClipboard {
public:
  // Owner is the window that opens the clipboard; it may be null.
  explicit TClipboardWin32(HWND owner = nullptr) : FOwner(owner) {}
  void SetOwner(HWND owner) { FOwner = owner; }
  // Puts Text on the clipboard as CF_UNICODETEXT and CF_TEXT; raises
  // EClipboardError when the clipboard cannot be opened or filled.
  void SetText(const std::string &text) override;
  // The clipboard's plain text (CF_TEXT), or empty when it holds none.
  std::string GetText();

private:
  HWND FOwner;
};
