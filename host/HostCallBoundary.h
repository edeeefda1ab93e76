// What may and may not cross from the plug-in into the host.
#pragma once

#include <new>

#include "host/AE_HostInterface.h"

// Raised when a host suite cannot be had; carries only the host code 516.
struct MissingSuite {
  A_Err code;
};

// Runs `body` (returning A_Err) so that no C++ exception reaches the host:
// a missing suite gives its code, running out of memory the host's
// out-of-memory code, anything else 516. Objects that `body` acquired are
// destroyed as the exception leaves it, before the code is returned.
template <class Body>
A_Err GuardHostCall(Body&& body) noexcept {
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
