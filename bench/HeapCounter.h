/* Heap bytes held by this process. The bench program defines the C
   library's allocation functions itself (HeapCounter.c): every malloc-family
   call, its own and the loaded plug-in's, goes through counting wrappers
   around the C library's allocator. Bytes are the allocator's usable sizes. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Bytes held on the heap now. */
size_t HeapBytesNow(void);
/* Starts a new peak at the bytes held now. */
void ResetHeapPeak(void);
/* The most bytes held at once since the last ResetHeapPeak. */
size_t HeapPeak(void);

#ifdef __cplusplus
}
#endif
