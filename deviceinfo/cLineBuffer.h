// TLineBuffer: a whole text file held in memory once, cut into lines by offsets.
// Lines are found as they are first asked for, so a walk that stops early (at an
// error, or at the end of the index section) never looks at the rest of the file,
// and a search passes over lines by their bytes, counting them without cutting them.
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
  bool HasLine(int index) const {
    return (index >= FFirst && index - FFirst < static_cast<int>(FStarts.size()) - 1) || IndexUpTo(index);
  }
  // Number of lines; finds every line of the text.
  int Count() const;
  // Line Index without its line end; HasLine(Index) must be true.
  std::string_view Line(int index) const;
  // Passes over the lines from From on that begin with '<' and a character above
  // blank other than Except (records, and at a glance not of the kind Except
  // begins) and returns the index of the first line that does not, or Count() when
  // there is none. The lines passed over are only counted, 64 bytes at a time; a
  // line before the one returned is found again from the start of the text.
  int SkipRecords(int from, char except) const;
  // True when the file changed under the buffer while it was read.
  bool Changed() const { return FView.Changed(); }

private:
  // The tests' view of the buffer (tests/support/ReaderProbe.h).
  friend class TLineBufferProbe;

  // Number of lines found so far (the index past the last one found).
  int LinesFound() const { return FFirst + static_cast<int>(FStarts.size()); }

  // Back to the first line, as after loading.
  void Restart() const;
  // Makes line Index, which begins at Start, the first line at hand.
  void StartAt(int index, size_t start) const;
  // Finds lines until line Index is whole (the next line has begun, or the text
  // is scanned to its end); true when it exists.
  bool IndexUpTo(int index) const;
  // True when the line beginning at Start begins with '<' and a character above
  // blank other than Except.
  bool OpensRecord(size_t start, char except) const;

  TFileView FView;    // the mapped file, or nothing
  std::string FOwned; // text given in memory (tests/support/ReaderProbe.h)
  std::string_view FText;
  // The lines at hand: line FFirst + i begins at FStarts[i]; a line runs to the
  // next line's start (the last one to the end of the text) less its line end.
  mutable int FFirst = 0;
  mutable std::vector<uint32_t> FStarts;
  // Every line that begins before this offset (and not before FStarts[0]) is in
  // FStarts.
  mutable size_t FScanned = 0;
};
