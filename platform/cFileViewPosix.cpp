// File view on POSIX systems: mmap of the whole file.
#include "deviceinfo/cFileView.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

std::string TFileView::Open(const std::string &fileName) {
  Close();
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return std::strerror(errno);
  struct stat info {};
  std::string error;
  if (::fstat(fd, &info) != 0) {
    error = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    error = "is a directory";
  } else if (!S_ISREG(info.st_mode)) {
    error = "is not a regular file";
  } else if (info.st_size > 0) {
#ifdef MAP_POPULATE
    const int flags = MAP_PRIVATE | MAP_POPULATE; // map the cached pages at once, not fault by fault
#else
    const int flags = MAP_PRIVATE;
#endif
    void *data = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, flags, fd, 0);
    if (data == MAP_FAILED) {
      error = std::strerror(errno);
    } else {
      FMapping = data;
      FData = static_cast<const char *>(data);
      FSize = static_cast<size_t>(info.st_size);
    }
  }
  ::close(fd);
  return error;
}

void TFileView::Close() {
  if (FMapping != nullptr)
    ::munmap(FMapping, FSize);
  FMapping = nullptr;
  FData = nullptr;
  FSize = 0;
}
