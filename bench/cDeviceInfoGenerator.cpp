// Builds a realistic vendor-format file from a fixed pseudo-random sequence.
#include "bench/cDeviceInfoGenerator.h"

#include "bench/cRandom.h"
#include "common/cDeviceFamily.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>
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

// A generated part: its name and its family.
struct TGeneratedPart {
  std::string Name;
  const TDeviceFamily *Family;
};

// PIC18 names are PIC18 parts; 10F ones baseline; 16F, 16LF and 12F ones of the
// enhanced mid-range, mid-range or baseline family, about half, a third and a fifth.
TGeneratedPart DevicePart(int index, TRandom &random) {
  static const char *const kNames[] = {"18F", "18F", "18F", "18LF", "18LF", "16F", "16LF", "12F", "10F"};
  static const char *const kSuffixes[] = {"", "K22", "K40", "K50", "J11", "K80", "Q43", "A"};
  const std::string prefix = kNames[random.Below(9)];
  TGeneratedPart part{prefix + std::to_string(1000 + index * 7) + kSuffixes[random.Below(8)], &kPic18Family};
  if (prefix == "10F")
    part.Family = &kBaselineFamily;
  else if (prefix.rfind("18", 0) != 0) {
    const int kind = random.Below(10);
    part.Family = kind < 5 ? &kEnhancedMidRangeFamily : kind < 8 ? &kMidRangeFamily : &kBaselineFamily;
  }
  return part;
}

// A configuration register's address and name: PIC18 CONFIGnL/CONFIGnH from
// 0x300000; enhanced mid-range and mid-range CONFIG1, CONFIG2, ... from their first
// word (a lone mid-range word is CONFIG); baseline one CONFIG at the top of program
// memory.
std::pair<uint32_t, std::string> RegisterOf(const TDeviceFamily &family, int r, int registers) {
  if (&family == &kPic18Family)
    return {0x300000u + static_cast<uint32_t>(r), "CONFIG" + std::to_string(r / 2 + 1) + (r % 2 ? "H" : "L")};
  if (&family == &kBaselineFamily)
    return {0xFFFu, "CONFIG"};
  return {family.RegionFirst + static_cast<uint32_t>(r),
          registers == 1 ? "CONFIG" : "CONFIG" + std::to_string(r + 1)};
}

// How many configuration registers a part of the usual size has: PIC18 12 to 15,
// enhanced mid-range 2 or 3, mid-range 1 or 2, baseline 1.
int RegistersOf(const TDeviceFamily &family, TRandom &random) {
  if (&family == &kPic18Family)
    return 12 + random.Below(4);
  if (&family == &kEnhancedMidRangeFamily)
    return 2 + random.Below(2);
  if (&family == &kMidRangeFamily)
    return 1 + random.Below(2);
  return 1;
}

void WritePart(TWriter &out, const TGeneratedPart &part, int partSize, TRandom &random) {
  const TDeviceFamily &family = *part.Family;
  out.Record("PART_INFO_TYPE", Hex(static_cast<uint32_t>(random.Next() & 0xffff)), "PIC" + part.Name,
             family.Codes[0], "0", "3", "7fff", "10", "ff", "0", "0", "3ff", "0", "0", "0");
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
  // A small part has fewer configuration registers too, a large one no more (and
  // never more than its family's region holds).
  const int usual = RegistersOf(family, random);
  const int registers = std::max(1, usual * std::min(partSize, 100) / 100);
  const int bits = family.WordBits;
  const uint32_t word = family.WordMask();
  int fixed = 0;
  for (int r = 0; r < registers; ++r) {
    const auto [address, name] = RegisterOf(family, r, registers);
    // Word-addressed families' defaults are often written with the bits above the
    // word set (0xFFFF over 14 bits), as the vendor's file writes them.
    uint32_t unset = random.Next() & word;
    if (bits > 8 && random.Below(3) == 0)
      unset |= 0xffffu & ~word;
    out.Record("CONFIGREG_INFO_TYPE", Hex(address), name, Hex(unset), Hex(word));
    // The register's switches own bits of their own, from bit 0 up, as in real
    // parts: three or four in a byte, more in a wider word.
    const int switches = (3 + random.Below(2)) * bits / 8;
    int bit = 0;
    for (int s = 0; s < switches && bit < bits; ++s) {
      std::string switchName = fixed < 4 && random.Below(3) == 0
                                   ? kFixedSwitches[fixed++]
                                   : "SW" + std::to_string(r) + "_" + std::to_string(s);
      const int width = std::min(1 + random.Below(4), bits - bit);
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
  std::vector<TGeneratedPart> generated;
  generated.reserve(static_cast<size_t>(parts));
  for (int i = 0; i < parts; ++i)
    generated.push_back(DevicePart(i, random));
  // The last sections are one of each family, baseline first and PIC18 last, so the
  // file's last part is an 18F device (listed, and chosen by the window) and each
  // family's last part lies at the end of the file.
  const int number = 1000 + (parts - 1) * 7;
  const TGeneratedPart lastOfEach[] = {{"16F" + std::to_string(number + 1) + "B", &kBaselineFamily},
                                       {"16F" + std::to_string(number + 2) + "A", &kMidRangeFamily},
                                       {"16F" + std::to_string(number + 3), &kEnhancedMidRangeFamily},
                                       {"18F" + std::to_string(number) + "K42", &kPic18Family}};
  const int tail = std::min(parts, 4);
  for (int i = 0; i < tail; ++i) {
    const int at = parts - tail + i;
    const int from = 4 - tail + i;
    generated[static_cast<size_t>(at)] = lastOfEach[from];
  }

  out.Record("RES_FILE_VERSION_INFO_TYPE", "1.99.0", "Generated for benchmarks");
  out.Record("RES_FILE_DATE_TYPE", "2026", "12", "08");
  for (int i = 0; i < parts; ++i) {
    out.Record("PARTS_INDEX_TYPE", generated[static_cast<size_t>(i)].Name, Hex(static_cast<uint32_t>(i)));
    if (i % 50 == 49)
      out.Record("FAMILY_INFO_TYPE", "PIC18", "16", "2");
  }
  for (int i = 0; i < parts; ++i)
    WritePart(out, generated[static_cast<size_t>(i)], shape.PartSize, random);
  for (const TDeviceFamily *family : kDeviceFamilies) {
    std::string &last = result.LastOfFamilies.emplace_back();
    for (const TGeneratedPart &part : generated)
      if (part.Family == family)
        last = part.Name;
  }
  PlantStrayLineEnds(result.Text, lineEnd, out.Lines, shape.StrayLineEnds);
  result.LastDevice = generated.back().Name;
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
  // 360 usual parts make about 10.5 MB, as 300 PIC18-only parts once did.
  return {{"crlf", {360, 0, 100, false}},
          {"stray", {360, 20, 100, false}},
          {"lf", {360, 0, 100, true}},
          {"small-parts", {3600, 0, 10, false}},
          {"large-parts", {40, 0, 1500, false}}};
}
