// Platform seam of the Linux and macOS host: where a loaded plug-in finds
// the user's home folder, whose Desktop is its desktop.
#pragma once

#include <filesystem>

#include "substitute_host/PluginBinary.h"

namespace glimster::substitute_host::platform {

// The environment variable that gives `plugin` another home folder: HOME for
// a plug-in built for Linux; CFFIXED_USER_HOME for Mac code (on a Mac, or
// on Linux through macos_runner), whose Foundation never reads HOME.
const char* HomeVariableOf(const PluginBinary& plugin);

// The home folder `plugin` finds: the value of its variable; for Mac code
// without it, the effective user's home in the user database. Throws
// std::runtime_error when there is none.
std::filesystem::path HomeFolder(const PluginBinary& plugin);

}  // namespace glimster::substitute_host::platform
