// A text's lines as an editor counts them: CR LF, a lone CR and a lone LF each end
// one; a last line without an ending still counts, and an ending at the very end
// starts no further line. The rule lives here alone: the readers of configuration
// text, HEX, .PIC and .info files and the window's text boxes all cut lines by it,
// so all number lines alike. Also: the blanks at a line's ends; whether a text is
// UTF-16, which none of them reads; and the largest text taken.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

// The length of the line end at Position: 2 for CR LF, 1 for a lone CR or LF, 0 for
// any other byte and past the end.
constexpr size_t LineEndLength(std::string_view text, size_t position) {
  if (position >= text.size() || (text[position] != '\r' && text[position] != '\n'))
    return 0;
  return text.substr(position, 2) == "\r\n" ? 2 : 1;
}

// True when a line begins at Position, which is inside the text: right after an LF,
// or right after a CR that no LF follows.
constexpr bool BeginsLine(std::string_view text, size_t position) {
  return position > 0 && position < text.size() &&
         (text[position - 1] == '\n' || (text[position - 1] == '\r' && text[position] != '\n'));
}

// The same for a block of bytes at once (bit I for byte I), given where its CRs and
// LFs are: the bytes that close a line end, each LF and each CR that no LF follows.
// A CR on the block's last bit counts as closing, since the next block is not seen.
constexpr uint64_t LineEndCloses(uint64_t crs, uint64_t lfs) {
  return lfs | (crs & ~(lfs >> 1));
}

// Span, from a line's start to where the next line begins, without its line end.
constexpr std::string_view WithoutLineEnd(std::string_view span) {
  if (span.ends_with('\n'))
    span.remove_suffix(span.ends_with("\r\n") ? 2 : 1);
  else if (span.ends_with('\r'))
    span.remove_suffix(1);
  return span;
}

// Text's lines from Position on, one at a time: the line that begins there, without
// its ending; Position moves to the next line's start.
constexpr std::string_view CutLine(std::string_view text, size_t &position) {
  const size_t start = position;
  size_t end = start;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n')
    ++end;
  position = end + LineEndLength(text, end);
  return text.substr(start, end - start);
}

// A blank within a line, as the readers of configuration text and HEX skip it: a
// space or a tab.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Line without the blanks at either end.
constexpr std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && IsBlank(line.front()))
    line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back()))
    line.remove_suffix(1);
  return line;
}

// Whether Text is UTF-16 (Notepad's "Unicode"), with a byte-order mark or without
// one. Every path that reads a text asks this first and then says only this:
inline constexpr std::string_view kUtf16Text = "the text is UTF-16; save it as ANSI or UTF-8";
bool LooksLikeUtf16(std::string_view text);

// Texts larger than this are no program's source: every front end refuses them, so
// a wrong file or an endless stream cannot take the machine's memory.
inline constexpr uint64_t kMaxTextSize = uint64_t{256} << 20;

