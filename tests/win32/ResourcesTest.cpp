// The program's resources as Windows reads them from the built executable: version,
// icon, and exactly one manifest asking for common controls 6 and per-monitor DPI.
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

namespace {
// The program's path in the form Wine opens (Z:\...).
std::string ProgramPath() {
  std::string path = FB_PROGRAM;
  if (!path.empty() && path[0] == '/')
    path = "Z:" + path;
  for (char &c : path)
    if (c == '/')
      c = '\\';
  return path;
}

class ResourcesTest : public ::testing::Test {
protected:
  void SetUp() override {
    Module = LoadLibraryExA(ProgramPath().c_str(), nullptr,
                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(Module, nullptr) << ProgramPath();
  }
  void TearDown() override {
    if (Module)
      FreeLibrary(Module);
  }
  HMODULE Module = nullptr;
};

std::string VersionString(const std::vector<char> &block, const char *name) {
  char *value = nullptr;
  UINT length = 0;
  const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void **>(&value), &length))
    return "<missing>";
  return length ? std::string(value) : std::string();
}
} // namespace

TEST_F(ResourcesTest, VersionIs131WithProduct130AndEmptyTexts) {
  const std::string path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(3, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(3, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(VersionString(block, "CompanyName"), "");
  EXPECT_EQ(VersionString(block, "FileDescription"), "");
  EXPECT_EQ(VersionString(block, "ProductName"), "");
  EXPECT_EQ(VersionString(block, "FileVersion"), "1.3.1.0");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "1.3.0.0");
}

TEST_F(ResourcesTest, CarriesTheMainIcon) {
  EXPECT_NE(FindResourceA(Module, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
}

TEST_F(ResourcesTest, HoldsExactlyOneManifestForCommonControls6AndPerMonitorDpi) {
  struct TFound {
    int Count = 0;
    std::string Text;
  } found;
  EnumResourceNamesA(
      Module, reinterpret_cast<LPCSTR>(RT_MANIFEST),
      [](HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) -> BOOL {
        auto *result = reinterpret_cast<TFound *>(param);
        // Every language of every name counts: a second default manifest would show here.
        EnumResourceLanguagesA(
            module, type, name,
            [](HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR counter) -> BOOL {
              ++reinterpret_cast<TFound *>(counter)->Count;
              return TRUE;
            },
            param);
        HRSRC resource = FindResourceA(module, name, type);
        if (resource)
          result->Text.assign(static_cast<const char *>(LockResource(LoadResource(module, resource))),
                              SizeofResource(module, resource));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&found));
  EXPECT_EQ(found.Count, 1);
  EXPECT_NE(found.Text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(found.Text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(found.Text.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(found.Text.find("true/pm"), std::string::npos);
}
