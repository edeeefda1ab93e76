// PNG files read and written with libpng, independently of the LodePNG code
// the plug-in and the substitute host use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "tests/support/CaptureExpectations.h"

namespace glimster::test_support {

// `file` decoded to RGBA; nullopt when it is no valid PNG.
std::optional<Rgba8> DecodePng(const std::filesystem::path& file);

// Writes `image` as an 8-bit RGBA PNG; false on failure.
bool WritePng(const std::filesystem::path& file, const Rgba8& image);

}  // namespace glimster::test_support
