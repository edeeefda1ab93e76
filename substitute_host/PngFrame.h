// A PNG file as the frame a composition shows.
#pragma once

#include "substitute_host/Frame.h"

#include <filesystem>

namespace glimster::substitute_host {

// The pixels of the PNG `file` at 8 bits per channel, alpha kept (opaque
// where the file has none), rows exactly 4 × width bytes; throws
// std::runtime_error naming the file and why it cannot be read or decoded.
Frame pngFrame(const std::filesystem::path& file);

}  // namespace glimster::substitute_host
