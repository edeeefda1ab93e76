#include "substitute_host/platform/DesktopFolder.h"

#include <cstdlib>
#include <stdexcept>

namespace glimster::substitute_host::platform {

std::filesystem::path desktopFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    throw std::runtime_error("HOME is not set, so there is no desktop folder");
  }
  const std::filesystem::path desktop = std::filesystem::path(home) / "Desktop";
  std::filesystem::create_directories(desktop);
  return desktop;
}

}  // namespace glimster::substitute_host::platform
