#include "Faults.h"

#include <atomic>
#include <cstring>

namespace macos_runner {
namespace {

constexpr const char* kCallNames[] = {
    "NSHomeDirectory",
    "-[NSString initWithBytes:length:encoding:]",
    "-[NSString UTF8String]",
    "-[NSString stringByAppendingPathComponent:]",
    "malloc",
    "malloc in -[NSString UTF8String]",
};
constexpr int kCallCount = sizeof kCallNames / sizeof kCallNames[0];

// For each call, how many calls from now the planned one is (0: none).
std::atomic<unsigned> g_countdown[kCallCount];

}  // namespace

bool FailsNow(FallibleCall call) {
  std::atomic<unsigned>& countdown = g_countdown[static_cast<int>(call)];
  unsigned left = countdown.load();
  while (left != 0 && !countdown.compare_exchange_weak(left, left - 1)) {
  }
  return left == 1;
}

}  // namespace macos_runner

// Makes the `nth` next call (1: the very next) of `call` in the Mac code
// fail as it fails on a Mac for want of memory: "NSHomeDirectory",
// "-[NSString initWithBytes:length:encoding:]", "-[NSString UTF8String]" and
// "-[NSString stringByAppendingPathComponent:]" answer nil, "malloc" answers
// NULL with errno ENOMEM (so libc++'s operator new throws std::bad_alloc in
// the Mac code), and "malloc in -[NSString UTF8String]" fails the copy
// UTF8String makes of a string, which then answers nil. nth 0 cancels a
// plan. Returns 0, or -1 for a call it does not know. Any thread may call it.
extern "C" __attribute__((visibility("default"))) int glimster_macos_fail(const char* call,
                                                                          unsigned nth) {
  for (int i = 0; i < macos_runner::kCallCount; ++i) {
    if (std::strcmp(call, macos_runner::kCallNames[i]) != 0) continue;
    macos_runner::g_countdown[i].store(nth);
    return 0;
  }
  return -1;
}
