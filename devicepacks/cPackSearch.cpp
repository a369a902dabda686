// The folders where the vendor's IDE keeps its device packs.
#include "devicepacks/cPackSearch.h"

#include "devicepacks/cPackPath.h"
#include "devicepacks/cFolderList.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <utility>

namespace {
using TSystem = TPackSearch::TSystem;

// A folder's entries are looked at up to this many; a search within an IDE version
// (macOS) looks at this many folders at most.
constexpr int kMaxEntries = 10000;
constexpr int kMaxFoldersSearched = 2000;

char SeparatorOf(TSystem system) {
  return system == TSystem::Windows ? '\\' : '/';
}

std::string Join(const std::string &folder, const std::string &name, TSystem system) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
    return folder + name;
  return folder + SeparatorOf(system) + name;
}

// Path as it lies under the search's root: a Windows path without its drive.
std::string Under(const TPackSearch &search, std::string path) {
  if (search.Root.empty())
    return path;
  if (path.size() >= 2 && path[1] == ':')
    path.erase(0, 2);
  while (!path.empty() && (path.front() == '/' || path.front() == '\\'))
    path.erase(0, 1);
  return Join(search.Root, path, search.System);
}

// The subfolders of Folder, by name.
std::vector<std::string> SubfoldersOf(const std::string &folder) {
  std::vector<TFolderEntry> entries;
  bool overfull = false;
  std::vector<std::string> names;
  if (ListFolder(folder, kMaxEntries, entries, overfull))
    for (TFolderEntry &entry : entries)
      if (entry.Folder)
        names.push_back(std::move(entry.Name));
  std::sort(names.begin(), names.end());
  return names;
}

// The IDE's version folders in Folder ("v6.20"), newest first.
std::vector<std::string> IdeVersionsIn(const std::string &folder) {
  std::vector<std::string> versions;
  for (std::string &name : SubfoldersOf(folder))
    if (name.size() > 1 && (name[0] == 'v' || name[0] == 'V') && IsVersion(std::string_view(name).substr(1)))
      versions.push_back(std::move(name));
  std::stable_sort(versions.begin(), versions.end(), [](const std::string &a, const std::string &b) {
    return PreferVersion(std::string_view(a).substr(1), std::string_view(b).substr(1));
  });
  return versions;
}

// The first folder named "packs" within Folder, breadth first, at most five levels
// down; the application bundle keeps it deep inside.
std::string PacksWithin(const std::string &folder, TSystem system) {
  std::deque<std::pair<std::string, int>> queue{{folder, 0}};
  for (int looked = 0; !queue.empty() && looked < kMaxFoldersSearched; ++looked) {
    const auto [at, depth] = queue.front();
    queue.pop_front();
    for (const std::string &name : SubfoldersOf(at)) {
      if (name == "packs")
        return Join(at, name, system);
      if (depth < 4)
        queue.emplace_back(Join(at, name, system), depth + 1);
    }
  }
  return Join(folder, "packs", system);
}
} // namespace

TPackSearch PackSearchOfThisSystem() {
  TPackSearch search;
  const auto variable = [](const char *name) {
    const char *value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  };
#ifdef _WIN32
  search.System = TSystem::Windows;
  search.ProgramFiles = variable("ProgramFiles");
  if (search.ProgramFiles.empty())
    search.ProgramFiles = "C:\\Program Files";
  search.Home = variable("USERPROFILE");
#else
#ifdef __APPLE__
  search.System = TSystem::MacOS;
#else
  search.System = TSystem::Linux;
#endif
  search.Home = variable("HOME");
#endif
  search.Root = variable(kPackSearchRootVariable);
  return search;
}

std::vector<std::string> PackSearchFolders(const TPackSearch &search) {
  const TSystem system = search.System;
  std::string ide;
  switch (system) {
  case TSystem::Windows:
    ide = Join(Join(search.ProgramFiles, "Microchip", system), "MPLABX", system);
    break;
  case TSystem::Linux:
    ide = "/opt/microchip/mplabx";
    break;
  case TSystem::MacOS:
    ide = "/Applications/microchip/mplabx";
    break;
  }
  ide = Under(search, ide);
  std::vector<std::string> folders;
  for (const std::string &version : IdeVersionsIn(ide)) {
    const std::string folder = Join(ide, version, system);
    folders.push_back(system == TSystem::MacOS ? PacksWithin(folder, system) : Join(folder, "packs", system));
  }
  if (folders.empty())
    folders.push_back(Join(Join(ide, "v*", system), "packs", system));
  if (!search.Home.empty())
    folders.push_back(Join(Under(search, search.Home), ".mchp_packs", system));
  return folders;
}
