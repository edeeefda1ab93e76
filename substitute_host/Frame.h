// The pixels of a composition as the host renders them.
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <vector>

namespace glimster::substitute_host {

// One 8-bit pixel in the host's channel order.
struct Argb {
  std::uint8_t alpha;
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;

  friend bool operator==(const Argb& a, const Argb& b) {
    return a.alpha == b.alpha && a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
  friend bool operator!=(const Argb& a, const Argb& b) { return !(a == b); }
};

// The pixel a premultiplying host renders for the straight colour `straight`:
// each colour channel times alpha / 255, rounded to the nearest integer, so no
// channel exceeds alpha.
constexpr Argb premultiplied(Argb straight) {
  const auto scale = [&](std::uint8_t channel) {
    return static_cast<std::uint8_t>((channel * straight.alpha + 127) / 255);
  };
  return Argb{straight.alpha, scale(straight.red), scale(straight.green), scale(straight.blue)};
}

// An 8-bit alpha-red-green-blue image: rows from the top down, `rowBytes()`
// apart. Row bytes past 4 × width are padding, filled with the padding byte.
class Frame {
 public:
  // A frame of transparent black pixels; throws std::invalid_argument unless
  // width and height are at least 1 and rowBytes is at least 4 × width.
  Frame(A_long width, A_long height, A_long row_bytes, std::uint8_t padding_byte = 0);

  // Size in pixels, and bytes from the start of one row to the next.
  A_long width() const { return width_; }
  A_long height() const { return height_; }
  A_long RowBytes() const { return rowBytes_; }

  // The pixel at column x of row y (row 0 is the top); throws std::out_of_range outside the frame.
  Argb pixel(A_long x, A_long y) const;
  // Stores the pixel at column x of row y; throws std::out_of_range outside the frame.
  void SetPixel(A_long x, A_long y, Argb value);

  // All rows back to back, padding included (rowBytes × height bytes).
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  // The first byte of the top row, as an effect world's `data` points at it.
  std::uint8_t* data() { return bytes_.data(); }

 private:
  std::size_t OffsetOf(A_long x, A_long y) const;

  A_long width_;
  A_long height_;
  A_long rowBytes_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace glimster::substitute_host
