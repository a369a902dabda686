// Writes device data as .PIC XML and as .info records, and the benchmarks' packs.
#include "bench/cPackGenerator.h"

#include "bench/cRandom.h"

#include "common/cCodePage1252.h"
#include "common/cStringList.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
std::string Hex(uint32_t value, bool prefix = true) {
  char text[16];
  std::snprintf(text, sizeof(text), prefix ? "0x%x" : "%X", static_cast<unsigned>(value));
  return text;
}

// Code page 1252 text as an XML attribute value in UTF-8.
std::string Attr(const std::string &text) {
  std::string out;
  for (const char c : text) {
    const char32_t code = Cp1252ToCodePoint(static_cast<unsigned char>(c));
    switch (code) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      out += "&quot;";
      break;
    default:
      if (code < 0x80) {
        out += static_cast<char>(code);
      } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    }
  }
  return out;
}

bool IsReserved(const std::string &name) {
  return CompareText(name, "RESERVED") == 0;
}

void WriteRegister(std::string &xml, const TGenRegister &reg) {
  xml += "      <edc:DCRDef edc:_addr=\"" + Hex(reg.Address) + "\" edc:cname=\"" + Attr(reg.Name) +
         "\" edc:default=\"0xff\" edc:factorydefault=\"" + Hex(reg.Unset) + "\" edc:impl=\"" +
         Hex(reg.Implemented) + "\" edc:name=\"" + Attr(reg.Name) + "\" edc:nzsize=\"0x8\">\n";
  xml += "        <edc:DCRModeList>\n          <edc:DCRMode edc:id=\"DS.0\">\n";
  for (const TGenField &field : reg.Fields) {
    if (field.Adjust != 0)
      xml += "            <edc:AdjustPoint edc:offset=\"" +
             (field.Adjust < 0 ? "-" + Hex(static_cast<uint32_t>(-field.Adjust)) : Hex(field.Adjust)) +
             "\"/>\n";
    xml += "            <edc:DCRFieldDef edc:cname=\"" + (field.NameOnly ? "" : Attr(field.Name)) +
           "\" edc:desc=\"" + Attr(field.Description) + "\"" +
           (field.Hidden ? " edc:ishidden=\"true\"" : "") +
           (field.LangHidden ? " edc:islanghidden=\"true\"" : "") + " edc:mask=\"" + Hex(field.Mask) +
           "\" edc:name=\"" + Attr(field.Name) + "\" edc:nzwidth=\"" + Hex(field.Width) + "\">\n";
    for (const TGenSetting &setting : field.Settings)
      xml += "              <edc:DCRFieldSemantic" +
             (setting.Name.empty() ? std::string() : " edc:cname=\"" + Attr(setting.Name) + "\"") +
             " edc:desc=\"" + Attr(setting.Description) + "\"" +
             (setting.Hidden ? " edc:ishidden=\"true\"" : "") +
             (setting.LangHidden ? " edc:islanghidden=\"true\"" : "") + " edc:when=\"(field &amp; " +
             Hex(setting.WhenMask != 0 ? setting.WhenMask : field.Mask) + ") == " + Hex(setting.Value) +
             "\"/>\n";
    xml += "            </edc:DCRFieldDef>\n";
  }
  xml += "          </edc:DCRMode>\n        </edc:DCRModeList>\n      </edc:DCRDef>\n";
}

