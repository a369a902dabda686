// libFuzzer target: configuration words written into a fuzzed HEX file (hex --into).
// Whenever the file is accepted, the result reads back cleanly to the words written,
// and every other byte the file programs is unchanged, with none added.
#include "core/cConfigHex.h"
#include "core/cHexRecord.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

// Every byte a HEX text programs (the later write counts), through the reader; Clean
// tells whether every record read.
std::map<uint32_t, uint8_t> ImageOf(std::string_view text, bool &clean) {
  std::map<uint32_t, uint8_t> image;
  clean = true;
  THexRecordReader reader(text);
  while (reader.Next()) {
    if (!reader.Fault().empty()) {
      clean = false;
      continue;
    }
    if (reader.Record().Type == 0)
      for (size_t i = 0; i < reader.Record().Data.size(); ++i)
        image[reader.AddressOf(i)] = reader.Record().Data[i];
  }
  clean = clean && reader.Ended();
  return image;
}

void IntoOneFamily(std::string_view build, const std::vector<TWordRegister> &registers,
                   const std::vector<TConfigWord> &words) {
  TBuildWords held = ReadBuildWords(build, registers, {});
  if (held.Errors > 0)
    return;
  bool clean = false;
  const std::map<uint32_t, uint8_t> before = ImageOf(build, clean);
  Check(clean);
  const std::string written = WriteConfigInto(std::move(held), words);
  std::map<uint32_t, uint8_t> after = ImageOf(written, clean);
  Check(clean);
  for (const auto &[address, value] : ConfigBytes(words)) {
    const auto found = after.find(address);
    Check(found != after.end() && found->second == value);
    after.erase(found);
  }
  std::map<uint32_t, uint8_t> others = before;
  for (const auto &[address, value] : ConfigBytes(words))
    others.erase(address);
  Check(after == others);
  const TBuildWords back = ReadBuildWords(written, registers, {});
  Check(back.Errors == 0);
  for (size_t r = 0; r < registers.size(); ++r)
    Check(back.Found[r] && back.Words[r] == words[r].Value);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view build(reinterpret_cast<const char *>(data), size);
  IntoOneFamily(build, {{"CONFIG1L", 0x300000, 0xFF}, {"CONFIG1H", 0x300001, 0x0F}},
                {{"CONFIG1L", 0x300000, 0x5A, &kPic18Family}, {"CONFIG1H", 0x300001, 0x0A, &kPic18Family}});
  IntoOneFamily(build, {{"CONFIG1", 0x2007, 0x3FFF, &kMidRangeFamily, 0x3FFF}},
                {{"CONFIG1", 0x2007, 0x3F5C, &kMidRangeFamily}});
  return 0;
}
