// Folder selection, portable part: id and flag tables, path and text shaping.
#include "dialogs/cDialogs.h"

#include <array>

namespace {
struct TFolderIds {
  uint32_t NT;
  uint32_t Other;
};

// Special-folder ids (CSIDL_...) in TViewRoot order.
constexpr std::array<TFolderIds, kViewRootCount> kFolderIds{{
    {0, 0},                               // vrDesktop: CSIDL_DESKTOP
    {1, 1},                               // vrInternet: CSIDL_INTERNET
    {2, 2},                               // vrPrograms: CSIDL_PROGRAMS
    {3, 3},                               // vrControlPanel: CSIDL_CONTROLS
    {4, 4},                               // vrPrinters: CSIDL_PRINTERS
    {5, 5},                               // vrPersonal: CSIDL_PERSONAL
    {6, 6},                               // vrFavorites: CSIDL_FAVORITES
    {7, 7},                               // vrStartup: CSIDL_STARTUP
    {8, 8},                               // vrRecent: CSIDL_RECENT
    {9, 9},                               // vrSendTo: CSIDL_SENDTO
    {10, 10},                             // vrRecycleBin: CSIDL_BITBUCKET
    {11, 11},                             // vrStartMenu: CSIDL_STARTMENU
    {16, 16},                             // vrDesktopDirectory: CSIDL_DESKTOPDIRECTORY
    {17, 17},                             // vrDrives: CSIDL_DRIVES
    {18, 18},                             // vrNetwork: CSIDL_NETWORK
    {19, 19},                             // vrNetHood: CSIDL_NETHOOD
    {20, 20},                             // vrFonts: CSIDL_FONTS
    {21, 21},                             // vrTemplates: CSIDL_TEMPLATES
    {22, 11},                             // vrCommonStartMenu: CSIDL_COMMON_STARTMENU
    {23, 2},                              // vrCommonPrograms: CSIDL_COMMON_PROGRAMS
    {24, 7},                              // vrCommonStartup: CSIDL_COMMON_STARTUP
    {25, 16},                             // vrCommonDesktopDirectory: CSIDL_COMMON_DESKTOPDIRECTORY
    {26, 26},                             // vrAppData: CSIDL_APPDATA
    {27, 27},                             // vrPrintHood: CSIDL_PRINTHOOD
    {kNoSpecialFolder, kNoSpecialFolder}, // vrDesktopExpanded
}};

// Browser flags (BIF_...) in TBrowseType order.
constexpr std::array<uint32_t, kBrowseTypeCount> kBrowseFlags{
    0x0001, // btDirectoriesOnly: BIF_RETURNONLYFSDIRS
    0x0002, // btDomainOnly: BIF_DONTGOBELOWDOMAIN
    0x0008, // btAncestors: BIF_RETURNFSANCESTORS
    0x1000, // btComputers: BIF_BROWSEFORCOMPUTER
    0x2000, // btPrinters: BIF_BROWSEFORPRINTER
    0x4000, // btIncludeFiles: BIF_BROWSEINCLUDEFILES
};
} // namespace

uint32_t RootToFolderId(TViewRoot root, uint32_t platformId) {
  if (root >= kFolderIds.size())
    return kNoSpecialFolder;
  const TFolderIds &ids = kFolderIds[root];
  return platformId == kPlatformWin32NT ? ids.NT : ids.Other;
}

uint32_t BrowseTypesToFlags(TBrowseTypes options) {
  uint32_t flags = 0;
  for (int type = 0; type < kBrowseTypeCount; ++type)
    if (options.Contains(static_cast<TBrowseType>(type)))
      flags |= kBrowseFlags[static_cast<size_t>(type)];
  return flags;
}

void DropFirstFolder(std::string &dir) {
  if (dir == "\\") {
    dir.clear();
    return;
  }
  const bool rooted = !dir.empty() && dir[0] == '\\';
  if (rooted)
    dir.erase(0, 1);
  // An earlier marker "...\"; a shorter folder name loses what it has.
  if (!dir.empty() && dir[0] == '.')
    dir.erase(0, 4);
  const size_t slash = dir.find('\\');
  if (slash != std::string::npos)
    dir = "...\\" + dir.substr(slash + 1);
  else
    dir.clear();
  if (rooted)
    dir.insert(0, 1, '\\');
}

std::string FitPathToWidth(const std::string &text, int width, const TTextWidthFunc &textWidth) {
  std::string result = text;
  const size_t split = text.find_last_of("\\:");
  std::string dir = split == std::string::npos ? std::string() : text.substr(0, split + 1);
  const std::string fileName = split == std::string::npos ? text : text.substr(split + 1);
  std::string drive;
  if (dir.size() >= 2 && dir[1] == ':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  while (!dir.empty() || !drive.empty()) {
    if (WidthFits(textWidth(result), width))
      break;
    if (dir == "\\...\\") {
      drive.clear();
      dir = "...\\";
    } else if (!dir.empty()) {
      DropFirstFolder(dir);
    } else {
      drive.clear();
    }
    result = drive;
    result += dir;
    result += fileName;
  }
  return result;
}

std::string FitTextToWidth(const std::string &text, int width, const TTextWidthFunc &textWidth) {
  std::string result = text;
  std::string rest = text;
  while (!rest.empty()) {
    if (WidthFits(textWidth(result), width))
      break;
    rest.pop_back();
    result = rest + "...";
  }
  return result;
}

std::string RemoveTrailingBackslash(const std::string &text) {
  if (!text.empty() && text.back() == '\\')
    return text.substr(0, text.size() - 1);
  return text;
}

std::string NormalizeSelectionPath(const std::string &text) {
  if (text.empty() || text == "\\")
    return text;
  if (text.size() >= 4 || text.size() < 2 || text[1] != ':')
    return RemoveTrailingBackslash(text);
  if (text.size() == 2)
    return text + "\\";
  return text;
}

bool IsDriveRootText(std::string_view text, int &driveIndex) {
  if (text.size() != 3 || text[1] != ':' || text[2] != '\\')
    return false;
  unsigned char letter = static_cast<unsigned char>(text[0]);
  if (letter >= 'a' && letter <= 'z')
    letter = static_cast<unsigned char>(letter - 'a' + 'A');
  driveIndex = static_cast<int>(letter) - 'A';
  return true;
}