// The sectors of one kind in order, each with its registers placed by adjust points
// and, where they are one-time programmable, marked so.
void WriteSectors(std::string &xml, const TGenDevice &device, bool wormhole) {
  int sectors = 0;
  for (const TGenRegister &reg : device.Registers)
    if (reg.Wormhole == wormhole)
      sectors = std::max(sectors, reg.Sector + 1);
  const std::string element = wormhole ? "edc:WORMHoleSector" : "edc:ConfigFuseSector";
  for (int sector = 0; sector < sectors; ++sector) {
    bool open = false;
    uint32_t next = 0;
    for (const TGenRegister &reg : device.Registers) {
      if (reg.Wormhole != wormhole || reg.Sector != sector)
        continue;
      if (!open) {
        const std::string begin = sector > 0 ? Hex(reg.Address) : wormhole ? "0x1fff8" : "0x300000";
        const std::string region = sector > 0 ? "config" + std::to_string(sector + 1)
                                   : wormhole ? "wormhole"
                                              : "cfgmem";
        xml.append("    <").append(element).append(" edc:beginaddr=\"").append(begin).append("\"");
        xml.append(reg.Otp ? " edc:isotp=\"true\"" : "")
            .append(" edc:regionid=\"")
            .append(region)
            .append("\">\n");
        open = true;
      } else if (reg.Address > next) {
        xml += "      <edc:AdjustPoint edc:offset=\"" + Hex(reg.Address - next) + "\"/>\n";
      }
      next = reg.Address + 1;
      WriteRegister(xml, reg);
    }
    if (open)
      xml += "    </" + element + ">\n";
  }
}

// Special-function registers, as the bulk of a vendor's file.
void WritePadding(std::string &xml, size_t size) {
  static const char *const kBits[] = {"ON", "CKPS", "OSCEN", "SYNC", "CS", "RD16", "GIE", "PEIE"};
  xml += "  <edc:DataSpace edc:regionid=\"ram\">\n    <edc:RegardlessOfMode>\n"
         "      <edc:SFRDataSector edc:beginaddr=\"0xf00\" edc:bankcount=\"0x1\" edc:endaddr=\"0x1000\">\n";
  for (unsigned n = 0; xml.size() < size; ++n) {
    const std::string name = "SFR" + std::to_string(n);
    xml += "        <edc:SFRDef edc:_addr=\"" + Hex(0xF00 + (n & 0xFF)) +
           "\" edc:access=\"nnnnnnnn\" edc:cname=\"";
    xml += name;
    xml += "\" edc:impl=\"0xff\" edc:mclr=\"uuuuuuuu\" edc:name=\"";
    xml += name;
    xml += "\" edc:nzwidth=\"0x8\" edc:por=\"00000000\">\n"
           "          <edc:SFRModeList>\n            <edc:SFRMode edc:id=\"DS.0\">\n";
    for (const char *bit : kBits) {
      xml += "              <edc:SFRFieldDef edc:cname=\"";
      xml.append(name).append(bit).append("\" edc:desc=\"").append(bit).append(" bit of the ").append(name);
      xml.append(" register\" edc:mask=\"0x1\" edc:name=\"").append(bit).append("\" edc:nzwidth=\"0x1\"/>\n");
    }
    xml += "            </edc:SFRMode>\n          </edc:SFRModeList>\n        </edc:SFRDef>\n";
  }
  xml += "      </edc:SFRDataSector>\n    </edc:RegardlessOfMode>\n  </edc:DataSpace>\n";
}

// The pins, as the vendor's files list them: one edc:Pin per pin, its functions as
// edc:VirtualPin elements.
void WritePins(std::string &xml, const std::vector<std::vector<std::string>> &pins) {
  xml += "  <edc:PinList>\n";
  for (const std::vector<std::string> &pin : pins) {
    xml += "    <edc:Pin>\n";
    for (const std::string &function : pin)
      xml += "      <edc:VirtualPin edc:name=\"" + Attr(function) + "\"/>\n";
    xml += "    </edc:Pin>\n";
  }
  xml += "  </edc:PinList>\n";
}

void WriteFile(const std::filesystem::path &path, const std::string &text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}
} // namespace

