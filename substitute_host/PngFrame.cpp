#include "substitute_host/PngFrame.h"

#include <lodepng.h>

#include "capture/EncoderMemory.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace glimster::substitute_host {
namespace {

// LodePNG's blocks come from its own allocator (capture/EncoderMemory.h).
struct FreeWithLodePng {
  void operator()(unsigned char* pixels) const { lodepng_free(pixels); }
};

std::vector<unsigned char> ContentsOf(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) {
    throw std::runtime_error(file.u8string() + " is a folder, not a PNG file");
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot open " + file.u8string());
  }
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad()) {
    throw std::runtime_error("cannot read " + file.u8string());
  }
  return bytes;
}

// The width and height a PNG's header gives, or none when it is no PNG.
std::optional<std::pair<unsigned, unsigned>> HeaderSize(const std::vector<unsigned char>& png) {
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned width = 0;
  unsigned height = 0;
  const unsigned error = lodepng_inspect(&width, &height, &state, png.data(), png.size());
  lodepng_state_cleanup(&state);
  if (error != 0) {
    return std::nullopt;
  }
  return std::pair{width, height};
}

[[noreturn]] void ThrowUndecodable(const std::filesystem::path& file) {
  throw std::runtime_error(file.u8string() +
                           " is not a PNG image, or is damaged (it cannot be decoded)");
}

}  // namespace

Frame PngFrame(const std::filesystem::path& file, PngColours colours, A_long largest_side) {
  const std::vector<unsigned char> png = ContentsOf(file);
  const auto size = HeaderSize(png);
  if (!size) {
    ThrowUndecodable(file);
  }
  const auto [headerWidth, headerHeight] = *size;
  const auto largest = static_cast<unsigned>(std::min(largest_side, kWidestPngFrame));
  if (headerWidth > largest || headerHeight > largest) {
    throw std::runtime_error(file.u8string() + " is " + std::to_string(headerWidth) + "x" +
                             std::to_string(headerHeight) + " pixels, more than " +
                             std::to_string(largest) + " a side");
  }
  unsigned char* decoded = nullptr;
  unsigned width = 0;
  unsigned height = 0;
  const unsigned error = lodepng_decode32(&decoded, &width, &height, png.data(), png.size());
  const std::unique_ptr<unsigned char, FreeWithLodePng> rgba(decoded);
  if (error != 0) {
    ThrowUndecodable(file);
  }
  Frame frame(static_cast<A_long>(width), static_cast<A_long>(height),
              static_cast<A_long>(4 * width));
  const unsigned char* pixel = rgba.get();
  for (A_long y = 0; y < frame.height(); ++y) {
    for (A_long x = 0; x < frame.width(); ++x, pixel += 4) {
      const Argb stored{pixel[3], pixel[0], pixel[1], pixel[2]};
      frame.SetPixel(x, y, colours == PngColours::kPremultiplied ? premultiplied(stored) : stored);
    }
  }
  return frame;
}

}  // namespace glimster::substitute_host
