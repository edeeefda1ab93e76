// The file calls of macOS and Linux that a file replace is made of.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <stdlib.h>  // arc4random_buf
#else
#include <sys/random.h>  // getrandom
#endif

#include <atomic>
#include <ctime>

#include "capture/FileSystemCalls.h"

namespace file_system {

NativePath NativePathOf(const std::string& utf8_path) { return utf8_path; }

NativePath FolderOf(const NativePath& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

NativePath PathIn(const NativePath& folder, const char* name) { return folder + '/' + name; }

std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
#if defined(__APPLE__)
  arc4random_buf(&bits, sizeof bits);
#else
  if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    static std::atomic<std::uint64_t> count{0};
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    bits = (static_cast<std::uint64_t>(getpid()) << 32) ^ static_cast<std::uint64_t>(now.tv_nsec) ^
           (count.fetch_add(1) << 20);
  }
#endif
  return bits;
}

Creation CreateNew(const NativePath& path, NativeFile& file) {
  file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file >= 0) return Creation::kCreated;
  return errno == EEXIST ? Creation::kNameTaken : Creation::kFailed;
}

bool WriteAll(NativeFile file, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(file, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// On macOS fsync leaves the bytes in the drive's own cache; F_FULLFSYNC
// flushes that too. File systems that do not support it (some network and
// FAT volumes) refuse it: fsync is then the most there is.
bool FlushToDisk(NativeFile file) {
#if defined(__APPLE__)
  if (fcntl(file, F_FULLFSYNC) == 0) return true;
#endif
  return fsync(file) == 0;
}

bool Close(NativeFile file) { return close(file) == 0; }

bool MoveOver(const NativePath& from, const NativePath& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

bool Delete(const NativePath& path) { return unlink(path.c_str()) == 0; }

// A folder that cannot be flushed changes nothing: the file is in place.
void FlushFolder(const NativePath& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  FlushToDisk(fd);
  close(fd);
}

// A name that starts with '.' hides a file here; the target's never does.
bool Reveal(const NativePath&) { return true; }

}  // namespace file_system
