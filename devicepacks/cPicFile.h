// One device's .PIC file from a device pack, parsed into a plain model: its
// configuration registers, their fields and each field's settings, and its pins,
// as the file gives them (names and descriptions in code page 1252).
#pragma once

#include "common/cDeviceFamily.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A field's setting (edc:DCRFieldSemantic): the field's value X selects it when
// (X & WhenMask) == WhenValue.
struct TPicSemantic {
  std::string Name; // edc:cname; empty when it has none
  std::string Description;
  uint32_t WhenMask = 0;
  uint32_t WhenValue = 0;
  bool Hidden = false;     // edc:ishidden is "true"
  bool LangHidden = false; // edc:islanghidden is "true"
  int Line = 0;
};

// A field of a register (edc:DCRFieldDef) at its bit offset.
struct TPicField {
  std::string Name; // edc:cname, or edc:name where that is missing or empty
  std::string Description;
  uint32_t Mask = 0; // before shifting; may have gaps
  int Width = 0;     // edc:nzwidth
  int Offset = 0;    // its lowest bit in the register
  bool Hidden = false;
  bool LangHidden = false;
  int Line = 0;
  std::vector<TPicSemantic> Semantics; // in file order
};

// A configuration register (edc:DCRDef).
struct TPicRegister {
  std::string Name; // edc:cname (CONFIG1L...)
  uint32_t Address = 0;
  uint32_t Unset = 0;       // edc:factorydefault, else edc:default, else 0
  uint32_t Implemented = 0; // edc:impl: the bits the word has; 0 where the file does not say
  int Line = 0;
  std::vector<TPicField> Fields; // in bit order
  bool Otp = false;              // its sector is one-time programmable (edc:isotp is "true")
};

// A pin of the part (edc:Pin in edc:PinList): the names of its functions
// (edc:VirtualPin's edc:name: "RB5", "KBI1", "PGM"), in file order.
struct TPicPin {
  std::vector<std::string> Functions;
};

struct TPicDevice {
  std::string Name; // edc:name of the root
  // Its family: the root's edc:arch ("18xxxx", "16Exxx", ...), else PIC18 where its
  // name is one; a file whose family cannot be told is an error.
  const TDeviceFamily *Family = &kPic18Family;
  // The part's pins, where the file has a pin list (PinListed); an empty list then
  // still says that no pin has a function the list does not name.
  bool PinListed = false;
  std::vector<TPicPin> Pins;
  // Those of every configuration sector (ConfigFuseSector; WORMHoleSector in parts
  // that have none), in address order.
  std::vector<TPicRegister> Registers;
};

// Files larger than this are refused before they are read.
inline constexpr uint64_t kMaxPicFileSize = 64u * 1024u * 1024u;

// Reads the device's file into Device (cleared first). Bad data (a file that cannot
// be read, XML that is not well formed, a value or condition the rules do not
// cover) raises an Exception naming the file, and the line where it is known;
// Device then keeps the registers and fields read before it.
void ReadPicFile(const std::string &fileName, TPicDevice &device);
// As ReadPicFile on text already in memory; FileName is the name messages give.
void ReadPicText(std::string_view text, const std::string &fileName, TPicDevice &device);
