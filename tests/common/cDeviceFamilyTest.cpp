// The families: which code names which, which names are 8-bit parts, and each
// family's word.
#include "common/cDeviceFamily.h"

#include <gtest/gtest.h>

TEST(DeviceFamily, TheDataFilesCodesNameTheirFamilyAndOthersNone) {
  const struct {
    const char *Code;
    const TDeviceFamily *Family;
  } cases[] = {
      {"18xxxx", &kPic18Family},
      {"16Exxx", &kEnhancedMidRangeFamily},
      {"16exxx", &kEnhancedMidRangeFamily},
      {"16xxxx", &kMidRangeFamily},
      {"16c5x", &kBaselineFamily},
      {"16c5xe", &kBaselineFamily},
      {"17Cxxx", nullptr},
      {"PIC18", nullptr},
      {"", nullptr},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FamilyOfCode(c.Code), c.Family) << c.Code;
}

TEST(DeviceFamily, APartNamingNoFamilyIsPic18OnlyWhereItsNameIsOne) {
  EXPECT_EQ(FamilyOfUnnamedPart("PIC18F1220"), &kPic18Family);
  EXPECT_EQ(FamilyOfUnnamedPart("18LF25K22"), &kPic18Family);
  EXPECT_EQ(FamilyOfUnnamedPart("PIC16F1847"), nullptr);
  EXPECT_EQ(FamilyOfUnnamedPart("18"), nullptr);
}

TEST(DeviceFamily, EightBitPartsAreListedAndPic17AndSerialEepromsAreNot) {
  const struct {
    const char *Name;
    bool EightBit, Pic18F, Pic18LF;
  } cases[] = {
      {"16F1847", true, false, false},
      {"PIC12LF1840T39A", true, false, false},
      {"10F200", true, false, false},
      {"16F1829LIN", true, false, false},
      {"18F4520", true, true, true},
      {"PIC18LF25K22", true, false, true},
      {"17C44", false, false, false},
      {"24LC256", false, false, false},
      {"AC244043_AS_PIC16F1823", false, false, false},
      {"16", false, false, false},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(IsEightBitPart(c.Name), c.EightBit) << c.Name;
    EXPECT_EQ(IsListedPic18(c.Name, false), c.Pic18F) << c.Name;
    EXPECT_EQ(IsListedPic18(c.Name, true), c.Pic18LF) << c.Name;
  }
}

TEST(DeviceFamily, EachFamilyKnowsItsWordAndHowAHexFileHoldsIt) {
  const struct {
    const TDeviceFamily *Family;
    uint32_t Mask;
    int WordDigits, AddressDigits, Scale;
    uint32_t Inside, Outside;
  } cases[] = {
      {&kPic18Family, 0xFF, 2, 6, 1, 0x300001, 0x400000},
      {&kEnhancedMidRangeFamily, 0x3FFF, 4, 4, 2, 0x8008, 0x2007},
      {&kMidRangeFamily, 0x3FFF, 4, 4, 2, 0x2007, 0x8007},
      {&kBaselineFamily, 0xFFF, 3, 4, 2, 0xFFF, 0x2007},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(c.Family->WordMask(), c.Mask) << c.Family->Name;
    EXPECT_EQ(c.Family->WordDigits(), c.WordDigits) << c.Family->Name;
    EXPECT_EQ(c.Family->AddressDigits(), c.AddressDigits) << c.Family->Name;
    EXPECT_EQ(c.Family->HexScale, c.Scale) << c.Family->Name;
    EXPECT_TRUE(c.Family->InRegion(c.Inside)) << c.Family->Name;
    EXPECT_FALSE(c.Family->InRegion(c.Outside)) << c.Family->Name;
    EXPECT_EQ(c.Family->BasicSyntaxes, c.Family == &kPic18Family) << c.Family->Name;
  }
}
