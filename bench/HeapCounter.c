/* The allocation functions of glibc, wrapped to count the bytes they hand
   out. A realloc counts as the size of its result only (an allocator that
   moves the block holds both for a moment; the count does not see that). */
#include "bench/HeapCounter.h"

#include <errno.h>
#include <malloc.h>
#include <stdatomic.h>
#include <unistd.h>

extern void* __libc_malloc(size_t size);
extern void* __libc_calloc(size_t count, size_t size);
extern void* __libc_realloc(void* block, size_t size);
extern void* __libc_memalign(size_t alignment, size_t size);
extern void __libc_free(void* block);

static atomic_size_t held;
static atomic_size_t peak;

static void Gained(const void* block) {
  const size_t bytes = malloc_usable_size((void*)block);
  const size_t now = atomic_fetch_add_explicit(&held, bytes, memory_order_relaxed) + bytes;
  size_t top = atomic_load_explicit(&peak, memory_order_relaxed);
  while (now > top && !atomic_compare_exchange_weak_explicit(&peak, &top, now, memory_order_relaxed,
                                                             memory_order_relaxed)) {
  }
}

static void Lost(size_t bytes) { atomic_fetch_sub_explicit(&held, bytes, memory_order_relaxed); }

static void* Counted(void* block) {
  if (block != NULL) Gained(block);
  return block;
}

size_t HeapBytesNow(void) { return atomic_load_explicit(&held, memory_order_relaxed); }

void ResetHeapPeak(void) { atomic_store_explicit(&peak, HeapBytesNow(), memory_order_relaxed); }

size_t HeapPeak(void) { return atomic_load_explicit(&peak, memory_order_relaxed); }

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }

void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }

void free(void* block) {
  if (block == NULL) return;
  Lost(malloc_usable_size(block));
  __libc_free(block);
}

void* realloc(void* block, size_t size) {
  const size_t before = block != NULL ? malloc_usable_size(block) : 0;
  void* moved = __libc_realloc(block, size);
  /* A failed realloc leaves the block held, except that a zero size frees it. */
  if (moved != NULL || size == 0) Lost(before);
  return Counted(moved);
}

void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }

void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }

int posix_memalign(void** block, size_t alignment, size_t size) {
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
  void* aligned = memalign(alignment, size);
  if (aligned == NULL) return ENOMEM;
  *block = aligned;
  return 0;
}

void* valloc(size_t size) { return memalign((size_t)sysconf(_SC_PAGESIZE), size); }

void* pvalloc(size_t size) {
  const size_t page = (size_t)sysconf(_SC_PAGESIZE);
  return memalign(page, (size + page - 1) / page * page);
}
