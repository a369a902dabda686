// The file-system seam: the folder test on real folders, files and drive roots, and
// reading a file's text.
#include "platform/cFileSystemWin32.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <windows.h>

TEST(FileSystemWin32, FolderExistsForVisibleFoldersAndPresentDrives) {
  TTempFolder temp;
  std::filesystem::create_directory(temp.Path() + "\\sub");
  const std::string file = temp.WriteFile("8bit_device.info", "x");
  TFileSystemWin32 fileSystem;
  IFileSystem &seam = fileSystem;
  EXPECT_TRUE(seam.FolderExists(temp.Path()));
  EXPECT_TRUE(seam.FolderExists(temp.Path() + "\\sub\\"));
  EXPECT_FALSE(seam.FolderExists(file));
  EXPECT_FALSE(seam.FolderExists(temp.Path() + "\\missing"));
  EXPECT_FALSE(seam.FolderExists(""));
  EXPECT_TRUE(seam.FolderExists("c:\\"));
  EXPECT_EQ(seam.FolderExists("Q:\\"), (GetLogicalDrives() >> ('Q' - 'A') & 1u) != 0);
}

// Reading a file's text: its bytes as they are, or why not, each failure its own.
TEST(FileSystemWin32, ReadFileTextGivesTheBytesOrWhyNot) {
  using TStatus = TFileText::TStatus;
  TTempFolder temp;
  using namespace std::string_literals;
  const std::string text = "device = 18F2550\r\n\0config\n\xE9"s;
  const std::string file = temp.WriteFile("blink.asm", text);
  const std::string locked = temp.WriteFile("locked.asm", "x");
  const HANDLE exclusive =
      CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  const struct {
    std::string Path;
    uint64_t MaxSize;
    TStatus Status;
    std::string Text;
  } cases[] = {
      {file, text.size(), TStatus::Read, text},
      {file, text.size() - 1, TStatus::TooLarge, ""},
      {temp.WriteFile("empty.asm", ""), 0, TStatus::Read, ""},
      {temp.Path() + "\\gone.asm", 100, TStatus::Missing, ""},
      {temp.Path() + "\\gone\\blink.asm", 100, TStatus::Missing, ""},
      {temp.Path(), 100, TStatus::Folder, ""},
      {locked, 100, TStatus::Failed, ""},
  };
  TFileSystemWin32 fileSystem;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Path);
    const TFileText read = fileSystem.ReadFileText(c.Path, c.MaxSize);
    EXPECT_EQ(read.Status, c.Status);
    EXPECT_EQ(read.Text, c.Text);
    EXPECT_EQ(read.Reason.empty(), c.Status != TStatus::Failed) << read.Reason;
  }
  CloseHandle(exclusive);
}

// Writing a file's text: created or replaced with exactly the bytes, read back as
// written; a path that cannot be written gives the system's words and no file.
TEST(FileSystemWin32, WriteFileTextWritesTheBytesOrSaysWhyNot) {
  TTempFolder temp;
  using namespace std::string_literals;
  const std::string text = ":020000040030CA\r\n\0:00000001FF\n"s;
  TFileSystemWin32 fileSystem;
  const std::string file = temp.WriteFile("old.hex", "a longer text than the one written over it");
  EXPECT_EQ(fileSystem.WriteFileText(file, text), "");
  EXPECT_EQ(fileSystem.ReadFileText(file, 1 << 20).Text, text);
  const std::string fresh = temp.Path() + "\\new.hex";
  EXPECT_EQ(fileSystem.WriteFileText(fresh, ""), "");
  EXPECT_EQ(fileSystem.ReadFileText(fresh, 1 << 20).Status, TFileText::TStatus::Read);
  for (const std::string &bad : {temp.Path() + "\\gone\\x.hex", temp.Path()}) {
    SCOPED_TRACE(bad);
    EXPECT_NE(fileSystem.WriteFileText(bad, text), "");
  }
  EXPECT_EQ(fileSystem.ReadFileText(temp.Path() + "\\gone\\x.hex", 100).Status, TFileText::TStatus::Missing);
  // A write that fails leaves the file it was to replace as it was, and nothing beside it.
  const std::string kept = temp.WriteFile("kept.hex", "the old build");
  const HANDLE busy = CreateFileA(kept.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(busy, INVALID_HANDLE_VALUE);
  EXPECT_NE(fileSystem.WriteFileText(kept, text), "");
  CloseHandle(busy);
  EXPECT_EQ(fileSystem.ReadFileText(kept, 100).Text, "the old build");
  EXPECT_EQ(fileSystem.ReadFileText(kept + ".new", 100).Status, TFileText::TStatus::Missing);
}
