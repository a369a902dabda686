// Test hooks into the device file's reader, kept out of the reader itself: text
// already in memory taken as the file, and the state a step leaves behind. For the
// tests and the fuzz targets.
#pragma once

#include "deviceinfo/cInfoFile.h"
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

class TInfoFileProbe {
public:
  // Loads the index from Text, as Load does from a file.
  static void LoadIndexFromText(TInfoFile &file, std::string text, bool includeLF) {
    file.Cursor = 0;
    file.Version = TInfoFile().Version;
    file.Devices.Clear();
    file.FLastLine = -1;
    TLineBufferProbe::Assign(file.FLines, std::move(text));
    file.WalkIndex(includeLF);
  }
  // Number of lines of the loaded file (finds all of them).
  static int LineCount(const TInfoFile &file) { return file.FLines.Count(); }
  static int PartStart(const TInfoFile &file) { return file.FPartStart; }
  static bool PartFound(const TInfoFile &file) { return file.FPartFound; }
  static uint32_t RegisterValue(const TInfoFile &file) { return file.FRegisterValue; }
};
