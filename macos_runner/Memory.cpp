// The heap and the byte and string routines of libSystem the bundle calls.
// The heap calls go to the C library by name, so a program that caps or
// watches the heap sees the Mac code's blocks too.
#include <stdlib.h>
#include <string.h>

#include <cstddef>

#include "Errno.h"
#include "Faults.h"
#include "Imports.h"

namespace macos_runner {
namespace {

void* Malloc(std::size_t size) {
  if (FailsNow(FallibleCall::kMalloc)) {
    MacErrnoHere() = 12;  // ENOMEM
    return nullptr;
  }
  ErrnoScope scope;
  return malloc(size);
}

// macOS's realloc(p, 0) frees p and gives a new block of the smallest size;
// Linux's frees p and gives null, which the Mac code would take for a lack
// of memory.
void* Realloc(void* block, std::size_t size) {
  ErrnoScope scope;
  return realloc(block, size == 0 ? 1 : size);
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
      {"_calloc", Address(WithErrno<&calloc>::Call)},
      {"_realloc", Address(Realloc)},
      {"_aligned_alloc", Address(WithErrno<&aligned_alloc>::Call)},
      {"_free", Address(&free)},
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
