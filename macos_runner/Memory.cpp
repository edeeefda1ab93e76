// The heap and the byte and string routines of libSystem the bundle calls.
// The heap calls go to the C library by name, so a program that caps or
// watches the heap sees the Mac code's blocks too.
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <cstddef>

#include "Errno.h"
#include "Faults.h"
#include "Imports.h"

namespace macos_runner {
namespace {

// The blocks the Mac code took from the heap and has not given back
// (glimster_macos_live_blocks, below).
std::atomic<long> g_live_blocks{0};

void* Counted(void* block) {
  if (block != nullptr) ++g_live_blocks;
  return block;
}

void* Malloc(std::size_t size) {
  if (FailsNow(FallibleCall::kMalloc)) {
    MacErrnoHere() = 12;  // ENOMEM
    return nullptr;
  }
  ErrnoScope scope;
  return Counted(malloc(size));
}

void* Calloc(std::size_t count, std::size_t size) {
  ErrnoScope scope;
  return Counted(calloc(count, size));
}

void* AlignedAlloc(std::size_t alignment, std::size_t size) {
  ErrnoScope scope;
  return Counted(aligned_alloc(alignment, size));
}

// macOS's realloc(p, 0) frees p and gives a new block of the smallest size;
// Linux's frees p and gives null, which the Mac code would take for a lack
// of memory. A block moved is the same block; a failed one is kept.
void* Realloc(void* block, std::size_t size) {
  ErrnoScope scope;
  void* moved = realloc(block, size == 0 ? 1 : size);
  return block == nullptr ? Counted(moved) : moved;
}

void Free(void* block) {
  if (block != nullptr) --g_live_blocks;
  free(block);
}

void FillWithPattern16(void* bytes, const void* pattern, std::size_t size) {
  auto* out = static_cast<unsigned char*>(bytes);
  for (; size >= 16; size -= 16, out += 16) memcpy(out, pattern, 16);
  memcpy(out, pattern, size);
}

void Zero(void* bytes, std::size_t size) { memset(bytes, 0, size); }

}  // namespace

ImportList MemoryImports() {
  static const Import kImports[] = {
      {"_malloc", Address(Malloc)},
      {"_calloc", Address(Calloc)},
      {"_realloc", Address(Realloc)},
      {"_aligned_alloc", Address(AlignedAlloc)},
      {"_free", Address(Free)},
      {"_memcpy", Address(&memcpy)},
      {"_memmove", Address(&memmove)},
      {"_memset", Address(&memset)},
      {"_memchr", Address(static_cast<const void* (*)(const void*, int, size_t)>(&memchr))},
      {"_memcmp", Address(&memcmp)},
      {"_memset_pattern16", Address(FillWithPattern16)},
      {"___bzero", Address(Zero)},
      {"_bzero", Address(Zero)},
      {"_strlen", Address(&strlen)},
      {"_strcmp", Address(&strcmp)},
      {"_strncmp", Address(&strncmp)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner

// How many blocks the Mac code took from the heap (malloc, calloc, realloc of
// null, aligned_alloc) and has not freed. A call of the Mac code that leaks
// none leaves it as it found it.
extern "C" __attribute__((visibility("default"))) long glimster_macos_live_blocks() {
  return macos_runner::g_live_blocks.load();
}
