// Writes device packs:
//   fb_gen_packs bench DIR            packs of realistic size (about 600 devices);
//                                     prints the device whose file is 1 MB
//   fb_gen_packs sample INFO_DIR DIR  the devices of INFO_DIR's 8bit_device.info as
//                                     packs, as the project's samples hold them
#include "bench/cPackGenerator.h"
#include "core/cDeviceTable.h"
#include "deviceinfo/cDeviceInfo.h"

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
  for (size_t r = 0; r < registers.size(); ++r) {
    TGenRegister &reg = device.Registers.emplace_back();
    reg.Name = RegisterName(lines, registers[r].Line);
    reg.Address = static_cast<uint32_t>(std::stoul(registers[r].Address, nullptr, 16));
    reg.Unset = registers[r].Unset;
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
      for (int k = 0; k < row.SettingNames.Count(); ++k)
        field.Settings.push_back({row.SettingNames[k], row.SettingDescriptions[k],
                                  row.Values[static_cast<size_t>(k)] >> at, 0, false, false});
      if (field.Width > 2)
        field.Settings.push_back({"", "", 0, field.Mask & ~1u, false, true});
      reg.Fields.push_back(std::move(field));
    }
    if (top < 8) {
      TGenField reserved;
      reserved.Name = "RESERVED";
      reserved.Hidden = true;
      reserved.Adjust = top - offset;
      reserved.Width = 8 - top;
      reserved.Mask = (1u << reserved.Width) - 1;
      reserved.Settings.push_back({"", "", reserved.Mask, 0, false, true});
      reg.Fields.push_back(std::move(reserved));
    }
  }
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
  TDeviceInfo reader;
  reader.LoadDeviceIndex(infoFolder, true);
  if (!reader.LoadError().empty())
    throw std::runtime_error(reader.LoadError());
  std::ifstream in(DeviceInfoFileName(infoFolder), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line.substr(0, line.find('\r')));

  // The K parts in a pack of their own; the others in a pack of two versions, the
  // older with fewer devices; one K part in both (it is listed from the K pack).
  const fs::path vendor = root / "Microchip";
  reader.SetUseInfoDefaults(true);
  TStringList done;
  for (const std::string &name : reader.Devices) {
    if (done.IndexOf(name) >= 0)
      continue;
    done.Add(name);
    std::vector<TSwitchRow> rows;
    std::vector<TConfigRegister> registers;
    if (!ReadDeviceTable(reader, name, rows, &registers))
      continue; // listed without a part section: no data to write
    const std::string xml = PicXml(FromTable(name, rows, registers, lines));
    const std::string file = "PIC" + name + ".PIC";
    if (name.find('K') != std::string::npos) {
      Write(vendor / "PIC18F-K_DFP" / "1.0.4" / "edc" / file, xml);
      if (name == "18F25K22")
        Write(vendor / "PIC18Fxxxx_DFP" / "1.10.3" / "edc" / file, xml);
    } else {
      Write(vendor / "PIC18Fxxxx_DFP" / "1.10.3" / "edc" / file, xml);
      if (name != "18F4520")
        Write(vendor / "PIC18Fxxxx_DFP" / "1.2.0" / "edc" / file, xml);
    }
  }
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
  } catch (const std::exception &e) {
    std::cerr << "fb_gen_packs: " << e.what() << '\n';
    return 1;
  }
  std::cerr << "usage: fb_gen_packs bench DIR | fb_gen_packs sample INFO_DIR DIR\n";
  return 2;
}
