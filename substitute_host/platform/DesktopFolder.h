// Platform seam: the user's desktop folder, where the plug-in writes.
#pragma once

#include <filesystem>

#include "substitute_host/PluginBinary.h"

namespace glimster::substitute_host::platform {

// The current user's desktop folder as `plugin` finds it (see HomeFolder.h
// on Linux and macOS), created when missing (a host user's desktop always
// exists); throws std::runtime_error when it cannot be found.
std::filesystem::path DesktopFolder(const PluginBinary& plugin);

}  // namespace glimster::substitute_host::platform
