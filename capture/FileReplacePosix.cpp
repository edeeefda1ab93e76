#include <errno.h>
#include <fcntl.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <stdlib.h>  // arc4random_buf
#else
#include <sys/random.h>  // getrandom
#endif

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "capture/FileReplace.h"

namespace {

// How many fresh temporary names are tried before the folder counts as unwritable.
constexpr int kTemporaryNameAttempts = 16;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// 48 bits nobody can predict. Should the system have none to give, the
// process id, the clock and a count still make every name differ from the last.
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
  return bits & 0xFFFFFFFFFFFFull;
}

// A fresh hidden name in `folder`: ".glimster-" and 12 hex digits ".tmp",
// 26 bytes, shorter than any capture's own name.
std::string TemporaryPathIn(const std::string& folder) {
  char name[40];
  std::snprintf(name, sizeof name, "/.glimster-%012llx.tmp",
                static_cast<unsigned long long>(RandomBits()));
  return folder + name;
}

// Creates a temporary file of its own in `folder`, retrying with a fresh name
// while one is taken; gives its descriptor, or -1 when none can be created.
int CreateTemporaryIn(const std::string& folder, std::string& temporary) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryPathIn(folder);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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
  std::string temporary;
  const int fd = CreateTemporaryIn(folder, temporary);
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
