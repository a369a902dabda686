// Keeps a per-user registry tree as the tests found it: a copy of every subkey and
// value, put back exactly once the tests are done (Windows builds only).
#pragma once

#ifdef _WIN32

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// The tool's per-user settings tree, under HKEY_CURRENT_USER.
inline constexpr const char *kSettingsTree = "Software\\Holmcraft";

// The tree HKEY_CURRENT_USER\Path as it stood when taken: every subkey and every
// value with its type and raw data, or the fact that the key did not exist.
class TRegistrySnapshot {
public:
  // Copies the tree (Path in ASCII); false when it cannot be read whole, and then
  // Restore changes nothing.
  bool Take(const std::string &path);
  // Makes the tree what it was: removes what is there now, then recreates what
  // was taken. False when that fails, or nothing was taken.
  bool Restore() const;
  bool Taken() const { return FTaken; }

private:
  struct TValue {
    std::wstring Name;
    DWORD Type = 0;
    std::string Data;
  };
  struct TKey {
    std::wstring Name; // the root's: its path from HKEY_CURRENT_USER
    std::vector<TValue> Values;
    std::vector<TKey> SubKeys;
  };
  static bool Read(HKEY key, TKey &into);
  static bool Write(HKEY parent, const TKey &key);

  std::wstring FPath;
  bool FTaken = false;
  std::optional<TKey> FRoot; // empty: the key did not exist
};

// A test program's guard of a tree: the snapshot is taken before the first test and
// restored after the last. Register once per program with
// testing::AddGlobalTestEnvironment; when the tree cannot be copied, no test runs.
class TRegistryTreeGuard : public testing::Environment {
public:
  explicit TRegistryTreeGuard(std::string path) : FPath(std::move(path)) {}
  void SetUp() override;
  void TearDown() override;

private:
  std::string FPath;
  TRegistrySnapshot FSnapshot;
};

#endif
