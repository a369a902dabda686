// A source of device data (the .info file, device packs installed or archived) as
// one small interface, giving the core a device's switch rows and registers.
#pragma once

#include "common/cDeviceFamily.h"
#include "common/cStringList.h"
#include "common/cSwitchRow.h"

#include <cstdint>
#include <string>
#include <vector>

// A configuration register of a device, as its source gives it.
struct TConfigRegister {
  std::string Name;    // CONFIG1L..., where the source names it; else empty
  std::string Address; // the source's text of its address (hexadecimal)
  uint32_t Unset = 0;  // its value when not set
  int Line = 0;        // where it stands in the data file, from 1
  bool Otp = false;    // one-time programmable (device packs say so of a sector)
  // Its device's family, as the data tells it, and the bits the word implements
  // where the data says (a .PIC file's edc:impl); 0 for the family's whole word.
  const TDeviceFamily *Family = &kPic18Family;
  uint32_t Implemented = 0;
};

// The family of a device whose registers these are (ReadTable's); PIC18 for none.
inline const TDeviceFamily &FamilyOfRegisters(const std::vector<TConfigRegister> &registers) {
  return registers.empty() ? kPic18Family : *registers.front().Family;
}

// What the tool reads devices from. The core opens one per folder
// (OpenDeviceSource, core/cDeviceSources.h) and whoever asked holds it; the window
// and configgen ask it, never its kind.
class IDeviceSource {
public:
  virtual ~IDeviceSource() = default;

  // What the status line shows where the .info file's version stands: "V1.42.7",
  // or the packs and their versions.
  virtual std::string StatusName() const = 0;
  // The devices it lists, in its own order: the 18F parts (18LF on request), as the
  // window lists them.
  virtual const TStringList &DeviceNames() const = 0;
  // Every 8-bit part it describes (PIC10, 12, 16 and 18, F and LF), in its own order:
  // what configgen takes by name. PIC17 parts and serial EEPROMs are in neither list.
  virtual const TStringList &AllDeviceNames() const = 0;
  // Where its devices were read, as messages name it: "DIR/8bit_device.info", "the
  // device packs in DIR".
  virtual std::string Where() const = 0;
  // The file a device's data comes from, as messages name it.
  virtual std::string FileOf(const std::string &device) const = 0;
  // Appends the device's switches to Rows (any part of AllDeviceNames), each at its first setting (a switch
  // without selectable settings gets none), and its configuration registers to
  // Registers when given, in the order the source gives them. False, with nothing
  // appended, when it has no such device or no part section for it. Bad data raises
  // an Exception with the rows read before it appended (and its place on it, where
  // the message does not say it).
  virtual bool ReadTable(const std::string &device, bool useInfoDefaults, std::vector<TSwitchRow> &rows,
                         std::vector<TConfigRegister> *registers) = 0;
};
