// TLineBuffer: a whole text file held in memory once, cut into lines by offsets.
#pragma once

#include "deviceinfo/cFileView.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLineBuffer {
public:
  // Reads the file whole. On failure the buffer is empty and the result says why
  // ("" on success).
  std::string LoadFromFile(const std::string &fileName);
  // Takes Text as the file's content (tests, benchmarks, fuzzing).
  void Assign(std::string text);
  void Clear();

  int Count() const { return static_cast<int>(FStarts.size()); }
  // Line Index without its line end; Index must lie in 0..Count-1.
  std::string_view Line(int index) const;
  // The first two bytes at line Index's start, as far as the text has them (they may
  // run into the line end); for a quick look at a record's kind.
  std::string_view Head(int index) const {
    const size_t start = FStarts[static_cast<size_t>(index)];
    return FText.substr(start, 2);
  }

private:
  void IndexLines();
  bool IndexAtLineFeeds();
  void IndexAtEveryLineEnd();

  TFileView FView;    // the mapped file, or nothing
  std::string FOwned; // text given by Assign
  std::string_view FText;
  // Offset of each line's first byte; a line runs to the next line's start (or the
  // end of the text) less its line end.
  std::vector<uint32_t> FStarts;
};
