// Holding the device information file in memory and finding its lines.
#include "deviceinfo/cLineBuffer.h"

#include <algorithm>
#include <climits>
#include <cstring>

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

void TLineBuffer::Assign(std::string text) {
  Clear();
  FOwned = std::move(text);
  FText = FOwned;
  StartIndex();
}

void TLineBuffer::Clear() {
  FView.Close();
  FOwned.clear();
  FOwned.shrink_to_fit();
  FText = {};
  FStarts.clear();
  FStarts.shrink_to_fit();
  FNext = FNextCr = FNextLf = 0;
}

void TLineBuffer::StartIndex() {
  FStarts.clear();
  // Reserving generously costs nothing until the memory is touched; a real file's
  // lines are longer than 24 bytes.
  FStarts.reserve(std::min<size_t>(FText.size() / 24 + 16, size_t{1} << 24));
  FNext = 0;
  FNextCr = FNextLf = 0;
}

int TLineBuffer::Count() const {
  IndexUpTo(INT_MAX - 1);
  return static_cast<int>(FStarts.size());
}

std::string_view TLineBuffer::Line(int index) const {
  const auto i = static_cast<size_t>(index);
  const size_t start = FStarts[i];
  size_t end = i + 1 < FStarts.size() ? FStarts[i + 1] : FNext;
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
// counts, and an ending at the very end starts no further line. The next LF is
// searched again only once passed, and a CR only up to that LF, so each byte is
// looked at about twice and a stray CR or LF costs only its own line.
bool TLineBuffer::IndexUpTo(int index) const {
  const char *base = FText.data();
  const size_t size = FText.size();
  // Lines past INT_MAX cannot be numbered; no line with a field is that short.
  while (static_cast<int>(FStarts.size()) <= index && FNext < size && FStarts.size() < INT_MAX) {
    const size_t pos = FNext;
    const bool first = FStarts.empty(); // nothing searched yet
    if (first || FNextLf < pos) {
      const void *lf = std::memchr(base + pos, '\n', size - pos);
      FNextLf = lf ? static_cast<size_t>(static_cast<const char *>(lf) - base) : size;
    }
    if (first || FNextCr < pos) {
      // No CR before the LF counts as one at the LF.
      const void *cr = std::memchr(base + pos, '\r', FNextLf - pos);
      FNextCr = cr ? static_cast<size_t>(static_cast<const char *>(cr) - base) : FNextLf;
    }
    FStarts.push_back(static_cast<uint32_t>(pos));
    const size_t end = std::min(FNextCr, FNextLf);
    if (end >= size) {
      FNext = size;
      break;
    }
    FNext = end + 1;
    if (base[end] == '\r' && FNext < size && base[FNext] == '\n')
      ++FNext;
  }
  return index < static_cast<int>(FStarts.size());
}
