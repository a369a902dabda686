// Builds a realistic vendor-format file from a fixed pseudo-random sequence.
#include "bench/cDeviceInfoGenerator.h"

#include "bench/cRandom.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
const char *const kFunctions[] = {"Oscillator Selection bits",
                                  "Watchdog Timer Postscale Select bits",
                                  "Brown-out Reset Voltage bits",
                                  "PORTB A/D Enable bit",
                                  "Stack Full/Underflow Reset Enable bit",
                                  "Code Protection Block",
                                  "Write Protection Block",
                                  "Table Read Protection Block",
                                  "Fail-Safe Clock Monitor Enable bit",
                                  "MCLR Pin Enable bit",
                                  "CCP2 MUX bit",
                                  "Low-Power Timer1 Oscillator Enable bit"};
const char *const kDescriptions[] = {
    "PORTB<4:0> pins are configured as digital I/O on Reset",
    "HS oscillator (high power > 16 MHz)",
    "EC oscillator, CLKOUT function on OSC2 (low power, <500 kHz)",
    "Block (000800-000FFFh) not code-protected",
    "Brown-out Reset enabled in hardware only and disabled in Sleep mode (SBOREN is disabled)",
    "WDT is controlled by SWDTEN bit of the WDTCON register",
    "",
    "1:256"};
const char *const kFixedSwitches[] = {"XINST", "DEBUG", "LVP", "IOL1WAY"};

class TWriter {
public:
  TWriter(std::string &text, const char *lineEnd) : FText(text), FLineEnd(lineEnd) {}
  template <typename... T> void Record(const T &...fields) {
    (Field(fields), ...);
    FText += FLineEnd;
    ++Lines;
  }
  int Lines = 0;

private:
  void Field(const std::string &s) {
    FText += '<';
    FText += s;
    FText += '>';
  }
  void Field(const char *s) {
    FText += '<';
    FText += s;
    FText += '>';
  }
  std::string &FText;
  const char *FLineEnd;
};

std::string Hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%x", value);
  return buffer;
}

std::string DeviceName(int index, TRandom &random) {
  static const char *const kFamilies[] = {"18F", "18F", "18F", "18LF", "18LF", "16F", "16LF", "12F", "10F"};
  static const char *const kSuffixes[] = {"", "K22", "K40", "K50", "J11", "K80", "Q43", "A"};
  const char *family = kFamilies[random.Below(9)];
  return std::string(family) + std::to_string(1000 + index * 7) + kSuffixes[random.Below(8)];
}

void WritePart(TWriter &out, const std::string &name, int partSize, TRandom &random) {
  out.Record("PART_INFO_TYPE", Hex(static_cast<uint32_t>(random.Next() & 0xffff)), "PIC" + name, "PIC18", "0",
             "3", "7fff", "10", "ff", "0", "0", "3ff", "0", "0", "0");
  out.Record("MEMORY_REGION_TYPE", "code", "0", "7fff");
  out.Record("DEVICE_ID_TYPE", "3fffe", Hex(random.Next() & 0xffe0));
  // Special function registers and their bits, as the vendor's file lists them.
  const int sfrs = (215 + random.Below(30)) * partSize / 100;
  for (int i = 0; i < sfrs; ++i) {
    out.Record("SFR_INFO_TYPE", "SFR" + std::to_string(i), Hex(0xf60u + static_cast<uint32_t>(i)), "8");
    out.Record("SFR_FIELD_INFO_TYPE", "BIT" + std::to_string(i), Hex(1u << (i % 8)), "1");
    if (i % 3 == 0)
      out.Record("SFR_MODE_INFO_TYPE", "MODE" + std::to_string(i), "ff");
  }
  // A small part has fewer configuration registers too, a large one no more.
  const int registers = std::max(1, (12 + random.Below(4)) * std::min(partSize, 100) / 100);
  int fixed = 0;
  for (int r = 0; r < registers; ++r) {
    out.Record("CONFIGREG_INFO_TYPE", Hex(0x300000u + static_cast<uint32_t>(r)),
               "CONFIG" + std::to_string(r / 2 + 1) + (r % 2 ? "H" : "L"), Hex(random.Next() & 0xff), "ff");
    // The register's switches own bits of their own, from bit 0 up, as in real parts.
    const int switches = 3 + random.Below(2);
    int bit = 0;
    for (int s = 0; s < switches && bit < 8; ++s) {
      std::string switchName = fixed < 4 && random.Below(3) == 0
                                   ? kFixedSwitches[fixed++]
                                   : "SW" + std::to_string(r) + "_" + std::to_string(s);
      const int width = std::min(1 + random.Below(4), 8 - bit);
      const uint32_t mask = ((1u << width) - 1) << bit;
      out.Record("SWITCH_INFO_TYPE", switchName, kFunctions[random.Below(12)], Hex(mask), "8");
      const int settings = std::min(2 + random.Below(10), 1 << width);
      for (int k = 0; k < settings; ++k) {
        const bool reserved = k == settings - 1 && random.Below(8) == 0;
        out.Record("SETTING_VALUE_TYPE", reserved ? std::string("RESERVED") : "SET" + std::to_string(k),
                   kDescriptions[random.Below(8)], Hex(static_cast<uint32_t>(k) << bit));
      }
      bit += width;
    }
  }
}

