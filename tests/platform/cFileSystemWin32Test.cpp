// The file-system seam: the folder test on real folders, files and drive roots.
#include "platform/cFileSystemWin32.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

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
