// libFuzzer target: the tokenizer and the reader's whole walk on arbitrary bytes.
// Only the two documented errors may leave the reader, and each leaves the cursor
// where the failing call found it; anything else is a finding.
#include "common/cErrors.h"
#include "deviceinfo/cInfoFile.h"
#include "tests/support/ReaderProbe.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
void Check(bool condition) {
  if (!condition)
    __builtin_trap();
}

// Runs one reader step; a documented error must leave the cursor unchanged.
template <typename TStep> bool Step(TInfoFile &reader, TStep step) {
  const int cursor = reader.Cursor;
  try {
    return step();
  } catch (const EListError &) {
  } catch (const EConvertError &) {
  }
  Check(reader.Cursor == cursor);
  return false;
}

void WalkDevice(TInfoFile &reader, const std::string &device) {
  TStringList fields, names, descriptions;
  std::string name, function, def;
  if (!Step(reader, [&] { return reader.FindPart(device, fields); }))
    return;
  Check(TInfoFileProbe::PartFound(reader));
  ++reader.Cursor;
  while (Step(reader, [&] { return reader.NextSwitch(name, function, names, descriptions, def); })) {
    Check(names.Count() == descriptions.Count() && names.Count() > 0);
    Check(names.IndexOf(def) >= 0);
    Check(reader.Cursor <= TInfoFileProbe::LineCount(reader));
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  TStringList fields;
  Check(SplitFields(text, fields) == fields.Count());

  TInfoFile reader;
  reader.SetUseInfoDefaults(size > 0 && (data[0] & 1) != 0);
  try {
    TInfoFileProbe::LoadIndexFromText(reader, text, true);
  } catch (const EListError &) {
    Check(reader.Cursor == 0);
    return 0;
  }
  Check(reader.Cursor == TInfoFileProbe::PartStart(reader) &&
        reader.Cursor <= TInfoFileProbe::LineCount(reader));
  // Every 8-bit part of the index, of every family (the 18F list among them).
  const TStringList devices = reader.AllDeviceNames();
  for (const std::string &device : devices)
    WalkDevice(reader, device);
  return 0;
}
