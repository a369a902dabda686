// TLineBuffer: a whole text file held in memory once, cut into lines by offsets.
// Lines are found as they are first asked for, so a walk that stops early (at an
// error, or at the end of the index section) never looks at the rest of the file.
#pragma once

#include "deviceinfo/cFileView.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLineBuffer {
public:
  // The line index uses 32-bit offsets: larger files are refused before reading.
  static constexpr uint64_t kMaxFileSize = UINT32_MAX;

  // Reads the file whole. On failure the buffer is empty and the result says why
  // ("" on success).
  std::string LoadFromFile(const std::string &fileName);
  void Clear();

  // True when line Index exists.
  bool HasLine(int index) const { return index < static_cast<int>(FStarts.size()) - 1 || IndexUpTo(index); }
  // Number of lines; finds every line of the text.
  int Count() const;
  // Line Index without its line end; HasLine(Index) must be true.
  std::string_view Line(int index) const;
  // The first two bytes at line Index's start, as far as the text has them (they may
  // run into the line end); for a quick look at a record's kind.
  std::string_view Head(int index) const {
    const size_t start = FStarts[static_cast<size_t>(index)];
    return FText.substr(start, 2);
  }
  // True when the file changed under the buffer while it was read.
  bool Changed() const { return FView.Changed(); }

private:
  // The tests' view of the buffer (tests/support/ReaderProbe.h).
  friend class TLineBufferProbe;

  void StartIndex();
  // Finds lines until line Index is whole (the next line has begun, or the text
  // is scanned to its end); true when it exists.
  bool IndexUpTo(int index) const;

  TFileView FView;    // the mapped file, or nothing
  std::string FOwned; // text given in memory (tests/support/ReaderProbe.h)
  std::string_view FText;
  // Offset of each line found so far; a line runs to the next line's start (the
  // last one to the end of the text) less its line end.
  mutable std::vector<uint32_t> FStarts;
  // How far the text has been scanned for line ends.
  mutable size_t FScanned = 0;
};
