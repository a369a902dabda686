// The save-file dialog seam on Win32.
#include "platform/cSaveFileDialogWin32.h"

#include <commdlg.h>

std::string DialogFilter(const std::string &filter) {
  std::string result = filter;
  for (char &c : result)
    if (c == '|')
      c = '\0';
  result.append(2, '\0');
  return result;
}

std::string DefaultExtension(const std::string &filter) {
  const size_t bar = filter.find('|');
  if (bar == std::string::npos)
    return {};
  const std::string pattern = filter.substr(bar + 1, filter.find_first_of("|;", bar + 1) - bar - 1);
  if (pattern.rfind("*.", 0) != 0 || pattern.find_first_of("*?", 2) != std::string::npos)
    return {};
  return pattern.substr(2);
}

std::string TSaveFileDialogWin32::AskSaveFileName(const std::string &title, const std::string &defaultName,
                                                  const std::string &filter) {
  char name[MAX_PATH] = {};
  defaultName.copy(name, sizeof name - 1);
  const std::string filters = DialogFilter(filter);
  const std::string extension = DefaultExtension(filter);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = FOwner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof name;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&dialog))
    return {};
  return name;
}
