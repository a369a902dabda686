// TClipboardWin32: IClipboard over the Windows clipboard (plain text).
#pragma once

#include "seams/cPlatform.h"

#include <functional>
#include <string>

#include <windows.h>

class TClipboardWin32 : public IClipboard {
public:
  // Owner is the window that opens the clipboard; it may be null.
  explicit TClipboardWin32(HWND owner = nullptr) : FOwner(owner) {}
  void SetOwner(HWND owner) { FOwner = owner; }
  // Puts Text on the clipboard as CF_UNICODETEXT and CF_TEXT. Both blocks are made
  // before the clipboard is touched, so when memory runs short it keeps what it held.
  // Raises Exception when the memory, the clipboard or its filling fails.
  void SetText(const std::string &text) override;
  // The clipboard's plain text (CF_TEXT), or empty when it holds none.
  std::string GetText() override;

  // How SetText allocates and locks its global blocks; tests make them fail.
  std::function<HGLOBAL(UINT flags, SIZE_T bytes)> AllocGlobal = GlobalAlloc;
  std::function<void *(HGLOBAL block)> LockGlobal = GlobalLock;

private:
  // A movable global block holding Size bytes of Data.
  HGLOBAL CopyToGlobal(const void *data, size_t size) const;

  HWND FOwner;
};
