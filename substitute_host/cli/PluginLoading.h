// Loading the plug-in glimster-host starts, with a reason when it cannot be.
#pragma once

#include "substitute_host/PluginBinary.h"

#include <filesystem>
#include <stdexcept>

namespace glimster::substitute_host::cli {

// The plug-in cannot be loaded; the message names the file and why.
class PluginNotLoaded : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Loads `file` as the host would; throws PluginNotLoaded when there is no
// such file, it is a folder, it is not a loadable library (with the loader's
// message) or it exports no EntryPointFunc.
PluginBinary LoadPlugin(const std::filesystem::path& file);

}  // namespace glimster::substitute_host::cli
