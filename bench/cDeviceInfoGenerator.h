// Deterministic generator of a full-size device information file in the vendor's
// format, for benchmarks and fuzzing seeds.
#pragma once

#include <string>
#include <vector>

struct TGeneratedDeviceInfo {
  std::string Text;       // the whole file
  std::string LastDevice; // name of the last part section (an 18F device)
  // The last part of each family, in the order of kDeviceFamilies (PIC18 first: the
  // LastDevice); each lies among the file's last four sections.
  std::vector<std::string> LastOfFamilies;
  int Lines = 0;
  int Parts = 0;
};

// What the generated file looks like.
struct TDeviceInfoShape {
  int Parts = 300;
  // Lines, spread over the file, that end otherwise than the rest (a lone CR or a
  // lone LF in a CR LF file, a lone CR or CR LF in an LF file, taking turns), as a
  // file edited by hand may; the records stay the same.
  int StrayLineEnds = 0;
  // Each part's special function registers, and below 100 its configuration
  // registers too, in percent of the usual.
  int PartSize = 100;
  bool LfOnly = false; // LF line ends instead of CR LF
};

// About 10 MB and 200k lines with the defaults: some 300 part sections of 18F and
// 18LF parts and of the other 8-bit families (enhanced mid-range, mid-range and
// baseline parts, with their own registers and word widths), other record kinds
// interleaved as in the vendor's file, CR LF line ends.
TGeneratedDeviceInfo GenerateDeviceInfo(const TDeviceInfoShape &shape, unsigned seed = 1);
TGeneratedDeviceInfo GenerateDeviceInfo(int parts = 300, unsigned seed = 1, int strayLineEnds = 0);

// The file shapes the benchmarks measure, each about the full size: the usual file
// (CR LF), the same with 20 stray line ends, with LF line ends, many small parts,
// and few large parts.
struct TNamedShape {
  std::string Name;
  TDeviceInfoShape Shape;
};
std::vector<TNamedShape> BenchShapes();
