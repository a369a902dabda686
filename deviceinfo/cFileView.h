// TFileView: a read-only view of a whole file's bytes. On POSIX systems the file is
// mapped, so a large file is neither copied nor paid for page by page in fresh
// memory; on Windows it is read into memory and closed at once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TFileView {
public:
  TFileView() = default;
  ~TFileView() { Close(); }
  TFileView(const TFileView &) = delete;
  TFileView &operator=(const TFileView &) = delete;

  // Opens FileName read-only; returns why it cannot be read, or "" on success.
  std::string Open(const std::string &fileName);
  void Close();
  std::string_view Text() const { return {FData, FSize}; }

private:
  const char *FData = nullptr;
  size_t FSize = 0;
  void *FMapping = nullptr; // the mapping or buffer behind FData; null when empty
};
