#include "substitute_host/PngFrame.h"

#include <lodepng.h>

#include "capture/EncoderMemory.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace glimster::substitute_host {
namespace {

// LodePNG's blocks come from its own allocator (capture/EncoderMemory.h).
struct FreeWithLodePng {
  void operator()(unsigned char* pixels) const { lodepng_free(pixels); }
};

std::vector<unsigned char> contentsOf(const std::filesystem::path& file) {
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

}  // namespace

Frame pngFrame(const std::filesystem::path& file, PngColours colours) {
  const std::vector<unsigned char> png = contentsOf(file);
  unsigned char* decoded = nullptr;
  unsigned width = 0;
  unsigned height = 0;
  const unsigned error = lodepng_decode32(&decoded, &width, &height, png.data(), png.size());
  const std::unique_ptr<unsigned char, FreeWithLodePng> rgba(decoded);
  if (error != 0) {
    throw std::runtime_error(file.u8string() +
                             " is not a PNG image, or is damaged (it cannot be decoded)");
  }
  if (width > static_cast<unsigned>(std::numeric_limits<A_long>::max() / 4)) {
    throw std::runtime_error(file.u8string() + " is too wide for a frame");
  }
  Frame frame(static_cast<A_long>(width), static_cast<A_long>(height),
              static_cast<A_long>(4 * width));
  const unsigned char* pixel = rgba.get();
  for (A_long y = 0; y < frame.height(); ++y) {
    for (A_long x = 0; x < frame.width(); ++x, pixel += 4) {
      const Argb stored{pixel[3], pixel[0], pixel[1], pixel[2]};
      frame.setPixel(x, y, colours == PngColours::Premultiplied ? premultiplied(stored) : stored);
    }
  }
  return frame;
}

}  // namespace glimster::substitute_host
