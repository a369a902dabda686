// Memory for reading and parsing one device file on Linux: one block of huge pages
// for the file's bytes and the XML parser's tree. A megabyte file's tree is a few
// megabytes, and faulting those in page by page costs more than parsing them.
// Windows users cannot get large pages, and a block of ordinary pages is no faster
// than the heap, so elsewhere the parser keeps to the heap.
#pragma once

#include <cstddef>

// A block of Size bytes in huge pages; null where the system gives none (or Size is
// too small to fill one). FreeParseBlock gives it back.
void *AllocateParseBlock(size_t size);
void FreeParseBlock(void *block, size_t size);

// While it lives, the XML parser of this thread takes its memory from one block
// (the ordinary heap once the block is used up, or when there is none); Allocate
// serves the caller too. One at a time on a thread.
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
};
