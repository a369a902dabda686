// Holding the device information file in memory and finding its lines.
#include "deviceinfo/cLineBuffer.h"

#include <cstring>
#include <limits>

namespace {
// The line index uses 32-bit offsets; no real device file comes near this.
constexpr uint64_t kMaxFileSize = std::numeric_limits<uint32_t>::max();
} // namespace

std::string TLineBuffer::LoadFromFile(const std::string &fileName) {
  Clear();
  std::string error = FView.Open(fileName);
  if (error.empty() && FView.Text().size() > kMaxFileSize)
    error = "file too large";
  if (!error.empty()) {
    FView.Close();
    return error;
  }
  FText = FView.Text();
  IndexLines();
  return {};
}

void TLineBuffer::Assign(std::string text) {
  Clear();
  FOwned = std::move(text);
  FText = FOwned;
  IndexLines();
}

void TLineBuffer::Clear() {
  FView.Close();
  FOwned.clear();
  FOwned.shrink_to_fit();
  FText = {};
  FStarts.clear();
  FStarts.shrink_to_fit();
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
// counts, and an ending at the very end starts no further line.
void TLineBuffer::IndexLines() {
  FStarts.clear();
  // Reserving generously costs nothing until the memory is touched.
  FStarts.reserve(FText.size() / 24 + 16);
  if (!IndexAtLineFeeds())
    IndexAtEveryLineEnd();
}

// The usual file has LF or CR LF line ends only: splitting at each LF is then
// exact, which holds when every CR of the text stands right before an LF.
bool TLineBuffer::IndexAtLineFeeds() {
  const char *base = FText.data();
  const size_t size = FText.size();
  size_t carriageReturns = 0;
  for (size_t from = 0; from < size; ++carriageReturns) {
    const void *cr = std::memchr(base + from, '\r', size - from);
    if (cr == nullptr)
      break;
    from = static_cast<size_t>(static_cast<const char *>(cr) - base) + 1;
  }
  size_t pairs = 0;
  size_t pos = 0;
  while (pos < size) {
    FStarts.push_back(static_cast<uint32_t>(pos));
    const void *lf = std::memchr(base + pos, '\n', size - pos);
    if (lf == nullptr)
      break;
    const auto end = static_cast<size_t>(static_cast<const char *>(lf) - base);
    if (end > pos && base[end - 1] == '\r')
      ++pairs;
    pos = end + 1;
  }
  if (pairs == carriageReturns)
    return true;
  FStarts.clear();
  return false;
}

// Any mix of line ends: the next CR and the next LF are each found with memchr and
// searched again only once passed, so the scan stays linear.
void TLineBuffer::IndexAtEveryLineEnd() {
  const char *base = FText.data();
  const size_t size = FText.size();
  auto find = [&](char c, size_t from) -> size_t {
    const void *p = from < size ? std::memchr(base + from, c, size - from) : nullptr;
    return p ? static_cast<size_t>(static_cast<const char *>(p) - base) : size;
  };
  size_t nextCr = find('\r', 0);
  size_t nextLf = find('\n', 0);
  size_t pos = 0;
  while (pos < size) {
    if (nextCr < pos)
      nextCr = find('\r', pos);
    if (nextLf < pos)
      nextLf = find('\n', pos);
    FStarts.push_back(static_cast<uint32_t>(pos));
    const size_t end = nextCr < nextLf ? nextCr : nextLf;
    if (end >= size)
      break;
    pos = end + 1;
    if (base[end] == '\r' && pos < size && base[pos] == '\n')
      ++pos;
  }
}
