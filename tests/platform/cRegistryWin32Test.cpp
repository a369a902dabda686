// The registry seam against the real per-user registry and the settings' own key.
// Every test removes what it wrote: its values, and the keys it had to create; the
// user's settings tree is put back as a whole when the program ends.
#include "platform/cRegistryWin32.h"

#include "tests/support/RegistrySnapshotWin32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace {
[[maybe_unused]] testing::Environment *const kSettingsGuard =
    testing::AddGlobalTestEnvironment(new TRegistryTreeGuard(kSettingsTree));

constexpr const char *kConverterKey = "\\Software\\Holmcraft\\Fusebench\\Converter";

bool KeyExists(const std::string &path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

class RegistryWin32 : public testing::Test {
protected:
  void SetUp() override {
    // The first level of the settings' key that is missing now is removed afterwards.
    for (const char *path : {"Software\\Holmcraft", "Software\\Holmcraft\\Fusebench",
                             "Software\\Holmcraft\\Fusebench\\Converter"})
      if (!KeyExists(path)) {
        FCreatedRoot = path;
        break;
      }
    FScratch = "Software\\FbRegistryTest-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(FRegistry.CreateKey(kConverterKey, FKey));
  }
  void TearDown() override {
    for (const std::string &name : FWritten)
      RegDeleteValueA(reinterpret_cast<HKEY>(FKey), name.c_str());
    FRegistry.CloseKey(FKey);
    if (!FCreatedRoot.empty())
      RegDeleteTreeA(HKEY_CURRENT_USER, FCreatedRoot.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, FScratch.c_str());
  }

  // Stores raw data of any type under a test value name.
  void SetRaw(const std::string &name, DWORD type, const void *data, DWORD size) {
    FWritten.push_back(name);
    ASSERT_EQ(RegSetValueExA(reinterpret_cast<HKEY>(FKey), name.c_str(), 0, type,
                             static_cast<const BYTE *>(data), size),
              ERROR_SUCCESS);
  }
  void SetString(const std::string &name, const std::string &value) {
    FWritten.push_back(name);
    ASSERT_TRUE(FRegistry.SetString(FKey, name, value));
  }
  // Reads a value the way the settings do: its size first, then exactly that much.
  bool Read(const std::string &name, uint32_t &type, std::string &data) {
    uint32_t size = 0;
    if (!FRegistry.QueryValueInfo(FKey, name, type, size))
      return false;
    data.assign(size, '\xAA');
    if (!FRegistry.QueryValueData(FKey, name, data.data(), size))
      return false;
    data.resize(size);
    return true;
  }

  TRegistryWin32 FRegistry;
  IRegistry::THandle FKey = 0;
  std::string FCreatedRoot;
  std::string FScratch;
  std::vector<std::string> FWritten;
};
} // namespace

TEST(RegistryWin32Path, LeadingBackslashMeansFromTheRoot) {
  EXPECT_EQ(TRegistryWin32::SubKeyPath("\\Software\\Holmcraft"), "Software\\Holmcraft");
  EXPECT_EQ(TRegistryWin32::SubKeyPath("Software\\Holmcraft"), "Software\\Holmcraft");
  EXPECT_EQ(TRegistryWin32::SubKeyPath("\\"), "");
  EXPECT_EQ(TRegistryWin32::SubKeyPath(""), "");
}

TEST_F(RegistryWin32, CreateKeyMakesMissingParentsOpenKeyNeverCreates) {
  const std::string deep = "\\" + FScratch + "\\Holmcraft\\Fusebench\\Converter";
  IRegistry::THandle key = 0;
  EXPECT_FALSE(FRegistry.OpenKey(deep, key));
  EXPECT_FALSE(KeyExists(FScratch));
  ASSERT_TRUE(FRegistry.CreateKey(deep, key));
  EXPECT_TRUE(KeyExists(FScratch + "\\Holmcraft\\Fusebench"));
  FRegistry.CloseKey(key);
  // Opened again, with or without the leading backslash, for reading and writing.
  ASSERT_TRUE(FRegistry.OpenKey(deep, key));
  EXPECT_TRUE(FRegistry.SetString(key, "MicrochipPath", "C:\\X"));
  FRegistry.CloseKey(key);
  ASSERT_TRUE(FRegistry.OpenKey(deep.substr(1), key));
  uint32_t type = 0, size = 0;
  EXPECT_TRUE(FRegistry.QueryValueInfo(key, "MicrochipPath", type, size));
  FRegistry.CloseKey(key);

  // The settings' own key exists from SetUp on and opens.
  ASSERT_TRUE(FRegistry.OpenKey(kConverterKey, key));
  FRegistry.CloseKey(key);
}

