// The save-file dialog seam: the filter and default extension it gives the dialog.
#include "platform/cSaveFileDialogWin32.h"

#include <gtest/gtest.h>

#include <string>

TEST(SaveFileDialogWin32, FilterBarsBecomeZerosAndTheFirstPatternGivesTheExtension) {
  using namespace std::string_literals;
  const struct {
    std::string Filter;
    std::string Dialog;
    std::string Extension;
  } cases[] = {
      {"Intel HEX files (*.hex)|*.hex|All files (*.*)|*.*",
       "Intel HEX files (*.hex)\0*.hex\0All files (*.*)\0*.*\0\0"s, "hex"},
      {"Sources|*.asm;*.inc", "Sources\0*.asm;*.inc\0\0"s, "asm"},
      {"All files|*.*", "All files\0*.*\0\0"s, ""},
      {"", "\0\0"s, ""},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Filter);
    EXPECT_EQ(DialogFilter(c.Filter), c.Dialog);
    EXPECT_EQ(DefaultExtension(c.Filter), c.Extension);
  }
}
