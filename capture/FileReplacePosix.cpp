#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "capture/FileReplace.h"

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A name in `folder` that no other capture of this process uses; short, so
// it fits wherever the target's own name fits.
std::string TemporaryPathIn(const std::string& folder) {
  static std::atomic<unsigned> counter{0};
  char name[64];
  std::snprintf(name, sizeof name, "/.glimster-%ld-%u.tmp", static_cast<long>(getpid()),
                counter.fetch_add(1));
  return folder + name;
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

FileReplaceResult ReplaceFileWhole(const std::string& utf8_path, const unsigned char* bytes,
                                   std::size_t size) {
  const std::string folder = FolderOf(utf8_path);
  const std::string temporary = TemporaryPathIn(folder);
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return FileReplaceResult::OpenFailed;

  bool written = WriteAll(fd, bytes, size) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written) {
    unlink(temporary.c_str());
    return FileReplaceResult::WriteFailed;
  }
  // The bytes are safe on disk; what fails now is the name itself (too long,
  // a folder in the way): the file cannot be created there.
  if (rename(temporary.c_str(), utf8_path.c_str()) != 0) {
    unlink(temporary.c_str());
    return FileReplaceResult::OpenFailed;
  }
  SyncFolder(folder);
  return FileReplaceResult::Replaced;
}
