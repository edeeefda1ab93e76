#include "substitute_host/platform/PeakMemory.h"

#include <windows.h>
#include <psapi.h>

namespace glimster::substitute_host::platform {

std::optional<std::uint64_t> PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(counters.PeakWorkingSetSize);
}

}  // namespace glimster::substitute_host::platform
