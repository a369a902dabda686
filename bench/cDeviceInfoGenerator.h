// Deterministic generator of a full-size device information file in the vendor's
// format, for benchmarks and fuzzing seeds.
#pragma once

#include <string>

struct TGeneratedDeviceInfo {
  std::string Text;       // the whole file, CR LF line ends
  std::string LastDevice; // name of the last part section (an 18F device)
  int Lines = 0;
  int Parts = 0;
};

// About 10 MB and 200k lines with the defaults: some 300 part sections of 18F,
// 18LF and other families, other record kinds interleaved as in the vendor's file.
// StrayLineEnds lines, spread over the file, end in a lone CR or a lone LF (taking
// turns) instead of CR LF, as a file edited by hand may; the records stay the same.
TGeneratedDeviceInfo GenerateDeviceInfo(int parts = 300, unsigned seed = 1, int strayLineEnds = 0);
