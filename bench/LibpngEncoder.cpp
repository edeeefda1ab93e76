#include "bench/LibpngEncoder.h"

#include <png.h>

#include <stdexcept>

namespace glimster::bench {
namespace {

void Append(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void Flush(png_structp) {}

// Writes the image; false when libpng reported an error. Nothing with a
// destructor lives in this frame, which libpng leaves by longjmp on error.
bool Write(png_structp png, png_infop info, png_bytep* rows, unsigned width, unsigned height,
           std::vector<unsigned char>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, &Append, &Flush);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::vector<unsigned char> EncodeWithLibpng(const std::uint8_t* rgba, unsigned width,
                                            unsigned height) {
  std::vector<png_bytep> rows(height);
  for (unsigned y = 0; y < height; ++y) {
    rows[y] = const_cast<png_bytep>(rgba + static_cast<std::size_t>(y) * width * 4);
  }
  std::vector<unsigned char> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  const bool written = info != nullptr && Write(png, info, rows.data(), width, height, &out);
  png_destroy_write_struct(&png, &info);
  if (!written) throw std::runtime_error("libpng could not write the image");
  return out;
}

}  // namespace glimster::bench
