// The file calls of macOS and Linux that a file replace is made of.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <stdlib.h>  // arc4random_buf
#else
#include <sys/random.h>  // getrandom
#endif

#include <algorithm>
#include <cstdio>  // rename
#include <ctime>
#include <iterator>

#include "capture/FileSystemCalls.h"

namespace glimster {

namespace file_system {
namespace {

// What fsync answers on a file system that does not flush (EOPNOTSUPP is
// ENOTSUP on Linux, a code of its own on macOS).
constexpr int kFlushUnsupported[] = {EINVAL, ENOTSUP, EOPNOTSUPP};

template <std::size_t kCount>
bool IsOneOf(int error, const int (&errors)[kCount]) {
  return std::find(std::begin(errors), std::end(errors), error) != std::end(errors);
}

#if defined(__APPLE__)
// What F_FULLFSYNC answers on a file system that cannot do it (some network
// and FAT volumes): the file system's own "not supported", or the ioctl's
// and the fcntl's refusal of a request it does not know.
constexpr int kFullFlushUnsupported[] = {ENOTSUP, EINVAL, ENOTTY};
#endif

}  // namespace

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
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    bits =
        FallbackBits(static_cast<std::uint64_t>(getpid()), static_cast<std::uint64_t>(now.tv_nsec));
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
    const ssize_t written = write(file, bytes, size < kLargestWrite ? size : kLargestWrite);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// On macOS fsync leaves the bytes in the drive's own cache; F_FULLFSYNC
// flushes that too. A file system that cannot do it says so (one of
// kFullFlushUnsupported): fsync is then the most there is. Any other failure
// of the full flush is the write's failure, never retried with fsync: after
// an I/O error a later flush may succeed without the bytes ever reaching the
// disk. A file system that cannot flush at all (some network and FUSE ones)
// answers fsync with one of kFlushUnsupported: its bytes are as safe as it
// can make them.
bool FlushToDisk(NativeFile file) {
#if defined(__APPLE__)
  if (fcntl(file, F_FULLFSYNC) == 0) return true;
  if (!IsOneOf(errno, kFullFlushUnsupported)) return false;
#endif
  return fsync(file) == 0 || IsOneOf(errno, kFlushUnsupported);
}

bool Close(NativeFile file) { return close(file) == 0; }

bool MoveOver(const NativePath& from, const NativePath& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

bool Delete(const NativePath& path) { return unlink(path.c_str()) == 0; }

// Flushed as the file is, but its answer changes nothing: by now the file
// has its name and has replaced any earlier capture, which no failure here
// could give back, so the capture is saved whatever the folder's flush says.
void FlushFolder(const NativePath& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  FlushToDisk(fd);
  close(fd);
}

// A name that starts with '.' hides a file here; the target's never does.
bool Reveal(const NativePath&) { return true; }

// The name without its leading '.': a leftover the user sees, and that is
// not taken for a capture.
void RevealLeftover(const NativePath& path) {
  const std::size_t name = path.rfind('/') + 1;  // 0 when there is no folder
  if (path.compare(name, 1, ".") != 0) return;
  const NativePath visible = path.substr(0, name) + path.substr(name + 1);
  rename(path.c_str(), visible.c_str());
}

}  // namespace file_system

}  // namespace glimster
