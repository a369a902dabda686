// The clipboard's plain-text formats: the 8-bit text as CF_TEXT and its UTF-16 form
// as CF_UNICODETEXT, so every reader gets the same text.
#include "platform/cClipboardWin32.h"

#include "common/cErrors.h"
#include "common/cTextConv.h"

#include <cstring>

namespace {
// The clipboard is busy when another program holds it open; retry briefly.
bool OpenClipboardRetrying(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner))
      return true;
    Sleep(10);
  }
  return false;
}

// Copies Size bytes to a movable global block for SetClipboardData.
HGLOBAL CopyToGlobal(const void *data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block)
    return nullptr;
  void *target = GlobalLock(block);
  std::memcpy(target, data, size);
  GlobalUnlock(block);
  return block;
}
} // namespace

void TClipboardWin32::SetText(const std::string &text) {
  // The clipboard's text ends at the first NUL; what follows cannot be carried.
  const std::string ansi = text.substr(0, text.find('\0'));
  const std::wstring wide = AnsiToWide(ansi);
  if (!OpenClipboardRetrying(FOwner))
    throw Exception("Cannot open clipboard");
  EmptyClipboard();
  HGLOBAL wideBlock = CopyToGlobal(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  HGLOBAL ansiBlock = CopyToGlobal(ansi.c_str(), ansi.size() + 1);
  bool ok = wideBlock && ansiBlock;
  if (ok)
    ok = SetClipboardData(CF_UNICODETEXT, wideBlock) != nullptr;
  if (ok)
    wideBlock = nullptr; // the clipboard owns it now
  if (ok)
    ok = SetClipboardData(CF_TEXT, ansiBlock) != nullptr;
  if (ok)
    ansiBlock = nullptr;
  CloseClipboard();
  if (wideBlock)
    GlobalFree(wideBlock);
  if (ansiBlock)
    GlobalFree(ansiBlock);
  if (!ok)
    throw Exception("Cannot set clipboard data");
}

std::string TClipboardWin32::GetText() {
  if (!OpenClipboardRetrying(FOwner))
    throw Exception("Cannot open clipboard");
  std::string result;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char *text = static_cast<const char *>(GlobalLock(data))) {
      result = text;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return result;
}
