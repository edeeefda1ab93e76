#include "substitute_host/platform/DesktopFolder.h"

#include <windows.h>
#include <shlobj.h>

#include <stdexcept>
#include <string>
#include <system_error>

namespace glimster::substitute_host::platform {

std::filesystem::path DesktopFolder(const PluginBinary&) {
  wchar_t folder[MAX_PATH + 1] = {};
  const HRESULT result =
      SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder);
  if (result != S_OK) {
    throw std::runtime_error(
        "the desktop folder cannot be found (SHGetFolderPathW: " + std::to_string(result) + ")");
  }
  const std::filesystem::path desktop(folder);
  std::error_code error;
  std::filesystem::create_directories(desktop, error);
  if (error || !std::filesystem::is_directory(desktop)) {
    throw std::runtime_error("the desktop folder " + desktop.u8string() + " cannot be made: " +
                             (error ? error.message() : "something else has its name"));
  }
  return desktop;
}

}  // namespace glimster::substitute_host::platform
