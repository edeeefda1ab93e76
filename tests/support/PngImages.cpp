#include "tests/support/PngImages.h"

#include <png.h>

namespace glimster::test_support {

std::optional<Rgba8> DecodePng(const std::filesystem::path& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  Rgba8 decoded;
  decoded.width = image.width;
  decoded.height = image.height;
  decoded.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return decoded;
}

bool WritePng(const std::filesystem::path& file, const Rgba8& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = image.width;
  png.height = image.height;
  png.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&png, file.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

}  // namespace glimster::test_support
