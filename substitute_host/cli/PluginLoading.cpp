#include "substitute_host/cli/PluginLoading.h"

#include <string>
#include <system_error>

namespace glimster::substitute_host::cli {

PluginBinary LoadPlugin(const std::filesystem::path& file) {
  const std::string what = "cannot load plug-in " + file.u8string() + ": ";
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    throw PluginNotLoaded(what + "no such file");
  }
  if (error) {
    throw PluginNotLoaded(what + error.message());
  }
  if (std::filesystem::is_directory(status)) {
    throw PluginNotLoaded(what + "it is a folder, not a plug-in binary");
  }
  try {
    // Absolute: a bare file name would be looked up along the library search path.
    return PluginBinary(std::filesystem::absolute(file));
  } catch (const PluginLoadError& failure) {
    if (failure.reason() == PluginLoadError::Reason::kNoEntryPoint) {
      throw PluginNotLoaded(what + "not a plug-in: it exports no EntryPointFunc");
    }
    throw PluginNotLoaded(what + "not a loadable library (" + failure.what() + ")");
  }
}

}  // namespace glimster::substitute_host::cli
