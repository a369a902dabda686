// The per-user registry seam on Win32.
#include "platform/cRegistryWin32.h"

#include <windows.h>

namespace {
constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;

HKEY Key(IRegistry::THandle key) {
  return reinterpret_cast<HKEY>(key);
}
} // namespace

std::string TRegistryWin32::SubKeyPath(const std::string &path) {
  if (!path.empty() && path[0] == '\\')
    return path.substr(1);
  return path;
}

bool TRegistryWin32::OpenKey(const std::string &path, THandle &key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SubKeyPath(path).c_str(), 0, kAccess, &opened) != ERROR_SUCCESS)
    return false;
  key = reinterpret_cast<THandle>(opened);
  return true;
}

bool TRegistryWin32::CreateKey(const std::string &path, THandle &key) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SubKeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      kAccess, nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return false;
  key = reinterpret_cast<THandle>(opened);
  return true;
}

bool TRegistryWin32::QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) {
  DWORD valueType = 0;
  DWORD valueSize = 0;
  if (RegQueryValueExA(Key(key), name.c_str(), nullptr, &valueType, nullptr, &valueSize) != ERROR_SUCCESS)
    return false;
  type = valueType;
  size = valueSize;
  return true;
}

bool TRegistryWin32::QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) {
  // Without a buffer the call would only report the size; one byte of room that
  // is declared as none makes any non-empty value a "buffer too small" failure.
  BYTE none = 0;
  BYTE *target = data ? reinterpret_cast<BYTE *>(data) : &none;
  if (!data && size != 0)
    return false;
  DWORD count = size;
  if (RegQueryValueExA(Key(key), name.c_str(), nullptr, nullptr, target, &count) != ERROR_SUCCESS)
    return false;
  size = count;
  return true;
}

bool TRegistryWin32::SetString(THandle key, const std::string &name, const std::string &value) {
  return RegSetValueExA(Key(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

void TRegistryWin32::CloseKey(THandle key) {
  RegCloseKey(Key(key));
}
