// The pthread calls of libSystem the bundle makes (libc++abi's exception
// storage and its guard for local statics). macOS's objects have layouts of
// their own: a signature word, then opaque bytes. Linux's mutex and once
// fit in those bytes and live there; Linux's condition variable does not
// (48 bytes against 40), so a futex word there stands in for it. Only
// statically initialised objects exist in the bundle (it imports no
// pthread_*_init), and each call checks the signature it was given.
#include <errno.h>
#include <limits.h>
#include <linux/futex.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "Errno.h"
#include "Failure.h"
#include "Imports.h"

namespace macos_runner {
namespace {

// <pthread/pthread_impl.h>, <sys/_pthread/_pthread_types.h> (64-bit).
struct MacMutex {
  long signature;  // _PTHREAD_MUTEX_SIG_init for PTHREAD_MUTEX_INITIALIZER
  alignas(8) unsigned char opaque[56];
};
struct MacCondition {
  long signature;
  alignas(8) unsigned char opaque[40];
};
struct MacOnce {
  long signature;
  alignas(8) unsigned char opaque[8];
};
constexpr long kMutexInitializer = 0x32AAABA7, kConditionInitializer = 0x3CB0B1BB,
               kOnceInitializer = 0x30B1BCBA;
using MacKey = unsigned long;

// Zero bytes are Linux's PTHREAD_MUTEX_INITIALIZER and PTHREAD_ONCE_INIT.
static_assert(sizeof(pthread_mutex_t) <= sizeof(MacMutex::opaque), "a Linux mutex fits");
static_assert(sizeof(pthread_once_t) <= sizeof(MacOnce::opaque), "a Linux once fits");

pthread_mutex_t* LinuxMutex(MacMutex* mutex) {
  if (mutex->signature != kMutexInitializer)
    FailUnimplemented("pthread_mutex_lock on a mutex of signature 0x%lx", mutex->signature);
  return reinterpret_cast<pthread_mutex_t*>(mutex->opaque);
}

// The count of broadcasts: a waiter sleeps while it is what it read before
// letting go of the mutex, so no broadcast after that is missed.
std::atomic<std::uint32_t>* Broadcasts(MacCondition* condition) {
  if (condition->signature != kConditionInitializer)
    FailUnimplemented("pthread_cond_* on a condition of signature 0x%lx", condition->signature);
  return reinterpret_cast<std::atomic<std::uint32_t>*>(condition->opaque);
}

int MutexLock(MacMutex* mutex) { return MacErrno(pthread_mutex_lock(LinuxMutex(mutex))); }
int MutexUnlock(MacMutex* mutex) { return MacErrno(pthread_mutex_unlock(LinuxMutex(mutex))); }

int ConditionWait(MacCondition* condition, MacMutex* mutex) {
  std::atomic<std::uint32_t>* broadcasts = Broadcasts(condition);
  const std::uint32_t seen = broadcasts->load();
  pthread_mutex_t* linux_mutex = LinuxMutex(mutex);
  if (const int error = pthread_mutex_unlock(linux_mutex)) return MacErrno(error);
  const int saved = errno;
  syscall(SYS_futex, broadcasts, FUTEX_WAIT_PRIVATE, seen, nullptr, nullptr, 0);
  errno = saved;
  return MacErrno(pthread_mutex_lock(linux_mutex));
}

int ConditionBroadcast(MacCondition* condition) {
  std::atomic<std::uint32_t>* broadcasts = Broadcasts(condition);
  broadcasts->fetch_add(1);
  const int saved = errno;
  syscall(SYS_futex, broadcasts, FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
  errno = saved;
  return 0;
}

int Once(MacOnce* once, void (*routine)()) {
  if (once->signature != kOnceInitializer)
    FailUnimplemented("pthread_once on an object of signature 0x%lx", once->signature);
  return MacErrno(pthread_once(reinterpret_cast<pthread_once_t*>(once->opaque), routine));
}

int KeyCreate(MacKey* key, void (*destructor)(void*)) {
  pthread_key_t linux_key;
  const int error = pthread_key_create(&linux_key, destructor);
  if (error == 0) *key = linux_key;
  return MacErrno(error);
}

void* GetSpecific(MacKey key) { return pthread_getspecific(static_cast<pthread_key_t>(key)); }

int SetSpecific(MacKey key, const void* value) {
  return MacErrno(pthread_setspecific(static_cast<pthread_key_t>(key), value));
}

// The Mach port of a thread: a number of its own, which the kernel's thread
// id is on Linux. libc++abi asks it of the calling thread only.
unsigned MachThread(pthread_t thread) {
  if (!pthread_equal(thread, pthread_self()))
    FailUnimplemented("pthread_mach_thread_np for another thread");
  return static_cast<unsigned>(syscall(SYS_gettid));
}

}  // namespace

ImportList ThreadImports() {
  static const Import kImports[] = {
      {"_pthread_mutex_lock", Address(MutexLock)},
      {"_pthread_mutex_unlock", Address(MutexUnlock)},
      {"_pthread_cond_wait", Address(ConditionWait)},
      {"_pthread_cond_broadcast", Address(ConditionBroadcast)},
      {"_pthread_once", Address(Once)},
      {"_pthread_key_create", Address(KeyCreate)},
      {"_pthread_getspecific", Address(GetSpecific)},
      {"_pthread_setspecific", Address(SetSpecific)},
      {"_pthread_self", Address(&pthread_self)},
      {"_pthread_mach_thread_np", Address(MachThread)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
