// The clipboard under Wine: a text that cannot be put on it leaves what it held.
#include "platform/cClipboardWin32.h"

#include "common/cErrors.h"

#include <gtest/gtest.h>

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
