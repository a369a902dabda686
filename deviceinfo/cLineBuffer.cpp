// Holding the device information file in memory and finding its lines.
#include "deviceinfo/cLineBuffer.h"

#include "common/cTextLines.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define FB_LINE_SCAN_SSE2 1
#endif

namespace {
// A sequential walk finds lines up to this many bytes ahead of what it asks for,
// so the scan runs in long stretches, yet a walk that stops early never scans far
// past where it stopped. A walk that has just begun looks ahead as far as it has
// come, so a look at a single line costs only that line.
constexpr size_t kScanAhead = size_t{16} * 1024;
constexpr size_t kBlock = 64;
// Lines past this count cannot be numbered; no line with a field is that short.
constexpr size_t kMaxLines = INT_MAX - kBlock;

// One bit per byte of the 64 at Text: where the CRs are, and where the LFs are;
// for a search also where a record begins ('<' and a character above blank other
// than the one excepted).
struct TLineEndBits {
  uint64_t Cr = 0;
  uint64_t Lf = 0;
  uint64_t Record = 0;
};

bool IsRecordHead(char open, char next, char except) {
  return open == '<' && static_cast<unsigned char>(next) > 32 && next != except;
}

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

// As LineEndBits, with Record; reads one byte past the 64.
TLineEndBits RecordBits(const char *text, char except) {
  TLineEndBits bits;
#ifdef FB_LINE_SCAN_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i open = _mm_set1_epi8('<');
  const __m128i above = _mm_set1_epi8(33);
  const __m128i other = _mm_set1_epi8(except);
  for (size_t i = 0; i < 4; ++i) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + 16 * i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + 16 * i + 1));
    // The next byte is above blank (unsigned) and not the excepted one.
    const __m128i plain =
        _mm_andnot_si128(_mm_cmpeq_epi8(next, other), _mm_cmpeq_epi8(_mm_max_epu8(next, above), next));
    const __m128i record = _mm_and_si128(_mm_cmpeq_epi8(block, open), plain);
    bits.Cr |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)))} << (16 * i);
    bits.Lf |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)))} << (16 * i);
    bits.Record |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(record))} << (16 * i);
  }
#else
  bits = LineEndBits(text);
  for (size_t i = 0; i < kBlock; ++i)
    bits.Record |= uint64_t{IsRecordHead(text[i], text[i + 1], except)} << i;
#endif
  return bits;
}

// The bytes of the 64 at Position that begin a line.
uint64_t LineStartBits(const TLineEndBits &bits, std::string_view text, size_t position) {
  return (LineEndCloses(bits.Cr, bits.Lf) << 1) | uint64_t{BeginsLine(text, position)};
}

// Where the last line that begins at or after From and before End begins; one must.
size_t LastLineStart(std::string_view text, size_t from, size_t end) {
  size_t position = end;
  while (position > from && !BeginsLine(text, --position)) {
  }
  return position;
}

#ifdef FB_LINE_SCAN_SSE2
// Counts the lines that begin in the 64-byte blocks from Position on, while each of
// them opens a record (see RecordBits), in byte counters rather than bit masks.
// Stops before a block in which one does not, before a block that would read past
// Size (each needs the byte before it and the one after it), or after MaxBlocks;
// returns where it stopped, and Begun grows by the lines counted.
size_t CountRecordLines(const char *text, size_t position, size_t size, char except, size_t maxBlocks,
                        size_t &begun) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i open = _mm_set1_epi8('<');
  const __m128i above = _mm_set1_epi8(33);
  const __m128i other = _mm_set1_epi8(except);
  const __m128i zero = _mm_setzero_si128();
  if (position == 0)
    return position;
  while (maxBlocks > 0 && size - position > kBlock) {
    // A byte counter gains at most 4 a block: 63 blocks fit in it.
    const size_t round = std::min({maxBlocks, (size - position - 1) / kBlock, size_t{63}});
    __m128i counts = zero;
    size_t done = 0;
    for (; done < round; ++done, position += kBlock) {
      __m128i others = zero;
      __m128i blockCounts = zero;
      for (size_t i = 0; i < kBlock; i += 16) {
        const char *at = text + position + i;
        const __m128i now = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at - 1));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at + 1));
        // BeginsLine (common/cTextLines.h), 16 bytes at once.
        const __m128i begins =
            _mm_or_si128(_mm_cmpeq_epi8(before, lf),
                         _mm_andnot_si128(_mm_cmpeq_epi8(now, lf), _mm_cmpeq_epi8(before, cr)));
        const __m128i plain =
            _mm_andnot_si128(_mm_cmpeq_epi8(next, other), _mm_cmpeq_epi8(_mm_max_epu8(next, above), next));
        const __m128i record = _mm_and_si128(_mm_cmpeq_epi8(now, open), plain);
        others = _mm_or_si128(others, _mm_andnot_si128(record, begins));
        blockCounts = _mm_sub_epi8(blockCounts, begins);
      }
      if (_mm_movemask_epi8(others) != 0)
        break;
      counts = _mm_add_epi8(counts, blockCounts);
    }
    const __m128i sums = _mm_sad_epu8(counts, zero);
    begun += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
    maxBlocks -= done;
    if (done < round)
      break;
  }
  return position;
}

#else
// Without SSE2 nothing is counted: the caller looks at the blocks one by one.
size_t CountRecordLines(const char * /*text*/, size_t position, size_t /*size*/, char /*except*/,
                        size_t /*maxBlocks*/, size_t & /*begun*/) {
  return position;
}
#endif
} // namespace

std::string TLineBuffer::LoadFromFile(const std::string &fileName) {
  Clear();
  std::string error = FView.Open(fileName, kMaxFileSize);
  if (!error.empty()) {
    FView.Close();
    return error;
  }
  FText = FView.Text();
  Restart();
  return {};
}

