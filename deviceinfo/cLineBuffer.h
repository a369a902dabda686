// TLineBuffer: a whole text file held in one buffer, cut into lines by offsets.
#pragma once

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
  std::string_view Line(int index) const {
    const auto i = static_cast<size_t>(index);
    return std::string_view(FText.data() + FStarts[i], FEnds[i] - FStarts[i]);
  }

private:
  void IndexLines();

  std::string FText;
  // Offsets of each line's first byte and of the byte after its last one.
  std::vector<uint32_t> FStarts;
  std::vector<uint32_t> FEnds;
};
