// The rules of the packs' version names.
#include "devicepacks/cPackPath.h"

#include <gtest/gtest.h>

#include <utility>

TEST(PackVersions, AreNumbersSeparatedByDotsComparedNumberByNumber) {
  for (const char *name : {"1.13.292", "1.0", "01.2", "10.20.30.40"})
    EXPECT_TRUE(IsVersion(name)) << name;
  for (const char *name : {"1", "", "1.", ".1", "1..2", "1.6.89.bak", "2.0.0-rc1", "v1.0", "1.0 "})
    EXPECT_FALSE(IsVersion(name)) << name;
  struct {
    const char *A, *B;
    int Order;
  } const cases[] = {{"1.10.0", "1.9.5", 1}, {"1.9.5", "1.10.0", -1},
                     {"2.0", "1.99.99", 1},  {"1.01", "1.1", 0},
                     {"1.0", "1.0.0", -1},   {"123456789012345678901.0", "123456789012345678900.9", 1}};
  for (const auto &c : cases)
    EXPECT_EQ(CompareVersions(c.A, c.B), c.Order) << c.A << " " << c.B;
  // The newer first; of equal versions the shorter, then the first in byte order.
  for (const auto &[a, b] : {std::pair{"1.10.0", "1.9.5"},
                             {"1.2", "01.2"},
                             {"01.2", "1.02"},
                             {"1.2", "1.02"},
                             {"1.2.0", "01.2.0"}}) {
    EXPECT_TRUE(PreferVersion(a, b)) << a << " " << b;
    EXPECT_FALSE(PreferVersion(b, a)) << a << " " << b;
  }
}