std::string PicXml(const TGenDevice &device, size_t padding) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                    "<edc:PIC xmlns:edc=\"http://crownking/edc\" "
                    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" edc:arch=\"" +
                    device.Arch + "\" edc:name=\"PIC" + device.Name +
                    "\" edc:psid=\"0x1234\">\n  <edc:ProgramSpace>\n"
                    "    <edc:CodeSector edc:beginaddr=\"0x0\" edc:endaddr=\"0x8000\"/>\n";
  WriteSectors(xml, device, false);
  WriteSectors(xml, device, true);
  xml += "    <edc:DeviceIDSector edc:beginaddr=\"0x3ffffe\" edc:endaddr=\"0x400000\">\n"
         "      <edc:DCRDef edc:_addr=\"0x3ffffe\" edc:cname=\"DEVID1\" edc:factorydefault=\"0x0\" "
         "edc:impl=\"0xff\"/>\n    </edc:DeviceIDSector>\n  </edc:ProgramSpace>\n";
  if (padding > 0)
    WritePadding(xml, padding);
  if (!device.Pins.empty())
    WritePins(xml, device.Pins);
  xml += "</edc:PIC>\n";
  return xml;
}

std::string InfoText(const std::vector<TGenDevice> &devices, const std::string &version) {
  std::string text = "<RES_FILE_VERSION_INFO_TYPE><" + version + ">\r\n";
  for (size_t i = 0; i < devices.size(); ++i)
    text += "<PARTS_INDEX_TYPE><" + devices[i].Name + "><" + std::to_string(i) + ">\r\n";
  for (const TGenDevice &device : devices) {
    text += "<PART_INFO_TYPE><0><PIC" + device.Name + "><" + device.Arch + "><0><3>\r\n";
    for (const TGenRegister &reg : device.Registers) {
      text += "<CONFIGREG_INFO_TYPE><" + Hex(reg.Address, false) + "><" + reg.Name + "><" +
              Hex(reg.Unset, false) + "><" + Hex(reg.Implemented, false) + ">\r\n";
      int offset = 0;
      for (const TGenField &field : reg.Fields) {
        offset += field.Adjust;
        const int at = offset;
        offset += field.Width;
        if (field.Hidden || field.LangHidden || IsReserved(field.Name))
          continue;
        std::string settings;
        int count = 0;
        for (const TGenSetting &setting : field.Settings) {
          if (setting.Hidden || setting.LangHidden || setting.Name.empty() || IsReserved(setting.Name))
            continue;
          settings += "<SETTING_VALUE_TYPE><" + setting.Name + "><" + setting.Description + "><" +
                      Hex(setting.Value << at, false) + ">\r\n";
          ++count;
        }
        text += "<SWITCH_INFO_TYPE><" + field.Name + "><" + field.Description + "><" +
                Hex(field.Mask << at, false) + "><" + std::to_string(count) + ">\r\n" + settings;
      }
    }
  }
  return text;
}

TGenDevice RandomDevice(const std::string &name, unsigned seed) {
  static const char *const kNames[] = {"FOSC", "PLLCFG", "PRICLKEN", "FCMEN",  "IESO",   "PWRTEN", "BOREN",
                                       "BORV", "WDTEN",  "WDTPS",    "CCP2MX", "PBADEN", "MCLRE",  "STVREN",
                                       "LVP",  "XINST",  "DEBUG",    "CP0",    "CP1",    "WRT0",   "EBTR0"};
  static const char *const kFunctions[] = {"Oscillator Selection bits", "Brown-out Reset Voltage bits",
                                           "Watchdog Timer Postscale Select bits", "Code Protection Block 0",
                                           "Stack Full/Underflow Reset Enable bit"};
  TRandom random(seed * 2654435761u + 7);
  TGenDevice device;
  device.Name = name;
  const int registers = 6 + random.Below(9);
  int next = 0;
  for (int r = 0; r < registers; ++r) {
    TGenRegister &reg = device.Registers.emplace_back();
    reg.Name = "CONFIG" + std::to_string(r / 2 + 1) + (r % 2 == 0 ? "L" : "H");
    reg.Address = 0x300000u + static_cast<uint32_t>(r);
    reg.Unset = random.Next() & 0xFF;
    int offset = 0;
    while (offset < 8) {
      TGenField field;
      field.Width = 1 + random.Below(std::min(4, 8 - offset));
      field.Mask = (1u << field.Width) - 1;
      if (random.Below(6) == 0 && offset + field.Width < 8) {
        field.Adjust = 1; // an unused bit before it
        ++offset;
      }
      offset += field.Width;
      if (random.Below(8) == 0) {
        field.Name = "RESERVED";
        field.Hidden = true;
      } else {
        field.Name = kNames[next++ % (sizeof(kNames) / sizeof(kNames[0]))];
      }
      field.Description = kFunctions[random.Below(5)];
      const int values = 1 << field.Width;
      for (int v = 0; v < values && v < 8; ++v)
        field.Settings.push_back(
            {field.Width == 1 ? (v == 0 ? "OFF" : "ON") : field.Name.substr(0, 2) + std::to_string(v),
             "Setting " + std::to_string(v) + " of " + field.Name, static_cast<uint32_t>(v), 0, false,
             false});
      if (field.Width > 1 && random.Below(3) == 0) // a don't-care pattern
        field.Settings.push_back({"", "", 0, field.Mask >> 1, false, true});
      reg.Fields.push_back(std::move(field));
    }
  }
  return device;
}

