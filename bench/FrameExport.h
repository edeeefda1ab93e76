// The benchmark frames as files, for captures run by other programs (the
// Windows substitute host under Wine, scripts/benchmark.sh): each frame's
// straight picture as LodePNG's default PNG of it, and beside it the
// premultiplied frame a host renders from it the same way. A capture of the
// first (glimster-host --frame-png premultiplies it) must write exactly the
// bytes of the second, which is the byte check on a capture made outside
// this program.
#pragma once

#include <filesystem>
#include <vector>

#include "host/AE_HostInterface.h"

namespace glimster::bench {

// Writes <WxH>-<content>.png (straight) and <WxH>-<content>.premultiplied.png
// into `folder` (made when missing) for the flat and the noise frame of each
// height, 16:9; throws std::runtime_error when a step fails.
void ExportFrames(const std::vector<std::int32_t>& heights, const std::filesystem::path& folder);

}  // namespace glimster::bench
