// Memory for reading and parsing one device file: one block for the file's bytes
// and the XML parser's tree, taken from the system in large pages where it offers
// them. A megabyte file's tree is a few megabytes, and faulting those in page by
// page costs more than parsing them.
#pragma once

#include <cstddef>

// A block of Size bytes from the system, in large pages where it can; null when it
// gives none. FreeParseBlock gives it back.
void *AllocateParseBlock(size_t size);
void FreeParseBlock(void *block, size_t size);

// While it lives, the XML parser of this thread takes its memory from one block
// (the ordinary heap once the block is used up); Allocate serves the caller too.
class TParseMemory {
public:
  explicit TParseMemory(size_t size);
  ~TParseMemory();
  TParseMemory(const TParseMemory &) = delete;
  TParseMemory &operator=(const TParseMemory &) = delete;

  // Size bytes, aligned for any type; null when the block has no room left.
  void *Allocate(size_t size);

private:
  char *FBlock;
  size_t FSize;
  size_t FUsed = 0;
  TParseMemory *FOuter;
};
