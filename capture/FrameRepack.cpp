#include "capture/FrameRepack.h"

#include <cstddef>
#include <limits>

namespace {

constexpr unsigned kEmptyFrame = 93;       // "zero width or height is invalid"
constexpr unsigned kShortRows = 84;        // "given image too small to contain all pixels..."
constexpr unsigned kOutOfMemory = 83;      // "memory allocation failed"

}  // namespace

unsigned RepackArgbToRgba(const PF_EffectWorld& world, RgbaImage& image) {
  if (world.width <= 0 || world.height <= 0) return kEmptyFrame;
  const auto width = static_cast<std::uint64_t>(world.width);
  const auto height = static_cast<std::uint64_t>(world.height);
  if (world.rowbytes < 0 || static_cast<std::uint64_t>(world.rowbytes) < width * 4) {
    return kShortRows;
  }

  // The encoder's own size arithmetic is 32-bit in places: refuse anything larger.
  const std::uint64_t byte_count = width * height * 4;
  if (byte_count > std::numeric_limits<std::uint32_t>::max() ||
      byte_count > std::numeric_limits<std::size_t>::max()) {
    return kOutOfMemory;
  }
  image.pixels.reset(static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(byte_count))));
  if (!image.pixels) return kOutOfMemory;
  image.width = static_cast<unsigned>(width);
  image.height = static_cast<unsigned>(height);

  const std::size_t stride = static_cast<std::size_t>(world.rowbytes);
  std::uint8_t* d = image.pixels.get();
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* s = world.data + y * stride;
    for (std::size_t x = 0; x < width; ++x, s += 4, d += 4) {
      d[0] = s[1];
      d[1] = s[2];
      d[2] = s[3];
      d[3] = s[0];
    }
  }
  return 0;
}
