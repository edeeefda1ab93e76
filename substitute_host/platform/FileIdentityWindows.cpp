#include "substitute_host/platform/FileIdentity.h"

#include <windows.h>

namespace glimster::substitute_host::platform {

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  // No access asked for: opening to read the identity never blocks the plug-in's own
  // writing, replacing or deleting.
  const HANDLE file =
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  const BOOL read = GetFileInformationByHandle(file, &information);
  CloseHandle(file);
  if (!read) {
    return std::nullopt;
  }
  return FileIdentity{
      information.dwVolumeSerialNumber,
      (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace glimster::substitute_host::platform
