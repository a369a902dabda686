// Where the vendor's IDE keeps its device packs, looked for under a folder made for
// the test, never the machine's own folders.
#include "devicepacks/cPackSearch.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using TSystem = TPackSearch::TSystem;

std::string In(const TTempFolder &root, const std::string &relative) {
  return (fs::path(root.Path()) / fs::path(relative).make_preferred()).string();
}

void MakeFolder(const TTempFolder &root, const std::string &relative) {
  fs::create_directories(In(root, relative));
}
} // namespace

// Each installed IDE version's packs folder, newest first, then the user's own.
TEST(PackSearch, LooksInEachIdeVersionNewestFirstThenTheUsersOwnFolder) {
  TTempFolder root;
  for (const char *version : {"v5.50", "v6.20", "v6.05", "v6.5", "vnext", "v6.20.bak"})
    MakeFolder(root, std::string("opt/microchip/mplabx/") + version + "/packs");
  root.WriteFile("opt/microchip/mplabx/v9.0", ""); // a file, not an IDE
  TPackSearch search;
  search.System = TSystem::Linux;
  search.Root = root.Path();
  search.Home = "/home/me";
  const std::string ide = root.Path() + "/opt/microchip/mplabx/";
  EXPECT_EQ(PackSearchFolders(search), (Strings{ide + "v6.20/packs", ide + "v6.5/packs", ide + "v6.05/packs",
                                                ide + "v5.50/packs", root.Path() + "/home/me/.mchp_packs"}));
  // Without an IDE the pattern stands for it; without a home there is no user folder.
  TTempFolder bare;
  search.Root = bare.Path();
  search.Home.clear();
  EXPECT_EQ(PackSearchFolders(search), Strings{bare.Path() + "/opt/microchip/mplabx/v*/packs"});
}

// On macOS the packs folder lies deep inside the version's application bundle.
TEST(PackSearch, FindsThePacksFolderWithinAMacIdeVersion) {
  TTempFolder root;
  MakeFolder(root, "Applications/microchip/mplabx/v6.20/mplab_ide.app/Contents/Resources/mplab_ide/packs");
  MakeFolder(root, "Applications/microchip/mplabx/v6.20/docs/a/b/c/d/packs"); // deeper than looked
  MakeFolder(root, "Applications/microchip/mplabx/v6.20/docs/packs.txt");
  MakeFolder(root, "Applications/microchip/mplabx/v6.15/other");
  TPackSearch search;
  search.System = TSystem::MacOS;
  search.Root = root.Path();
  search.Home = "/Users/me";
  const std::string ide = root.Path() + "/Applications/microchip/mplabx/";
  EXPECT_EQ(PackSearchFolders(search),
            (Strings{ide + "v6.20/mplab_ide.app/Contents/Resources/mplab_ide/packs", ide + "v6.15/packs",
                     root.Path() + "/Users/me/.mchp_packs"}));
}

#ifdef _WIN32
// On Windows the places are %ProgramFiles%'s and %USERPROFILE%'s, without their drive
// under the test's root.
TEST(PackSearch, LooksInProgramFilesAndTheUsersProfileOnWindows) {
  TTempFolder root;
  MakeFolder(root, "Program Files/Microchip/MPLABX/v6.20/packs");
  TPackSearch search;
  search.System = TSystem::Windows;
  search.Root = root.Path();
  search.ProgramFiles = "C:\\Program Files";
  search.Home = "C:\\Users\\me";
  EXPECT_EQ(PackSearchFolders(search),
            (Strings{root.Path() + "\\Program Files\\Microchip\\MPLABX\\v6.20\\packs",
                     root.Path() + "\\Users\\me\\.mchp_packs"}));
}
#endif
