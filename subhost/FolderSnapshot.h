// Which files a plug-in call wrote into a folder, told by listing it before and after.
#pragma once

#include <filesystem>
#include <map>
#include <vector>

namespace glimster::subhost {

class FolderSnapshot {
 public:
  // The regular files in `folder` now, with their last write times.
  static FolderSnapshot of(const std::filesystem::path& folder);

  // The files that are new here or were written again since `before`.
  std::vector<std::filesystem::path> writtenSince(const FolderSnapshot& before) const;

 private:
  std::map<std::filesystem::path, std::filesystem::file_time_type> files_;
};

} // namespace glimster::subhost
