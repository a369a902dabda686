// Holding the device information file in memory and finding its lines.
#include "deviceinfo/cLineBuffer.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define FB_LINE_SCAN_SSE2 1
#endif

namespace {
// Lines are found this many bytes ahead of what is asked for, so the scan runs in
// long stretches, yet a walk that stops early never scans far past where it stopped.
constexpr size_t kScanAhead = size_t{16} * 1024;
constexpr size_t kBlock = 64;
// Lines past this count cannot be numbered; no line with a field is that short.
constexpr size_t kMaxLines = INT_MAX - kBlock;

// One bit per byte of the 64 at Text: where the CRs are, and where the LFs are.
struct TLineEndBits {
  uint64_t Cr = 0;
  uint64_t Lf = 0;
};

TLineEndBits LineEndBits(const char *text) {
  TLineEndBits bits;
#ifdef FB_LINE_SCAN_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (size_t i = 0; i < 4; ++i) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + 16 * i));
    bits.Cr |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)))} << (16 * i);
    bits.Lf |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)))} << (16 * i);
  }
#else
  for (size_t i = 0; i < kBlock; ++i) {
    bits.Cr |= uint64_t{text[i] == '\r'} << i;
    bits.Lf |= uint64_t{text[i] == '\n'} << i;
  }
#endif
  return bits;
}
} // namespace

std::string TLineBuffer::LoadFromFile(const std::string &fileName) {
  Clear();
  std::string error = FView.Open(fileName, kMaxFileSize);
  if (!error.empty()) {
    FView.Close();
    return error;
  }
  FText = FView.Text();
  StartIndex();
  return {};
}

void TLineBuffer::Clear() {
  FView.Close();
  FOwned.clear();
  FOwned.shrink_to_fit();
  FText = {};
  FStarts.clear();
  FStarts.shrink_to_fit();
  FScanned = 0;
}

void TLineBuffer::StartIndex() {
  FStarts.clear();
  // Reserving generously costs nothing until the memory is touched; a real file's
  // lines are longer than 24 bytes.
  FStarts.reserve(std::min<size_t>(FText.size() / 24 + 16, size_t{1} << 24));
  FScanned = 0;
  if (!FText.empty())
    FStarts.push_back(0);
}

int TLineBuffer::Count() const {
  IndexUpTo(INT_MAX - 1);
  return static_cast<int>(FStarts.size());
}

std::string_view TLineBuffer::Line(int index) const {
  const auto i = static_cast<size_t>(index);
  const size_t start = FStarts[i];
  size_t end = i + 1 < FStarts.size() ? FStarts[i + 1] : FText.size();
  // Strip the one line end between this line and the next: CR LF, CR or LF.
  // A line holds no CR or LF of its own, so the bytes before the next start say it.
  if (end > start && FText[end - 1] == '\n') {
    --end;
    if (end > start && FText[end - 1] == '\r')
      --end;
  } else if (end > start && FText[end - 1] == '\r') {
    --end;
  }
  return FText.substr(start, end - start);
}

// A line ends at CR LF, a lone CR or a lone LF; a last line without an ending
// counts, and an ending at the very end starts no further line. One pass over the
// text, 64 bytes at a time, for either line end: a stray CR or LF costs only its
// own line.
bool TLineBuffer::IndexUpTo(int index) const {
  const char *base = FText.data();
  const size_t size = FText.size();
  std::vector<uint32_t> &starts = FStarts;
  // Line Index is whole once the line after it has begun.
  const size_t wanted = static_cast<size_t>(index) + 2;
  size_t scanned = FScanned;
  const size_t ahead = scanned + kScanAhead;
  // The line that begins after the line end at Position (which ends a CR LF's line
  // at its CR).
  auto lineEndAt = [&](size_t position) {
    size_t start = position + 1;
    if (base[position] == '\r' && start < size && base[start] == '\n')
      ++start;
    if (start < size)
      starts.push_back(static_cast<uint32_t>(start));
  };
  while (scanned < size && (starts.size() < wanted || scanned < ahead)) {
    if (starts.size() >= kMaxLines) {
      scanned = size;
      break;
    }
    if (size - scanned >= kBlock) {
      const TLineEndBits bits = LineEndBits(base + scanned);
      // An LF right after a CR belongs to that CR's line end.
      const uint64_t crBefore = (bits.Cr << 1) | uint64_t{scanned > 0 && base[scanned - 1] == '\r'};
      for (uint64_t ends = bits.Cr | (bits.Lf & ~crBefore); ends != 0; ends &= ends - 1)
        lineEndAt(scanned + static_cast<size_t>(std::countr_zero(ends)));
      scanned += kBlock;
    } else {
      for (; scanned < size; ++scanned) {
        const char c = base[scanned];
        if (c == '\r' || (c == '\n' && !(scanned > 0 && base[scanned - 1] == '\r')))
          lineEndAt(scanned);
      }
    }
  }
  FScanned = scanned;
  return index < static_cast<int>(starts.size());
}
