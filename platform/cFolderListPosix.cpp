// A folder's entries on POSIX systems: readdir, whose entry types spare a stat
// for everything but links and file systems that do not give them.
#include "devicepacks/cFolderList.h"

#include <dirent.h>
#include <sys/stat.h>

bool ListFolder(const std::string &folder, int limit, std::vector<TFolderEntry> &entries, bool &overfull) {
  entries.clear();
  overfull = false;
  DIR *dir = opendir(folder.c_str());
  if (dir == nullptr)
    return false;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
  while (const dirent *entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    if (static_cast<int>(entries.size()) >= limit) {
      overfull = true;
      break;
    }
    TFolderEntry &item = entries.emplace_back();
    item.Name = name;
    item.Folder = entry->d_type == DT_DIR;
    item.Link = entry->d_type == DT_LNK;
    if (item.Link || entry->d_type == DT_UNKNOWN) {
      struct stat status {};
      const std::string path = prefix + item.Name;
      item.Folder = stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
      if (entry->d_type == DT_UNKNOWN && lstat(path.c_str(), &status) == 0)
        item.Link = S_ISLNK(status.st_mode);
    }
  }
  closedir(dir);
  return true;
}
