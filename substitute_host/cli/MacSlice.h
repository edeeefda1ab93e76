// glimster-host --macos ARCH [BUNDLE]: one slice of a Glimster.plugin run
// through macos_runner, the Linux library that maps it and exposes its
// EntryPointFunc.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace glimster::substitute_host::cli {

// The slice `arch` of `bundle` (none: the universal bundle of this build).
// For the architecture of this program: the runner built beside it, the
// plug-in binary to load, told the bundle through GLIMSTER_MACOS_BUNDLE. For the other one, when
// this build has a glimster-host for it: that program, under its emulator, replaces this process
// with the same `arguments` and never returns. Throws UsageError when this program runs neither,
// PluginNotLoaded when the other program cannot be started.
std::filesystem::path MacSlice(const std::string& arch,
                               const std::optional<std::filesystem::path>& bundle,
                               const std::vector<std::string>& arguments);

// What --help says of --macos in this build (OptionTable.h's help of a row).
std::string MacSliceHelp();

}  // namespace glimster::substitute_host::cli
