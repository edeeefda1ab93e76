// Platform seam: the user's desktop folder, where the plug-in writes.
#pragma once

#include <filesystem>

namespace glimster::substitute_host::platform {

// The current user's desktop folder, created when missing (a host user's
// desktop always exists); throws std::runtime_error when it cannot be found.
std::filesystem::path desktopFolder();

}  // namespace glimster::substitute_host::platform
