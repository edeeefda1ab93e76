// SHA-256 (FIPS 180-4), the hash of the code directories the runner checks.
// The runner's own, so that it links nothing beyond the C library in either
// of its builds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace macos_runner {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(const std::uint8_t* bytes, std::size_t size);

}  // namespace macos_runner
