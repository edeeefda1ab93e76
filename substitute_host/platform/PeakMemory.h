// Platform seam: how much memory this process has held at most, for soak runs.
#pragma once

#include <cstdint>
#include <optional>

namespace glimster::substitute_host::platform {

// The most resident memory (working set) this process has had so far, in
// bytes; none when the system does not tell.
std::optional<std::uint64_t> PeakResidentBytes();

}  // namespace glimster::substitute_host::platform
