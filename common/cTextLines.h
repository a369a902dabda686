// A text's lines as an editor counts them: CR LF, a lone CR and a lone LF each end
// one; a last line without an ending still counts. Shared by the readers of
// configuration text, of HEX files and of .PIC files, so all number lines alike;
// whether a text is UTF-16, which none of them reads; and the largest text taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Whether Text is UTF-16 (Notepad's "Unicode"), with a byte-order mark or without
// one. Every path that reads a text asks this first and then says only this:
inline constexpr std::string_view kUtf16Text = "the text is UTF-16; save it as ANSI or UTF-8";
bool LooksLikeUtf16(std::string_view text);

// Texts larger than this are no program's source: every front end refuses them, so
// a wrong file or an endless stream cannot take the machine's memory.
inline constexpr uint64_t kMaxTextSize = uint64_t{256} << 20;

class TTextLines {
public:
  // A UTF-8 byte-order mark at the start is not part of the first line.
  explicit TTextLines(std::string_view text);

  // The next line, without its ending; false after the last.
  bool Next(std::string_view &line);
  // The number of the line Next gave last, from 1.
  int Number() const { return FNumber; }
  // Next gives the line it gave last once more.
  void Again();
  // Passes over the blank lines (empty ones) that follow, counting them.
  void SkipEmptyLines();
  bool AtEnd() const { return FPos >= FText.size(); }

private:
  // Position of the next C at or after From (the text's size when none); Cached
  // keeps the last one found, so a text that uses one kind of line end only costs
  // one search for the other.
  size_t NextOf(char c, size_t from, size_t &cached) const;

  static constexpr size_t kUnknown = static_cast<size_t>(-1);
  std::string_view FText;
  size_t FPos = 0;  // start of the next line
  size_t FLast = 0; // start of the line given last
  size_t FNextLF = kUnknown;
  size_t FNextCR = kUnknown;
  int FNumber = 0;
};
