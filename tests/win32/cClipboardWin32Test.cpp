// The clipboard under Wine: a text that cannot be put on it leaves what it held.
#include "platform/cClipboardWin32.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ClipboardWin32, AFailedBlockRaisesAndLeavesTheClipboardAsItWas) {
  const std::string kept = "kept text \xE9";
  struct TCase {
    const char *Name;
    int FailingAlloc; // the call that fails, counted from 1; 0: none
    int FailingLock;
  };
  const TCase cases[] = {
      {"first allocation", 1, 0},
      {"second allocation", 2, 0},
      {"first lock", 0, 1},
      {"second lock", 0, 2},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    TClipboardWin32 clipboard;
    clipboard.SetText(kept);
    ASSERT_EQ(clipboard.GetText(), kept);
    int allocs = 0;
    int locks = 0;
    clipboard.AllocGlobal = [&](UINT flags, SIZE_T bytes) {
      return ++allocs == c.FailingAlloc ? nullptr : GlobalAlloc(flags, bytes);
    };
    clipboard.LockGlobal = [&](HGLOBAL block) {
      return ++locks == c.FailingLock ? nullptr : GlobalLock(block);
    };
    try {
      clipboard.SetText("new text");
      ADD_FAILURE() << "no error raised";
    } catch (const Exception &e) {
      EXPECT_EQ(e.Message(), "Not enough memory to copy the text to the clipboard");
    }
    EXPECT_EQ(clipboard.GetText(), kept);
  }
}

TEST(ClipboardWin32, TheTextIsReadWithoutAByteOrderMarkInFront) {
  const std::wstring wide = L"\xFEFF"
                            L"device = 18F4520\r\nconfig LVP = OFF \x00E9\r\n";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(block, nullptr);
  std::memcpy(GlobalLock(block), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
  CloseClipboard();
  TClipboardWin32 clipboard;
  EXPECT_EQ(clipboard.GetText(), "device = 18F4520\r\nconfig LVP = OFF \xE9\r\n");
}
