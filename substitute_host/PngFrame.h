// A PNG file as the frame a composition shows.
#pragma once

#include "substitute_host/Frame.h"

#include <filesystem>
#include <limits>

namespace glimster::substitute_host {

// How the colours of a PNG's pixels become a frame's.
enum class PngColours {
  kPremultiplied,  // the file's straight colours (as PNG defines them) times alpha / 255
  kAsStored,       // the bytes the file holds, unchanged
};

// The widest frame a PNG gives by default: its rows of 4-byte pixels still
// count their bytes in an A_long.
inline constexpr A_long kWidestPngFrame = std::numeric_limits<A_long>::max() / 4;

// The pixels of the PNG `file` at 8 bits per channel, alpha kept (opaque
// where the file has none), rows exactly 4 × width bytes; throws
// std::runtime_error naming the file and saying in plain words why it cannot
// be read (a folder, say), is not a whole PNG image, or has a side longer
// than `largestSide` pixels (told from its header, before any decoding).
Frame PngFrame(const std::filesystem::path& file, PngColours colours = PngColours::kPremultiplied,
               A_long largest_side = kWidestPngFrame);

}  // namespace glimster::substitute_host
