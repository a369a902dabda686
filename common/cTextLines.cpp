// Walking a text line by line, passing over runs of empty lines, and the lines a
// reader would not read, a block of bytes at a time.
#include "common/cTextLines.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define FB_TEXT_LINES_SSE2 1
#endif

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Passes over whole 16-byte blocks of line ends from Text on, adding the lines they
// end to Lines; a CR at a block's end is left for the caller, as its LF may follow.
const char *SkipLineEndBlocks(const char *text, const char *end, int &lines) {
#ifdef FB_TEXT_LINES_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - text >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text));
    auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
    auto crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)));
    if ((lfs | crs) != 0xFFFFu)
      break;
    const unsigned size = (crs & 0x8000u) != 0 ? 15 : 16;
    const unsigned kept = (1u << size) - 1;
    lines += std::popcount(LineEndCloses(crs, lfs) & kept);
    text += size;
  }
#else
  (void)end;
  (void)lines;
#endif
  return text;
}

// Position of the first CR or LF at or after From, or Size.
size_t LineEndFrom(const char *text, size_t from, size_t size) {
#ifdef FB_TEXT_LINES_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; size - from >= 16; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from));
    const int ends = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
    if (ends != 0)
      return from + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(ends)));
  }
#endif
  while (from < size && text[from] != '\r' && text[from] != '\n')
    ++from;
  return from;
}

// The lowest bit set in Bits, alone; 0 for none.
constexpr uint64_t LowestBit(uint64_t bits) {
  return bits & (~bits + 1);
}

// The bits set in Bits. (std::popcount is a call where the processor's own count
// is not among the build's instructions, the cost of a whole block here.)
constexpr int CountBits(uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((bits * 0x0101010101010101u) >> 56);
}

// A filter's marks as bytes: each mark's first and second ('\0' where none).
using TMarkBytes = std::array<char, 4>;

// 64 bytes of a text as bit masks (bit I for byte I): its CRs and LFs, the bytes
// that close a line end (each LF, and each CR that no LF follows), the blanks, and
// where a mark begins. The byte after the 64 is read too: it tells a CR LF, or a mark, that
// runs across the end.
struct TBlockMasks {
  uint64_t Ends = 0;
  uint64_t Closes = 0;
  uint64_t Blanks = 0;
  uint64_t Marks = 0;
};

class TBlockReader {
public:
  explicit TBlockReader(const TMarkBytes &marks) : FMarks(marks) {
#ifdef FB_TEXT_LINES_SSE2
    for (size_t m = 0; m < marks.size(); ++m)
      FMarkBytes[m] = _mm_set1_epi8(marks[m]);
#endif
  }

  TBlockMasks MasksOf(const char *block) const {
    TBlockMasks masks;
#ifdef FB_TEXT_LINES_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (size_t i = 0; i < 4; ++i) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * i + 1));
      const auto mask = [&](__m128i matches) {
        return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(matches))) << (16 * i);
      };
      const __m128i lfs = _mm_cmpeq_epi8(chunk, lf);
      const __m128i crs = _mm_cmpeq_epi8(chunk, cr);
      masks.Ends |= mask(_mm_or_si128(lfs, crs));
      masks.Closes |= mask(_mm_or_si128(lfs, _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), crs)));
      masks.Blanks |= mask(_mm_or_si128(_mm_cmpeq_epi8(chunk, space), _mm_cmpeq_epi8(chunk, tab)));
      if (FMarks[0] != '\0') {
        __m128i marked = _mm_setzero_si128();
        for (size_t m = 0; m < FMarks.size(); m += 2) {
          if (FMarks[m] == '\0')
            continue;
          __m128i at = _mm_cmpeq_epi8(chunk, FMarkBytes[m]);
          if (FMarks[m + 1] != '\0')
            at = _mm_and_si128(at, _mm_cmpeq_epi8(next, FMarkBytes[m + 1]));
          marked = _mm_or_si128(marked, at);
        }
        masks.Marks |= mask(marked);
      }
    }
#else
    for (size_t i = 0; i < 64; ++i) {
      const uint64_t bit = uint64_t{1} << i;
      const char c = block[i];
      masks.Ends |= c == '\n' || c == '\r' ? bit : 0;
      masks.Closes |= c == '\n' || (c == '\r' && block[i + 1] != '\n') ? bit : 0;
      masks.Blanks |= IsBlank(c) ? bit : 0;
      for (size_t m = 0; m < FMarks.size(); m += 2)
        masks.Marks |=
            FMarks[m] != '\0' && c == FMarks[m] && (FMarks[m + 1] == '\0' || block[i + 1] == FMarks[m + 1])
                ? bit
                : 0;
    }
#endif
    return masks;
  }

private:
  TMarkBytes FMarks;
#ifdef FB_TEXT_LINES_SSE2
  __m128i FMarkBytes[4]{}; // NOLINT(*-avoid-c-arrays): each byte of FMarks, in every lane
