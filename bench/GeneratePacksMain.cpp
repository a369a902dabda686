// Writes device packs:
//   fb_gen_packs bench DIR            packs of realistic size (about 600 devices);
//                                     prints the device whose file is 1 MB
//   fb_gen_packs sample INFO_DIR DIR  the devices of INFO_DIR's 8bit_device.info as
//                                     packs, as the project's samples hold them (with
//                                     the pin lists the .info file cannot hold), and
//                                     a part of the newest kind that only packs hold
//   fb_gen_packs atpack DIR           an .atpack archive of about 80 MB (200 devices);
//                                     prints the device whose file is 1 MB
#include "bench/cPackGenerator.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cInfoFile.h"

#include <bit>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {
namespace fs = std::filesystem;

// The register names, from the .info file's register records.
std::string RegisterName(const std::vector<std::string> &lines, int line) {
  TStringList fields;
  SplitFields(lines[static_cast<size_t>(line - 1)], fields);
  return fields.Count() > 2 ? fields[2] : std::string();
}

// A device's table as pack data: each register's fields in the file's order, placed
// by adjust points (backwards, where the file goes back), the bits left above the
// last field as a hidden RESERVED field, and a don't-care setting for wide fields.
TGenDevice FromTable(const std::string &name, const std::vector<TSwitchRow> &rows,
                     const std::vector<TConfigRegister> &registers, const std::vector<std::string> &lines) {
  TGenDevice device;
  device.Name = name;
  const TDeviceFamily &family = FamilyOfRegisters(registers);
  device.Arch = family.Codes[0];
  for (size_t r = 0; r < registers.size(); ++r) {
    TGenRegister &reg = device.Registers.emplace_back();
    reg.Name = RegisterName(lines, registers[r].Line);
    reg.Address = static_cast<uint32_t>(std::stoul(registers[r].Address, nullptr, 16));
    reg.Unset = registers[r].Unset;
    reg.Implemented = family.WordMask();
    int offset = 0;
    int top = 0;
    for (const TSwitchRow &row : rows) {
      if (row.Register != static_cast<int>(r) || row.Mask == 0)
        continue;
      TGenField field;
      const int at = std::countr_zero(row.Mask);
      field.Mask = row.Mask >> at;
      field.Width = static_cast<int>(std::bit_width(field.Mask));
      field.Adjust = at - offset;
      offset = at + field.Width;
      top = std::max(top, offset);
      field.Name = row.Name;
      field.Description = row.Function;
      for (const TSwitchSetting &setting : row.Settings)
        field.Settings.push_back({setting.Name, setting.Description, setting.Value >> at, 0, false, false});
      if (field.Width > 2)
        field.Settings.push_back({"", "", 0, field.Mask & ~1u, false, true});
      reg.Fields.push_back(std::move(field));
    }
    if (top < family.WordBits) {
      TGenField reserved;
      reserved.Name = "RESERVED";
      reserved.Hidden = true;
      reserved.Adjust = top - offset;
      reserved.Width = family.WordBits - top;
      reserved.Mask = (1u << reserved.Width) - 1;
      reserved.Settings.push_back({"", "", reserved.Mask, 0, false, true});
      reg.Fields.push_back(std::move(reserved));
    }
  }
  return device;
}

// A pin list from its pins in order, separated by blanks, each pin's functions
// written "RB5/KBI1/PGM".
std::vector<std::vector<std::string>> PinList(const std::string &pins) {
  std::vector<std::vector<std::string>> list;
  std::istringstream words(pins);
  for (std::string pin; words >> pin;) {
    std::vector<std::string> &functions = list.emplace_back();
    std::istringstream names(pin);
    for (std::string name; std::getline(names, name, '/');)
      functions.push_back(name);
  }
  return list;
}

