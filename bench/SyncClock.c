/* fsync, made by the system call itself and timed. */
#include "bench/SyncClock.h"

#include <stdatomic.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static atomic_llong nanoseconds;
static atomic_llong calls;

static long long Now(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

int fsync(int fd) {
  const long long start = Now();
  const int result = (int)syscall(SYS_fsync, fd);
  atomic_fetch_add_explicit(&nanoseconds, Now() - start, memory_order_relaxed);
  atomic_fetch_add_explicit(&calls, 1, memory_order_relaxed);
  return result;
}

long long SyncNanoseconds(void) { return atomic_load_explicit(&nanoseconds, memory_order_relaxed); }

long long SyncCalls(void) { return atomic_load_explicit(&calls, memory_order_relaxed); }
