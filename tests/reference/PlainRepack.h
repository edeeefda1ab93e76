// The repack written as the plainest possible byte loop: the reference the
// plug-in's repack is compared with, byte for byte, in tests, fuzzing and
// benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glimster::reference {

// Writes `width` x `height` pixels of alpha-red-green-blue rows, `stride`
// bytes apart, to `rgba` as tightly packed red-green-blue-alpha.
inline void PlainRepack(const std::uint8_t* argb, std::size_t width, std::size_t height,
                        std::size_t stride, std::uint8_t* rgba) {
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* s = argb + y * stride;
    for (std::size_t x = 0; x < width; ++x, s += 4, rgba += 4) {
      rgba[0] = s[1];
      rgba[1] = s[2];
      rgba[2] = s[3];
      rgba[3] = s[0];
    }
  }
}

}  // namespace glimster::reference
