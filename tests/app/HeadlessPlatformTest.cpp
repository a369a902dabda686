// The in-memory registry and folder set.
#include "tests/support/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::string ReadAll(IRegistry &registry, IRegistry::THandle key, const std::string &name) {
  uint32_t type = 0, size = 0;
  if (!registry.QueryValueInfo(key, name, type, size))
    return "<missing>";
  std::string data(size, '\0');
  if (!registry.QueryValueData(key, name, data.data(), size))
    return "<failed>";
  return data.substr(0, size);
}
} // namespace

TEST(TMemoryRegistry, CreateMakesParentsAndOpenFindsOnlyExistingKeys) {
  TMemoryRegistry registry;
  IRegistry::THandle key = 0;
  EXPECT_FALSE(registry.OpenKey("\\Software\\A\\B", key));
  ASSERT_TRUE(registry.CreateKey("\\Software\\A\\B", key));
  EXPECT_TRUE(registry.KeyExists("Software\\A"));
  EXPECT_TRUE(registry.KeyExists("software\\a\\b\\"));
  EXPECT_EQ(registry.OpenHandles(), 1);
  registry.CloseKey(key);
  EXPECT_EQ(registry.OpenHandles(), 0);

  IRegistry::THandle again = 0;
  ASSERT_TRUE(registry.OpenKey("SOFTWARE\\a\\B", again));
  EXPECT_TRUE(registry.SetString(again, "Device", "18F1"));
  registry.CloseKey(again);
  EXPECT_FALSE(registry.SetString(again, "Device", "x")); // closed handle

  registry.DeleteKey("\\Software\\A");
  EXPECT_FALSE(registry.KeyExists("Software\\A\\B"));
  EXPECT_TRUE(registry.KeyExists("Software"));
}

TEST(TMemoryRegistry, ValuesKeepTheirTypeAndBytes) {
  TMemoryRegistry registry;
  registry.PutValue("\\K", "Raw", IRegistry::kRegSz, "abc"); // no terminating zero
  registry.PutValue("\\K", "Number", IRegistry::kRegDword, std::string("\x01\0\0\0", 4));
  IRegistry::THandle key = 0;
  ASSERT_TRUE(registry.OpenKey("\\K", key));
  ASSERT_TRUE(registry.SetString(key, "Text", "xy"));

  uint32_t type = 0, size = 0;
  ASSERT_TRUE(registry.QueryValueInfo(key, "text", type, size));
  EXPECT_EQ(type, IRegistry::kRegSz);
  EXPECT_EQ(size, 3u); // with its zero
  EXPECT_EQ(ReadAll(registry, key, "Text"), std::string("xy\0", 3));
  EXPECT_EQ(ReadAll(registry, key, "Raw"), "abc");
  ASSERT_TRUE(registry.QueryValueInfo(key, "Number", type, size));
  EXPECT_EQ(type, IRegistry::kRegDword);
  EXPECT_EQ(ReadAll(registry, key, "Missing"), "<missing>");

  // A buffer too small fails and tells the size needed.
  char small[2];
  uint32_t smallSize = sizeof small;
  EXPECT_FALSE(registry.QueryValueData(key, "Raw", small, smallSize));
  EXPECT_EQ(smallSize, 3u);
  registry.CloseKey(key);
  EXPECT_EQ(registry.ValueNames("\\K"), (std::vector<std::string>{"Number", "Raw", "Text"}));
}

TEST(TMemoryFileSystem, FoldersCompareIgnoringCaseAndATrailingSeparator) {
  TMemoryFileSystem fs;
  fs.AddFolder("C:\\Microchip\\MPASM Suite\\");
  fs.AddFolder("D:\\");
  const struct {
    const char *Path;
    bool Exists;
  } cases[] = {{"C:\\MICROCHIP\\MPASM SUITE", true},
               {"c:\\microchip\\mpasm suite\\", true},
               {"C:/Microchip/MPASM Suite", true},
               {"C:\\Microchip", false},
               {"D:\\", true},
               {"D:", false},
               {"", false}};
  for (const auto &c : cases)
    EXPECT_EQ(fs.FolderExists(c.Path), c.Exists) << c.Path;
}
