// Blocks for parsing on POSIX systems: whole transparent huge pages, where the
// system has them on request.
#include "devicepacks/cParseMemory.h"

#include <cstdint>
#include <sys/mman.h>

namespace {
constexpr size_t kHugePage = size_t{2} * 1024 * 1024;

size_t Rounded(size_t size) {
  return (size + kHugePage - 1) / kHugePage * kHugePage;
}
} // namespace

void *AllocateParseBlock(size_t size) {
#ifdef MADV_HUGEPAGE
  if (size >= kHugePage / 2) {
    // Whole huge pages, aligned to their size: mapped with room to spare, then cut.
    const size_t rounded = Rounded(size);
    void *mapping =
        mmap(nullptr, rounded + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
      return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(mapping);
    const size_t skip = (kHugePage - start % kHugePage) % kHugePage;
    char *aligned = static_cast<char *>(mapping) + skip;
    if (skip > 0)
      munmap(mapping, skip);
    if (const size_t tail = kHugePage - skip; tail > 0)
      munmap(aligned + rounded, tail);
    madvise(aligned, rounded, MADV_HUGEPAGE);
    return aligned;
  }
#endif
  (void)size;
  return nullptr;
}

void FreeParseBlock(void *block, size_t size) {
  munmap(block, Rounded(size));
}
