// The configuration words of a table, and where a HEX file holds them.
#include "core/cConfigWords.h"

#include "common/cNumbers.h"
#include "core/cConfigCheck.h"
#include "core/cHexFile.h"

#include <algorithm>
#include <cstdio>

namespace {
// PIC18 configuration registers begin here; CONFIGnL is at 2(n-1) past it.
constexpr uint32_t kConfigBase = 0x300000;

std::string Where(const std::string &dataFile, int line) {
  return dataFile.empty() ? "line " + std::to_string(line) : dataFile + ", line " + std::to_string(line);
}

// Runs of set bits: "bit 4", "bits 0–3", "bits 0–1, 4".
std::string BitRuns(uint32_t mask) {
  std::string runs;
  int count = 0;
  for (int bit = 0; bit < 32; ++bit) {
    if ((mask >> bit & 1u) == 0)
      continue;
    int last = bit;
    while (last + 1 < 32 && (mask >> (last + 1) & 1u) != 0)
      ++last;
    runs += (runs.empty() ? "" : ", ") + std::to_string(bit);
    if (last > bit)
      runs += "\x96" + std::to_string(last); // an en dash in code page 1252
    count += last - bit + 1;
    bit = last;
  }
  return (count == 1 ? "bit " : "bits ") + runs;
}

} // namespace

std::vector<TWordRegister> WordRegisters(const std::vector<TConfigRegister> &registers,
                                         const std::vector<TSwitchRow> &rows, const std::string &dataFile) {
  std::vector<TWordRegister> result;
  result.reserve(registers.size());
  for (const TConfigRegister &reg : registers) {
    TWordRegister word;
    if (!TryHexToUInt32(reg.Address, word.Address))
      throw EDataError(Where(dataFile, reg.Line) + ": the configuration register's address " +
                       QuotedForMessage(reg.Address) + " is not hexadecimal");
    word.Family = reg.Family;
    if (!word.Family->InRegion(word.Address))
      throw EDataError(Where(dataFile, reg.Line) + ": the configuration register's address " +
                       HexNumber(word.Address, word.Family->AddressDigits()) + " lies outside the " +
                       word.Family->Name + " configuration words (" +
                       HexNumber(word.Family->RegionFirst, word.Family->AddressDigits()) + " to " +
                       HexNumber(word.Family->RegionLast, word.Family->AddressDigits()) + ")");
    // Bits above the family's width do not exist (a default written 0xFFFF over 14
    // bits); on word-addressed families the data's own implemented bits narrow it.
    word.Implemented = word.Family->WordMask();
    if (word.Family->HexScale > 1 && reg.Implemented != 0)
      word.Implemented &= reg.Implemented;
    word.Name = reg.Name;
    word.Unset = reg.Unset & word.Implemented;
    result.push_back(std::move(word));
  }
  // PIC18 registers below the usual place (some parts keep them at the end of
  // program memory) are counted from the lowest of them; on other families a lone
  // register is CONFIG, several CONFIG1, CONFIG2, ... from the lowest.
  uint32_t base = kConfigBase;
  for (const TWordRegister &reg : result)
    base = std::min(base, reg.Address & ~1u);
  uint32_t lowest = UINT32_MAX;
  for (const TWordRegister &reg : result)
    lowest = std::min(lowest, reg.Address);
  for (TWordRegister &reg : result)
    if (reg.Name.empty() && reg.Family->NamesFromAddress) {
      const uint32_t from = reg.Address >= kConfigBase ? kConfigBase : base;
      reg.Name =
          "CONFIG" + std::to_string((reg.Address - from) / 2 + 1) + ((reg.Address - from) % 2 ? "H" : "L");
    } else if (reg.Name.empty()) {
      reg.Name =
          result.size() == 1 ? std::string("CONFIG") : "CONFIG" + std::to_string(reg.Address - lowest + 1);
    }
  for (const TSwitchRow &row : rows) {
    const TDeviceFamily &family = row.Register >= 0 && static_cast<size_t>(row.Register) < result.size()
                                      ? *result[static_cast<size_t>(row.Register)].Family
                                      : kPic18Family;
    const int digits = family.WordDigits();
    if ((row.Mask & ~family.WordMask()) != 0)
      throw EDataError(Where(dataFile, row.Line) + ": switch " + QuotedForMessage(row.Name) +
                       " has the mask " + HexNumber(row.Mask, digits) + ", with bits above the " +
                       std::to_string(family.WordBits) + "-bit word of a " + family.Name + " part");
    for (const TSwitchSetting &setting : row.Settings)
      if ((setting.Value & ~row.Mask) != 0)
        throw EDataError(
            Where(dataFile, setting.Line) + ": setting " + QuotedForMessage(setting.Name) + " of switch " +
            QuotedForMessage(row.Name) + " has the value " + HexNumber(setting.Value, digits) +
            ", with bits " +
            ((setting.Value & ~family.WordMask()) != 0
                 ? "above the " + std::to_string(family.WordBits) + "-bit word of a " + family.Name + " part"
                 : "outside the switch's mask " + HexNumber(row.Mask, digits)));
  }
  return result;
}

