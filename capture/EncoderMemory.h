// The PNG library's memory. LodePNG is built without its own allocators
// (LODEPNG_NO_COMPILE_ALLOCATORS) and takes every block from the three
// functions below. They never give it a null pointer: when memory cannot be
// had they throw std::bad_alloc, which leaves the library at once. The blocks
// it still held are then freed by the EncoderMemoryScope around the call.
#pragma once

#include <cstddef>

// A block of at least `size` bytes, aligned for any type; throws
// std::bad_alloc instead of returning null.
void* lodepng_malloc(std::size_t size);
// `block` (null or from these functions) resized to `new_size` bytes, its
// contents kept; throws std::bad_alloc, leaving `block` as it was.
void* lodepng_realloc(void* block, std::size_t new_size);
// Frees `block` (null or from these functions).
void lodepng_free(void* block);

namespace glimster {

// Every block the PNG library takes on this thread while the scope lives,
// and has not freed, is freed when it ends: after an exception left the
// library, nothing it held is lost. Scopes do not nest.
class EncoderMemoryScope {
 public:
  EncoderMemoryScope();
  ~EncoderMemoryScope();
  EncoderMemoryScope(const EncoderMemoryScope&) = delete;
  EncoderMemoryScope& operator=(const EncoderMemoryScope&) = delete;

  // Makes this thread's record of its scope (a thread-local variable, which
  // some C++ runtimes allocate at a thread's first use of it).
  static void PrepareThread();

  // Takes `block` (null, or held by this scope) out of the scope: it
  // outlives it and is freed with lodepng_free.
  void Keep(void* block);

  // A block's place in the list of the blocks the scope holds.
  struct Link {
    Link* previous;
    Link* next;
  };

 private:
  Link held_;  // the list's head: a ring, empty when it points at itself
};

}  // namespace glimster