TEST_F(RegistryWin32, StringsAndOtherTypesAreReportedAsStored) {
  uint32_t type = 0;
  std::string data;
  SetString("FbTestPath", "C:\\Program Files (x86)\\MPASM Suite");
  ASSERT_TRUE(Read("FbTestPath", type, data));
  EXPECT_EQ(type, IRegistry::kRegSz);
  EXPECT_EQ(data, std::string("C:\\Program Files (x86)\\MPASM Suite") + '\0');

  SetString("FbTestEmpty", "");
  ASSERT_TRUE(Read("FbTestEmpty", type, data));
  EXPECT_EQ(type, IRegistry::kRegSz);
  EXPECT_EQ(data, std::string(1, '\0'));

  const char expand[] = "%SystemRoot%\\mpasm";
  SetRaw("FbTestExpand", REG_EXPAND_SZ, expand, sizeof expand);
  ASSERT_TRUE(Read("FbTestExpand", type, data));
  EXPECT_EQ(type, IRegistry::kRegExpandSz);
  EXPECT_EQ(data, std::string(expand, sizeof expand));

  const DWORD number = 0x12345678;
  SetRaw("FbTestNumber", REG_DWORD, &number, sizeof number);
  ASSERT_TRUE(Read("FbTestNumber", type, data));
  EXPECT_EQ(type, IRegistry::kRegDword);
  EXPECT_EQ(data, std::string(reinterpret_cast<const char *>(&number), 4));

  uint32_t size = 0;
  EXPECT_FALSE(FRegistry.QueryValueInfo(FKey, "FbTestMissing", type, size));
  char buffer[8];
  size = sizeof buffer;
  EXPECT_FALSE(FRegistry.QueryValueData(FKey, "FbTestMissing", buffer, size));
}

TEST_F(RegistryWin32, StringWithoutTerminatingZeroIsReturnedWhole) {
  SetRaw("FbTestBare", REG_SZ, "18F452", 6);
  uint32_t type = 0;
  std::string data;
  ASSERT_TRUE(Read("FbTestBare", type, data));
  EXPECT_EQ(type, IRegistry::kRegSz);
  // The whole text; Wine adds a terminating zero of its own, Windows may not.
  EXPECT_EQ(data.substr(0, 6), "18F452");
  EXPECT_LE(data.size(), 7u);
  EXPECT_EQ(data.find_first_not_of('\0', 6), std::string::npos);
  // A buffer one byte short fails rather than cut the text.
  char buffer[5];
  uint32_t size = sizeof buffer;
  EXPECT_FALSE(FRegistry.QueryValueData(FKey, "FbTestBare", buffer, size));
}

TEST_F(RegistryWin32, LongStringIsReturnedWhole) {
  std::string value(size_t{100} * 1024, 'x');
  for (size_t i = 0; i < value.size(); i += 7)
    value[i] = static_cast<char>('a' + i % 26);
  SetString("FbTestLong", value);
  uint32_t type = 0;
  std::string data;
  ASSERT_TRUE(Read("FbTestLong", type, data));
  EXPECT_EQ(type, IRegistry::kRegSz);
  EXPECT_EQ(data, value + '\0');
}

TEST_F(RegistryWin32, NoBufferFetchesNothing) {
  SetString("FbTestShort", "ab");
  uint32_t size = 0;
  EXPECT_FALSE(FRegistry.QueryValueData(FKey, "FbTestShort", nullptr, size));
  EXPECT_EQ(size, 0u);
  size = 3;
  EXPECT_FALSE(FRegistry.QueryValueData(FKey, "FbTestShort", nullptr, size));
  SetRaw("FbTestNothing", REG_BINARY, "", 0);
  size = 0;
  EXPECT_TRUE(FRegistry.QueryValueData(FKey, "FbTestNothing", nullptr, size));
  EXPECT_EQ(size, 0u);
}
