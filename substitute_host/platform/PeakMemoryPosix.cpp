#include "substitute_host/platform/PeakMemory.h"

#include <sys/resource.h>

namespace glimster::substitute_host::platform {

std::optional<std::uint64_t> PeakResidentBytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) {
    return std::nullopt;
  }
#if defined(__APPLE__)
  return static_cast<std::uint64_t>(usage.ru_maxrss);  // bytes on macOS
#else
  return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;  // KiB on Linux
#endif
}

}  // namespace glimster::substitute_host::platform
