// Device data written both ways, as a device pack's .PIC file (XML) and as the
// vendor's 8bit_device.info records, for the tests, the samples and the benchmarks;
// and deterministic packs of realistic size.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TGenSetting {
  std::string Name; // empty: a semantic without a cname
  std::string Description;
  uint32_t Value = 0;    // V, before shifting
  uint32_t WhenMask = 0; // M; 0 takes the field's mask
  bool Hidden = false;
  bool LangHidden = false;
};

struct TGenField {
  std::string Name;
  std::string Description;
  uint32_t Mask = 1; // before shifting
  int Width = 1;
  int Adjust = 0; // an adjust point before the field steps the bit offset by this
  bool Hidden = false;
  bool LangHidden = false;
  bool NameOnly = false; // written with edc:name and an empty edc:cname
  std::vector<TGenSetting> Settings;
};

struct TGenRegister {
  std::string Name;
  uint32_t Address = 0;
  uint32_t Unset = 0;
  uint32_t Implemented = 0xFF;
  bool Wormhole = false; // in the WORMHoleSector, as J-family parts keep them
  std::vector<TGenField> Fields;
  // Which configuration sector it stands in: 0 the first, then the further ones
  // that follow it in the file (the newest parts have a second), and whether that
  // sector is one-time programmable (edc:isotp; a sector's registers agree on it).
  int Sector = 0;
  bool Otp = false;
};

struct TGenDevice {
  std::string Name;            // 18F45K22
  std::string Arch = "18xxxx"; // edc:arch: its family
  std::vector<TGenRegister> Registers;
  // The pin list (edc:PinList): each pin's functions ("RB5", "KBI1", "PGM"); none
  // written where it is empty, as the .info file has none.
  std::vector<std::vector<std::string>> Pins;
};

// Writes Files (entry names and contents) as a zip archive at Path, deflated, through
// libzip.
void WriteZip(const std::string &path, const std::vector<std::pair<std::string, std::string>> &files);
// A pack's description (.pdsc) as the vendor's packs hold it at their root: the
// vendor, the pack's name and its releases, newest first.
std::string PackDescription(const std::string &vendor, const std::string &name,
                            const std::vector<std::string> &versions);
// Writes each version folder of the packs folder Root (Root/Vendor/Pack/Version/...)
// as the vendor publishes it: Folder/Vendor.Pack.Version.atpack, holding the version
// folder's files and Vendor.Pack.pdsc. Returns the archives' paths in name order.
std::vector<std::string> WritePackArchives(const std::string &root, const std::string &folder);

// Names and descriptions are code page 1252 text; the XML is UTF-8. Padding adds
// special-function-register definitions after the configuration registers until
// the text is at least that many bytes, as the vendor's files are mostly those.
std::string PicXml(const TGenDevice &device, size_t padding = 0);
// The same devices as 8bit_device.info: the version record, the index and one part
// section each, holding what the packs offer (no hidden or RESERVED field, no
// hidden or nameless setting), with the value when the setting matches exactly.
std::string InfoText(const std::vector<TGenDevice> &devices, const std::string &version = "1.0.0");
// A realistic device of 6 to 14 registers, with hidden and RESERVED fields,
// don't-care settings and adjust points; the same seed gives the same device.
TGenDevice RandomDevice(const std::string &name, unsigned seed);

// Writes an archive as large as the vendor's largest PIC18 pack at Folder/
// Microchip.PIC18F-Q_DFP.1.28.451.atpack, of about Megabytes MB: 200 devices' .PIC
// files of 150 KB to 1 MB, a .pdsc describing each device, and the pack's other
// files (headers, libraries) that make up most of its size. Returns its path and
// the device whose file is the 1 MB one.
std::pair<std::string, std::string> WriteBenchArchive(const std::string &folder, int megabytes = 80);

// Writes packs of realistic size under Root (a packs folder: Root/Microchip/...):
// three packs of about 200 devices each, two versions of the first, files of
// 150 KB to 1 MB. Returns the name of the device whose file is the 1 MB one.
std::string WriteBenchPacks(const std::string &root);
