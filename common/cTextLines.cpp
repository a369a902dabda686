// Walking a text line by line, with runs of empty lines passed over in blocks.
#include "common/cTextLines.h"

#include <algorithm>
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

size_t TTextLines::NextOf(char c, size_t from, size_t &cached) const {
  if (cached == kUnknown || cached < from) {
    const auto *found = static_cast<const char *>(std::memchr(FText.data() + from, c, FText.size() - from));
    cached = found != nullptr ? static_cast<size_t>(found - FText.data()) : FText.size();
  }
  return cached;
}

bool TTextLines::Next(std::string_view &line) {
  if (FPos >= FText.size())
    return false;
  FLast = FPos;
  const size_t length = std::min(NextOf('\n', FPos, FNextLF), NextOf('\r', FPos, FNextCR)) - FPos;
  line = FText.substr(FPos, length);
  FPos += length;
  FPos += LineEndLength(FText, FPos);
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
