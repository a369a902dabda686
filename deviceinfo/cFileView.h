// TFileView: a read-only view of a whole file's bytes. On POSIX systems the file is
// mapped, so a large file is neither copied nor paid for page by page in fresh
// memory; on Windows it is read into memory and closed at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TFileView {
public:
  TFileView() = default;
  ~TFileView() { Close(); }
  TFileView(const TFileView &) = delete;
  TFileView &operator=(const TFileView &) = delete;

  // Opens FileName read-only; returns why it cannot be read, or "" on success.
  // Anything but a regular file is refused before it is opened for reading, and a
  // file larger than MaxSize bytes before any of it is read.
  std::string Open(const std::string &fileName, uint64_t maxSize);
  void Close();
  std::string_view Text() const { return {FData, FSize}; }
  // True when the file was changed (rewritten, shrunk) while the view was in use:
  // what was read from the view may mix old and new bytes, or zeros past a new
  // end, and cannot be trusted.
  bool Changed() const;

private:
  // What identifies the file's content as it was opened: size and times.
  struct TStamp {
    uint64_t Size = 0;
    int64_t Modified[2] = {};
    int64_t StatusChanged[2] = {};
    bool operator==(const TStamp &) const = default;
  };

  const char *FData = nullptr;
  size_t FSize = 0;
  void *FMapping = nullptr; // the mapping or buffer behind FData; null when empty
  bool FChanged = false;    // the file changed while it was read
#ifndef _WIN32
  int FGuard = -1; // slot of the mapping in the bus-error guard
  int FFile = -1;  // the mapped file, kept open to tell a change
  TStamp FStamp;   // the mapped file as it was opened
#endif
};
