#include "substitute_host/FolderSnapshot.h"

namespace glimster::substitute_host {

FolderSnapshot FolderSnapshot::of(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  FolderSnapshot snapshot;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const fs::path& file = entry->path();
    std::error_code vanished;
    if (!fs::is_regular_file(fs::symlink_status(file, vanished))) {
      continue;
    }
    const std::uintmax_t size = fs::file_size(file, vanished);
    const fs::file_time_type write_time = fs::last_write_time(file, vanished);
    if (!vanished) {
      snapshot.files_[file] = FileState{platform::IdentityOf(file), size, write_time};
    }
  }
  return snapshot;
}

std::vector<std::filesystem::path> FolderSnapshot::WrittenSince(
    const FolderSnapshot& before) const {
  std::vector<std::filesystem::path> written;
  for (const auto& [file, state] : files_) {
    const auto earlier = before.files_.find(file);
    if (earlier == before.files_.end() || !(earlier->second == state)) {
      written.push_back(file);
    }
  }
  return written;
}

}  // namespace glimster::substitute_host