void TLineBuffer::Clear() {
  FView.Close();
  FOwned.clear();
  FOwned.shrink_to_fit();
  FText = {};
  FStarts.clear();
  FStarts.shrink_to_fit();
  FFirst = 0;
  FScanned = 0;
}

void TLineBuffer::Restart() const {
  if (FStarts.capacity() == 0) {
    // Reserving generously costs nothing until the memory is touched; a real
    // file's lines are longer than 24 bytes.
    FStarts.reserve(std::min<size_t>(FText.size() / 24 + 16, size_t{1} << 24));
  }
  FStarts.clear();
  FFirst = 0;
  FScanned = 0;
  if (!FText.empty())
    FStarts.push_back(0);
}

void TLineBuffer::StartAt(int index, size_t start) const {
  FStarts.clear();
  FStarts.push_back(static_cast<uint32_t>(start));
  FFirst = index;
  FScanned = start + 1;
}

int TLineBuffer::Count() const {
  IndexUpTo(INT_MAX - 1);
  return LinesFound();
}

std::string_view TLineBuffer::Line(int index) const {
  const auto i = static_cast<size_t>(index - FFirst);
  const size_t start = FStarts[i];
  const size_t end = i + 1 < FStarts.size() ? FStarts[i + 1] : FText.size();
  return WithoutLineEnd(FText.substr(start, end - start));
}

bool TLineBuffer::OpensRecord(size_t start, char except) const {
  return start + 1 < FText.size() && IsRecordHead(FText[start], FText[start + 1], except);
}

// One pass over the text, 64 bytes at a time, for either line end: a stray CR or
// LF costs only its own line.
bool TLineBuffer::IndexUpTo(int index) const {
  if (index < FFirst)
    Restart();
  const char *base = FText.data();
  const size_t size = FText.size();
  std::vector<uint32_t> &starts = FStarts;
  // Line Index is whole once the line after it has begun.
  const int64_t wanted = int64_t{index} - FFirst + 2;
  size_t scanned = FScanned;
  const size_t walked = starts.empty() ? 0 : scanned - starts.front();
  const size_t ahead = scanned + std::min(kScanAhead, walked);
  while (scanned < size && (static_cast<int64_t>(starts.size()) < wanted || scanned < ahead)) {
    if (static_cast<size_t>(FFirst) + starts.size() >= kMaxLines) {
      scanned = size;
      break;
    }
    if (size - scanned >= kBlock) {
      const uint64_t begins = LineStartBits(LineEndBits(base + scanned), FText, scanned);
      for (uint64_t bits = begins; bits != 0; bits &= bits - 1)
        starts.push_back(static_cast<uint32_t>(scanned + static_cast<size_t>(std::countr_zero(bits))));
      scanned += kBlock;
    } else {
      for (; scanned < size; ++scanned)
        if (BeginsLine(FText, scanned))
          starts.push_back(static_cast<uint32_t>(scanned));
    }
  }
  FScanned = scanned;
  return index < LinesFound();
}

int TLineBuffer::SkipRecords(int from, char except) const {
  if (!HasLine(from))
    return from;
  // The lines at hand first.
  int line = from;
  for (; line < LinesFound(); ++line)
    if (!OpensRecord(FStarts[static_cast<size_t>(line - FFirst)], except))
      return line;
  // Then the rest, counted: Line is the last line begun so far; where it begins
  // is looked up when it is needed (kNotKnown).
  constexpr size_t kNotKnown = SIZE_MAX;
  --line;
  const char *base = FText.data();
  const size_t size = FText.size();
  size_t lineStart = FStarts.back();
  size_t counted = 0; // where the last count of lines began
  size_t scanned = FScanned;
  auto knownLineStart = [&] {
    return lineStart != kNotKnown ? lineStart : LastLineStart(FText, counted, scanned);
  };
  while (scanned < size) {
    if (static_cast<size_t>(line) + 2 * kBlock >= kMaxLines) {
      // Near the count's limit the lines are found one by one, as a walk finds them.
      StartAt(line, knownLineStart());
      FScanned = scanned;
      for (++line; HasLine(line); ++line)
        if (!OpensRecord(FStarts[static_cast<size_t>(line - FFirst)], except))
          return line;
      return line;
    }
    size_t begun = 0;
    const size_t from = scanned;
    scanned = CountRecordLines(base, scanned, size, except,
                               (kMaxLines - static_cast<size_t>(line)) / kBlock - 2, begun);
    if (begun > 0) {
      line += static_cast<int>(begun);
      counted = from;
      lineStart = kNotKnown;
    }
    if (size - scanned > kBlock) {
      // The block where a line does not open a record (or every block where there
      // are no byte counters).
      const TLineEndBits bits = RecordBits(base + scanned, except);
      const uint64_t begins = LineStartBits(bits, FText, scanned);
      const uint64_t others = begins & ~bits.Record;
      if (others != 0) {
        const int bit = std::countr_zero(others);
        line += std::popcount(begins & ((uint64_t{1} << bit) - 1)) + 1;
        StartAt(line, scanned + static_cast<size_t>(bit));
        return line;
      }
      if (begins != 0) {
        line += std::popcount(begins);
        lineStart = scanned + kBlock - 1 - static_cast<size_t>(std::countl_zero(begins));
      }
      scanned += kBlock;
    } else {
      for (; scanned < size; ++scanned) {
        if (!BeginsLine(FText, scanned))
          continue;
        ++line;
        lineStart = scanned;
        if (!OpensRecord(scanned, except)) {
          StartAt(line, scanned);
          return line;
        }
      }
    }
  }
  // Every line passed: the last one stays at hand, whole.
  StartAt(line, knownLineStart());
  FScanned = size;
  return line + 1;
}
