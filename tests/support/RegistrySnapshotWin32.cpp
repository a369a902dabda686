// Copying a per-user registry tree and putting it back exactly.
#include "tests/support/RegistrySnapshotWin32.h"

#ifdef _WIN32

bool TRegistrySnapshot::Take(const std::string &path) {
  FPath.assign(path.begin(), path.end());
  FTaken = false;
  FRoot.reset();
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, FPath.c_str(), 0, KEY_READ, &key);
  if (opened == ERROR_FILE_NOT_FOUND) {
    FTaken = true;
    return true;
  }
  if (opened != ERROR_SUCCESS)
    return false;
  TKey root;
  root.Name = FPath;
  const bool read = Read(key, root);
  RegCloseKey(key);
  if (!read)
    return false;
  FRoot = std::move(root);
  FTaken = true;
  return true;
}

bool TRegistrySnapshot::Restore() const {
  if (!FTaken)
    return false;
  const LONG deleted = RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str());
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
    return false;
  return !FRoot || Write(HKEY_CURRENT_USER, *FRoot);
}

bool TRegistrySnapshot::Read(HKEY key, TKey &into) {
  DWORD subKeys = 0;
  DWORD maxSubKeyName = 0;
  DWORD values = 0;
  DWORD maxValueName = 0;
  DWORD maxData = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyName, nullptr, &values,
                       &maxValueName, &maxData, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  for (DWORD i = 0; i < values; ++i) {
    TValue value;
    value.Name.assign(maxValueName + 1, L'\0');
    value.Data.assign(maxData, '\0');
    DWORD nameLength = maxValueName + 1;
    DWORD size = maxData;
    if (RegEnumValueW(key, i, value.Name.data(), &nameLength, nullptr, &value.Type,
                      reinterpret_cast<BYTE *>(value.Data.data()), &size) != ERROR_SUCCESS)
      return false;
    value.Name.resize(nameLength);
    value.Data.resize(size);
    into.Values.push_back(std::move(value));
  }
  for (DWORD i = 0; i < subKeys; ++i) {
    TKey child;
    child.Name.assign(maxSubKeyName + 1, L'\0');
    DWORD nameLength = maxSubKeyName + 1;
    if (RegEnumKeyExW(key, i, child.Name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      return false;
    child.Name.resize(nameLength);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(key, child.Name.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
      return false;
    const bool read = Read(handle, child);
    RegCloseKey(handle);
    if (!read)
      return false;
    into.SubKeys.push_back(std::move(child));
  }
  return true;
}

bool TRegistrySnapshot::Write(HKEY parent, const TKey &key) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(parent, key.Name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool written = true;
  for (const TValue &value : key.Values)
    written = written && RegSetValueExW(handle, value.Name.c_str(), 0, value.Type,
                                        reinterpret_cast<const BYTE *>(value.Data.data()),
                                        static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
  for (const TKey &child : key.SubKeys)
    written = written && Write(handle, child);
  RegCloseKey(handle);
  return written;
}

void TRegistryTreeGuard::SetUp() {
  // Tests that would change a tree that could not be copied do not run.
  if (!FSnapshot.Take(FPath))
    FAIL() << "cannot copy HKEY_CURRENT_USER\\" << FPath << "; no test runs";
}

void TRegistryTreeGuard::TearDown() {
  if (FSnapshot.Taken() && !FSnapshot.Restore())
    ADD_FAILURE() << "cannot restore HKEY_CURRENT_USER\\" << FPath;
}

#endif
