// PNG files read and written with libpng, independently of the LodePNG code
// the plug-in and the substitute host use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "substitute_host/Frame.h"

namespace glimster::test_support {

// Width × height pixels, 8-bit red, green, blue, alpha, rows top first, no gaps.
struct Rgba8 {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> pixels;
};

// `file` decoded to RGBA; nullopt when it is no valid PNG.
std::optional<Rgba8> DecodePng(const std::filesystem::path& file);

// Writes `image` as an 8-bit RGBA PNG; false on failure.
bool WritePng(const std::filesystem::path& file, const Rgba8& image);

// The frame's pixels as RGBA.
Rgba8 RgbaOf(const substitute_host::Frame& frame);

}  // namespace glimster::test_support
