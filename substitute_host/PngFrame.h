// A PNG file as the frame a composition shows.
#pragma once

#include "substitute_host/Frame.h"

#include <filesystem>

namespace glimster::substitute_host {

// How the colours of a PNG's pixels become a frame's.
enum class PngColours {
  Premultiplied,  // the file's straight colours (as PNG defines them) times alpha / 255
  AsStored,       // the bytes the file holds, unchanged
};

// The pixels of the PNG `file` at 8 bits per channel, alpha kept (opaque
// where the file has none), rows exactly 4 × width bytes; throws
// std::runtime_error naming the file and saying in plain words why it cannot
// be read or is not a whole PNG image.
Frame pngFrame(const std::filesystem::path& file, PngColours colours = PngColours::Premultiplied);

}  // namespace glimster::substitute_host