std::string WriteBenchPacks(const std::string &root) {
  namespace fs = std::filesystem;
  struct TPackSpec {
    const char *Name;
    const char *Family;
    int Devices;
  };
  const TPackSpec packs[] = {
      {"PIC18F-K_DFP", "K", 200}, {"PIC18F-Q_DFP", "Q", 200}, {"PIC18F-J_DFP", "J", 200}};
  std::string big;
  unsigned seed = 1;
  for (const TPackSpec &pack : packs) {
    const fs::path folder = fs::path(root) / "Microchip" / pack.Name;
    for (int d = 0; d < pack.Devices; ++d) {
      const std::string name = std::string(d % 5 == 4 ? "18LF" : "18F") + std::to_string(1000 + d) +
                               pack.Family + std::to_string(10 + d % 90);
      const TGenDevice device = RandomDevice(name, seed++);
      // 150 KB to 600 KB, as most of the vendor's files; one of 1 MB.
      const bool isBig = big.empty() && pack.Family[0] == 'Q' && d == pack.Devices - 1;
      const size_t size = isBig ? size_t{1024} * 1024 : size_t{1024} * (150 + seed * 7919 % 450);
      const std::string xml = PicXml(device, size);
      WriteFile(folder / "1.13.292" / "edc" / ("PIC" + name + ".PIC"), xml);
      if (isBig)
        big = name;
    }
    WriteFile(folder / "1.13.292" / (std::string("Microchip.") + pack.Name + ".pdsc"), "<package/>\n");
  }
  // An older version of the first pack, which is not read.
  const fs::path old = fs::path(root) / "Microchip" / packs[0].Name / "1.9.5" / "edc";
  for (int d = 0; d < 5; ++d)
    WriteFile(old / ("PIC18F" + std::to_string(1000 + d) + "K10.PIC"), PicXml(RandomDevice("18F0", 1)));
  return big;
}

void WriteZip(const std::string &path, const std::vector<std::pair<std::string, std::string>> &files) {
  int error = 0;
  zip_t *archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr)
    throw std::runtime_error("cannot create " + path);
  for (const auto &[name, content] : files) {
    zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
    const zip_int64_t index =
        source == nullptr ? -1 : zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0 ||
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0) {
      zip_source_free(source);
      zip_discard(archive);
      throw std::runtime_error(std::string("cannot add ").append(name).append(" to ").append(path));
    }
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    throw std::runtime_error("cannot write " + path);
  }
}

std::string PackDescription(const std::string &vendor, const std::string &name,
                            const std::vector<std::string> &versions) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<package schemaVersion=\"1.4\">\n"
                     "  <vendor>" +
                     vendor + "</vendor>\n  <name>" + name +
                     "</name>\n  <description>Device family pack</description>\n  <releases>\n";
  for (const std::string &version : versions)
    text.append("    <release version=\"")
        .append(version)
        .append("\">Release ")
        .append(version)
        .append("</release>\n");
  return text + "  </releases>\n</package>\n";
}

