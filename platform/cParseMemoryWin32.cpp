// Blocks for parsing on Windows: committed on use, in ordinary pages (large pages
// need a privilege users do not have).
#include "devicepacks/cParseMemory.h"

#include <windows.h>

void *AllocateParseBlock(size_t size) {
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void FreeParseBlock(void *block, size_t /*size*/) {
  VirtualFree(block, 0, MEM_RELEASE);
}