// Replaces the line end of Count lines, evenly spread, by the two others in turn.
void PlantStrayLineEnds(std::string &text, const std::string &lineEnd, int lines, int count) {
  if (count <= 0)
    return;
  const char *const others[2] = {"\r", lineEnd == "\n" ? "\r\n" : "\n"};
  const int every = std::max(1, lines / (count + 1));
  std::string result;
  result.reserve(text.size() + static_cast<size_t>(count));
  int line = 0;
  int planted = 0;
  size_t start = 0;
  for (size_t end = text.find(lineEnd); end != std::string::npos; end = text.find(lineEnd, start)) {
    result.append(text, start, end - start);
    ++line;
    if (planted < count && line % every == 0)
      result += others[planted++ % 2];
    else
      result += lineEnd;
    start = end + lineEnd.size();
  }
  result.append(text, start, std::string::npos);
  text = std::move(result);
}
} // namespace

TGeneratedDeviceInfo GenerateDeviceInfo(const TDeviceInfoShape &shape, unsigned seed) {
  const int parts = shape.Parts;
  const std::string lineEnd = shape.LfOnly ? "\n" : "\r\n";
  TRandom random(seed * 2654435761u + 1);
  TGeneratedDeviceInfo result;
  result.Text.reserve(static_cast<size_t>(parts) * 360 * static_cast<size_t>(std::max(shape.PartSize, 10)));
  TWriter out(result.Text, lineEnd.c_str());
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(parts));
  for (int i = 0; i < parts; ++i)
    names.push_back(DeviceName(i, random));
  // The last section is an 18F device, so it is listed and can be chosen.
  names.back() = "18F" + std::to_string(1000 + (parts - 1) * 7) + "K42";

  out.Record("RES_FILE_VERSION_INFO_TYPE", "1.99.0", "Generated for benchmarks");
  out.Record("RES_FILE_DATE_TYPE", "2026", "12", "08");
  for (int i = 0; i < parts; ++i) {
    out.Record("PARTS_INDEX_TYPE", names[static_cast<size_t>(i)], Hex(static_cast<uint32_t>(i)));
    if (i % 50 == 49)
      out.Record("FAMILY_INFO_TYPE", "PIC18", "16", "2");
  }
  for (int i = 0; i < parts; ++i)
    WritePart(out, names[static_cast<size_t>(i)], shape.PartSize, random);
  PlantStrayLineEnds(result.Text, lineEnd, out.Lines, shape.StrayLineEnds);
  result.LastDevice = names.back();
  result.Lines = out.Lines;
  result.Parts = parts;
  return result;
}

TGeneratedDeviceInfo GenerateDeviceInfo(int parts, unsigned seed, int strayLineEnds) {
  TDeviceInfoShape shape;
  shape.Parts = parts;
  shape.StrayLineEnds = strayLineEnds;
  return GenerateDeviceInfo(shape, seed);
}

std::vector<TNamedShape> BenchShapes() {
  return {{"crlf", {300, 0, 100, false}},
          {"stray", {300, 20, 100, false}},
          {"lf", {300, 0, 100, true}},
          {"small-parts", {3600, 0, 10, false}},
          {"large-parts", {40, 0, 1500, false}}};
}
