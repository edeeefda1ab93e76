// Which files a plug-in call wrote into a folder, told by listing it before and after.
#pragma once

#include "substitute_host/platform/FileIdentity.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace glimster::substitute_host {

class FolderSnapshot {
 public:
  // The regular files in `folder` now. Files that appear or vanish while it
  // looks are taken or left as found; an unreadable folder lists nothing.
  // Never throws a file-system error.
  static FolderSnapshot of(const std::filesystem::path& folder);

  // The files that are new here or were written again since `before`: a
  // file replaced at its name (another identity) counts even within the
  // clock's resolution, as does one whose size or write time changed.
  std::vector<std::filesystem::path> WrittenSince(const FolderSnapshot& before) const;

 private:
  struct FileState {
    std::optional<platform::FileIdentity> identity;
    std::uintmax_t size;
    std::filesystem::file_time_type write_time;

    bool operator==(const FileState& other) const {
      return identity == other.identity && size == other.size && write_time == other.write_time;
    }
  };
  std::map<std::filesystem::path, FileState> files_;
};

}  // namespace glimster::substitute_host
