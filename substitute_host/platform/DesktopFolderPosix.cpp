#include "substitute_host/platform/DesktopFolder.h"

#include "substitute_host/platform/HomeFolder.h"

#include <stdexcept>
#include <system_error>

namespace glimster::substitute_host::platform {

std::filesystem::path DesktopFolder(const PluginBinary& plugin) {
  const std::filesystem::path desktop = HomeFolder(plugin) / "Desktop";
  std::error_code error;
  if (std::filesystem::is_symlink(desktop) && !std::filesystem::exists(desktop, error)) {
    throw std::runtime_error("the desktop folder " + desktop.string() + " is a link to " +
                             std::filesystem::read_symlink(desktop, error).string() +
                             ", which does not exist");
  }
  std::filesystem::create_directories(desktop, error);
  if (error || !std::filesystem::is_directory(desktop)) {
    throw std::runtime_error("the desktop folder " + desktop.string() + " cannot be made: " +
                             (error ? error.message() : "something else has its name"));
  }
  return desktop;
}

}  // namespace glimster::substitute_host::platform
