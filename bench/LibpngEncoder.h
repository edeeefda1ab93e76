// libpng, for comparison: the same pixels written at its default filter and
// compression choices.
#pragma once

#include <cstdint>
#include <vector>

namespace glimster::bench {

// The PNG of `rgba` (width x height tightly packed 8-bit RGBA) as libpng
// writes it with nothing but the image header set; throws
// std::runtime_error when libpng fails.
std::vector<unsigned char> EncodeWithLibpng(const std::uint8_t* rgba, unsigned width,
                                            unsigned height);

}  // namespace glimster::bench
