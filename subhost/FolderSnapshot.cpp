#include "subhost/FolderSnapshot.h"

namespace glimster::subhost {

FolderSnapshot FolderSnapshot::of(const std::filesystem::path& folder) {
  FolderSnapshot snapshot;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      snapshot.files_[entry.path()] = entry.last_write_time();
    }
  }
  return snapshot;
}

std::vector<std::filesystem::path> FolderSnapshot::writtenSince(const FolderSnapshot& before) const {
  std::vector<std::filesystem::path> written;
  for (const auto& [file, writeTime] : files_) {
    const auto earlier = before.files_.find(file);
    if (earlier == before.files_.end() || earlier->second != writeTime) {
      written.push_back(file);
    }
  }
  return written;
}

} // namespace glimster::subhost
