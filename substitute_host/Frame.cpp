#include "substitute_host/Frame.h"

#include <stdexcept>

namespace glimster::substitute_host {

Frame::Frame(A_long width, A_long height, A_long row_bytes, std::uint8_t padding_byte)
    : width_(width), height_(height), rowBytes_(row_bytes) {
  if (width < 1 || height < 1) {
    throw std::invalid_argument("a frame needs at least one pixel in each direction");
  }
  if (row_bytes / 4 < width) {
    throw std::invalid_argument("a frame's row stride must hold 4 bytes per pixel");
  }
  bytes_.assign(static_cast<std::size_t>(row_bytes) * static_cast<std::size_t>(height),
                padding_byte);
  for (A_long y = 0; y < height; ++y) {
    for (A_long x = 0; x < width; ++x) {
      SetPixel(x, y, Argb{0, 0, 0, 0});
    }
  }
}

std::size_t Frame::OffsetOf(A_long x, A_long y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) {
    throw std::out_of_range("pixel outside the frame");
  }
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes_) +
         4 * static_cast<std::size_t>(x);
}

Argb Frame::pixel(A_long x, A_long y) const {
  const std::uint8_t* p = bytes_.data() + OffsetOf(x, y);
  return Argb{p[0], p[1], p[2], p[3]};
}

void Frame::SetPixel(A_long x, A_long y, Argb value) {
  std::uint8_t* p = bytes_.data() + OffsetOf(x, y);
  p[0] = value.alpha;
  p[1] = value.red;
  p[2] = value.green;
  p[3] = value.blue;
}

}  // namespace glimster::substitute_host
