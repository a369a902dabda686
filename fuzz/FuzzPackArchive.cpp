// libFuzzer target: an .atpack archive from arbitrary bytes, through libzip. Only the
// reader's Exception may leave it, every message names the archive, and no entry is
// read beyond the limit, whatever the archive declares.
#include "common/cErrors.h"
#include "devicepacks/cPackArchive.h"
#include "devicepacks/cZipArchive.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

constexpr const char *kName = "fuzz.atpack";
constexpr uint64_t kLimit = 1u << 20;

void CheckError(const Exception &e) {
  Check(e.Message().find(kName) != std::string::npos);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const auto bytes = std::make_shared<const std::string>(reinterpret_cast<const char *>(data), size);
  // Every entry, as the directory lists it.
  try {
    const TZipArchive archive(*bytes, kName, 1000);
    for (const std::string &name : archive.Names()) {
      try {
        Check(archive.Read(name, kLimit).size() <= kLimit);
      } catch (const Exception &e) {
        CheckError(e);
      }
    }
  } catch (const Exception &e) {
    CheckError(e);
  }
  // The archive as a pack: its name and version, and each device's .PIC.
  try {
    const TPackArchive pack(bytes, kName, 1000);
    Check(!pack.Name().empty() && !pack.Version().empty());
    for (const std::string &device : pack.DeviceNames()) {
      TPicDevice model;
      try {
        Check(pack.ReadPic(device, model));
      } catch (const Exception &e) {
        CheckError(e);
      }
    }
  } catch (const Exception &e) {
    CheckError(e);
  }
  return 0;
}