std::vector<std::vector<size_t>> RowsOfRegisters(size_t count, const std::vector<TSwitchRow> &rows) {
  std::vector<std::vector<size_t>> rowsOf(count);
  for (size_t r = 0; r < rows.size(); ++r)
    if (rows[r].Register >= 0 && static_cast<size_t>(rows[r].Register) < count)
      rowsOf[static_cast<size_t>(rows[r].Register)].push_back(r);
  return rowsOf;
}

std::vector<std::string> SwitchesOutsideRegisters(const std::vector<TSwitchRow> &rows,
                                                  const std::string &dataFile) {
  std::vector<std::string> warnings;
  for (const TSwitchRow &row : rows)
    if (row.Register < 0)
      warnings.push_back("switch " + QuotedForMessage(row.Name) + " (" + Where(dataFile, row.Line) +
                         ") stands before any configuration register of its device: it belongs to none, "
                         "so the words leave it out and the chip has its default");
  return warnings;
}

std::vector<TConfigWord> ConfigWords(const std::vector<TWordRegister> &registers,
                                     const std::vector<TSwitchRow> &rows) {
  std::vector<TConfigWord> words;
  words.reserve(registers.size());
  for (const TWordRegister &reg : registers)
    words.push_back({reg.Name, reg.Address, reg.Unset, reg.Family});
  // A switch left out keeps the register's bits when not set.
  for (const TSwitchRow &row : rows)
    if (!row.LeftOut && row.Register >= 0 && static_cast<size_t>(row.Register) < words.size()) {
      uint32_t &value = words[static_cast<size_t>(row.Register)].Value;
      value = (value & ~row.Mask) | (row.Settings[static_cast<size_t>(row.Chosen)].Value & row.Mask);
    }
  std::stable_sort(words.begin(), words.end(),
                   [](const TConfigWord &a, const TConfigWord &b) { return a.Address < b.Address; });
  return words;
}

std::string WordLine(const TConfigWord &word) {
  return word.Name + "  " + HexNumber(word.Address, word.Family->AddressDigits()) + "  " +
         HexNumber(word.Value, word.Family->WordDigits());
}

std::string BitsOfRow(const std::vector<TWordRegister> &registers, const TSwitchRow &row) {
  if (row.Register < 0 || static_cast<size_t>(row.Register) >= registers.size() || row.Mask == 0)
    return {};
  return registers[static_cast<size_t>(row.Register)].Name + ", " + BitRuns(row.Mask) +
         (row.Otp ? ", one-time programmable" : "");
}

THexWord HexWordOf(const THexImage &image, const TWordRegister &reg) {
  THexWord word;
  const int scale = reg.Family->HexScale;
  for (int b = 0; b < scale; ++b) {
    const uint32_t at = reg.Address * static_cast<uint32_t>(scale) + static_cast<uint32_t>(b);
    const uint32_t shift = 8u * static_cast<uint32_t>(b);
    if (image.Has(at)) {
      word.Found = true;
      word.Value |= uint32_t{image.Byte(at)} << shift;
      word.Line = std::max(word.Line, image.Line(at));
    } else {
      word.Value |= reg.Unset & (0xFFu << shift);
    }
  }
  word.Value &= reg.Implemented;
  return word;
}

void WatchRegisters(THexImage &image, const std::vector<TWordRegister> &registers) {
  // A word-addressed family's word is little-endian at twice its address; its own
  // address is watched too, to tell a file written at the wrong scale.
  for (const TWordRegister &reg : registers)
    for (int b = 0; b < reg.Family->HexScale; ++b)
      image.Watch(reg.Address * static_cast<uint32_t>(reg.Family->HexScale) + static_cast<uint32_t>(b));
  for (const TWordRegister &reg : registers)
    if (reg.Family->HexScale > 1)
      image.Watch(reg.Address);
}

std::string WrongScale(const THexImage &image, const std::vector<TWordRegister> &registers, int &line) {
  for (const TWordRegister &reg : registers)
    if (reg.Family->HexScale > 1 && image.Has(reg.Address)) {
      line = image.Line(reg.Address);
      return "the file holds bytes at " + HexNumber(reg.Address, reg.Family->AddressDigits()) +
             ", the address of " + NamedRegister(reg) + " as a word: the words of " + reg.Family->Name +
             " parts lie little-endian at twice their address in a HEX file (" +
             HexNumber(reg.Address * static_cast<uint32_t>(reg.Family->HexScale), 6) +
             "), so this file is written at the wrong scale for it";
    }
  return {};
}
