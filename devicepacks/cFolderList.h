// A folder's entries as the system lists them: names and kinds only, read in one
// pass (no path is built per entry), for the packs' walk over hundreds of files.
#pragma once

#include <string>
#include <vector>

struct TFolderEntry {
  std::string Name;
  bool Folder = false; // a folder, or a link to one
  bool Link = false;   // a link (followed for Folder)
};

// The path separator of the system.
#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

// Lists Folder's entries ("." and ".." left out) in the system's order, at most
// Limit of them: Overfull tells there were more. False when it cannot be listed.
bool ListFolder(const std::string &folder, int limit, std::vector<TFolderEntry> &entries, bool &overfull);
