// A folder's entries on Windows: FindFirstFileEx, names in the ANSI code page as
// the tool's paths are.
#include "devicepacks/cFolderList.h"

#include <windows.h>

bool ListFolder(const std::string &folder, int limit, std::vector<TFolderEntry> &entries, bool &overfull) {
  entries.clear();
  overfull = false;
  const bool separated = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  const std::string pattern = folder + (separated ? "*" : "\\*");
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive root
  do {
    const std::string_view name = data.cFileName;
    if (name == "." || name == "..")
      continue;
    if (static_cast<int>(entries.size()) >= limit) {
      overfull = true;
      break;
    }
    TFolderEntry &item = entries.emplace_back();
    item.Name = name;
    item.Folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.Link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return true;
}
