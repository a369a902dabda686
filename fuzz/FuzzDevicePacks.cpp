// libFuzzer target: a device pack's .PIC file parsed from arbitrary bytes. Only the
// reader's Exception may leave it, and the model it gives (whole or up to the error)
// keeps its rules: registers in address order, every field and setting within the
// register's 32 bits.
#include "common/cCodePage1252.h"
#include "common/cErrors.h"
#include "devicepacks/cPicFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

void CheckModel(const TPicDevice &device) {
  for (size_t r = 0; r < device.Registers.size(); ++r) {
    const TPicRegister &reg = device.Registers[r];
    Check(r == 0 || device.Registers[r - 1].Address <= reg.Address);
    Check(reg.Line >= 1);
    for (const TPicField &field : reg.Fields) {
      Check(field.Offset >= 0 && field.Offset <= 31);
      Check((static_cast<uint64_t>(field.Mask) << field.Offset) <= 0xFFFFFFFFu);
      for (const TPicSemantic &semantic : field.Semantics)
        Check((static_cast<uint64_t>(semantic.WhenValue) << field.Offset) <= 0xFFFFFFFFu);
    }
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  Check(Utf8ToCp1252(text).size() <= size);
  TPicDevice device;
  try {
    ReadPicText(text, "fuzz.PIC", device);
  } catch (const Exception &e) {
    Check(e.Message().find("fuzz.PIC") != std::string::npos);
  }
  CheckModel(device);
  return 0;
}
