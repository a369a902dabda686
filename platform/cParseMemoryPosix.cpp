// Blocks for parsing on POSIX systems: an anonymous mapping, in transparent huge
// pages where the system has them on request.
#include "devicepacks/cParseMemory.h"

#include <sys/mman.h>

void *AllocateParseBlock(size_t size) {
  void *block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED)
    return nullptr;
#ifdef MADV_HUGEPAGE
  madvise(block, size, MADV_HUGEPAGE);
#endif
  return block;
}

void FreeParseBlock(void *block, size_t size) {
  munmap(block, size);
}
