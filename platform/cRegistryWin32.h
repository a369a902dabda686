// The per-user registry seam on Win32: keys under HKEY_CURRENT_USER, opened for
// reading and writing, with the 8-bit registry calls.
#pragma once

#include "seams/cPlatform.h"

#include <string>

class TRegistryWin32 : public IRegistry {
public:
  // Path is taken from the root; a leading "\" (absolute path) is dropped.
  bool OpenKey(const std::string &path, THandle &key) override;
  bool CreateKey(const std::string &path, THandle &key) override;
  // Size is the value's whole size in bytes, however long it is.
  bool QueryValueInfo(THandle key, const std::string &name, uint32_t &type, uint32_t &size) override;
  // Writes the data as stored (a string without its terminating zero included);
  // false when it does not fit in Size bytes.
  bool QueryValueData(THandle key, const std::string &name, char *data, uint32_t &size) override;
  bool SetString(THandle key, const std::string &name, const std::string &value) override;
  void CloseKey(THandle key) override;

  // The key path as the registry calls take it: without one leading "\".
  static std::string SubKeyPath(const std::string &path);
};
