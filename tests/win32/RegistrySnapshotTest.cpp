// The guard of the user's settings tree: this program's tests run inside one
// snapshot of it, and the snapshot itself is checked against the real registry.
#include "tests/support/RegistrySnapshotWin32.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include <windows.h>

namespace {
// Whatever the tests of this program do to the settings tree, it ends as it began.
[[maybe_unused]] testing::Environment *const kSettingsGuard =
    testing::AddGlobalTestEnvironment(new TRegistryTreeGuard(kSettingsTree));

const char *const kConverter = "Software\\Holmcraft\\Fusebench\\Converter";

using TStored = std::pair<DWORD, std::string>; // type, raw data

void Put(const char *path, const char *name, DWORD type, const std::string &data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

std::optional<TStored> Get(const char *path, const char *name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  char data[256];
  DWORD size = sizeof(data);
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS)
    return std::nullopt;
  return TStored{type, std::string(data, size)};
}

bool KeyExists(const char *path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}
} // namespace

TEST(RegistrySnapshot, RestorePutsBackEveryValueAsStoredAndRemovesWhatWasAdded) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsTree);
  const TStored marker{REG_BINARY, std::string("\x01\x00\xFFmarker", 9)};
  const TStored rootDefault{REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)};
  Put(kConverter, "FbMarker", marker.first, marker.second);
  Put(kSettingsTree, "", rootDefault.first, rootDefault.second);
  TRegistrySnapshot snapshot;
  ASSERT_TRUE(snapshot.Take(kSettingsTree));

  // What tests do meanwhile: clear the tree, write over the values, add others.
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsTree);
  Put(kConverter, "FbMarker", REG_SZ, std::string("other\0", 6));
  Put(kConverter, "FbAdded", REG_DWORD, std::string(4, '\0'));
  Put("Software\\Holmcraft\\FbAddedKey", "x", REG_SZ, std::string(1, '\0'));
  ASSERT_TRUE(snapshot.Restore());

  EXPECT_EQ(Get(kConverter, "FbMarker"), marker);
  EXPECT_EQ(Get(kSettingsTree, ""), rootDefault);
  EXPECT_FALSE(Get(kConverter, "FbAdded").has_value());
  EXPECT_FALSE(KeyExists("Software\\Holmcraft\\FbAddedKey"));
}

TEST(RegistrySnapshot, ATreeThatDidNotExistIsGoneAgainAfterRestore) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsTree);
  TRegistrySnapshot snapshot;
  ASSERT_TRUE(snapshot.Take(kSettingsTree));
  Put(kConverter, "Device", REG_SZ, std::string("18F452\0", 7));
  ASSERT_TRUE(snapshot.Restore());
  EXPECT_FALSE(KeyExists(kSettingsTree));
}