#endif
};
} // namespace

// UTF-16 without a byte-order mark shows as a zero in every other byte; 8-bit text
// has none, and a file of zeros is no text of either kind.
bool LooksLikeUtf16(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
    return false;
  if (text.size() >= 2 &&
      ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF')))
    return true;
  const size_t pairs = std::min<size_t>(text.size(), 4096) / 2;
  if (pairs == 0)
    return false;
  size_t zeros[2] = {0, 0};
  for (size_t i = 0; i < pairs * 2; ++i)
    if (text[i] == '\0')
      ++zeros[i % 2];
  for (int parity = 0; parity < 2; ++parity)
    if (zeros[parity] == pairs && zeros[1 - parity] * 2 < pairs)
      return true;
  return false;
}

TTextLines::TTextLines(std::string_view text) : FText(text) {
  if (FText.substr(0, kUtf8Bom.size()) == kUtf8Bom)
    FPos = kUtf8Bom.size();
}

bool TTextLines::Next(std::string_view &line) {
  if (FPos >= FText.size())
    return false;
  FLast = FPos;
  const size_t end = LineEndFrom(FText.data(), FPos, FText.size());
  line = FText.substr(FPos, end - FPos);
  FPos = end + LineEndLength(FText, end);
  ++FNumber;
  return true;
}

void TTextLines::Again() {
  FPos = FLast;
  --FNumber;
}

void TTextLines::SkipEmptyLines() {
  const char *p = SkipLineEndBlocks(FText.data() + FPos, FText.data() + FText.size(), FNumber);
  FPos = static_cast<size_t>(p - FText.data());
  for (size_t length = LineEndLength(FText, FPos); length > 0; length = LineEndLength(FText, FPos)) {
    FPos += length;
    ++FNumber;
  }
}

// Block by block: the bytes that close a line end give where lines begin; a line's
// first byte other than a blank is where a carry, added at its start, runs out of
// the blanks that follow (and into the next block, for blanks at a block's end).
void TTextLines::SkipLines(const TLineFilter &filter) {
  const char *text = FText.data();
  const size_t size = FText.size();
  size_t lineStart = FPos; // start of the line at hand
  int lines = 0;
  uint64_t startCarry = 1; // the next block begins a line
  uint64_t blankCarry = 0; // ... or goes on with the blanks that begin one
  // Each mark's bytes, first and second.
  const auto &marks = filter.Marks();
  const auto byte = [](std::string_view mark, size_t i) { return i < mark.size() ? mark[i] : '\0'; };
  const TBlockReader reader({byte(marks[0], 0), byte(marks[0], 1), byte(marks[1], 0), byte(marks[1], 1)});
  // The last block, without the bytes beyond the text, and room for reading past it.
  char tail[128]; // NOLINT(cppcoreguidelines-pro-type-member-init): filled where it is used
  for (size_t at = FPos; at < size; at += 64) {
    const size_t left = size - at;
    const char *block = text + at;
    if (left <= 64) {
      std::memset(tail, 0, sizeof tail);
      block = static_cast<const char *>(std::memcpy(tail, block, left));
    }
    const TBlockMasks masks = reader.MasksOf(block);
    const uint64_t closes = masks.Closes;
    const uint64_t starts = (closes << 1) | startCarry;
    startCarry = closes >> 63;
    const uint64_t sum = masks.Blanks + starts;
    const uint64_t firsts = (sum + blankCarry) & ~masks.Blanks;
    blankCarry = sum < starts || sum + blankCarry < sum ? 1 : 0;
    // The lines that may begin with a word, by their first two bytes (an empty one
    // cannot).
    uint64_t candidates = 0;
    for (uint64_t first = firsts & ~masks.Ends; first != 0; first &= first - 1) {
      const int bit = std::countr_zero(first);
      candidates |= uint64_t{filter.MayBegin(block[bit], block[bit + 1])} << bit;
    }
    // The first line Filter stops at: by a mark in it, or by the word it begins with.
    uint64_t stop = LowestBit(masks.Marks);
    for (; candidates != 0 && (stop == 0 || LowestBit(candidates) < stop); candidates &= candidates - 1)
      if (const size_t first = at + static_cast<size_t>(std::countr_zero(candidates));
          filter.Begins(text + first, size - first)) {
        stop = LowestBit(candidates);
        break;
      }
    const uint64_t passed = stop == 0 ? closes : closes & (stop - 1);
    lines += CountBits(passed);
    if (passed != 0)
      lineStart = at + 64 - static_cast<size_t>(std::countl_zero(passed));
    if (stop != 0) {
      FPos = lineStart;
      FNumber += lines;
      return;
    }
  }
  // The last line, where no line end closes it.
  if (lineStart < size)
    ++lines;
  FPos = size;
  FNumber += lines;
}
