// The guard of the user's settings tree: this program's tests run inside one
// snapshot of it, and the snapshot itself is checked against the real registry.
#include "tests/support/RegistrySnapshotWin32.h"
#include "tests/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace {
// Whatever the tests of this program do to the settings tree, it ends as it began.
[[maybe_unused]] testing::Environment *const kSettingsGuard =
    testing::AddGlobalTestEnvironment(new TRegistryTreeGuard(kSettingsTree));

const char *const kConverter = "Software\\Holmcraft\\Fusebench\\Converter";

void Put(const char *path, const char *name, DWORD type, const std::string &data) {
  ASSERT_TRUE(PutRegValue(path, name, {type, data}));
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
  const TRegValue marker{REG_BINARY, std::string("\x01\x00\xFFmarker", 9)};
  const TRegValue rootDefault{REG_EXPAND_SZ, std::string("%TEMP%\\x\0", 9)};
  Put(kConverter, "FbMarker", marker.Type, marker.Data);
  Put(kSettingsTree, "", rootDefault.Type, rootDefault.Data);
  TRegistrySnapshot snapshot;
  ASSERT_TRUE(snapshot.Take(kSettingsTree));

  // What tests do meanwhile: clear the tree, write over the values, add others.
  RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsTree);
  Put(kConverter, "FbMarker", REG_SZ, std::string("other\0", 6));
  Put(kConverter, "FbAdded", REG_DWORD, std::string(4, '\0'));
  Put("Software\\Holmcraft\\FbAddedKey", "x", REG_SZ, std::string(1, '\0'));
  ASSERT_TRUE(snapshot.Restore());

  EXPECT_EQ(GetRegValue(kConverter, "FbMarker"), marker);
  EXPECT_EQ(GetRegValue(kSettingsTree, ""), rootDefault);
  EXPECT_FALSE(GetRegValue(kConverter, "FbAdded").has_value());
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
