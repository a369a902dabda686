// Reading the device information file into memory and finding its lines.
#include "deviceinfo/cLineBuffer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sys/stat.h>

namespace {
// The line index uses 32-bit offsets; no real device file comes near this.
constexpr uint64_t kMaxFileSize = std::numeric_limits<uint32_t>::max();

std::string Describe(int error) {
  return std::strerror(error);
}
} // namespace

std::string TLineBuffer::LoadFromFile(const std::string &fileName) {
  Clear();
  struct stat info {};
  if (stat(fileName.c_str(), &info) != 0)
    return Describe(errno);
  if ((info.st_mode & S_IFMT) == S_IFDIR)
    return "is a directory";
  if (static_cast<uint64_t>(info.st_size) > kMaxFileSize)
    return "file too large";

  std::FILE *file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr)
    return Describe(errno);
  std::string text;
  std::string error;
  // Read to the end rather than trusting the size: the file may change under us.
  char chunk[65536];
  text.reserve(static_cast<size_t>(info.st_size));
  for (;;) {
    const size_t n = std::fread(chunk, 1, sizeof chunk, file);
    text.append(chunk, n);
    if (n < sizeof chunk) {
      if (std::ferror(file) != 0)
        error = "read error";
      break;
    }
    if (text.size() > kMaxFileSize) {
      error = "file too large";
      break;
    }
  }
  std::fclose(file);
  if (!error.empty())
    return error;
  Assign(std::move(text));
  return {};
}

void TLineBuffer::Assign(std::string text) {
  FText = std::move(text);
  IndexLines();
}

void TLineBuffer::Clear() {
  FText.clear();
  FText.shrink_to_fit();
  FStarts.clear();
  FEnds.clear();
}

// A line ends at CR LF, a lone CR or a lone LF; a last line without an ending
// counts, and an ending at the very end starts no further line.
void TLineBuffer::IndexLines() {
  FStarts.clear();
  FEnds.clear();
  const char *base = FText.data();
  const size_t size = FText.size();
  // Positions of the next CR and LF at or after the current one; each is found
  // with memchr and only searched again once passed, so the scan stays linear.
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
    const size_t end = nextCr < nextLf ? nextCr : nextLf;
    FStarts.push_back(static_cast<uint32_t>(pos));
    FEnds.push_back(static_cast<uint32_t>(end));
    if (end >= size)
      break;
    pos = end + 1;
    if (base[end] == '\r' && pos < size && base[pos] == '\n')
      ++pos;
  }
}
