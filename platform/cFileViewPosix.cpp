// File view on POSIX systems: mmap of the whole file, guarded against the file
// shrinking under the mapping (an installer rewriting it in place), which would
// otherwise end the process with SIGBUS on the next access.
#include "deviceinfo/cFileView.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The mappings the bus-error handler may repair; a view that finds no free slot
// reads its file into memory instead.
struct TGuardSlot {
  std::atomic<uintptr_t> Start{0};
  std::atomic<size_t> Size{0};
  std::atomic<bool> Hit{false};
  std::atomic<bool> Taken{false};
};
constexpr int kGuardSlots = 16;
TGuardSlot gSlots[kGuardSlots];
struct sigaction gPreviousBusError {};
uintptr_t gPageSize = 4096;

// A page of a guarded mapping past the file's new end: back the rest of the
// mapping with zero pages, so the access completes, and note the change for the
// reader to report. Any other bus error goes where it went before.
void OnBusError(int signal, siginfo_t *info, void *context) {
  const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
  for (TGuardSlot &slot : gSlots) {
    const uintptr_t start = slot.Start.load();
    const size_t size = slot.Size.load();
    if (start == 0 || address < start || address - start >= size)
      continue;
    const uintptr_t page = address & ~(gPageSize - 1);
    void *at = static_cast<char *>(info->si_addr) - (address - page); // the page's own address
    if (::mmap(at, start + size - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
        MAP_FAILED) {
      slot.Hit.store(true);
      return;
    }
  }
  if ((gPreviousBusError.sa_flags & SA_SIGINFO) != 0 && gPreviousBusError.sa_sigaction != nullptr) {
    gPreviousBusError.sa_sigaction(signal, info, context);
    return;
  }
  if ((gPreviousBusError.sa_flags & SA_SIGINFO) == 0 && gPreviousBusError.sa_handler != SIG_DFL &&
      gPreviousBusError.sa_handler != SIG_IGN) {
    gPreviousBusError.sa_handler(signal);
    return;
  }
  // The default action: the faulting access runs again and ends the process.
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  ::sigaction(SIGBUS, &standard, nullptr);
}

bool InstallGuard() {
  static const bool installed = [] {
    const long page = ::sysconf(_SC_PAGESIZE);
    if (page > 0)
      gPageSize = static_cast<uintptr_t>(page);
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGBUS, &action, &gPreviousBusError) == 0;
  }();
  return installed;
}

int TakeSlot(const void *start, size_t size) {
  if (!InstallGuard())
    return -1;
  for (int i = 0; i < kGuardSlots; ++i) {
    bool expected = false;
    if (gSlots[i].Taken.compare_exchange_strong(expected, true)) {
      gSlots[i].Hit.store(false);
      gSlots[i].Size.store(size);
      gSlots[i].Start.store(reinterpret_cast<uintptr_t>(start));
      return i;
    }
  }
  return -1;
}

void ReleaseSlot(int slot) {
  gSlots[slot].Start.store(0);
  gSlots[slot].Size.store(0);
  gSlots[slot].Taken.store(false);
}

// Reads Size bytes of Fd into a new buffer; false when the file ends early or a
// read fails (Error says which).
bool ReadWhole(int fd, size_t size, char *&buffer, std::string &error) {
  buffer = new char[size];
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, buffer + done, size - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0) {
      error = got < 0 ? std::strerror(errno) : "the file changed while it was read";
      delete[] buffer;
      buffer = nullptr;
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

template <typename TStampOut> void TakeStamp(const struct stat &info, TStampOut &stamp) {
  stamp.Size = static_cast<uint64_t>(info.st_size);
  stamp.Modified[0] = info.st_mtim.tv_sec;
  stamp.Modified[1] = info.st_mtim.tv_nsec;
  stamp.StatusChanged[0] = info.st_ctim.tv_sec;
  stamp.StatusChanged[1] = info.st_ctim.tv_nsec;
}

const char *NotRegular(const struct stat &info) {
  return S_ISDIR(info.st_mode) ? "is a directory" : "is not a regular file";
}
} // namespace

std::string TFileView::Open(const std::string &fileName, uint64_t maxSize) {
  Close();
  // Looked at before opening: opening a FIFO or a device may block or act.
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0)
    return std::strerror(errno);
  if (!S_ISREG(info.st_mode))
    return NotRegular(info);
  if (static_cast<uint64_t>(info.st_size) > maxSize)
    return "file too large";

  // Non-blocking, in case the name was replaced by a FIFO in the meantime.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return std::strerror(errno);
  std::string error;
  if (::fstat(fd, &info) != 0) {
    error = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    error = NotRegular(info);
  } else if (static_cast<uint64_t>(info.st_size) > maxSize) {
    error = "file too large";
  } else if (info.st_size > 0) {
    const auto size = static_cast<size_t>(info.st_size);
    // Pages are read as they are first touched: a walk that stops early reads
    // only what it looked at.
    void *data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED) {
      error = std::strerror(errno);
    } else if ((FGuard = TakeSlot(data, size)) >= 0) {
      FMapping = data;
      FData = static_cast<const char *>(data);
      FSize = size;
      // Kept open, so a later rewrite of the file shows in its stamp.
      TakeStamp(info, FStamp);
      FFile = fd;
      return error;
    } else {
      // No guard for another mapping: read the file instead.
      ::munmap(data, size);
      const int flagsNow = ::fcntl(fd, F_GETFL);
      if (flagsNow >= 0)
        ::fcntl(fd, F_SETFL, flagsNow & ~O_NONBLOCK);
      char *buffer = nullptr;
      if (ReadWhole(fd, size, buffer, error)) {
        FData = buffer;
        FSize = size;
      }
    }
  }
  ::close(fd);
  return error;
}

void TFileView::Close() {
  if (FMapping != nullptr) {
    ReleaseSlot(FGuard);
    ::munmap(FMapping, FSize);
  } else {
    delete[] FData;
  }
  if (FFile >= 0)
    ::close(FFile);
  FFile = -1;
  FStamp = {};
  FGuard = -1;
  FMapping = nullptr;
  FData = nullptr;
  FSize = 0;
  FChanged = false;
}

// A shrinking file shows in the bus-error guard; a rewrite, or a shrink that
// only zeroed the tail of the last page still mapped, shows in the file's stamp.
bool TFileView::Changed() const {
  if (FChanged || (FGuard >= 0 && gSlots[FGuard].Hit.load()))
    return true;
  if (FFile < 0)
    return false;
  struct stat info {};
  TStamp now;
  if (::fstat(FFile, &info) == 0)
    TakeStamp(info, now);
  return !(now == FStamp);
}
