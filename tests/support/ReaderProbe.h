// Test hooks into the device file's reader, kept out of the reader itself: text
// already in memory taken as the file, and the state a step leaves behind. For the
// tests and the fuzz targets.
#pragma once

#include "deviceinfo/cDeviceInfo.h"
#include "deviceinfo/cLineBuffer.h"

#include <cstdint>
#include <string>
#include <utility>

class TLineBufferProbe {
public:
  // Takes Text as the file's content.
  static void Assign(TLineBuffer &buffer, std::string text) {
    buffer.Clear();
    buffer.FOwned = std::move(text);
    buffer.FText = buffer.FOwned;
    buffer.Restart();
  }
  // Number of lines found so far.
  static int LinesFound(const TLineBuffer &buffer) { return buffer.LinesFound(); }
};

class TDeviceInfoProbe {
public:
  // Loads the index from Text, as LoadDeviceIndex does from a file.
  static void LoadIndexFromText(TDeviceInfo &reader, std::string text, bool includeLF) {
    reader.FOther.reset();
    reader.Cursor = 0;
    reader.Version = TDeviceInfo().Version;
    reader.Devices.Clear();
    reader.FLastLine = -1;
    reader.FLoadError.clear();
    TLineBufferProbe::Assign(reader.FLines, std::move(text));
    reader.WalkIndex(includeLF);
  }
  // Number of lines of the loaded file (finds all of them).
  static int LineCount(const TDeviceInfo &reader) { return reader.FLines.Count(); }
  static int PartStart(const TDeviceInfo &reader) { return reader.FPartStart; }
  static bool PartFound(const TDeviceInfo &reader) { return reader.FPartFound; }
  static uint32_t RegisterValue(const TDeviceInfo &reader) { return reader.FRegisterValue; }
  static bool UseInfoDefaults(const TDeviceInfo &reader) { return reader.FUseInfoDefaults; }
};