// The pin lists of the samples' packs, which the .info file cannot hold: the
// 18F4520 gives RB5 over to PGM, low-voltage programming's entry pin; the 18F26Q10,
// shaped like the Q parts, has no PGM pin (it enters programming by a key sequence
// on MCLR). The other parts' files have no pin list: their data says nothing of one.
std::vector<std::vector<std::string>> SamplePins(const std::string &device) {
  if (device == "18F4520")
    return PinList("MCLR/VPP/RE3 RA0/AN0 RA1/AN1 RA2/AN2/VREF-/CVREF RA3/AN3/VREF+ RA4/T0CKI/C1OUT "
                   "RA5/AN4/SS/HLVDIN/C2OUT RE0/RD/AN5 RE1/WR/AN6 RE2/CS/AN7 VDD VSS OSC1/CLKI/RA7 "
                   "OSC2/CLKO/RA6 RC0/T1OSO/T13CKI RC1/T1OSI/CCP2 RC2/CCP1/P1A RC3/SCK/SCL RD0/PSP0 RD1/PSP1 "
                   "RD2/PSP2 RD3/PSP3 RC4/SDI/SDA RC5/SDO RC6/TX/CK RC7/RX/DT RD4/PSP4 RD5/PSP5/P1B "
                   "RD6/PSP6/P1C RD7/PSP7/P1D VSS VDD RB0/INT0/FLT0/AN12 RB1/INT1/AN10 RB2/INT2/AN8 "
                   "RB3/AN9/CCP2 RB4/KBI0/AN11 RB5/KBI1/PGM RB6/KBI2/PGC RB7/KBI3/PGD");
  if (device == "18F26Q10")
    return PinList("RE3/MCLR/VPP RA0/ANA0/C1IN0- RA1/ANA1/C1IN1- RA2/ANA2/VREF-/DAC1OUT1 RA3/ANA3/VREF+ "
                   "RA4/ANA4/T0CKI RA5/ANA5/SS1 VSS RA7/ANA7/OSC1/CLKIN RA6/ANA6/OSC2/CLKOUT "
                   "RC0/ANC0/T1CKI/SOSCO RC1/ANC1/SOSCI RC2/ANC2/T5CKI RC3/ANC3/SCK1/SCL1 RC4/ANC4/SDI1/SDA1 "
                   "RC5/ANC5/T4IN RC6/ANC6/TX1/CK1 RC7/ANC7/RX1/DT1 VSS VDD RB0/ANB0/INT0/ZCD RB1/ANB1/INT1 "
                   "RB2/ANB2/INT2 RB3/ANB3/C1IN2- RB4/ANB4/T5G RB5/ANB5/T1G RB6/ANB6/ICSPCLK "
                   "RB7/ANB7/DAC1OUT2/ICSPDAT");
  return {};
}

// A field of the packs-only part: Width bits from Adjust past the last one, with its
// settings (name, description, value).
TGenField Field(const std::string &name, const std::string &description, int width, int adjust,
                const std::vector<TGenSetting> &settings) {
  TGenField field;
  field.Name = name;
  field.Description = description;
  field.Width = width;
  field.Mask = (1u << width) - 1;
  field.Adjust = adjust;
  field.Settings = settings;
  return field;
}

// Unused bits, as the vendor's files hide them.
TGenField Reserved(int width, int adjust = 0) {
  TGenField field =
      Field("RESERVED", "Reserved", width, adjust, {{"", "", (1u << width) - 1, 0, false, true}});
  field.Hidden = true;
  return field;
}

