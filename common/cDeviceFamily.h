// The family of an 8-bit part (PIC18, enhanced mid-range, mid-range, baseline): one
// type holding everything that differs between them, chosen once per part from its
// device data, so that nothing else writes in a family's facts.
#pragma once

#include <cstdint>
#include <string_view>

struct TDeviceFamily {
  const char *Name;      // as messages name it: "PIC18", "enhanced mid-range", ...
  const char *Codes[2];  // the .info part record's family field, a .PIC file's edc:arch
  int WordBits;          // a configuration word's width: 8, 14, 12
  uint32_t RegionFirst;  // where its configuration words may lie, first and last address
  uint32_t RegionLast;   // (baseline parts keep theirs at the top of program memory)
  int HexScale;          // HEX bytes per address: 1 (bytes at their addresses) or 2
                         // (word-addressed: little-endian at twice the word address)
  bool BasicSyntaxes;    // the Tarnwick and Orvane compilers serve it
  bool NamesFromAddress; // a register without a name in the data is CONFIGnL/CONFIGnH

  // The bits a word has: what the family's width implements.
  uint32_t WordMask() const { return WordBits >= 32 ? ~0u : (1u << WordBits) - 1u; }
  // Hexadecimal digits of a word and of an address, as the words print them.
  int WordDigits() const { return (WordBits + 3) / 4; }
  int AddressDigits() const { return HexScale == 1 ? 6 : 4; }
  bool InRegion(uint32_t address) const { return address >= RegionFirst && address <= RegionLast; }
};

inline constexpr TDeviceFamily kPic18Family{"PIC18", {"18xxxx", nullptr}, 8, 0, 0x3000FF, 1, true, true};
inline constexpr TDeviceFamily kEnhancedMidRangeFamily{
    "enhanced mid-range", {"16Exxx", nullptr}, 14, 0x8007, 0x800F, 2, false, false};
inline constexpr TDeviceFamily kMidRangeFamily{"mid-range", {"16xxxx", nullptr}, 14, 0x2007, 0x200F, 2, false,
                                               false};
inline constexpr TDeviceFamily kBaselineFamily{"baseline", {"16c5x", "16c5xe"}, 12, 0, 0x1FFF, 2, false,
                                               false};

// Every family the tool knows, PIC18 first.
inline constexpr const TDeviceFamily *kDeviceFamilies[] = {&kPic18Family, &kEnhancedMidRangeFamily,
                                                           &kMidRangeFamily, &kBaselineFamily};

// The family a data file's code names ("18xxxx", "16Exxx", ...; letter case
// ignored), or null for any other (PIC17, serial EEPROMs, an unknown code).
const TDeviceFamily *FamilyOfCode(std::string_view code);

// The family of a part whose data names none the tool knows: PIC18 where its name
// is one ("PIC18F1220", "18LF25K22"), as the tool has always read such a part; else
// null (its family cannot be told).
const TDeviceFamily *FamilyOfUnnamedPart(std::string_view name);

// Whether Name (with or without "PIC") is an 8-bit PIC's: 10, 12, 16 or 18 and a
// letter ("16F1847", "PIC12LF1840T39A"); PIC17 parts and serial EEPROMs are not.
bool IsEightBitPart(std::string_view name);
// Whether Name (with or without "PIC") is an 18F part, or where IncludeLF an 18LF one,
// as the data writes it: the window's list and configgen devices.
bool IsListedPic18(std::string_view name, bool includeLF);