std::vector<std::string> WritePackArchives(const std::string &root, const std::string &folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> archives;
  for (const fs::directory_entry &vendor : fs::directory_iterator(root))
    for (const fs::directory_entry &pack : fs::directory_iterator(vendor.path()))
      for (const fs::directory_entry &version : fs::directory_iterator(pack.path())) {
        const std::string vendorName = vendor.path().filename().string();
        const std::string packName = pack.path().filename().string();
        const std::string versionName = version.path().filename().string();
        std::vector<std::pair<std::string, std::string>> files;
        const std::string stem = std::string(vendorName).append(".").append(packName);
        files.emplace_back(stem + ".pdsc", PackDescription(vendorName, packName, {versionName}));
        for (const fs::directory_entry &file : fs::recursive_directory_iterator(version.path()))
          if (file.is_regular_file()) {
            std::ifstream in(file.path(), std::ios::binary);
            files.emplace_back(fs::relative(file.path(), version.path()).generic_string(),
                               std::string(std::istreambuf_iterator<char>(in), {}));
          }
        std::sort(files.begin() + 1, files.end());
        archives.push_back(
            (fs::path(folder) / (std::string(stem).append(".").append(versionName).append(".atpack")))
                .string());
        WriteZip(archives.back(), files);
      }
  std::sort(archives.begin(), archives.end());
  return archives;
}

std::pair<std::string, std::string> WriteBenchArchive(const std::string &folder, int megabytes) {
  std::vector<std::pair<std::string, std::string>> files;
  std::string description = PackDescription("Microchip", "PIC18F-Q_DFP", {"1.28.451", "1.27.449"});
  description.resize(description.rfind("</package>"));
  description += "  <devices>\n    <family Dfamily=\"PIC18\" Dvendor=\"Microchip:3\">\n";
  std::string big;
  size_t total = 0;
  for (int d = 0; d < 200; ++d) {
    const std::string name = std::string(d % 5 == 4 ? "18LF" : "18F") + std::to_string(2000 + d) + "Q" +
                             std::to_string(10 + d % 90);
    const bool isBig = d == 199;
    const size_t size = isBig ? size_t{1024} * 1024 : size_t{1024} * (150 + (d * 7919u) % 450);
    files.emplace_back("edc/PIC" + name + ".PIC",
                       PicXml(RandomDevice(name, 1000u + static_cast<unsigned>(d)), size));
    total += files.back().second.size() / 25; // what it takes deflated, about
    if (isBig)
      big = name;
    description += "      <device Dname=\"PIC" + name + "\">\n";
    for (const char *feature : {"ADC", "CMP", "DAC", "TMR", "CCP", "PWM", "UART", "SPI", "I2C", "CLC"})
      description += std::string("        <feature type=\"") + feature + "\" n=\"2\"/>\n";
    description += "        <memory id=\"IROM\" start=\"0x0\" size=\"0x20000\"/>\n"
                   "        <compile header=\"xc8/pic/include/proc/pic" +
                   name + ".h\"/>\n      </device>\n";
  }
  description += "    </family>\n  </devices>\n</package>\n";
  files.emplace(files.begin(), "Microchip.PIC18F-Q_DFP.pdsc", description);
  // The rest: header and library files that deflate little, as the pack's do.
  TRandom random(20240601);
  for (int f = 0; total < static_cast<size_t>(megabytes) * 1024 * 1024; ++f) {
    std::string content(size_t{24} * 1024, '\0');
    for (char &c : content)
      c = static_cast<char>(random.Next() & 0xFF);
    files.emplace_back("xc8/pic/lib/part" + std::to_string(f) + ".a", std::move(content));
    total += size_t{24} * 1024;
  }
  const std::string path =
      (std::filesystem::path(folder) / "Microchip.PIC18F-Q_DFP.1.28.451.atpack").string();
  WriteZip(path, files);
  return {path, big};
}