// A part of the newest kind, which only device packs describe: a first configuration
// sector with a boot block size whose chip default (0xFF) is none of its settings,
// then a second, one-time programmable sector whose registers' names are out of
// address order.
TGenDevice NewestPart() {
  TGenDevice device;
  device.Name = "18F04Q20";
  auto reg = [&](const std::string &name, uint32_t address, uint32_t implemented,
                 std::vector<TGenField> fields) -> TGenRegister & {
    TGenRegister &r = device.Registers.emplace_back();
    r.Name = name;
    r.Address = address;
    r.Unset = 0xFF;
    r.Implemented = implemented;
    r.Fields = std::move(fields);
    return r;
  };
  reg("CONFIG1", 0x300000, 0x77,
      {Field("FEXTOSC", "External Oscillator Selection", 3, 0,
             {{"ECH", "EC (external clock) above 8 MHz", 7},
              {"ECM", "EC (external clock) for 500 kHz to 8 MHz", 6},
              {"ECL", "EC (external clock) below 500 kHz", 5},
              {"OFF", "Oscillator not enabled", 4},
              {"HS", "HS (crystal oscillator) above 4 MHz", 2},
              {"XT", "XT (crystal oscillator) above 100 kHz, up to 4 MHz", 1},
              {"LP", "LP (crystal oscillator) optimized for 32.768 kHz", 0}}),
       Reserved(1),
       Field("RSTOSC", "Reset Oscillator Selection", 3, 0,
             {{"EXTOSC", "EXTOSC operating per FEXTOSC bits", 7},
              {"HFINTOSC_1MHZ", "HFINTOSC at 4 MHz with a 4:1 divider", 6},
              {"LFINTOSC", "LFINTOSC", 5},
              {"SOSC", "SOSC", 4},
              {"EXTOSC_4PLL", "EXTOSC with 4x PLL, EXTOSC operating per FEXTOSC bits", 2},
              {"HFINTOSC_64MHZ", "HFINTOSC at 64 MHz with a 1:1 divider", 0}}),
       Reserved(1)});
  reg("CONFIG2", 0x300001, 0x39,
      {Field("CLKOUTEN", "Clock out Enable bit", 1, 0,
             {{"OFF", "CLKOUT function is disabled", 1}, {"ON", "CLKOUT function is enabled", 0}}),
       Reserved(2),
       Field("PR1WAY", "PRLOCKED One-Way Set Enable bit", 1, 0,
             {{"ON", "PRLOCKED bit can be cleared and set only once", 1},
              {"OFF", "PRLOCKED bit can be set and cleared repeatedly", 0}}),
       Field("CSWEN", "Clock Switch Enable bit", 1, 0,
             {{"ON", "Writing to NOSC and NDIV is allowed", 1},
              {"OFF", "The NOSC and NDIV bits cannot be changed by user software", 0}}),
       Field("FCMEN", "Fail-Safe Clock Monitor Enable bit", 1, 0,
             {{"ON", "Fail-Safe Clock Monitor enabled", 1}, {"OFF", "Fail-Safe Clock Monitor disabled", 0}}),
       Reserved(2)});
  reg("CONFIG3", 0x300002, 0xFF,
      {Field("MCLRE", "MCLR Enable bit", 1, 0,
             {{"EXTMCLR", "MCLR pin is MCLR", 1}, {"INTMCLR", "MCLR pin is a port pin", 0}}),
       Field("PWRTS", "Power-up timer selection bits", 2, 0,
             {{"PWRT_OFF", "PWRT is disabled", 3},
              {"PWRT_64", "PWRT set at 64 ms", 2},
              {"PWRT_16", "PWRT set at 16 ms", 1},
              {"PWRT_1", "PWRT set at 1 ms", 0}}),
       Field("MVECEN", "Multi-vector enable bit", 1, 0,
             {{"ON", "Multi-vector enabled, vector table used for interrupts", 1},
              {"OFF", "The interrupt controller does not use the vector table", 0}}),
       Field("IVT1WAY", "IVTLOCK bit One-way set enable bit", 1, 0,
             {{"ON", "IVTLOCK bit can be cleared and set only once", 1},
              {"OFF", "IVTLOCK bit can be cleared and set repeatedly", 0}}),
       Field("LPBOREN", "Low Power BOR Enable bit", 1, 0,
             {{"OFF", "Low-Power BOR disabled", 1}, {"ON", "Low-Power BOR enabled", 0}}),
       Field("BOREN", "Brown-out Reset Enable bits", 2, 0,
             {{"SBORDIS", "Brown-out Reset enabled, SBOREN bit is ignored", 3},
              {"NOSLP", "Brown-out Reset enabled while running, disabled in Sleep", 2},
              {"ON", "Brown-out Reset enabled according to SBOREN", 1},
              {"OFF", "Brown-out Reset disabled", 0}})});
  reg("CONFIG4", 0x300003, 0xBF,
      {Field("BORV", "Brown-out Reset Voltage Selection bits", 2, 0,
             {{"VBOR_1P9", "Brown-out Reset Voltage (VBOR) set to 1.9 V", 3},
              {"VBOR_2P45", "Brown-out Reset Voltage (VBOR) set to 2.45 V", 2},
              {"VBOR_2P7", "Brown-out Reset Voltage (VBOR) set to 2.7 V", 1},
              {"VBOR_2P85", "Brown-out Reset Voltage (VBOR) set to 2.85 V", 0}}),
       Field("ZCD", "ZCD Disable bit", 1, 0,
             {{"OFF", "ZCD module is disabled; the ZCDSEN bit enables it", 1},
              {"ON", "ZCD module is always enabled", 0}}),
       Field("PPS1WAY", "PPSLOCK bit One-Way Set Enable bit", 1, 0,
             {{"ON", "PPSLOCK bit can be cleared and set only once", 1},
              {"OFF", "PPSLOCK bit can be set and cleared repeatedly", 0}}),
       Field("STVREN", "Stack Full/Underflow Reset Enable bit", 1, 0,
             {{"ON", "Stack full/underflow will cause Reset", 1},
              {"OFF", "Stack full/underflow will not cause Reset", 0}}),
       Field("LVP", "Low Voltage Programming Enable bit", 1, 0,
             {{"ON", "Low voltage programming enabled; the MCLRE bit is ignored", 1},
              {"OFF", "HV on MCLR/VPP must be used for programming", 0}}),
       Reserved(1),
       Field("XINST", "Extended Instruction Set Enable bit", 1, 0,
             {{"OFF", "Extended Instruction Set and Indexed Addressing Mode disabled", 1},
              {"ON", "Extended Instruction Set and Indexed Addressing Mode enabled", 0}})});
  reg("CONFIG5", 0x300004, 0x7F,
      {Field("WDTCPS", "WDT Period selection bits", 5, 0,
             {{"WDTCPS_31", "Divider ratio 1:65536; software control of WDTPS", 0x1F},
              {"WDTCPS_15", "Divider ratio 1:1048576", 0x0F},
              {"WDTCPS_11", "Divider ratio 1:65536", 0x0B},
              {"WDTCPS_5", "Divider ratio 1:1024", 0x05},
              {"WDTCPS_0", "Divider ratio 1:32", 0x00}}),
       Field("WDTE", "WDT operating mode", 2, 0,
             {{"ON", "WDT enabled regardless of sleep", 3},
              {"NSLEEP", "WDT enabled while awake, suspended in sleep", 2},
              {"SWDTEN", "WDT enabled/disabled by SWDTEN bit", 1},
              {"OFF", "WDT disabled", 0}}),
       Reserved(1)});
  reg("CONFIG6", 0x300005, 0x3F,
      {Field("WDTCWS", "WDT Window Select bits", 3, 0,
             {{"WDTCWS_7", "window always open (100%); software control", 7},
              {"WDTCWS_4", "window delay 50 percent of time", 4},
              {"WDTCWS_0", "window delay 87.5 percent of time", 0}}),
       Field("WDTCCS", "WDT input clock selector", 3, 0,
             {{"SC", "Software Control", 7},
              {"SOSC", "WDT reference clock is the secondary oscillator", 2},
              {"LFINTOSC", "WDT reference clock is the 31.0 kHz LFINTOSC", 0}}),
       Reserved(2)});
  reg("CONFIG7", 0x300006, 0x83,
      {Field("BBEN", "Boot Block enable bit", 1, 0,
             {{"OFF", "Boot block disabled", 1}, {"ON", "Boot block enabled", 0}}),
       Field("SAFEN", "Storage Area Flash enable bit", 1, 0,
             {{"OFF", "SAF disabled", 1}, {"ON", "SAF enabled", 0}}),
       Reserved(5),
       Field("DEBUG", "Background Debugger", 1, 0,
             {{"OFF", "Background Debugger disabled", 1}, {"ON", "Background Debugger enabled", 0}})});
  std::vector<TGenSetting> sizes;
  for (uint32_t v = 8; v-- > 0;)
    sizes.push_back({"BBSIZE_" + std::to_string(128u << v),
                     "Boot block size is " + std::to_string(128u << v) + " words", v});
  reg("CONFIG8", 0x300007, 0xFF, {Field("BBSIZE", "Boot Block Size selection bits", 8, 0, sizes)});
  reg("CONFIG10", 0x300008, 0x8F,
      {Field("WRTC", "Configuration Register Write Protection bit", 1, 0,
             {{"OFF", "Configuration registers not write-protected", 1},
              {"ON", "Configuration registers write-protected", 0}}),
       Field("WRTB", "Boot Block Write Protection bit", 1, 0,
             {{"OFF", "Boot Block not write-protected", 1}, {"ON", "Boot Block write-protected", 0}}),
       Field("WRTD", "Data EEPROM Write Protection bit", 1, 0,
             {{"OFF", "Data EEPROM not write-protected", 1}, {"ON", "Data EEPROM write-protected", 0}}),
       Field("WRTSAF", "SAF Write Protection bit", 1, 0,
             {{"OFF", "SAF not write-protected", 1}, {"ON", "SAF write-protected", 0}}),
       Reserved(3),
       Field("WRTAPP", "Application Block write protection bit", 1, 0,
             {{"OFF", "Application Block not write-protected", 1},
              {"ON", "Application Block write-protected", 0}})});
  reg("CONFIG11", 0x300009, 0x01,
      {Field("CP", "PFM and Data EEPROM Code Protection bit", 1, 0,
             {{"OFF", "PFM and Data EEPROM code protection disabled", 1},
              {"ON", "PFM and Data EEPROM code protection enabled", 0}}),
       Reserved(7)});
  // The second sector: one-time programmable.
  TGenRegister &lock = reg("CONFIG14", 0x300018, 0x01,
                           {Field("SAFLOCK", "SAFLOCK bit", 1, 0,
                                  {{"OFF", "SAF areas are not locked", 1},
                                   {"ON", "SAF areas are locked and SAFSZ bits cannot be erased", 0}}),
                            Reserved(7)});
  lock.Sector = 1;
  lock.Otp = true;
  TGenRegister &size = reg("CONFIG9", 0x300019, 0xFF,
                           {Field("SAFSZ", "SAF Size Selection bits", 8, 0,
                                  {{"SAFSZ_NONE", "No SAF area", 0xFF},
                                   {"SAFSZ_128", "SAF area is 128 words", 0xFE},
                                   {"SAFSZ_256", "SAF area is 256 words", 0xFC},
                                   {"SAFSZ_512", "SAF area is 512 words", 0xF8},
                                   {"SAFSZ_1024", "SAF area is 1024 words", 0xF0}})});
  size.Sector = 1;
  size.Otp = true;
  // A Q part's pins: no PGM pin.
  device.Pins =
      PinList("VDD RA5/ANA5/OSC1/CLKIN RA4/ANA4/OSC2/CLKOUT RA3/MCLR/VPP RC5/ANC5 RC4/ANC4 RC3/ANC3 "
              "RC2/ANC2 RC1/ANC1 RC0/ANC0 RA2/ANA2/INT0 RA1/ANA1/ICSPCLK RA0/ANA0/ICSPDAT VSS");
  return device;
}