// Which lines a walk may stop at (TTextLines::SkipLines): those that begin, after
// blanks, with one of a reader's words (in any letter case; a word of one character
// such as "#" stands for every line beginning with it), and those that hold one of
// its marks anywhere (of one or two bytes, other than NUL, CR and LF; at most two).
// No two words may begin alike, and there are at most twelve. A reader that acts
// only on lines beginning with a few keywords names them, and the lines it would
// not read are passed over 64 bytes at a time.
class TLineFilter {
public:
  constexpr TLineFilter(std::initializer_list<std::string_view> words,
                        std::initializer_list<std::string_view> marks = {}) {
    size_t count = 0;
    for (const std::string_view word : words) {
      // The word's first eight bytes, with the letter-case bit set on its letters.
      std::array<char, 8> head{};
      std::array<char, 8> fold{};
      std::array<char, 8> used{};
      for (size_t i = 0; i < word.size() && i < head.size(); ++i) {
        const bool letter = LowerAscii(word[i]) != UpperAscii(word[i]);
        head[i] = letter ? LowerAscii(word[i]) : word[i];
        fold[i] = letter ? '\x20' : '\0';
        used[i] = '\xFF';
      }
      FWords[count] = {word, std::bit_cast<uint64_t>(head), std::bit_cast<uint64_t>(fold),
                       std::bit_cast<uint64_t>(used)};
      ++count;
      for (const char first : {LowerAscii(word[0]), UpperAscii(word[0])}) {
        FIndex[static_cast<unsigned char>(first)] = static_cast<uint8_t>(count);
        for (int second = 0; second < 256; ++second)
          if (word.size() == 1 || LowerAscii(static_cast<char>(second)) == LowerAscii(word[1]))
            SetPair(first, static_cast<char>(second));
      }
    }
    size_t i = 0;
    for (const std::string_view mark : marks)
      FMarks[i++] = mark;
  }
  // Whether a word may begin with C and Next: whether it begins with C, and with
  // Next after it where it is longer.
  constexpr bool MayBegin(char c, char next) const {
    const unsigned pair = Pair(c, next);
    return ((FPairs[pair / 64] >> (pair % 64)) & 1) != 0;
  }
  // Whether Text (Size bytes: what is left of a text from a line's first byte
  // other than a blank) begins with one of the words.
  bool Begins(const char *text, size_t size) const {
    const size_t index = FIndex[static_cast<unsigned char>(text[0])];
    if (index == 0)
      return false;
    const TWord &word = FWords[index - 1];
    if (size < word.Text.size())
      return false;
    if (size >= 8) {
      // Eight bytes at once, then the rest of a longer word.
      uint64_t bytes = 0;
      std::memcpy(&bytes, text, 8);
      if (((bytes | word.Fold) & word.Used) != word.Head)
        return false;
    }
    for (size_t i = size >= 8 ? 8 : 1; i < word.Text.size(); ++i)
      if (LowerAscii(text[i]) != LowerAscii(word.Text[i]))
        return false;
    return true;
  }
  // The marks; an empty one stands for none.
  constexpr const std::array<std::string_view, 2> &Marks() const { return FMarks; }

private:
  static constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
  static constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
  static constexpr unsigned Pair(char c, char next) {
    return static_cast<unsigned char>(c) | static_cast<unsigned>(static_cast<unsigned char>(next)) << 8;
  }
  constexpr void SetPair(char c, char next) {
    const unsigned pair = Pair(c, next);
    FPairs[pair / 64] |= uint64_t{1} << (pair % 64);
  }
  struct TWord {
    std::string_view Text;
    uint64_t Head = 0; // its first eight bytes, letters in lower case (zeros after a shorter word)
    uint64_t Fold = 0; // the letter-case bit of each of its letters
    uint64_t Used = 0; // its bytes among the eight
  };
  std::array<TWord, 12> FWords{};
  std::array<uint8_t, 256> FIndex{};   // by first byte: its word's place in FWords, from 1; 0 for none
  std::array<uint64_t, 1024> FPairs{}; // the first two bytes words may begin with, a bit each
  std::array<std::string_view, 2> FMarks{};
};

class TTextLines {
public:
  // A UTF-8 byte-order mark at the start is not part of the first line.
  explicit TTextLines(std::string_view text);

  // The next line, without its ending; false after the last.
  bool Next(std::string_view &line);
  std::string_view Text() const { return FText; }
  // The number of the line Next gave last, from 1.
  int Number() const { return FNumber; }
  // Next gives the line it gave last once more.
  void Again();
  // Passes over the blank lines (empty ones) that follow, counting them.
  void SkipEmptyLines();
  // Passes over the lines that follow as long as Filter lets it, counting them: the
  // next line Next gives is the first that Filter stops at. (Again after it gives
  // the line Next gave before.)
  void SkipLines(const TLineFilter &filter);

private:
  std::string_view FText;
  size_t FPos = 0;  // start of the next line
  size_t FLast = 0; // start of the line given last
  int FNumber = 0;
};
