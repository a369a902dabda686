// TMainForm's persisted settings in the real per-user registry under Wine, through
// the Win32 registry and folder test (the tests' own Wine prefix holds the key).
#include "app/UnitMain.h"

#include "app/cModel.h"
#include "platform/cFileSystemWin32.h"
#include "platform/cRegistryWin32.h"
#include "tests/support/HeadlessWindow.h"
#include "tests/support/TestFiles.h"
#include "tests/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <windows.h>

namespace {
const char *const kKey = "Software\\Holmcraft\\Fusebench\\Converter";

using TValue = TRegValue;

TValue Sz(const std::string &text) {
  return {REG_SZ, text + '\0'};
}
TValue ExpandSz(const std::string &text) {
  return {REG_EXPAND_SZ, text + '\0'};
}
TValue Dword(DWORD value) {
  return {REG_DWORD, std::string(reinterpret_cast<const char *>(&value), 4)};
}

std::string LowerCaseAscii(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The program's guard puts the user's tree back at its end (RegistrySnapshotTest.cpp).
void DeleteSettings() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Holmcraft");
}

void Store(const char *name, const TValue &value) {
  ASSERT_TRUE(PutRegValue(kKey, name, value));
}

std::optional<TValue> Fetch(const char *name) {
  return GetRegValue(kKey, name);
}

class SettingsRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { DeleteSettings(); }
  void TearDown() override { DeleteSettings(); }
  std::unique_ptr<THeadlessWindow> OpenWindow() {
    THeadlessServices services;
    services.Registry = &Registry;
    services.FileSystem = &FileSystem;
    auto window = std::make_unique<THeadlessWindow>(services);
    window->Open();
    return window;
  }

  TRegistryWin32 Registry;
  TFileSystemWin32 FileSystem;
};
} // namespace

TEST_F(SettingsRegistryTest, LoadSettingsReadsStringsAndTakesAnyOtherTypeAsAFailure) {
  const std::string samples = SamplesFolder();
  const std::string initial = TMainForm::kInitialFolderText;
  struct TCase {
    const char *Name;
    bool CreateKey;
    std::optional<TValue> Path;
    std::optional<TValue> Device;
    std::string Label;
    std::string ModelPath;
    std::string FormDevice;
  };
  const TCase cases[] = {
      {"no key", false, std::nullopt, std::nullopt, initial, "", ""},
      {"key without values", true, std::nullopt, std::nullopt, initial, "", ""},
      {"empty values", true, Sz(""), Sz(""), initial, "", ""},
      {"existing folder in lower case", true, Sz(LowerCaseAscii(samples)), Sz("18f2550"),
       UpperCaseAscii(samples), UpperCaseAscii(samples), "18F2550"},
      {"expandable string taken as stored", true, ExpandSz("%TEMP%\\vendor"), ExpandSz("18lf25k22"), initial,
       "%TEMP%\\VENDOR", "18LF25K22"},
      {"folder stored as a number", true, Dword(7), Sz("18F1220"), TMainForm::kFolderNotSpecified, "",
       "18F1220"},
      {"device stored as a number", true, Sz("c:\\nowhere\\at all"), Dword(1), initial, "C:\\NOWHERE\\AT ALL",
       ""},
      {"accented letters stay", true, Sz("c:\\dossier\\\xE9l\xE8ve"), Sz("18f\xE9"), initial,
       "C:\\DOSSIER\\\xE9L\xE8VE", "18F\xE9"},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.Name);
    DeleteSettings();
    if (c.CreateKey) {
      HKEY key;
      RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
      RegCloseKey(key);
    }
    if (c.Path)
      Store("MicrochipPath", *c.Path);
    if (c.Device)
      Store("Device", *c.Device);
    auto window = OpenWindow();
    EXPECT_EQ(window->Label("LabelIncludePath").Text(), c.Label);
    EXPECT_EQ(window->Form().Models().Path, c.ModelPath);
    EXPECT_EQ(window->Form().Device(), c.FormDevice);
  }
}

TEST_F(SettingsRegistryTest, SaveSettingsCreatesTheKeyAndWritesBothStringsUnchanged) {
  {
    auto window = OpenWindow();
    window->Close();
  }
  EXPECT_EQ(Fetch("MicrochipPath")->Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Fetch("MicrochipPath")->Data, std::string(1, '\0'));
  EXPECT_EQ(Fetch("Device")->Data, std::string(1, '\0'));

  {
    auto window = OpenWindow();
    window->Form().Models().SetPath("Z:\\Some\\mixed Case \xE9");
    window->Close();
  }
  EXPECT_EQ(Fetch("MicrochipPath")->Data, std::string("Z:\\Some\\mixed Case \xE9") + '\0');

  // A stored folder that does not exist is still the one used and written back.
  Store("MicrochipPath", Sz("c:\\gone"));
  Store("Device", Sz("18f4520"));
  {
    auto window = OpenWindow();
    EXPECT_EQ(window->Label("LabelIncludePath").Text(), TMainForm::kInitialFolderText);
    window->Close();
  }
  EXPECT_EQ(Fetch("MicrochipPath")->Data, std::string("C:\\GONE") + '\0');
  EXPECT_EQ(Fetch("Device")->Data, std::string("18F4520") + '\0');
}
