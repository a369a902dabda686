// One block of huge pages for the XML parser while a device file is read.
#include "devicepacks/cParseMemory.h"

#include <pugixml.hpp>

#include <cstdlib>

namespace {
thread_local TParseMemory *gCurrent = nullptr;
thread_local char *gBlockStart = nullptr;
thread_local char *gBlockEnd = nullptr;

void *ParserAllocate(size_t size) {
  if (gCurrent != nullptr)
    if (void *memory = gCurrent->Allocate(size))
      return memory;
  return std::malloc(size);
}

// Memory of the block goes back with the block.
void ParserFree(void *memory) {
  const auto *at = static_cast<const char *>(memory);
  if (at != nullptr && at >= gBlockStart && at < gBlockEnd)
    return;
  std::free(memory);
}

// The parser's functions are set once; outside a TParseMemory they are the heap's.
const bool gInstalled = [] {
  pugi::set_memory_management_functions(ParserAllocate, ParserFree);
  return true;
}();
} // namespace

TParseMemory::TParseMemory(size_t size)
    : FBlock(static_cast<char *>(AllocateParseBlock(size))), FSize(FBlock != nullptr ? size : 0) {
  (void)gInstalled;
  gCurrent = this;
  gBlockStart = FBlock;
  gBlockEnd = FBlock + FSize;
}

TParseMemory::~TParseMemory() {
  gCurrent = nullptr;
  gBlockStart = nullptr;
  gBlockEnd = nullptr;
  if (FBlock != nullptr)
    FreeParseBlock(FBlock, FSize);
}

void *TParseMemory::Allocate(size_t size) {
  constexpr size_t kAlign = alignof(std::max_align_t);
  const size_t rounded = (size + kAlign - 1) / kAlign * kAlign;
  if (rounded < size || rounded > FSize - FUsed)
    return nullptr;
  void *memory = FBlock + FUsed;
  FUsed += rounded;
  return memory;
}
