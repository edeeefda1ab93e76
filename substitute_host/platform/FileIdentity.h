// Platform seam: which file a path names, told apart from any file that
// replaced it there, whatever the clock says.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace glimster::substitute_host::platform {

// The file system's identity of a file: its volume (device) and its number on it.
struct FileIdentity {
  std::uint64_t volume;
  std::uint64_t number;

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.volume == b.volume && a.number == b.number;
  }
  friend bool operator!=(const FileIdentity& a, const FileIdentity& b) { return !(a == b); }
};

// The identity of the file at `path`; none when there is no file there any more
// or it cannot be looked at. Never throws.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

}  // namespace glimster::substitute_host::platform
