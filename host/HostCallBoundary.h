// What may and may not cross from the plug-in into the host.
#pragma once

#include <exception>
#include <new>

#include "capture/EncoderMemory.h"
#include "host/AE_HostInterface.h"

namespace glimster {

// Raised when a host suite cannot be had; carries only the host code 516.
struct MissingSuite {
  A_Err code;
};

// Makes the records this thread keeps of the exceptions in flight (the C++
// runtime's) and of the encoder's memory (EncoderMemoryScope's), which
// mingw-w64's runtime and libc++abi allocate at a thread's first use, and
// abort the process when they cannot: made at the start of every call from
// the host, before the plug-in takes any memory, so that an exception or the
// encoder's scope later in the call, when memory has run out, never needs
// them made. (The first call on a thread when memory has already run out
// cannot have them.)
inline void PrepareThreadRecords() {
  volatile int in_flight = std::uncaught_exceptions();  // volatile: the call is kept
  static_cast<void>(in_flight);
  EncoderMemoryScope::PrepareThread();
}

// Runs `body` (returning A_Err) so that no C++ exception reaches the host:
// a missing suite gives its code, running out of memory the host's
// out-of-memory code, anything else 516. Objects that `body` acquired are
// destroyed as the exception leaves it, before the code is returned.
template <class Body>
A_Err GuardHostCall(Body&& body) noexcept {
  PrepareThreadRecords();
  try {
    return body();
  } catch (const MissingSuite& missing) {
    return missing.code;
  } catch (const std::bad_alloc&) {
    return A_Err_ALLOC;
  } catch (...) {
    return A_Err_MISSING_SUITE;
  }
}

}  // namespace glimster
