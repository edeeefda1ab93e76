// Writing a rendered frame to a PNG file.
#pragma once

#include <string>

#include "capture/FrameRepack.h"

namespace glimster {

// Repacks `frame` and writes it as a PNG at `utf8_path`, replacing any file
// there only once the whole PNG is on disk. Gives 0 or the failure's code
// (see CaptureFailures.h), after printing its line.
unsigned WriteFrameAsPng(const ArgbFrame& frame, const std::string& utf8_path);

}  // namespace glimster
