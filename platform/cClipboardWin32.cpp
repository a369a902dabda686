// The clipboard's plain-text formats: the 8-bit text as CF_TEXT and its UTF-16 form
// as CF_UNICODETEXT, so every reader gets the same text.
#include "platform/cClipboardWin32.h"

#include "common/cErrors.h"
#include "common/cTextConv.h"

#include <cstring>

namespace {
constexpr const char *kNoMemory = "Not enough memory to copy the text to the clipboard";

// The clipboard is busy when another program holds it open; retry briefly.
bool OpenClipboardRetrying(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner))
      return true;
    Sleep(10);
  }
  return false;
}

// A global block, freed at the end of scope unless the clipboard took it.
class TGlobalBlock {
public:
  explicit TGlobalBlock(HGLOBAL handle) : FHandle(handle) {}
  ~TGlobalBlock() {
    if (FHandle)
      GlobalFree(FHandle);
  }
  TGlobalBlock(const TGlobalBlock &) = delete;
  TGlobalBlock &operator=(const TGlobalBlock &) = delete;

  HGLOBAL Handle() const { return FHandle; }
  // Hands the block on (to the clipboard, or the caller), which frees it from now on.
  HGLOBAL Release() {
    const HGLOBAL handle = FHandle;
    FHandle = nullptr;
    return handle;
  }

private:
  HGLOBAL FHandle;
};
} // namespace

HGLOBAL TClipboardWin32::CopyToGlobal(const void *data, size_t size) const {
  TGlobalBlock block(AllocGlobal(GMEM_MOVEABLE, size));
  if (!block.Handle())
    throw Exception(kNoMemory);
  void *target = LockGlobal(block.Handle());
  if (!target)
    throw Exception(kNoMemory);
  std::memcpy(target, data, size);
  GlobalUnlock(block.Handle());
  return block.Release();
}

void TClipboardWin32::SetText(const std::string &text) {
  // The clipboard's text ends at the first NUL; what follows cannot be carried.
  const std::string ansi = text.substr(0, text.find('\0'));
  const std::wstring wide = AnsiToWide(ansi);
  // Both blocks are made before the clipboard is emptied: a failure leaves it as it was.
  TGlobalBlock wideBlock(CopyToGlobal(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)));
  TGlobalBlock ansiBlock(CopyToGlobal(ansi.c_str(), ansi.size() + 1));
  if (!OpenClipboardRetrying(FOwner))
    throw Exception("Cannot open clipboard");
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, wideBlock.Handle()) != nullptr;
  if (ok)
    wideBlock.Release();
  ok = ok && SetClipboardData(CF_TEXT, ansiBlock.Handle()) != nullptr;
  if (ok)
    ansiBlock.Release();
  CloseClipboard();
  if (!ok)
    throw Exception("Cannot set clipboard data");
}

std::string TClipboardWin32::GetText() {
  if (!OpenClipboardRetrying(FOwner))
    throw Exception("Cannot open clipboard");
  std::string result;
  // The UTF-16 form is read where there is one, so a byte-order mark that an editor
  // copied along can be dropped rather than become a "?" before the first line.
  // Blocks are read within their size: their text need not end in a NUL.
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto *text = static_cast<const wchar_t *>(GlobalLock(data))) {
      std::wstring_view wide(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t)));
      if (!wide.empty() && wide.front() == L'\xFEFF')
        wide.remove_prefix(1);
      result = WideToAnsi(wide);
      GlobalUnlock(data);
    }
  } else if (HANDLE ansi = GetClipboardData(CF_TEXT)) {
    if (const auto *text = static_cast<const char *>(GlobalLock(ansi))) {
      result.assign(text, strnlen(text, GlobalSize(ansi)));
      GlobalUnlock(ansi);
    }
  }
  CloseClipboard();
  return result;
}
