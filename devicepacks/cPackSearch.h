// Where the vendor's IDE keeps its device packs: the folders configgen looks in, in
// order, when it is given none.
#pragma once

#include <string>
#include <vector>

// What the places depend on: the system, and where its folders are.
struct TPackSearch {
  enum class TSystem { Windows, Linux, MacOS };
  TSystem System = TSystem::Linux;
  // Every place is taken under this folder instead of the file system's root ("":
  // the file system's own; a Windows place loses its drive).
  std::string Root;
  std::string ProgramFiles; // %ProgramFiles% (Windows)
  std::string Home;         // %USERPROFILE% on Windows, else $HOME; "" when unknown
};

// The environment variable that gives TPackSearch::Root, so that the search can be
// tried on a folder made for it rather than on the machine's own folders.
inline constexpr const char *kPackSearchRootVariable = "FB_PACKS_SEARCH_ROOT";

// The running system's places, from the environment.
TPackSearch PackSearchOfThisSystem();

// The folders to look in, in order: each installed IDE version's packs folder,
// newest version first (Windows: %ProgramFiles%\Microchip\MPLABX\v*\packs; Linux:
// /opt/microchip/mplabx/v*/packs; macOS: the packs folder within
// /Applications/microchip/mplabx/v*/), then the user's own ~/.mchp_packs. Where no
// version is installed, the pattern itself stands in its place ("v*"), so that a
// report of where the search looked names it.
std::vector<std::string> PackSearchFolders(const TPackSearch &search);
