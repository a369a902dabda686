// Folder selection, portable part: the browse roots and options with their shell ids
// and flags, and the path and text shaping behind the folder browser's status line.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

// Root of the browser's tree; each value maps to a shell special-folder id.
enum TViewRoot : uint8_t {
  vrDesktop,
  vrInternet,
  vrPrograms,
  vrControlPanel,
  vrPrinters,
  vrPersonal,
  vrFavorites,
  vrStartup,
  vrRecent,
  vrSendTo,
  vrRecycleBin,
  vrStartMenu,
  vrDesktopDirectory,
  vrDrives,
  vrNetwork,
  vrNetHood,
  vrFonts,
  vrTemplates,
  vrCommonStartMenu,
  vrCommonPrograms,
  vrCommonStartup,
  vrCommonDesktopDirectory,
  vrAppData,
  vrPrintHood,
  vrDesktopExpanded
};
inline constexpr int kViewRootCount = 25;

// What the browser may return; each value maps to one browser flag.
enum TBrowseType : uint8_t {
  btDirectoriesOnly,
  btDomainOnly,
  btAncestors,
  btComputers,
  btPrinters,
  btIncludeFiles
};
inline constexpr int kBrowseTypeCount = 6;

// A set of TBrowseType in one byte: bit n stands for ordinal n.
class TBrowseTypes {
public:
  constexpr TBrowseTypes() = default;
  constexpr TBrowseTypes(std::initializer_list<TBrowseType> types) {
    for (TBrowseType type : types)
      Include(type);
  }
  static constexpr TBrowseTypes FromBits(uint8_t bits) {
    TBrowseTypes result;
    result.FBits = bits;
    return result;
  }

  constexpr bool Contains(TBrowseType type) const { return type < 8 && (FBits >> type & 1u) != 0; }
  constexpr TBrowseTypes &Include(TBrowseType type) {
    if (type < 8)
      FBits = static_cast<uint8_t>(FBits | 1u << type);
    return *this;
  }
  constexpr TBrowseTypes &Exclude(TBrowseType type) {
    if (type < 8)
      FBits = static_cast<uint8_t>(FBits & ~(1u << type));
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint8_t Bits() const { return FBits; }
  constexpr bool operator==(const TBrowseTypes &other) const = default;

private:
  uint8_t FBits = 0;
};
static_assert(sizeof(TBrowseTypes) == 1);
static_assert(sizeof(TViewRoot) == 1);

// Platform id of the NT line of Windows (VER_PLATFORM_WIN32_NT).
inline constexpr uint32_t kPlatformWin32NT = 2;
// The id that names no special folder: the browser then starts at the desktop.
inline constexpr uint32_t kNoSpecialFolder = 0xFEFE;
// Browser flag for a status line (BIF_STATUSTEXT); no TBrowseType maps to it.
inline constexpr uint32_t kBrowseStatusTextFlag = 0x0004;
// Length of every text buffer exchanged with the shell (MAX_PATH), NUL included.
inline constexpr int kShellPathBuffer = 260;

// Special-folder id of Root. PlatformId selects the column: the NT line maps the
// four "common" roots to the all-users folders, every other platform to the
// per-user ones. A value outside the enumeration gives kNoSpecialFolder.
uint32_t RootToFolderId(TViewRoot root, uint32_t platformId);
// Browser flags (BIF_...) of the options.
uint32_t BrowseTypesToFlags(TBrowseTypes options);

// One step of path shortening: the first folder level of Dir becomes "...\".
// A leading "." (an earlier marker) loses up to four characters first.
void DropFirstFolder(std::string &dir);

// Measures a text in whatever font and unit the caller uses.
using TTextWidthFunc = std::function<int(const std::string &text)>;
// True when a measured width fits the available one; 0 (a failed measurement) always fits.
inline bool WidthFits(int textWidth, int available) {
  return textWidth == 0 || textWidth <= available;
}
// The path shortened step by step (folders become "...\", then drive and folders
// go) until it fits Width; the last candidate is taken unmeasured.
std::string FitPathToWidth(const std::string &text, int width, const TTextWidthFunc &textWidth);
// The text cut one character at a time, with "..." appended, until it fits Width;
// the last candidate ("...") is taken unmeasured.
std::string FitTextToWidth(const std::string &text, int width, const TTextWidthFunc &textWidth);

// Text without one trailing "\".
std::string RemoveTrailingBackslash(const std::string &text);
// The form of a path that the browser is given as its selection: no trailing "\"
// except for a drive root, which always has one ("C:" gives "C:\").
std::string NormalizeSelectionPath(const std::string &text);

// True when Text is a drive root: three characters, ":" second and "\" third.
// DriveIndex is then the upper-cased first character's code minus that of "A"
// (outside 0..25 for anything but a letter).
bool IsDriveRootText(std::string_view text, int &driveIndex);