void Write(const fs::path &path, const std::string &text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

int Sample(const std::string &infoFolder, const fs::path &root) {
  TInfoFile reader;
  if (const std::string problem = reader.Load(DeviceInfoFileName(infoFolder), true); !problem.empty())
    throw std::runtime_error(problem);
  std::ifstream in(DeviceInfoFileName(infoFolder), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line.substr(0, line.find('\r')));

  // The K parts in a pack of their own, the Q parts in another; the others in a
  // pack of two versions, the older with fewer devices; one K part in both (it is
  // listed from the K pack).
  const fs::path vendor = root / "Microchip";
  TStringList done;
  for (const std::string &name : reader.AllDeviceNames()) {
    if (done.IndexOf(name) >= 0)
      continue;
    done.Add(name);
    std::vector<TSwitchRow> rows;
    std::vector<TConfigRegister> registers;
    if (!ReadDeviceTable(reader, true, name, rows, &registers))
      continue; // listed without a part section: no data to write
    TGenDevice device = FromTable(name, rows, registers, lines);
    device.Pins = SamplePins(name);
    const std::string xml = PicXml(device);
    const std::string file = "PIC" + name + ".PIC";
    const TDeviceFamily &family = FamilyOfRegisters(registers);
    if (&family == &kEnhancedMidRangeFamily) {
      Write(vendor / "PIC12-16F1xxx_DFP" / "1.3.90" / "edc" / file, xml);
    } else if (&family != &kPic18Family) {
      Write(vendor / "PIC16Fxxx_DFP" / "1.4.149" / "edc" / file, xml);
    } else if (name.find('Q') != std::string::npos) {
      Write(vendor / "PIC18F-Q_DFP" / "1.2.71" / "edc" / file, xml);
    } else if (name.find('K') != std::string::npos) {
      Write(vendor / "PIC18F-K_DFP" / "1.0.4" / "edc" / file, xml);
      if (name == "18F25K22")
        Write(vendor / "PIC18Fxxxx_DFP" / "1.10.3" / "edc" / file, xml);
    } else {
      Write(vendor / "PIC18Fxxxx_DFP" / "1.10.3" / "edc" / file, xml);
      if (name != "18F4520")
        Write(vendor / "PIC18Fxxxx_DFP" / "1.2.0" / "edc" / file, xml);
    }
  }
  // The newest kind of part exists only as packs.
  const TGenDevice newest = NewestPart();
  Write(vendor / "PIC18F-Q_DFP" / "1.2.71" / "edc" / ("PIC" + newest.Name + ".PIC"), PicXml(newest));
  return 0;
}
} // namespace

int main(int argc, char **argv) {
  try {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bench" && argc == 3) {
      std::cout << WriteBenchPacks(argv[2]) << '\n';
      return 0;
    }
    if (mode == "sample" && argc == 4)
      return Sample(argv[2], argv[3]);
    if (mode == "atpack" && argc == 3) {
      std::cout << WriteBenchArchive(argv[2]).second << '\n';
      return 0;
    }
  } catch (const std::exception &e) {
    std::cerr << "fb_gen_packs: " << e.what() << '\n';
    return 1;
  }
  std::cerr << "usage: fb_gen_packs bench DIR | fb_gen_packs sample INFO_DIR DIR | fb_gen_packs atpack DIR\n";
  return 2;
}
